#include <gtest/gtest.h>

#include "archive/DatDirectory.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

using test::ArchiveBuilder;

// A name keeps 12 characters and a zero; offsets follow the sizes from right behind the directory; an archive whose
// data would end past what 32-bit offsets address is refused, one that ends exactly there is laid out.
TEST(DatDirectory, EncodeKeepsTwelveCharactersAndStopsAtTheAddressLimit) {
    const std::vector<DatDirectory::Shape> shapes = {{"ABCDEFGH.SHP", 5}, {"ABCDEFGHI.SHP", 7}};
    std::vector<std::uint8_t> out;
    EXPECT_EQ(DatDirectory::Encode(2, [&](size_t i) { return shapes[i]; }, out), 4u + 17 * 3 + 12);
    auto expected = ArchiveBuilder()
                        .Add("ABCDEFGH.SHP", std::vector<std::uint8_t>(5))
                        .Add("ABCDEFGHI.SH", std::vector<std::uint8_t>(7))
                        .Build();
    expected.resize(out.size());
    EXPECT_EQ(out, expected);

    const std::uint64_t fits = DatDirectory::kMaxEnd - DatDirectory::DataStart(1);
    for (const std::uint64_t size : {fits, fits + 1}) {
        const auto big = [size](size_t) { return DatDirectory::Shape{"BIG.SHP", size}; };
        const std::uint64_t end = DatDirectory::Encode(1, big, out);
        EXPECT_EQ(end, DatDirectory::DataStart(1) + size);
        EXPECT_EQ(out.empty(), end > DatDirectory::kMaxEnd) << size;
    }
}

// Only records the file holds are read; each kind of damage is named, and a sound directory has none.
TEST(DatDirectory, ReadsWhatTheFileHoldsAndNamesTheDamage) {
    const auto sound = ArchiveBuilder().Add("a.shp", "1").Add("B.S16", "22").Build();
    auto promisesMore = sound;
    promisesMore[0] = 9;
    auto inverted = sound;
    inverted[4 + 17] = 0;  // B starts before A
    auto outside = sound;
    outside[4 + 34 + 1] = 0x10;  // the end lies past the file
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        size_t count;
        bool truncated;
        int damaged;
    };
    const Case cases[] = {
        {"empty file", {}, 0, false, 0},
        {"count cut short", {3, 0}, 0, true, 0},
        {"no record", {0, 0, 0, 0}, 0, false, 0},
        {"terminator only", ArchiveBuilder().Build(), 0, false, 0},
        {"sound", sound, 2, false, 0},
        {"count promises more", promisesMore, 2, true, 0},
        {"inverted offsets", inverted, 2, false, 1},
        {"data past the end", outside, 2, false, 1},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteBytes(dir / "a.dat", c.bytes);
        const auto directory = DatDirectory::Read(*ReadOnlyFile::Open(dir / "a.dat"));
        EXPECT_EQ(directory.Count(), c.count);
        EXPECT_EQ(directory.Truncated(), c.truncated);
        EXPECT_EQ(directory.Damaged(), c.damaged);
        EXPECT_EQ(directory.Sound(), !c.truncated && c.damaged == 0);
    }
    test::WriteBytes(dir / "a.dat", inverted);
    const auto directory = DatDirectory::Read(*ReadOnlyFile::Open(dir / "a.dat"));
    EXPECT_EQ(directory.Name(0), "a.shp");
    EXPECT_EQ(directory.Size(0), 0u);
    EXPECT_FALSE(directory.Inside(0));
    EXPECT_EQ(DatDirectory::Read(*ReadOnlyFile::Open(dir / "a.dat"), 1).Count(), 1u);
}

}  // namespace
}  // namespace pixmond
