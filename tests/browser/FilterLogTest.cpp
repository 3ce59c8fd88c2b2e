#include <gtest/gtest.h>

#include "browser/FilterLog.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

TDatItem Entry(const char* name, bool fake = false, const char* real = "") {
    TDatItem item{};
    item.SetName(name);
    item.icons = 9;
    item.type = std::uint8_t(IconKindOfEntryName(name));
    item.fake = fake;
    item.SetRealName(real);
    return item;
}

const std::vector<TDatItem> kTable = {Entry("HEAVY.SHP"), Entry("LIGHT.SHP"), Entry("LIGHT2.SHP", true, "LIGHT"),
                                      Entry("NODESC.SHP")};
const char* kLines = "HEAVY;Heavy tank;grey;tank;Germany;tracked;Tiger\nLIGHT;Light tank;green\n";

TEST(FilterLogText, CsvRowsCarryAllSixFieldsAndFakesAreNotRedirected) {
    DatListModel model;
    model.descriptions.ReadText(kLines, true);
    model.filters.listMode = 3;
    model.filters.fakesTogether = true;
    model.filters.descriptive[kDesc] = "tank";
    model.Rebuild(kTable);
    EXPECT_EQ(FilterLog::Text(model, kTable, true),
              "3 Icons matching filter:\n"
              "Only SHP format\n"
              "Icon having \"tank\" in Field: Desc.\n"
              "\n\n"
              "Icon;     Desc. ; Color ; Type ; Country ; Chassis ; Style/Family\n"
              "HEAVY.SHP ; Heavy tank ; grey ; tank ; Germany ; tracked ; Tiger\n"
              "LIGHT.SHP ; Light tank ; green ;  ;  ;  ; \n"
              "LIGHT2.SHP ; (no info)\n");
}

TEST(FilterLogText, TextFileWithAndWithoutInfo) {
    DatListModel model;
    model.descriptions.ReadText(kLines, false);
    model.filters.name = "^l";
    model.Rebuild(kTable);
    const std::string heading = "1 Icons matching filter:\nIcon having \"^l\" in name\n\n\n";
    EXPECT_EQ(FilterLog::Text(model, kTable, false), heading + "IconID\nLIGHT.SHP\n");
    EXPECT_EQ(FilterLog::Text(model, kTable, true), heading + "Icon; Desc.\nLIGHT.SHP ; Light tank\n");
}

TEST(FilterLogWrite, AsksPicksWritesAndShows) {
    test::TempDir dir;
    RecordingServices services;
    DatListModel model;
    const auto archive = dir / "game" / "demo.dat";
    int picked = 0;
    std::filesystem::path proposed;
    auto cancel = [&](const std::filesystem::path& p) -> std::optional<std::filesystem::path> {
        ++picked;
        proposed = p;
        return std::nullopt;
    };

    // Nothing listed: a notice, no picker.
    model.Rebuild({});
    EXPECT_FALSE(FilterLog::Write(model, {}, archive, services, cancel));
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"No icons to log ..."});
    EXPECT_EQ(picked, 0);

    model.Rebuild(kTable);
    EXPECT_FALSE(FilterLog::Write(model, kTable, archive, services, cancel));
    EXPECT_EQ(proposed, dir / "OPENLOG" / "demo_filter-icons.txt");
    std::filesystem::create_directories(dir / "game" / "OPENLOG");
    EXPECT_EQ(FilterLog::ProposedPath(archive, services.files), dir / "game" / "OPENLOG" / "demo_filter-icons.txt");
    EXPECT_TRUE(services.messages.Questions().empty());

    services.messages.QueueAnswer(false);
    const auto out = dir / "log.txt";
    ASSERT_TRUE(FilterLog::Write(model, kTable, archive, services, [&](auto&) { return out; }));
    EXPECT_EQ(services.messages.Questions(), std::vector<std::string>{FilterLog::kQuestion});
    EXPECT_EQ(test::ReadText(out), "3 Icons matching filter:\n\n\nIconID\nHEAVY.SHP\nLIGHT.SHP\nNODESC.SHP\n");
    EXPECT_EQ(services.shell.opened, std::vector<std::filesystem::path>{out});
}

}  // namespace
}  // namespace pixmond
