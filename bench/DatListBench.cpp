#include <benchmark/benchmark.h>

#include "archive/CDatFile.h"
#include "browser/CDatViewModel.h"
#include "image/BitmapCanvas.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "ui/AppSettings.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

// 30,000 entries with 1,000 fakes and a CSV description line for most of them, as the browser meets the game's
// largest archives. One entry in fifty holds real icons to draw; the others only have the header the list needs.
class BrowsedArchive {
public:
    BrowsedArchive() {
        test::ArchiveBuilder builder;
        const auto unit = test::UnitShp(60, 45, 40);
        std::string csv = "# ICON;Desc.;Color;Type;Country;Chassis;Style/Family\r\n";
        const char* descs[] = {"Heavy tank", "Light tank", "Fighter plane", "Destroyer", "Armoured car"};
        for (int i = 0; i < MAX_DAT_ITEMS; ++i) {
            const std::string name = "U" + std::to_string(i) + ".SHP";
            builder.Add(name, i % 50 == 0 ? unit : test::ArchiveBuilder::Shp(i % 3 ? 9 : 4, 64));
            if (i % 7) csv += name + ";" + descs[i % 5] + ";grey;tank;Germany;tracked;x\r\n";
        }
        builder.Write(dir.Path() / "big.dat");
        std::string keep;
        for (int i = 0; i < 1000; ++i) keep += "FK" + std::to_string(i) + ";U" + std::to_string(i * 50) + "\r\n";
        test::WriteText(dir.Path() / "big.keep", keep);
        test::WriteText(dir.Path() / "big.csv", csv);
    }
    std::string Path() const { return dir.File("big.dat"); }

private:
    test::TempDir dir;
};

struct OpenBrowser {
    OpenBrowser() {
        static BrowsedArchive archive;
        opened = view.ArchiveOpened(archive.Path());
    }
    RecordingServices services;
    AppSettings settings{services.settings};
    CDatFile dat{services.Get()};
    CDatViewModel view{dat, settings};
    bool opened = false;
};

void BM_RebuildListWithFilters(benchmark::State& state) {
    OpenBrowser browser;
    if (!browser.opened) state.SkipWithError("archive not opened");
    std::array<std::string, kDescriptionFieldCount> filters;
    if (state.range(0) == 1) filters[kDesc] = "tank$!light";
    if (state.range(0) == 2) filters = {"tank", "~", "", "germ", "!wheeled", ""};
    browser.view.SetFilters(state.range(0) ? "^U1" : "", filters);
    for (auto _ : state) {
        browser.view.ApplyFilters();
        benchmark::DoNotOptimize(browser.view.Listed());
    }
    state.counters["rows"] = browser.view.Listed();
}
// 0: no filter; 1: name and description filter; 2: name and five field filters.
BENCHMARK(BM_RebuildListWithFilters)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// What an arrow key costs: the next row becomes current and its icons are drawn into a 700 x 500 picture.
void BM_SelectAndDraw(benchmark::State& state) {
    OpenBrowser browser;
    if (!browser.opened) state.SkipWithError("archive not opened");
    CDatViewModel& view = browser.view;
    std::vector<int> drawable;
    for (int row = 0; row < view.Listed(); ++row)
        if (browser.dat.Item(view.Rows()[size_t(row)]).icons == 9 && row % 50 == 0) drawable.push_back(row);
    if (state.range(0) == 0) view.ToggleCollage();
    BitmapCanvas canvas(700, 500);
    view.SetDrawArea({0, 0, 700, 500});
    size_t k = 0;
    for (auto _ : state) {
        view.SelectRow(drawable[k++ % drawable.size()]);
        view.Draw(canvas);
    }
    state.counters["shown"] = view.Shown();
}
// 0: one icon; 1: the collage.
BENCHMARK(BM_SelectAndDraw)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pixmond
