#include <gtest/gtest.h>
#include <sys/stat.h>

#include "archive/CDatFile.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

using test::ArchiveBuilder;

struct Listed {
    std::string name;
    int type, icons, loadable, fake;
    bool operator==(const Listed&) const = default;
    friend void PrintTo(const Listed& l, std::ostream* os) {
        *os << l.name << " type " << l.type << " icons " << l.icons << " loadable " << l.loadable << " fake " << l.fake;
    }
};
std::vector<Listed> ListOf(const CDatFile& dat) {
    std::vector<Listed> out;
    for (const auto& item : dat.Items())
        out.push_back({std::string(item.Name()), item.type, item.icons, item.loadable, item.fake});
    return out;
}

class DatLoad : public ::testing::Test {
protected:
    std::string Archive(const ArchiveBuilder& builder, const std::string& name = "varnek2.dat") {
        builder.Write(dir / name);
        return dir.File(name);
    }
    test::TempDir dir;
    RecordingServices services;
    CDatFile dat{services};
};

TEST_F(DatLoad, ClassifiesByNameAndReadsHeaderCounts) {
    const auto path = Archive(ArchiveBuilder()
                                  .Add("tiger.shp", ArchiveBuilder::Shp(9))
                                  .Add("Flag.S16", ArchiveBuilder::S16(4))
                                  .Add("SHPX.PNG", "png bytes")
                                  .Add("ICONS.TXT", "text")
                                  .Add("ZERO.SHP", ArchiveBuilder::Shp(0))
                                  .Add("NEG.S16", ArchiveBuilder::S16(-3))
                                  .Add("TINY.SHP", "1.1"));
    ASSERT_TRUE(dat.Load(path, false));
    EXPECT_EQ(ListOf(dat), (std::vector<Listed>{{"FLAG.S16", 2, 4, 1, 0},
                                                 {"ICONS.TXT", 0, 0, 0, 0},
                                                 {"NEG.S16", 2, 0, 1, 0},
                                                 {"SHPX.PNG", 3, 9, 1, 0},
                                                 {"TIGER.SHP", 1, 9, 1, 0},
                                                 {"TINY.SHP", 1, 0, 1, 0},
                                                 {"ZERO.SHP", 1, 0, 1, 0}}));
    EXPECT_EQ(dat.RealCount(), 7);
    EXPECT_EQ(dat.Total(), 7);
    EXPECT_TRUE(dat.IsShp(4));
    EXPECT_TRUE(dat.IsS16(0));
    EXPECT_TRUE(dat.IsPng(3));
    EXPECT_TRUE(dat.IsNotLoadable(1));
    EXPECT_TRUE(dat.IsNotLoadable(7));
    EXPECT_TRUE(services.messages.Entries().empty());
}

TEST_F(DatLoad, OffsetsAndSizesFollowTheDirectory) {
    const auto path = Archive(ArchiveBuilder().Add("B.SHP", ArchiveBuilder::Shp(1, 30)).Add("A.TXT", "12345"));
    ASSERT_TRUE(dat.Load(path, false));
    // Sorted by name, the data stays where the directory put it: B first, then A.
    EXPECT_EQ(dat.Item(0).Name(), "A.TXT");
    EXPECT_EQ(+dat.Item(0).offset, 4u + 17 * 3 + 30);
    EXPECT_EQ(+dat.Item(0).size, 5u);
    EXPECT_EQ(+dat.Item(1).offset, 4u + 17 * 3);
    EXPECT_EQ(+dat.Item(1).size, 30u);
}

TEST_F(DatLoad, AnArchiveOfNoEntriesListsNothingAndAFileThatIsNoArchiveIsRefused) {
    test::WriteBytes(dir / "e.dat", ArchiveBuilder().Build());
    ASSERT_TRUE(dat.Load(dir.File("e.dat"), true));
    EXPECT_EQ(dat.Total(), 0);
    EXPECT_TRUE(dat.Loaded());
    EXPECT_TRUE(services.messages.Entries().empty());

    // Nothing, a cut count, a count of no records, text, and a directory whose data would not follow it.
    const auto path = Archive(ArchiveBuilder().Add("A.SHP", ArchiveBuilder::Shp(2)));
    std::vector<std::uint8_t> moved = ArchiveBuilder().Add("A.SHP", ArchiveBuilder::Shp(2)).Build();
    moved[4] += 1;
    const std::string text = "Heavy tank;grey;tank;Germany\r\n";
    using Bytes = std::vector<std::uint8_t>;
    for (const Bytes& bytes :
         {Bytes{}, Bytes{1, 0}, Bytes{0, 0, 0, 0, 0, 0, 0, 0}, Bytes(text.begin(), text.end()), moved}) {
        ASSERT_TRUE(dat.Load(path, true));
        services.messages.Clear();
        test::WriteBytes(dir / "x.dat", bytes);
        EXPECT_FALSE(dat.Load(dir.File("x.dat"), true));
        EXPECT_EQ(services.messages.Notices(),
                  std::vector<std::string>{dir.File("x.dat") + "\nis not an icon archive."});
        // The archive open before stays open and listed.
        EXPECT_EQ(dat.Path(), path);
        EXPECT_EQ(dat.Total(), 1);
        EXPECT_TRUE(dat.ArchiveOpen());
    }
}

TEST_F(DatLoad, MissingAndReadOnlyFilesAreRefused) {
    EXPECT_FALSE(dat.Load(dir.File("none.dat"), true));
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{dir.File("none.dat") + " not found"});

    const auto path = Archive(ArchiveBuilder().Add("A.SHP", ArchiveBuilder::Shp(2)));
    ASSERT_TRUE(dat.Load(path, true));
    ::chmod(path.c_str(), 0444);
    services.messages.Clear();
    EXPECT_FALSE(dat.Load(path, true));
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{path + "\nMain data file not found."});
    EXPECT_EQ(dat.RealCount(), 0);
    EXPECT_EQ(dat.Total(), 0);
    EXPECT_FALSE(dat.Loaded());
    // Reading is all that listing needs.
    EXPECT_TRUE(dat.LoadForReading(path, true));
    EXPECT_EQ(dat.Total(), 1);
}

TEST_F(DatLoad, FakesAreMergedOnlyInteractively) {
    const auto path = Archive(ArchiveBuilder()
                                  .Add("PZ4F.SHP", ArchiveBuilder::Shp(9))
                                  .Add("TIGER.S16", ArchiveBuilder::S16(3)));
    test::WriteText(dir / "VARNEK2.KEEP", "PZ4F2;PZ4F\nGHOST;NOPE\ntigerb;tiger\nLONGFAKENAME1;PZ4F\n");
    ASSERT_TRUE(dat.Load(path, false));
    EXPECT_EQ(dat.Total(), 2);
    EXPECT_EQ(dat.FakeCount(), 0);

    ASSERT_TRUE(dat.Load(path, true));
    EXPECT_EQ(dat.RealCount(), 2);
    EXPECT_EQ(dat.FakeCount(), 4);
    EXPECT_EQ(ListOf(dat), (std::vector<Listed>{{"GHOST.PNG", 3, 9, 0, 1},
                                                 {"LONGFAKENAME", 1, 9, 1, 1},
                                                 {"PZ4F.SHP", 1, 9, 1, 0},
                                                 {"PZ4F2.SHP", 1, 9, 1, 1},
                                                 {"TIGER.S16", 2, 3, 1, 0},
                                                 {"TIGERB.S16", 2, 3, 1, 1}}));
    EXPECT_EQ(+dat.Item(0).size, 0u);
    EXPECT_EQ(+dat.Item(0).offset, 0u);
    EXPECT_EQ(dat.Item(0).RealName(), "NOPE");
    EXPECT_EQ(+dat.Item(3).offset, +dat.Item(2).offset);
    EXPECT_EQ(+dat.Item(3).size, +dat.Item(2).size);
    EXPECT_EQ(dat.Item(3).RealName(), "PZ4F");
    // Both loads step the status-bar bar, which is opened without a label.
    EXPECT_EQ(services.progress.titles, (std::vector<std::string>{"", ""}));
}

TEST_F(DatLoad, LaterRealEntryOfATitleServesTheFake) {
    const auto path = Archive(ArchiveBuilder().Add("TANK.SHP", ArchiveBuilder::Shp(2)).Add("TANK.PNG", "p"));
    test::WriteText(dir / "varnek2.keep", "TANK;TANK\n");
    ASSERT_TRUE(dat.Load(path, true));
    // The fake name equals a real title and is still added; it takes the PNG, the later entry.
    EXPECT_EQ(ListOf(dat), (std::vector<Listed>{{"TANK.PNG", 3, 9, 1, 0},
                                                 {"TANK.PNG", 3, 9, 1, 1},
                                                 {"TANK.SHP", 1, 2, 1, 0}}));
}

TEST_F(DatLoad, TooManyFakesAreLeftOutWithTheTableUnsorted) {
    ArchiveBuilder builder;
    builder.Add("B.SHP", ArchiveBuilder::Shp(1)).Add("A.SHP", ArchiveBuilder::Shp(1));
    const auto path = Archive(builder);
    std::string keep;
    for (int i = 0; i < MAX_DAT_ITEMS - 1; ++i) keep += "F" + std::to_string(i) + ";A\n";
    test::WriteText(dir / "varnek2.keep", keep);
    ASSERT_TRUE(dat.Load(path, true));
    EXPECT_EQ(services.messages.Errors(), std::vector<std::string>{"cannot add 29999 fake icons ..."});
    EXPECT_EQ(dat.Total(), 2);
    EXPECT_EQ(dat.Item(0).Name(), "B.SHP");
}

// The table holds 30,000 entries, real and fake together: exactly that many are listed without a word.
TEST_F(DatLoad, TheTableLimitAtItsEdge) {
    for (const int count : {MAX_DAT_ITEMS, MAX_DAT_ITEMS + 1}) {
        ArchiveBuilder builder;
        for (int i = 0; i < count; ++i) builder.Add("F" + std::to_string(i) + ".TXT", "");
        services.messages.Clear();
        ASSERT_TRUE(dat.Load(Archive(builder, "big.dat"), false));
        EXPECT_EQ(dat.RealCount(), MAX_DAT_ITEMS);
        const std::vector<std::string> none, tooMany = {"Only 30000 / 30001 icons will be loaded..."};
        EXPECT_EQ(services.messages.Errors(), count == MAX_DAT_ITEMS ? none : tooMany);
    }
    // One real entry and 29,999 fakes fill the table exactly; the fakes are merged and sorted in.
    const auto path = Archive(ArchiveBuilder().Add("A.SHP", ArchiveBuilder::Shp(1)));
    std::string keep;
    for (int i = 0; i < MAX_DAT_ITEMS - 1; ++i) keep += "F" + std::to_string(i) + ";A\n";
    test::WriteText(dir / "varnek2.keep", keep);
    services.messages.Clear();
    ASSERT_TRUE(dat.Load(path, true));
    EXPECT_TRUE(services.messages.Errors().empty());
    EXPECT_EQ(dat.Total(), MAX_DAT_ITEMS);
    EXPECT_EQ(dat.Item(0).Name(), "A.SHP");
}

TEST_F(DatLoad, DamagedDirectoriesListWhatIsSoundAndSaySoOnce) {
    auto bytes = ArchiveBuilder()
                     .Add("A.SHP", ArchiveBuilder::Shp(5))
                     .Add("B.S16", ArchiveBuilder::S16(2))
                     .Add("C.PNG", "png")
                     .Build();
    // B's offset goes past the end of the file; C then starts before B: both point outside their data.
    bytes[4 + 17 + 0] = 0xff;
    bytes[4 + 17 + 1] = 0xff;
    test::WriteBytes(dir / "bad.dat", bytes);
    ASSERT_TRUE(dat.Load(dir.File("bad.dat"), false));
    EXPECT_EQ(ListOf(dat), (std::vector<Listed>{{"A.SHP", 1, 0, 0, 0}, {"B.S16", 2, 0, 0, 0}, {"C.PNG", 3, 9, 1, 0}}));
    EXPECT_EQ(dat.DamagedCount(), 2);
    ASSERT_EQ(services.messages.Errors().size(), 1u);
    EXPECT_NE(services.messages.Errors()[0].find("2 entries point outside the file"), std::string::npos);

    // A count that promises far more records than the file holds: the records present are listed.
    bytes = ArchiveBuilder().Add("A.SHP", ArchiveBuilder::Shp(5)).Add("B.TXT", "x").Build();
    bytes.resize(4 + 17 * 3);  // the data is gone, the directory is whole
    bytes[3] = 0x7f;
    test::WriteBytes(dir / "cut.dat", bytes);
    services.messages.Clear();
    ASSERT_TRUE(dat.Load(dir.File("cut.dat"), false));
    EXPECT_EQ(dat.Total(), 2);
    EXPECT_TRUE(dat.IsNotLoadable(0));
    ASSERT_EQ(services.messages.Errors().size(), 1u);
    EXPECT_NE(services.messages.Errors()[0].find("holds only 2 of them"), std::string::npos);
}

TEST_F(DatLoad, NamesTakeAtMost13BytesAndStopAtTheirZero) {
    auto bytes = ArchiveBuilder().Add("ABCDEFGHIJ.SH", "x").Add("Q", "y").Build();
    bytes[4 + 17 + 4 + 2] = 'Z';  // garbage after the zero of "Q"
    test::WriteBytes(dir / "n.dat", bytes);
    ASSERT_TRUE(dat.Load(dir.File("n.dat"), false));
    EXPECT_EQ(dat.Item(0).Name(), "ABCDEFGHIJ.SH");
    EXPECT_EQ(dat.Item(1).Name(), "Q");
}

}  // namespace
}  // namespace pixmond
