#include "archive/ArchiveWriter.h"

#include <gtest/gtest.h>

#include <random>

#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Noise(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) b = std::uint8_t(rng());
    return bytes;
}

// Entries of every kind of source, small ones spread over several read groups and big ones streamed on their
// own, written in plan order with their exact bytes.
class ArchiveWriterPlan : public ::testing::Test {
protected:
    void SetUp() override {
        const auto archiveBytes = Noise(40000, 99);
        test::WriteBytes(dir / "old.dat", archiveBytes);
        const auto old = ReadOnlyFile::Open(dir / "old.dat");
        for (int i = 0; i < 400; ++i) {
            const std::string name = "F" + std::to_string(i) + ".SHP";
            if (i == 17) {  // a range of an open archive
                Add(name, std::vector<std::uint8_t>(archiveBytes.begin() + 1000, archiveBytes.begin() + 31000),
                    ArchiveSource{old, {}, 1000});
            } else if (i == 150) {  // made in memory
                auto bytes = std::make_shared<const std::vector<std::uint8_t>>(Noise(5000, 7));
                Add(name, *bytes, ArchiveSource{nullptr, {}, 0, bytes});
            } else if (i == 151 || i == 390) {  // bigger than a read group
                AddFile(name, Noise((3 << 20) / 2 + size_t(i), unsigned(i)));
            } else if (i == 200) {
                AddFile(name, {});
            } else {
                AddFile(name, Noise(1 + (size_t(i) * 7919) % 9000, unsigned(i)));
            }
        }
    }
    void Add(const std::string& name, std::vector<std::uint8_t> bytes, ArchiveSource source) {
        plan.push_back({name, std::uint32_t(bytes.size()), std::move(source)});
        expected.push_back(std::move(bytes));
    }
    void AddFile(const std::string& name, std::vector<std::uint8_t> bytes) {
        test::WriteBytes(dir / name, bytes);
        Add(name, std::move(bytes), ArchiveSource{nullptr, dir / name, 0});
    }
    ArchiveWriter::Result WriteTo(const fs::path& path, const ArchiveWriter::AfterEntry& after = {}) {
        SafeFile out(path);
        ArchiveWriter writer(out);
        const auto result = writer.Write(plan, after);
        failure = writer.Failure();
        if (result == ArchiveWriter::Result::Ok) {
            EXPECT_TRUE(out.Commit());
        }
        return result;
    }

    test::TempDir dir;
    std::vector<ArchivePlanEntry> plan;
    std::vector<std::vector<std::uint8_t>> expected;
    std::string failure;
};

TEST_F(ArchiveWriterPlan, WritesEveryEntryInPlanOrderAndReportsEachOnce) {
    std::vector<size_t> reported;
    ASSERT_EQ(WriteTo(dir / "new.dat", [&reported](size_t done) {
                  reported.push_back(done);
                  return true;
              }),
              ArchiveWriter::Result::Ok);
    const auto parsed = test::ParseArchive(dir / "new.dat");
    ASSERT_TRUE(parsed.sound);
    ASSERT_EQ(parsed.entries.size(), plan.size());
    for (size_t i = 0; i < plan.size(); ++i) {
        EXPECT_EQ(parsed.entries[i].name, plan[i].name);
        EXPECT_EQ(parsed.entries[i].bytes, expected[i]) << plan[i].name;
    }
    ASSERT_EQ(reported.size(), plan.size());
    for (size_t i = 0; i < reported.size(); ++i) EXPECT_EQ(reported[i], i + 1);
}

TEST_F(ArchiveWriterPlan, StopsAtAFaultyEntryOrACancelWithoutWritingTheTarget) {
    // A file that changed after the plan was made, far into the plan, and one that vanished.
    test::WriteBytes(dir / "F300.SHP", Noise(10, 1));
    test::WriteText(dir / "new.dat", "old");
    size_t reported = 0;
    EXPECT_EQ(WriteTo(dir / "new.dat", [&reported](size_t done) { return (reported = done), true; }),
              ArchiveWriter::Result::Failed);
    EXPECT_NE(failure.find("F300.SHP] changed while it was being packed"), std::string::npos) << failure;
    EXPECT_LT(reported, 300u);
    fs::remove(dir / "F5.SHP");
    EXPECT_EQ(WriteTo(dir / "new.dat"), ArchiveWriter::Result::Failed);
    EXPECT_NE(failure.find("F5.SHP] cannot be read"), std::string::npos) << failure;

    // Cancel: no entry is reported after the one that answered no.
    test::WriteBytes(dir / "F5.SHP", expected[5]);
    test::WriteBytes(dir / "F300.SHP", expected[300]);
    reported = 0;
    EXPECT_EQ(WriteTo(dir / "new.dat", [&reported](size_t done) { return (reported = done) < 160; }),
              ArchiveWriter::Result::Cancelled);
    EXPECT_EQ(reported, 160u);
    EXPECT_EQ(test::ReadText(dir / "new.dat"), "old");
}

}  // namespace
}  // namespace pixmond
