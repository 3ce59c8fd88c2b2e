#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "archive/CDatFile.h"
#include "base/Format.h"
#include "support/ArchiveBuilder.h"
#include "support/IconSetFiles.h"
#include "support/RecordingServices.h"
#include "support/TestFiles.h"
#include "tools/EveryIconExport.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::vector<std::uint8_t>> FilesIn(const fs::path& folder) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : fs::directory_iterator(folder)) files[entry.path().filename().string()] = test::ReadBytes(entry.path());
    return files;
}

class EveryIconExportTest : public ::testing::Test {
protected:
    // Many entries of every kind, so several are in flight at once, with one that cannot be read among them
    // and an entry that is no icon file.
    void SetUp() override {
        test::ArchiveBuilder builder;
        for (int i = 0; i < 30; ++i) {
            std::vector<std::vector<std::vector<std::uint8_t>>> icons;
            for (int n = 0; n < 3 + i % 4; ++n)
                icons.push_back(std::vector<std::vector<std::uint8_t>>(5 + n, std::vector<std::uint8_t>(4 + i, std::uint8_t(n + i))));
            builder.Add(Format("U%d.SHP", i), test::ShpOfRows(icons));
            builder.Add(Format("V%d.S16", i), test::SolidS16(2 + i % 3, test::SameSize(6 + i, 4)));
            if (i % 4 == 0) builder.Add(Format("P%d.PNG", i), test::SheetPng(240, 150));
            if (i == 6) builder.Add("BROKEN.SHP", std::string("not an icon file"));
        }
        builder.Add("README.TXT", std::string("words"));
        builder.Write(dir_ / "icons.dat");
    }

    test::TempDir dir_;
    RecordingServices services_;
};

// The pictures, their names and what is said are those of saving every entry one after another the way the desktop
// program saves one entry's icons.
TEST_F(EveryIconExportTest, WritesWhatSavingEachEntryInTurnWritesAndSaysItInOrder) {
    CDatFile dat(services_);
    ASSERT_TRUE(dat.LoadForReading(dir_.File("icons.dat"), false));
    fs::create_directories(dir_ / "one-by-one");
    for (int i = 0; i < dat.Total(); ++i) {
        const TDatItem& item = dat.Item(i);
        if (item.Kind() == IconKind::Other || !dat.SelectEntry(i)) continue;
        const std::string base = (dir_ / "one-by-one" / std::string(item.Title())).string();
        if (dat.IsPng(i)) dat.SaveIcon(base + ".PNG");
        else dat.SaveAllIcons(base + ".x", 1);
    }
    services_.messages.Clear();

    fs::create_directories(dir_ / "all");
    const EveryIconExportResult result = ExportEveryIcon(dat, dir_.File("all"), 1, services_);
    EXPECT_EQ(result.entries, 30 * 2 + 8 + 1);
    EXPECT_EQ(result.failures, 1);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(services_.messages.Errors(),
              (std::vector<std::string>{"BROKEN.SHP cannot be read", "1 icons of 69 entries were not written"}));
    const auto written = FilesIn(dir_ / "all");
    EXPECT_EQ(written.size(), FilesIn(dir_ / "one-by-one").size());
    EXPECT_EQ(written, FilesIn(dir_ / "one-by-one"));
    EXPECT_TRUE(written.count("U27_006.PNG") && written.count("V0_002.PNG") && written.count("P8.PNG"));

    // A picture that cannot take its name is counted and named, in its entry's turn.
    services_.messages.Clear();
    fs::create_directories(dir_ / "blocked" / "U27_006.PNG");
    EXPECT_EQ(ExportEveryIcon(dat, dir_.File("blocked"), 1, services_).failures, 2);
    const auto& errors = services_.messages.Errors();
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors.back(), "2 icons of 69 entries were not written");
    EXPECT_EQ(std::count(errors.begin(), errors.end(), Format("Error creating %s", (dir_ / "blocked" / "U27_006.PNG").c_str())), 1);
    EXPECT_TRUE(fs::exists(dir_ / "blocked" / "U27_001.PNG") && fs::exists(dir_ / "blocked" / "P8.PNG"));
}

TEST_F(EveryIconExportTest, ACancelStopsSoonAndSaysSo) {
    CDatFile dat(services_);
    ASSERT_TRUE(dat.LoadForReading(dir_.File("icons.dat"), false));
    fs::create_directories(dir_ / "all");
    fs::create_directories(dir_ / "part");
    ExportEveryIcon(dat, dir_.File("all"), 2, services_);
    services_.progress.CancelNextAfter(1);
    const EveryIconExportResult result = ExportEveryIcon(dat, dir_.File("part"), 2, services_);
    EXPECT_TRUE(result.cancelled);
    EXPECT_GT(FilesIn(dir_ / "part").size(), 0u);
    EXPECT_LT(FilesIn(dir_ / "part").size(), FilesIn(dir_ / "all").size() / 2);
    EXPECT_EQ(services_.messages.Errors().back(), Format("Cancelled: not every entry was written to %s", dir_.File("part").c_str()));
}

}  // namespace
}  // namespace pixmond
