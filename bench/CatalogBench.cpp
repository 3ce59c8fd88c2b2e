#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "archive/CDatFile.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "tools/CShpCatLogic.h"
#include "tools/CatalogFileReader.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

// 5,000 unit files of the three kinds, nine icons each, a few of them too big for the icon box. Kept at
// $PIXMOND_CATALOG_ARCHIVE when that is set, so the command line can be measured on the same archive.
class UnitArchive {
public:
    UnitArchive() {
        std::vector<std::vector<std::uint8_t>> shp, s16, png;
        for (int v = 0; v < 8; ++v) {
            shp.push_back(test::UnitShp(40 + 6 * v, 30 + 4 * v, std::uint8_t(10 + v)));
            s16.push_back(test::UnitS16(44 + 5 * v, 28 + 3 * v, MakeRgb(8 * v, 128, 248 - 8 * v)));
        }
        shp.push_back(test::UnitShp(140, 90, 40));  // big
        png.push_back(test::SheetPng(80, 50, {MakeRgb(200, 0, 0), MakeRgb(0, 200, 0), MakeRgb(0, 0, 200),
                                              MakeRgb(200, 200, 0), MakeRgb(0, 200, 200), MakeRgb(200, 0, 200),
                                              MakeRgb(90, 90, 90), MakeRgb(150, 150, 150), MakeRgb(30, 30, 30)}));
        test::ArchiveBuilder builder;
        for (int i = 0; i < kEntries; ++i) {
            const char* kind = i % 5 < 2 ? ".SHP" : i % 5 < 4 ? ".S16" : ".PNG";
            const std::string name = "U" + std::to_string(10000 + i) + kind;
            if (i % 5 < 2) builder.Add(name, shp[size_t(i * 7 % int(shp.size()))]);
            else if (i % 5 < 4) builder.Add(name, s16[size_t(i * 3 % int(s16.size()))]);
            else builder.Add(name, png[0]);
        }
        const char* keep = std::getenv("PIXMOND_CATALOG_ARCHIVE");
        path_ = keep && *keep ? std::string(keep) : dir_.File("units.dat");
        builder.Write(path_);
    }
    static constexpr int kEntries = 5000;
    const std::string& Path() const { return path_; }

private:
    test::TempDir dir_;
    std::string path_;
};

// The whole catalog as the command line makes it: load, collect, estimate and draw into PNG pictures.
void BM_CatalogOf5000Entries(benchmark::State& state) {
    static UnitArchive archive;
    test::TempDir out;
    for (auto _ : state) {
        RecordingServices services;
        CDatFile dat(services);
        if (!dat.LoadForReading(archive.Path(), true)) state.SkipWithError("load failed");
        std::vector<int> rows(size_t(dat.Total()));
        for (int i = 0; i < dat.Total(); ++i) rows[size_t(i)] = i;
        CShpCatLogic catalog(services, services.text);
        catalog.Settings().outputFolder = out.Path().string();
        catalog.Settings().fileType = int(state.range(0));
        catalog.Start(CatalogSource::Archive, archive.Path(), dat.Total());
        CatalogFileReader reader(dat);
        catalog.Collect(CShpCatLogic::ArchiveCandidates(dat, rows), reader);
        catalog.Estimate();
        const int written = catalog.Run(reader);
        if (written < 1) state.SkipWithError("no picture");
        state.counters["pictures"] = written;
        state.counters["icons"] = double(catalog.Fitting().size() + catalog.Big().size());
    }
}
BENCHMARK(BM_CatalogOf5000Entries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pixmond
