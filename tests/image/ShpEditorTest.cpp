#include <gtest/gtest.h>

#include <filesystem>

#include "image/CShpEditor.h"
#include "image/CShpFile.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

using test::IndexRows;
using test::RowsFromText;

const IndexRows kA = RowsFromText({"AAB.", ".CCC", "D..D"});
const IndexRows kB = RowsFromText({"..EE..", "FFFFFF"});
const IndexRows kC = RowsFromText({"GH", "HG", "GG"});
const IndexRows kNew = RowsFromText({"ZZZZ.", "Y...Y", "XXXXX"});

std::vector<IndexRows> IconsOf(const std::string& path) {
    CShpFile shp;
    std::vector<IndexRows> icons;
    if (!shp.OpenFile(path, 1)) return icons;
    for (int n = 1; n <= shp.IconCount(); ++n) {
        shp.SelectIcon(n);
        EXPECT_GT(shp.DecodeIcon(), 0) << "icon " << n;
        icons.push_back(test::RowsOf(shp));
    }
    return icons;
}

std::string WriteBmp(const test::TempDir& dir, const std::string& name, const IndexRows& rows) {
    RecordingServices services;
    const std::string path = dir.File(name);
    EXPECT_TRUE(test::PictureOf(rows).SaveBmp(path, true, services.messages));
    return path;
}

// A file system whose renames can be made to fail from a given call on.
class FailingRenames : public LocalFileSystem {
public:
    int failFrom = 1000;
    int calls = 0;
    bool MoveReplace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (++calls >= failFrom && calls < failFrom + 1) return false;
        return LocalFileSystem::MoveReplace(from, to);
    }
};

class ShpEditorTest : public ::testing::Test {
protected:
    std::string WriteShp(const std::vector<std::uint8_t>& bytes, const std::string& name = "tank.shp") {
        const std::string path = dir.File(name);
        test::WriteBytes(path, bytes);
        return path;
    }
    bool Remove(const std::string& path, int n) {
        CShpFile shp;
        EXPECT_TRUE(shp.OpenFile(path, 1));
        return CShpEditor(services).RemoveIcon(shp, n);
    }
    bool Insert(const std::string& path, const std::string& bmp, int position) {
        CShpFile shp;
        EXPECT_TRUE(shp.OpenFile(path, 1));
        return CShpEditor(services).InsertBmp(shp, bmp, position);
    }
    void ExpectUntouched(const std::string& path, const std::vector<std::uint8_t>& original) {
        EXPECT_EQ(test::ReadBytes(path), original);
        EXPECT_FALSE(std::filesystem::exists(CShpEditor::NewPath(path)));
        EXPECT_FALSE(std::filesystem::exists(CShpEditor::BackupPath(path)));
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }

    test::TempDir dir;
    RecordingServices services;
};

TEST(ShpEditorNames, NewFileAndBackupComeFromThePathWithoutExtension) {
    EXPECT_EQ(CShpEditor::NewPath("D:\\icons\\tank.shp"), "D:\\icons\\tank_new.shp");
    EXPECT_EQ(CShpEditor::BackupPath("D:\\icons\\tank.shp"), "D:\\icons\\tank.back");
    EXPECT_EQ(CShpEditor::BackupPath("/x/a.b/TANK.SHP"), "/x/a.b/TANK.back");
}

TEST_F(ShpEditorTest, AnIconRemovedThenInsertedBackGivesTheOriginalIcons) {
    const auto original = test::ShpBuilder().Icon(kA).Icon(kB).Icon(kC).Build();
    const std::string path = WriteShp(original);
    const std::string bmp = WriteBmp(dir, "middle.bmp", kB);

    ASSERT_TRUE(Remove(path, 2));
    EXPECT_EQ(IconsOf(path), (std::vector<IndexRows>{kA, kC}));
    EXPECT_EQ(test::ReadBytes(CShpEditor::BackupPath(path)), original);
    EXPECT_FALSE(std::filesystem::exists(CShpEditor::NewPath(path)));

    ASSERT_TRUE(Insert(path, bmp, 2));
    EXPECT_EQ(IconsOf(path), (std::vector<IndexRows>{kA, kB, kC}));
    EXPECT_EQ(test::ReadBytes(path), original);
    EXPECT_TRUE(services.messages.Errors().empty());
}

TEST_F(ShpEditorTest, RemovalKeepsTheLayoutAndShiftsSecondOffsets) {
    // One icon left: count 0 and no directory.
    const std::string single = WriteShp(test::ShpBuilder().Icon(kA).Build(), "one.shp");
    ASSERT_TRUE(Remove(single, 1));
    EXPECT_EQ(test::ReadBytes(single), (std::vector<std::uint8_t>{'1', '.', '1', '0', 0, 0, 0, 0}));

    // Second offsets move with their records; zero ones stay zero.
    test::ShpBuilder builder;
    builder.Icon(kA).Icon(kB).Icon(kC);
    auto bytes = builder.Build();
    const std::uint32_t sizeA = std::uint32_t(builder.Records()[0].size());
    const std::uint32_t sizeB = std::uint32_t(builder.Records()[1].size());
    const std::uint32_t offsetC = 32 + sizeA + sizeB;
    StoreU32(&bytes[12], 32 + 5);           // icon 1: second offset 5 bytes into its record
    StoreU32(&bytes[28], offsetC + 7);      // icon 3
    const std::string path = WriteShp(bytes);
    ASSERT_TRUE(Remove(path, 2));
    const auto result = test::ReadBytes(path);
    ASSERT_GE(result.size(), 24u);
    EXPECT_EQ(ByteReader(result).U32(4), 2u);
    EXPECT_EQ(ByteReader(result).U32(8), 24u);
    EXPECT_EQ(ByteReader(result).U32(12), 24u + 5);
    EXPECT_EQ(ByteReader(result).U32(16), 24u + sizeA);
    EXPECT_EQ(ByteReader(result).U32(20), 24u + sizeA + 7);
    EXPECT_EQ(IconsOf(path), (std::vector<IndexRows>{kA, kC}));
}

TEST_F(ShpEditorTest, ASecondRemovalReplacesTheBackup) {
    const std::string path = WriteShp(test::ShpBuilder().Icon(kA).Icon(kB).Icon(kC).Build());
    ASSERT_TRUE(Remove(path, 1));
    const auto afterFirst = test::ReadBytes(path);
    ASSERT_TRUE(Remove(path, 1));
    EXPECT_EQ(test::ReadBytes(CShpEditor::BackupPath(path)), afterFirst);
    EXPECT_EQ(IconsOf(path), (std::vector<IndexRows>{kC}));
}

TEST_F(ShpEditorTest, InsertionPositions) {
    const auto original = test::ShpBuilder().Icon(kA).Icon(kB).Icon(kC).Build();
    const std::string bmp = WriteBmp(dir, "new.bmp", kNew);

    const std::string appended = WriteShp(original, "appended.shp");
    ASSERT_TRUE(Insert(appended, bmp, 0));
    const std::string atEnd = WriteShp(original, "atend.shp");
    ASSERT_TRUE(Insert(atEnd, bmp, 4));
    EXPECT_EQ(test::ReadBytes(appended), test::ReadBytes(atEnd));
    EXPECT_EQ(IconsOf(atEnd), (std::vector<IndexRows>{kA, kB, kC, kNew}));

    const std::string second = WriteShp(original, "second.shp");
    ASSERT_TRUE(Insert(second, bmp, 2));
    EXPECT_EQ(IconsOf(second), (std::vector<IndexRows>{kA, kNew, kB, kC}));
    const auto bytes = test::ReadBytes(second);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ByteReader(bytes).U32(size_t(12 + 8 * i)), 0u);

    const std::string negative = WriteShp(original, "negative.shp");
    ASSERT_TRUE(Insert(negative, bmp, -3));
    EXPECT_EQ(IconsOf(negative).back(), kNew);

    // Past count + 1 there is no place for the icon.
    const std::string refused = WriteShp(original, "refused.shp");
    EXPECT_FALSE(Insert(refused, bmp, 5));
    ExpectUntouched(refused, original);
    EXPECT_EQ(services.messages.Errors().size(), 1u);
}

TEST_F(ShpEditorTest, InsertingIntoAnEmptyFile) {
    const std::string path = WriteShp(test::ShpBuilder().Build());
    ASSERT_TRUE(Insert(path, WriteBmp(dir, "new.bmp", kNew), 1));
    EXPECT_EQ(IconsOf(path), (std::vector<IndexRows>{kNew}));
}

TEST_F(ShpEditorTest, RecordsOutOfDirectoryOrderAreRewrittenBackToBack) {
    // Records stored in reverse order, with a gap between them.
    test::ShpBuilder builder;
    builder.Icon(kA).Icon(kB);
    const auto& a = builder.Records()[0];
    const auto& b = builder.Records()[1];
    std::vector<std::uint8_t> bytes = {'1', '.', '1', '0'};
    test::PutU32(bytes, 2);
    test::PutU32(bytes, std::uint32_t(24 + b.size() + 3));
    test::PutU32(bytes, 0);
    test::PutU32(bytes, 24);
    test::PutU32(bytes, 0);
    bytes.insert(bytes.end(), b.begin(), b.end());
    bytes.insert(bytes.end(), {9, 9, 9});
    bytes.insert(bytes.end(), a.begin(), a.end());
    const std::string path = WriteShp(bytes);
    ASSERT_TRUE(Insert(path, WriteBmp(dir, "new.bmp", kNew), 2));
    EXPECT_EQ(IconsOf(path), (std::vector<IndexRows>{kA, kNew, kB}));
    ASSERT_TRUE(Remove(path, 1));
    EXPECT_EQ(IconsOf(path), (std::vector<IndexRows>{kNew, kB}));
}

TEST_F(ShpEditorTest, DamagedFilesAreRefusedAndLeftAlone) {
    test::ShpBuilder builder;
    builder.Icon(kA).Icon(kB).Icon(kC);
    const auto good = builder.Build();
    const std::string bmp = WriteBmp(dir, "new.bmp", kNew);

    // The last record cut short.
    const std::vector<std::uint8_t> cut(good.begin(), good.end() - 2);
    const std::string truncated = WriteShp(cut, "cut.shp");
    EXPECT_FALSE(Insert(truncated, bmp, 1));
    EXPECT_FALSE(Remove(truncated, 1));
    ExpectUntouched(truncated, cut);
    ASSERT_EQ(services.messages.Errors().size(), 2u);
    EXPECT_EQ(services.messages.Errors()[0], truncated + ": the record of icon 3 runs past the end of the file");
    // The damaged icon itself can still be removed: its record is not copied.
    ASSERT_TRUE(Remove(truncated, 3));
    EXPECT_EQ(IconsOf(truncated), (std::vector<IndexRows>{kA, kB}));

    // Icon 2's record starts inside icon 1's.
    auto overlapping = good;
    StoreU32(&overlapping[16], 32 + 10);
    const std::string overlap = WriteShp(overlapping, "overlap.shp");
    services.messages.Clear();
    EXPECT_FALSE(Remove(overlap, 3));
    ExpectUntouched(overlap, overlapping);
    ASSERT_EQ(services.messages.Errors().size(), 1u);
    EXPECT_EQ(services.messages.Errors()[0], overlap + ": the records of icons 1 and 2 overlap");

    // A record inside the directory, and one far past the end.
    auto inside = good;
    StoreU32(&inside[8], 12);
    const std::string insidePath = WriteShp(inside, "inside.shp");
    EXPECT_FALSE(Remove(insidePath, 2));
    ExpectUntouched(insidePath, inside);
    auto far = good;
    StoreU32(&far[24], 0xFFFFFF00u);
    const std::string farPath = WriteShp(far, "far.shp");
    EXPECT_FALSE(Insert(farPath, bmp, 0));
    ExpectUntouched(farPath, far);

    // Two icons sharing one record are sound.
    auto shared = good;
    StoreU32(&shared[16], 32);
    const std::string sharedPath = WriteShp(shared, "shared.shp");
    ASSERT_TRUE(Remove(sharedPath, 3));
    EXPECT_EQ(IconsOf(sharedPath), (std::vector<IndexRows>{kA, kA}));
}

TEST_F(ShpEditorTest, BitmapsThatCannotBeIconsAreRefused) {
    const auto original = test::ShpBuilder().Icon(kA).Build();
    const std::string path = WriteShp(original);

    // A 2-bit bitmap: no BMP depth.
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    test::PutU32(bmp, 14 + 40 + 64 + 8);
    test::PutU32(bmp, 0);
    test::PutU32(bmp, 14 + 40 + 64);
    test::PutU32(bmp, 40);
    test::PutU32(bmp, 4);
    test::PutU32(bmp, 4);
    test::PutU16(bmp, 1);
    test::PutU16(bmp, 2);
    for (int i = 0; i < 6; ++i) test::PutU32(bmp, 0);
    bmp.resize(bmp.size() + 64 + 8);
    test::WriteBytes(dir / "two.bmp", bmp);
    EXPECT_FALSE(Insert(path, dir.File("two.bmp"), 1));
    ExpectUntouched(path, original);
    EXPECT_EQ(services.messages.Errors(), std::vector<std::string>{"Only 1, 4, 8, 16, 24 and 32 bits BMP supported"});

    // Wider than an icon may be.
    const std::string wide = WriteBmp(dir, "wide.bmp", IndexRows(2, std::vector<std::uint8_t>(641, 5)));
    services.messages.Clear();
    EXPECT_FALSE(Insert(path, wide, 1));
    ExpectUntouched(path, original);
    EXPECT_EQ(services.messages.Errors(), std::vector<std::string>{wide + ": 641 x 2 is not an icon size (2..640 x 2..480)"});

    services.messages.Clear();
    EXPECT_FALSE(Insert(path, dir.File("missing.bmp"), 1));
    ExpectUntouched(path, original);
    EXPECT_EQ(services.messages.Errors().size(), 1u);
}

TEST_F(ShpEditorTest, AFailedSwapPutsTheOriginalBack) {
    const auto original = test::ShpBuilder().Icon(kA).Icon(kB).Build();
    const std::string path = WriteShp(original);
    FailingRenames files;
    files.failFrom = 2;  // the original moves to the backup, the new file cannot follow
    Services failing{services.messages, services.settings, services.shell, files, services.progress};
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(path, 1));
    EXPECT_FALSE(CShpEditor(failing).RemoveIcon(shp, 1));
    EXPECT_EQ(test::ReadBytes(path), original);
    EXPECT_EQ(services.messages.Errors().size(), 1u);

    files.calls = 0;
    files.failFrom = 1;  // the original cannot be moved aside
    ASSERT_TRUE(shp.OpenFile(path, 1));
    EXPECT_FALSE(CShpEditor(failing).RemoveIcon(shp, 1));
    EXPECT_EQ(test::ReadBytes(path), original);
    EXPECT_FALSE(std::filesystem::exists(CShpEditor::NewPath(path)));

    // A full disk: the new file cannot be written; the editor says so and leaves nothing beside the original.
    const auto before = test::FilesUnder(dir.Path());
    const int code = test::RunWithFileSizeLimit(16, [&] {
        services.messages.Clear();
        CShpFile inChild;
        if (!inChild.OpenFile(path, 1) || CShpEditor(services).RemoveIcon(inChild, 1)) return 1;
        return services.messages.Errors().empty() ? 2 : 0;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(test::ReadBytes(path), original);
    EXPECT_EQ(test::FilesUnder(dir.Path()), before);
}

TEST_F(ShpEditorTest, RemovingAnIconThatIsNotThere) {
    const auto original = test::ShpBuilder().Icon(kA).Build();
    const std::string path = WriteShp(original);
    EXPECT_FALSE(Remove(path, 0));
    EXPECT_FALSE(Remove(path, 2));
    ExpectUntouched(path, original);
}

}  // namespace
}  // namespace pixmond
