#include <gtest/gtest.h>

#include "archive/CDatFile.h"
#include "archive/CDatReports.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;
using test::ArchiveBuilder;
using test::ArchiveEntry;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// The real disk, except that renames onto one chosen path fail.
class FailingMoves : public LocalFileSystem {
public:
    bool MoveReplace(const fs::path& from, const fs::path& to) override {
        if (to == failTo) return false;
        return LocalFileSystem::MoveReplace(from, to);
    }
    fs::path failTo;
};

class Edit : public ::testing::Test {
protected:
    void SetUp() override {
        ArchiveBuilder()
            .Add("Tiger.shp", "tiger")
            .Add("PANTHER.SHP", "panther")
            .Add("notes.txt", "n")
            .Write(dir / "v.dat");
        test::WriteText(dir / "v.keep", "TIGERB;TIGER\n");
        original = test::ReadBytes(dir / "v.dat");
        ASSERT_TRUE(dat.Load(path, true));
    }
    int IndexOf(const std::string& name) {
        for (int i = 0; i < dat.Total(); ++i)
            if (dat.Item(i).Name() == name) return i;
        return -1;
    }
    std::vector<ArchiveEntry> Entries(const fs::path& p) {
        auto parsed = test::ParseArchive(p);
        EXPECT_TRUE(parsed.sound);
        for (auto& e : parsed.entries) e.offset = 0;
        return parsed.entries;
    }
    test::TempDir dir;
    std::string path = dir.File("v.dat");
    std::vector<std::uint8_t> original;
    FailingMoves files;
    RecordingServices recording;
    Services services{recording.messages, recording.settings, recording.shell, files, recording.progress};
    CDatFile dat{services};
};

TEST_F(Edit, ReplaceKeepsTheNameTakesTheBytesAndKeepsABackup) {
    test::WriteText(dir / "tiger.png", "a png now");
    EXPECT_EQ(dat.Replace(IndexOf("TIGER.SHP"), dir.File("tiger.png")), 9u);
    EXPECT_EQ(Entries(path), (std::vector<ArchiveEntry>{
                                 {"notes.txt", 0, Bytes("n")}, {"PANTHER.SHP", 0, Bytes("panther")}, {"Tiger.shp", 0, Bytes("a png now")}}));
    EXPECT_EQ(test::ReadBytes(dir / "v_back.dat"), original);
    EXPECT_FALSE(fs::exists(dir / "v_new.dat"));
    // Loaded again, fakes and all.
    EXPECT_EQ(dat.Total(), 4);
    EXPECT_EQ(+dat.Item(IndexOf("TIGERB.SHP")).size, 9u);

    recording.messages.Clear();
    EXPECT_EQ(dat.Replace(IndexOf("TIGERB.SHP"), dir.File("tiger.png")), 0u);
    EXPECT_EQ(dat.Replace(IndexOf("TIGER.SHP"), dir.File("none.shp")), 0u);
    EXPECT_EQ(recording.messages.Notices(),
              std::vector<std::string>{"Cannot replace fake entries, seek real icon and replace that entry"});
    EXPECT_EQ(recording.messages.Errors(), (std::vector<std::string>{"File not found", "[" + dir.File("none.shp") + "] Not found"}));
}

TEST_F(Edit, RemoveDropsOneEntryAndRefusesFakes) {
    EXPECT_EQ(dat.Remove(IndexOf("TIGERB.SHP")), "");
    EXPECT_EQ(dat.Remove(99), "");
    EXPECT_EQ(recording.messages.Notices(), (std::vector<std::string>{"Cannot remove fake entries", "Wrong item to remove"}));
    EXPECT_EQ(dat.Remove(IndexOf("PANTHER.SHP")), "PANTHER.SHP");
    EXPECT_EQ(Entries(path), (std::vector<ArchiveEntry>{{"notes.txt", 0, Bytes("n")}, {"Tiger.shp", 0, Bytes("tiger")}}));
    EXPECT_EQ(test::ReadBytes(dir / "v_back.dat"), original);

    ASSERT_EQ(dat.Remove(IndexOf("NOTES.TXT")), "NOTES.TXT");
    ASSERT_EQ(dat.Remove(IndexOf("TIGER.SHP")), "TIGER.SHP");
    // Only the terminator is left; data would start at byte 21.
    EXPECT_EQ(test::ReadBytes(dir / "v.dat"), (std::vector<std::uint8_t>{1, 0, 0, 0, 21, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Edit, AddFilesMakesOneBackupAndListsEverythingSorted) {
    test::WriteText(dir / "zeta.S16", "z");
    test::WriteText(dir / "alpha.png", "a");
    fs::create_directories(dir / "sub");
    test::WriteText(dir / "sub" / "Tiger.shp", "second tiger");
    EXPECT_EQ(dat.AddFiles({dir.File("zeta.S16"), dir.File("alpha.png"), dir.File("sub/Tiger.shp")}), 0);
    EXPECT_EQ(Entries(path), (std::vector<ArchiveEntry>{{"alpha.png", 0, Bytes("a")},
                                                          {"notes.txt", 0, Bytes("n")},
                                                          {"PANTHER.SHP", 0, Bytes("panther")},
                                                          {"Tiger.shp", 0, Bytes("tiger")},
                                                          {"Tiger.shp", 0, Bytes("second tiger")},
                                                          {"zeta.S16", 0, Bytes("z")}}));
    EXPECT_EQ(test::ReadBytes(dir / "v_back.dat"), original);
    EXPECT_EQ(recording.messages.Notices().back(),
              "Done!, " + path + " updated !\nFormer datfile saved as " + dir.File("v_back.dat") + "\n");
    EXPECT_EQ(recording.settings.GetString("Settings", "S16 folder"), dir.File("sub/"));
    EXPECT_EQ(dat.RealCount(), 6);
    EXPECT_EQ(dat.FakeCount(), 1);
}

TEST_F(Edit, AppendStopsAtTheLimit) {
    ArchiveBuilder full;
    for (int i = 0; i < MAX_DAT_ITEMS; ++i) full.Add("E" + std::to_string(i) + ".TXT", "");
    full.Write(dir / "full.dat");
    test::WriteText(dir / "one.shp", "1");
    ASSERT_TRUE(dat.Load(dir.File("full.dat"), false));
    EXPECT_EQ(dat.Append(dir.File("one.shp")), 0u);
    EXPECT_EQ(recording.messages.Errors(), std::vector<std::string>{"Cannot append more files, full size reached (30000)"});
    EXPECT_FALSE(fs::exists(dir / "full_new.dat"));
}

TEST_F(Edit, AFailedSwapPutsTheArchiveBack) {
    test::WriteText(dir / "tiger.shp", "new tiger");
    files.failTo = path;
    EXPECT_EQ(dat.Replace(IndexOf("TIGER.SHP"), dir.File("tiger.shp")), 0u);
    EXPECT_EQ(test::ReadBytes(dir / "v.dat"), original);
    EXPECT_EQ(test::ReadBytes(dir / "v_back.dat"), original);
    EXPECT_FALSE(fs::exists(dir / "v_new.dat"));
    ASSERT_EQ(recording.messages.Errors().size(), 1u);
    EXPECT_NE(recording.messages.Errors()[0].find("was left as it was"), std::string::npos);
    EXPECT_EQ(dat.Total(), 4);

    files.failTo = dir / "v_back.dat";
    EXPECT_EQ(dat.Remove(IndexOf("NOTES.TXT")), "");
    EXPECT_EQ(test::ReadBytes(dir / "v.dat"), original);
    EXPECT_FALSE(fs::exists(dir / "v_new.dat"));
}

TEST_F(Edit, CancelKeepsTheArchiveUnchanged) {
    test::WriteText(dir / "tiger.shp", "new tiger");
    recording.progress.CancelNextAfter(1);
    EXPECT_EQ(dat.Replace(IndexOf("TIGER.SHP"), dir.File("tiger.shp")), 0u);
    recording.progress.CancelNextAfter(0);
    EXPECT_EQ(dat.Remove(IndexOf("NOTES.TXT")), "");
    EXPECT_EQ(test::ReadBytes(dir / "v.dat"), original);
    EXPECT_FALSE(fs::exists(dir / "v_new.dat"));
    EXPECT_FALSE(fs::exists(dir / "v_back.dat"));

    test::WriteText(dir / "a.shp", "a");
    test::WriteText(dir / "b.shp", "b");
    // All files go in one rewrite; a cancel in the middle of it undoes the whole command.
    EXPECT_EQ(recording.messages.Notices(), (std::vector<std::string>{"Progress Cancelled", "Progress Cancelled"}));
    recording.progress.CancelNextAfter(2);
    CDatFile other(services);
    ASSERT_TRUE(other.Load(path, true));
    EXPECT_EQ(other.AddFiles({dir.File("a.shp"), dir.File("b.shp")}), 2);
    EXPECT_EQ(test::ReadBytes(dir / "v.dat"), original);
    EXPECT_EQ(other.RealCount(), 3);
}

// On a full disk every rewrite fails with a message and leaves the archive as it was, with no half file beside it.
TEST_F(Edit, EveryRewriteOnAFullDiskSaysSoAndKeepsTheArchive) {
    test::WriteText(dir / "tiger.shp", std::string(300, 't'));
    test::WriteText(dir / "list.tbl", "TIGER\n");
    const std::vector<std::string> before = test::FilesUnder(dir.Path());
    struct Case {
        const char* what;
        std::function<bool(CDatFile&)> rewrite;
        bool backupMade;
    };
    const Case cases[] = {
        {"replace", [&](CDatFile& d) { return d.Replace(IndexOf("TIGER.SHP"), dir.File("tiger.shp")) != 0; }, false},
        {"remove", [&](CDatFile& d) { return !d.Remove(IndexOf("NOTES.TXT")).empty(); }, false},
        {"add", [&](CDatFile& d) { return d.AddFiles({dir.File("tiger.shp")}) == 0; }, true},
        {"copy list", [&](CDatFile& d) { return d.CopyListed(dir.File("list.tbl"), dir.File("dest.dat")); }, false},
        {"report", [&](CDatFile& d) { return CDatReports(d, services).ReportItems(dir / "v.txt", false, false); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int code = test::RunWithFileSizeLimit(40, [&] {
            recording.messages.Clear();
            if (!dat.Load(path, true)) return 3;
            const bool ok = c.rewrite(dat);
            return ok ? 1 : recording.messages.Errors().empty() ? 2 : 0;
        });
        EXPECT_EQ(code, 0);
        EXPECT_EQ(test::ReadBytes(dir / "v.dat"), original);
        auto expected = before;
        if (c.backupMade) expected.push_back("v_back.dat");
        EXPECT_EQ(test::FilesUnder(dir.Path()), expected);
        fs::remove(dir / "v_back.dat");
    }
}

// Adding many files in one rewrite gives the archive that adding them one by one gave, byte for byte: each new
// file goes behind the entries of its name; a name longer than 12 characters and a file that cannot be read are
// left out.
TEST_F(Edit, AddingFilesAtOnceGivesTheBytesOfAddingThemOneByOne) {
    fs::create_directories(dir / "in");
    const std::vector<std::string> names = {"tiger.SHP",       "a.png",  "PANTHER.shp",
                                            "ABCDEFGHIJ.S16x", "zz.txt", "Tiger.shp"};
    std::vector<std::string> list;
    for (const auto& n : names) {
        fs::create_directories(dir / "in" / n.substr(0, 1));
        test::WriteText(dir / "in" / n.substr(0, 1) / n, "bytes of " + n);
        list.push_back(dir.File("in/" + n.substr(0, 1) + "/" + n));
    }
    list.insert(list.begin() + 2, dir.File("in/missing.shp"));
    fs::copy_file(dir / "v.dat", dir / "w.dat");

    CDatFile oneByOne{services};
    for (const auto& file : list) {
        ASSERT_TRUE(oneByOne.Load(dir.File("w.dat"), false));
        oneByOne.Append(file);
    }
    recording.progress.titles.clear();
    EXPECT_EQ(dat.AddFiles(list), 2);
    EXPECT_EQ(test::ReadBytes(dir / "v.dat"), test::ReadBytes(dir / "w.dat"));
    EXPECT_EQ(std::count(recording.progress.titles.begin(), recording.progress.titles.end(), "Appending"), 1);
    EXPECT_EQ(test::ReadBytes(dir / "v_back.dat"), original);
}

}  // namespace
}  // namespace pixmond
