#include <benchmark/benchmark.h>

#include <filesystem>

#include "archive/CDatFile.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

// 30,000 entries of mixed kinds with 1,000 fakes beside them, the size of the game's largest archives.
class LargeArchive {
public:
    LargeArchive() {
        test::ArchiveBuilder builder;
        const char* kinds[] = {".SHP", ".S16", ".PNG", ".TXT"};
        for (int i = 0; i < MAX_DAT_ITEMS; ++i) {
            const std::string name = "U" + std::to_string(97 * i % 100000) + kinds[i % 4];
            if (i % 4 == 0) builder.Add(name, test::ArchiveBuilder::Shp(9, 64));
            else if (i % 4 == 1) builder.Add(name, test::ArchiveBuilder::S16(9, 64));
            else builder.Add(name, std::vector<std::uint8_t>(48, 7));
        }
        builder.Write(dir / "big.dat");
        std::string keep = "# generated\r\n";
        for (int i = 0; i < 1000; ++i) keep += "FK" + std::to_string(i) + ";U" + std::to_string(97 * i * 3 % 100000) + "\r\n";
        test::WriteText(dir / "big.keep", keep);
    }
    std::string Path() const { return dir.File("big.dat"); }

private:
    test::TempDir dir;
};

void BM_LoadArchiveWithFakes(benchmark::State& state) {
    static LargeArchive archive;
    RecordingServices services;
    CDatFile dat(services);
    for (auto _ : state) {
        if (!dat.Load(archive.Path(), true)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(dat.Total());
    }
    state.counters["entries"] = dat.Total();
}
BENCHMARK(BM_LoadArchiveWithFakes)->Unit(benchmark::kMillisecond);

// 200 files of 8 KB added to an archive of 100 MB (5,000 entries of 20 KB): one rewrite of the archive, with its
// backup and the flush to the disk. The archive is put back, untimed, before each round.
void BM_AddFilesToLargeArchive(benchmark::State& state) {
    test::TempDir dir;
    test::ArchiveBuilder builder;
    for (int i = 0; i < 5000; ++i)
        builder.Add("E" + std::to_string(i) + ".SHP", test::ArchiveBuilder::Shp(9, 20 << 10));
    builder.Write(dir / "base.dat");
    std::vector<std::string> files;
    for (int i = 0; i < 200; ++i) {
        files.push_back(dir.File("N" + std::to_string(i) + ".PNG"));
        test::WriteBytes(files.back(), std::vector<std::uint8_t>(8 << 10, std::uint8_t(i)));
    }
    RecordingServices services;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(dir / "base.dat", dir / "big.dat",
                                   std::filesystem::copy_options::overwrite_existing);
        CDatFile dat(services);
        if (!dat.Load(dir.File("big.dat"), true)) state.SkipWithError("load failed");
        state.ResumeTiming();
        if (dat.AddFiles(files) != 0) state.SkipWithError("add failed");
    }
    state.counters["MB"] = double(std::filesystem::file_size(dir / "big.dat")) / 1e6;
}
BENCHMARK(BM_AddFilesToLargeArchive)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace pixmond
