#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "archive/CDatFile.h"
#include "cli/CliRunner.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;
using test::ArchiveBuilder;

std::vector<std::string> NamesOf(const test::ParsedArchive& archive) {
    std::vector<std::string> out;
    for (const auto& e : archive.entries) out.push_back(e.name);
    return out;
}

std::vector<std::string> FolderNames(const fs::path& folder) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

class Rebuild : public ::testing::Test {
protected:
    void Files(const std::vector<std::string>& names) {
        for (const auto& n : names) test::WriteText(src / n, "bytes of " + n);
    }
    test::TempDir dir;
    fs::path src = dir / "src";
    RecordingServices services;
    CDatFile dat{services};
    void SetUp() override { fs::create_directories(src); }
};

// Every file the rules leave out is logged once with the reason, and the end says how many and where the log is;
// only the new archive itself and its log are passed over without a word.
TEST_F(Rebuild, RepackAllFilesFollowsTheNameRulesAndLogsEachFileLeftOutOnce) {
    Files({"b.SHP", "a.png", "readme.txt", "setup.exe", "varnek2.keep", "ab_cd.png", "BR_tank.png", "abcdefgh.shpx",
           ".hidden", "New.dat", "\xC3\x9Cn\xC3\xAF.SHP", "Err_new.log"});
    dat.Log().OpenForArchive((src / "new.DAT").string());
    ASSERT_TRUE(dat.Repack(src.string() + "/", (src / "new.DAT").string(), false));
    dat.Log().Close(true);
    const auto packed = test::ParseArchive(src / "new.DAT");
    ASSERT_TRUE(packed.sound);
    EXPECT_EQ(NamesOf(packed),
              (std::vector<std::string>{"a.png", "b.SHP", "BR_tank.png", "readme.txt", "\xDCn\xEF.SHP"}));
    EXPECT_EQ(packed.entries[0].offset, 4u + 17 * 6);
    EXPECT_EQ(packed.entries[1].bytes, test::ReadBytes(src / "b.SHP"));
    EXPECT_EQ(services.progress.titles, std::vector<std::string>{"Repacking"});
    EXPECT_EQ(test::ReadText(src / "Err_new.log"),
              ".hidden excluded because hidden files are not packed\n"
              "abcdefgh.shpx excluded because an archive keeps names of at most 12 characters\n"
              "ab_cd.png excluded because no underscore are allowed\n"
              "setup.exe excluded because programs are not packed\n"
              "varnek2.keep excluded because the game's own files are not packed\n");
    EXPECT_EQ(services.messages.Notices(),
              std::vector<std::string>{(src / "new.DAT").string() + " holds 5 files; 5 files of " + src.string() +
                                       "/ were left out.\nThey are listed in " + (src / "Err_new.log").string()});
    EXPECT_TRUE(services.messages.Errors().empty());
}

TEST_F(Rebuild, RepackImagesOnlyLogsUnderscores) {
    Files({"ab_cd.png", "BR_tank.png", "readme.txt", "x.jpg", "y.s16"});
    dat.Log().OpenForArchive((src / "out.dat").string());
    ASSERT_TRUE(dat.Repack(src.string() + "/", (src / "out.dat").string(), true));
    dat.Log().Close(true);
    EXPECT_EQ(NamesOf(test::ParseArchive(src / "out.dat")), (std::vector<std::string>{"BR_tank.png", "x.jpg", "y.s16"}));
    EXPECT_EQ(test::ReadText(src / "Err_out.log"), "ab_cd.png excluded because no underscore are allowed\n");
    EXPECT_EQ(services.shell.opened, std::vector<fs::path>{src / "Err_out.log"});
}

TEST_F(Rebuild, RepackOfAnEmptyFolderCreatesNothing) {
    EXPECT_FALSE(dat.Repack(src.string(), (dir / "x.dat").string(), false));
    EXPECT_EQ(services.messages.Notices(),
              std::vector<std::string>{"\nCannot create new file ... \n\t" + dir.File("x.dat") + " \n"});
    EXPECT_FALSE(fs::exists(dir / "x.dat"));
}

TEST_F(Rebuild, RepackThenUnpackGivesBackEveryByte) {
    std::vector<std::uint8_t> big(3 << 20);
    for (size_t i = 0; i < big.size(); ++i) big[i] = std::uint8_t(i * 7 + i / 4099);
    test::WriteBytes(src / "Big.S16", big);
    Files({"Tiger.shp", "empty.png"});
    test::WriteText(src / "empty.png", "");
    ASSERT_TRUE(dat.Repack(src.string(), (dir / "v.dat").string(), false));
    ASSERT_TRUE(dat.Load(dir.File("v.dat"), true));
    ASSERT_TRUE(dat.Unpack((dir / "out").string()));
    EXPECT_EQ(FolderNames(dir / "out"), (std::vector<std::string>{"Big.S16", "Tiger.shp", "empty.png"}));
    for (const auto& name : FolderNames(dir / "out")) EXPECT_EQ(test::ReadBytes(dir / "out" / name), test::ReadBytes(src / name)) << name;
}

TEST_F(Rebuild, UnpackAndExtractKeepInsideTheFolder) {
    ArchiveBuilder()
        .Add("../evil.shp", "x")
        .Add("a\\b.png", "y")
        .Add("C:x.txt", "z")
        .Add("bell\x07.txt", "w")
        .Add("Good.shp", "good")
        .Write(dir / "bad.dat");
    test::WriteText(dir / "bad.keep", "GOODX;GOOD\n");
    ASSERT_TRUE(dat.Load(dir.File("bad.dat"), true));
    EXPECT_FALSE(dat.Unpack((dir / "out").string()));
    EXPECT_EQ(FolderNames(dir / "out"), std::vector<std::string>{"Good.shp"});
    EXPECT_FALSE(fs::exists(dir / "evil.shp"));
    ASSERT_EQ(services.messages.Errors().size(), 1u);
    for (const char* name : {"../evil.shp", "a\\b.png", "C:x.txt"})
        EXPECT_NE(services.messages.Errors()[0].find(name), std::string::npos) << name;

    int fake = -1, good = -1;
    for (int i = 0; i < dat.Total(); ++i) {
        if (dat.Item(i).fake) fake = i;
        else if (dat.Item(i).Name() == "GOOD.SHP") good = i;
    }
    ASSERT_GE(fake, 0);
    EXPECT_EQ(dat.Extract(fake, dir.File("f.shp")), "");
    EXPECT_EQ(services.messages.Notices().back(), "Cannot extract from fake entry, seek real icon and extract from that entry");
    EXPECT_EQ(dat.Extract(good, dir.File("g.shp")), dir.File("g.shp"));
    EXPECT_EQ(test::ReadText(dir / "g.shp"), "good");
    EXPECT_EQ(dat.Extract(good, dir.File("no/such/g.shp")), "");
    EXPECT_EQ(services.messages.Errors().back(), "Error on creating [" + dir.File("no/such/g.shp") + "]");
}

// A file written by extraction takes its name only when complete: an existing file is replaced with the
// permissions it had, a folder of that name is left alone, and no temporary file stays behind either way.
TEST_F(Rebuild, ExtractReplacesAFileKeepingItsPermissionsButNeverAFolder) {
    ArchiveBuilder().Add("Good.shp", "good").Write(dir / "g.dat");
    ASSERT_TRUE(dat.Load(dir.File("g.dat"), true));
    fs::create_directories(dir / "x");
    test::WriteText(dir / "x" / "old.shp", "old bytes");
    fs::permissions(dir / "x" / "old.shp", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(dir / "x" / "folder.shp");
    EXPECT_EQ(dat.Extract(0, dir.File("x/old.shp")), dir.File("x/old.shp"));
    EXPECT_EQ(test::ReadText(dir / "x" / "old.shp"), "good");
    EXPECT_EQ(fs::status(dir / "x" / "old.shp").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(dat.Extract(0, dir.File("x/folder.shp")), "");
    EXPECT_TRUE(fs::is_directory(dir / "x" / "folder.shp"));
    EXPECT_EQ(FolderNames(dir / "x"), (std::vector<std::string>{"folder.shp", "old.shp"}));
}

// Each name breaks one rule of the safe-name check and no other. Unpack, the command line's extract under the
// stored name, and extraction from a copy list refuse it, name it, write nothing outside the chosen folder and
// still write the good entry. (A copy list cannot ask for a name with '/' or ':': such lines are ignored.)
TEST_F(Rebuild, EachUnsafeNameIsRefusedOnItsOwn) {
    const std::string absolute = "/tmp/Pxq7.shp";
    ASSERT_FALSE(fs::exists(absolute));
    const std::string names[] = {absolute, "sub/x.shp", "a\\b.shp", "C:x.shp", "..", "bell\x07.shp", "del\x7f.shp"};
    for (const std::string& bad : names) {
        SCOPED_TRACE(bad);
        test::TempDir d;
        ArchiveBuilder().Add(bad, "bad").Add("Good.shp", "good").Write(d / "v.dat");
        const size_t dot = bad.rfind('.');
        test::WriteText(d / "list.tbl", (dot == std::string::npos ? bad : bad.substr(0, dot)) + "\nGOOD\n");
        fs::create_directories(d / "listed");
        RecordingServices s;
        CDatFile archive(s);
        ASSERT_TRUE(archive.Load(d.File("v.dat"), false));
        EXPECT_FALSE(CDatFile::IsSafeFileName(bad));

        EXPECT_FALSE(archive.Unpack((d / "out").string()));
        ASSERT_EQ(s.messages.Errors().size(), 1u);
        EXPECT_NE(s.messages.Errors()[0].find(bad), std::string::npos);
        EXPECT_EQ(archive.ExtractListed(d.File("list.tbl"), (d / "listed").string()), 1);
        const auto run = test::RunCli(d, "extract v.dat '" + bad + "'");
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(bad + " cannot be written here"), std::string::npos);

        EXPECT_EQ(test::FilesUnder(d.Path()),
                  (std::vector<std::string>{"list.tbl", "listed/Good.shp", "out/Good.shp", "stderr.txt", "v.dat"}));
        EXPECT_FALSE(fs::exists(absolute));
    }
}

// A directory name holds 12 characters and a zero: a 12-character name (the full 8.3 shape of an entry) is packed
// with its bytes, a 13-character one is left out and logged; a file of a longer name is not added, and said so.
TEST_F(Rebuild, NameLengthLimitsAtTheirEdges) {
    Files({"ABCDEFGH.SHP", "ABCDEFGHI.SHP", "add.shp"});
    dat.Log().OpenForArchive(dir.File("v.dat"));
    ASSERT_TRUE(dat.Repack(src.string(), dir.File("v.dat"), false));
    dat.Log().Close(false);
    const auto packed = test::ParseArchive(dir / "v.dat");
    ASSERT_EQ(NamesOf(packed), (std::vector<std::string>{"ABCDEFGH.SHP", "add.shp"}));
    EXPECT_EQ(packed.entries[0].bytes, test::ReadBytes(src / "ABCDEFGH.SHP"));
    EXPECT_EQ(test::ReadText(dir / "Err_v.log"), "ABCDEFGHI.SHP excluded because an archive keeps names of at most 12 characters\n");

    ASSERT_TRUE(dat.Load(dir.File("v.dat"), false));
    EXPECT_EQ(dat.Append((src / "ABCDEFGHI.SHP").string()), 0u);
    EXPECT_EQ(services.messages.Errors().back(),
              (src / "ABCDEFGHI.SHP").string() + " was not added: an archive keeps names of at most 12 characters.");
    EXPECT_EQ(NamesOf(test::ParseArchive(dir / "v.dat")), (std::vector<std::string>{"ABCDEFGH.SHP", "add.shp"}));
}

// A progress display that deletes a file when it first shows its text: the file vanishes after the folder was
// listed and before its bytes are read.
class VanishingProgress : public ProgressModel {
public:
    explicit VanishingProgress(fs::path victim) : victim_(std::move(victim)) {}

protected:
    void OnText(const std::string&) override { fs::remove(victim_); }

private:
    fs::path victim_;
};
class VanishingFactory : public ProgressFactory {
public:
    explicit VanishingFactory(fs::path victim) : victim_(std::move(victim)) {}
    std::unique_ptr<Progress> OpenWindow(const std::string&) override { return std::make_unique<VanishingProgress>(victim_); }
    std::unique_ptr<Progress> OpenStatusBar(const std::string&, int, int) override {
        return std::make_unique<ProgressModel>();
    }

private:
    fs::path victim_;
};

TEST_F(Rebuild, RepackFailsCleanlyWhenAFileVanishesOrIsCancelled) {
    Files({"a.shp", "b.shp", "c.shp"});
    test::WriteText(dir / "v.dat", "the user's old archive");
    VanishingFactory vanishing(src / "b.shp");
    Services withVanishing{services.messages, services.settings, services.shell, services.files, vanishing};
    CDatFile other(withVanishing);
    EXPECT_FALSE(other.Repack(src.string(), dir.File("v.dat"), false));
    ASSERT_EQ(services.messages.Errors().size(), 1u);
    EXPECT_NE(services.messages.Errors()[0].find("b.shp] cannot be read"), std::string::npos);
    EXPECT_EQ(test::ReadText(dir / "v.dat"), "the user's old archive");
    EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"src", "v.dat"}));

    Files({"b.shp"});
    services.progress.CancelNextAfter(1);
    EXPECT_FALSE(dat.Repack(src.string(), dir.File("v.dat"), false));
    EXPECT_EQ(services.messages.Notices().back(), "Progress Cancelled");
    EXPECT_EQ(test::ReadText(dir / "v.dat"), "the user's old archive");
    EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"src", "v.dat"}));
}

TEST_F(Rebuild, RepackOnAFullDiskLeavesTheTargetAlone) {
    std::vector<std::uint8_t> big(1 << 20, 5);
    test::WriteBytes(src / "big.png", big);
    test::WriteText(dir / "v.dat", "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RecordingServices quiet;
        CDatFile inChild(quiet);
        const bool ok = inChild.Repack(src.string(), dir.File("v.dat"), false);
        ::_exit(ok ? 0 : (quiet.messages.Errors().empty() ? 2 : 1));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(test::ReadText(dir / "v.dat"), "old");
    EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"src", "v.dat"}));
}

}  // namespace
}  // namespace pixmond
