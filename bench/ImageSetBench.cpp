// Reading and exporting every icon of a large archive: 5,000 entries of nine-icon SHP and S16 unit files
// and PNG sheets. Set PIXMOND_BENCH_ARCHIVE to a path to keep the generated archive (the ImageMagick
// comparison script exports the same archive).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "archive/CDatFile.h"
#include "support/ArchiveBuilder.h"
#include "support/IconSetFiles.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"
#include "tools/EveryIconExport.h"

namespace pixmond {
namespace {

constexpr int kShpEntries = 2000;
constexpr int kS16Entries = 2000;
constexpr int kPngEntries = 1000;

// Icons shaped like units: a body of several colours on a transparent field, runs and single pixels mixed.
std::vector<std::uint8_t> UnitLikeShp(int seed) {
    std::vector<std::vector<std::vector<std::uint8_t>>> icons;
    for (int n = 0; n < 9; ++n) {
        std::vector<std::vector<std::uint8_t>> rows(40, std::vector<std::uint8_t>(60, 159));
        for (int y = 6; y < 34; ++y)
            for (int x = 8 + (y % 5); x < 52 - (y % 3); ++x)
                rows[size_t(y)][size_t(x)] = std::uint8_t((x * 7 + y * 3 + n + seed) % 9 == 0 ? 1 + (x + n) % 14 : 20 + y / 8);
        icons.push_back(std::move(rows));
    }
    return test::ShpOfRows(icons);
}

class BenchArchive {
public:
    static const std::string& Path() {
        static BenchArchive archive;
        return archive.path_;
    }

private:
    BenchArchive() {
        const char* keep = std::getenv("PIXMOND_BENCH_ARCHIVE");
        path_ = keep && *keep ? std::string(keep) : dir_.File("bench.dat");
        const auto shp = UnitLikeShp(0);
        const auto s16 = test::SolidS16(9, test::SameSize(60, 40));
        const auto png = test::SheetPng(240, 150);
        test::ArchiveBuilder builder;
        for (int i = 0; i < kShpEntries; ++i) builder.Add("U" + std::to_string(i) + ".SHP", shp);
        for (int i = 0; i < kS16Entries; ++i) builder.Add("V" + std::to_string(i) + ".S16", s16);
        for (int i = 0; i < kPngEntries; ++i) builder.Add("P" + std::to_string(i) + ".PNG", png);
        builder.Write(path_);
    }
    test::TempDir dir_;
    std::string path_;
};

void BM_DecodeEveryIconOfAnArchive(benchmark::State& state) {
    RecordingServices services;
    CDatFile dat(services);
    dat.LoadForReading(BenchArchive::Path(), false);
    std::int64_t icons = 0;
    for (auto _ : state) {
        for (int i = 0; i < dat.Total(); ++i) {
            if (!dat.SelectEntry(i)) continue;
            IconSource& source = *dat.CurrentSource();
            // A picture is decoded whole when the entry is selected.
            if (source.IsPicture()) {
                icons += source.Readable();
                continue;
            }
            for (int n = 1; n <= source.Count(); ++n) icons += source.Decode(n);
        }
    }
    state.SetItemsProcessed(icons);
}
BENCHMARK(BM_DecodeEveryIconOfAnArchive)->Unit(benchmark::kMillisecond)->Iterations(3);

// The export of the command line (and its pool of threads), as export --all-entries --type png runs it.
void BM_ExportEveryIconToPng(benchmark::State& state) {
    RecordingServices services;
    CDatFile dat(services);
    dat.LoadForReading(BenchArchive::Path(), false);
    std::int64_t entries = 0;
    // Removing the files written is left until after the timing.
    test::TempDir root;
    int round = 0;
    for (auto _ : state) {
        const std::filesystem::path out = root / std::to_string(round++);
        std::filesystem::create_directories(out);
        entries += ExportEveryIcon(dat, out.string(), 1, services).entries;
        services.messages.Clear();
    }
    state.SetItemsProcessed(entries);
}
BENCHMARK(BM_ExportEveryIconToPng)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pixmond
