#include <gtest/gtest.h>

#include "archive/CDatFile.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;
using test::ArchiveBuilder;
using test::ArchiveEntry;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// What list.tbl asks of src.dat in vain: a name with its extension, and a fake.
constexpr const char* kUnmatched =
    "\nNot in the archive: TIGER.SHP\nOnly fake entries (name their real icons instead): PZ4F2";

class CopyList : public ::testing::Test {
protected:
    void SetUp() override {
        ArchiveBuilder()
            .Add("TIGER.SHP", "tiger")
            .Add("Panther.S16", "panther")
            .Add("PZ4F.SHP", "pz4f")
            .Write(dir / "src.dat");
        test::WriteText(dir / "src.keep", "PZ4F2;PZ4F\n");
        test::WriteText(dir / "list.tbl", "  tiger \r\nPANTHER\r\nPZ4F2\r\nPZ4F;old\r\nTIGER.SHP\r\n\r\n");
        ASSERT_TRUE(dat.Load(dir.File("src.dat"), true));
    }
    std::vector<ArchiveEntry> Entries(const fs::path& p) {
        auto parsed = test::ParseArchive(p);
        EXPECT_TRUE(parsed.sound);
        for (auto& e : parsed.entries) e.offset = 0;
        return parsed.entries;
    }
    test::TempDir dir;
    RecordingServices services;
    CDatFile dat{services};
};

TEST_F(CopyList, ReadsTitlesByTheTableRules) {
    std::set<std::string> titles;
    EXPECT_EQ(dat.ReadCopyList(dir.File("list.tbl"), titles), 5);
    EXPECT_EQ(titles, (std::set<std::string>{"", "PANTHER", "PZ4F2", "TIGER", "TIGER.SHP"}));
    test::WriteText(dir / "lead.tbl", "#TIGER\n;x\n");
    EXPECT_EQ(dat.ReadCopyList(dir.File("lead.tbl"), titles), 2);
    EXPECT_EQ(titles, (std::set<std::string>{"#TIGER", ";X"}));
    EXPECT_EQ(dat.ReadCopyList(dir.File("none.tbl"), titles), 0);
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"\n  " + dir.File("none.tbl") + " cannot be find ... \n"});
}

TEST_F(CopyList, CreatesThenUpdatesADestinationWithABackup) {
    ASSERT_TRUE(dat.CopyListed(dir.File("list.tbl"), dir.File("dest.dat")));
    // Fakes are never copied, even when listed; the closing message names what the list asked in vain.
    EXPECT_EQ(Entries(dir / "dest.dat"),
              (std::vector<ArchiveEntry>{{"Panther.S16", 0, Bytes("panther")}, {"TIGER.SHP", 0, Bytes("tiger")}}));
    EXPECT_EQ(services.messages.Notices(),
              std::vector<std::string>{"2 icons copied to " + dir.File("dest.dat") + "\n" + kUnmatched});
    EXPECT_FALSE(fs::exists(dir / "dest_back.dat"));
    EXPECT_FALSE(fs::exists(dir / "src_tmp.dat"));

    ArchiveBuilder().Add("TIGER.PNG", "own tiger").Add("OTHER.TXT", "o").Write(dir / "dest.dat");
    const auto before = test::ReadBytes(dir / "dest.dat");
    ASSERT_TRUE(dat.CopyListed(dir.File("list.tbl"), dir.File("dest.dat")));
    EXPECT_EQ(Entries(dir / "dest.dat"), (std::vector<ArchiveEntry>{{"OTHER.TXT", 0, Bytes("o")},
                                                                      {"Panther.S16", 0, Bytes("panther")},
                                                                      {"TIGER.PNG", 0, Bytes("own tiger")}}));
    EXPECT_EQ(test::ReadBytes(dir / "dest_back.dat"), before);
    EXPECT_EQ(dat.Total(), 4);
}

TEST_F(CopyList, SaysWhenThereIsNothingToCopy) {
    test::WriteText(dir / "none.tbl", "NOPE\n");
    EXPECT_FALSE(dat.CopyListed(dir.File("none.tbl"), dir.File("dest.dat")));
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"No icons to copy from:\nSource: " + dir.File("src.dat") +
                                                                     "\nTo: " + dir.File("dest.dat") +
                                                                     "\n\n\nNot in the archive: NOPE"});
    EXPECT_FALSE(fs::exists(dir / "dest.dat"));
    ArchiveBuilder().Add("A.SHP", "a").Write(dir / "bad.dat");
    auto bytes = test::ReadBytes(dir / "bad.dat");
    bytes.pop_back();
    test::WriteBytes(dir / "bad.dat", bytes);
    EXPECT_FALSE(dat.CopyListed(dir.File("list.tbl"), dir.File("bad.dat")));
    EXPECT_EQ(test::ReadBytes(dir / "bad.dat"), bytes);
}

TEST_F(CopyList, ExtractsListedIconsAskingBeforeReplacing) {
    fs::create_directories(dir / "out");
    EXPECT_EQ(dat.ExtractListed(dir.File("list.tbl"), dir.File("out/")), 2);
    EXPECT_EQ(test::ReadText(dir / "out" / "TIGER.SHP"), "tiger");
    EXPECT_EQ(test::ReadText(dir / "out" / "Panther.S16"), "panther");
    EXPECT_EQ(services.messages.Notices().back(), std::string(" Done! ... 2 icons extracted\n") + kUnmatched);
    test::WriteText(dir / "out" / "TIGER.SHP", "mine");
    services.messages.QueueAnswer(false);
    services.messages.QueueAnswer(true);
    EXPECT_EQ(dat.ExtractListed(dir.File("list.tbl"), dir.File("out/")), 1);
    EXPECT_EQ(services.messages.Questions().size(), 2u);
    EXPECT_EQ(services.messages.Questions()[0], dir.File("out/Panther.S16") + " aready exist, do you want to replace ?");
    EXPECT_EQ(test::ReadText(dir / "out" / "TIGER.SHP"), "tiger");
}

}  // namespace
}  // namespace pixmond
