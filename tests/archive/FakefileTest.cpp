#include <gtest/gtest.h>

#include "archive/CFakefile.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

std::map<std::string, std::string> Pairs(const CFakefile& fakes) {
    std::map<std::string, std::string> out;
    for (const auto& [key, node] : fakes) {
        EXPECT_EQ(key, node.fake);
        out[key] = node.real;
    }
    return out;
}

TEST(Fakefile, TokenisesLinesAsTheGameFileIsWritten) {
    CFakefile fakes;
    ASSERT_TRUE(fakes.LoadText("# tanks that reuse another picture\r\n"
                               "PZ4F2 ; PZ4F\r\n"
                               "*star comment;X\n"
                               "  #HASH;Y\n"
                               "\t  \n"
                               "only\n"
                               "NOREAL;\n"
                               "a;;b\n"
                               ";;lead;in\n"
                               "x;y;z\n"
                               "tab;real\t\t\n"
                               "dup;first\n"
                               "dup;second\n"));
    EXPECT_EQ(Pairs(fakes), (std::map<std::string, std::string>{{"#HASH", "Y"},
                                                                 {"A", "B"},
                                                                 {"DUP", "SECOND"},
                                                                 {"LEAD", "IN"},
                                                                 {"PZ4F2", "PZ4F"},
                                                                 {"TAB", "REAL"},
                                                                 {"X", "Y"}}));
    EXPECT_EQ(fakes.Count(), 7);
    EXPECT_TRUE(fakes.IsFake("PZ4F2"));
    EXPECT_FALSE(fakes.IsFake("pz4f2"));
    EXPECT_FALSE(fakes.IsFake("PZ4F"));
    EXPECT_FALSE(fakes.IsFake(""));
}

TEST(Fakefile, LongLinesAreReadInPieces) {
    CFakefile fakes;
    // 1023 characters make one line; what follows on the same line is read as the next one.
    const std::string line = "F1;R1" + std::string(1018, ' ') + "F2;R2\n";
    ASSERT_TRUE(fakes.LoadText(line));
    EXPECT_EQ(Pairs(fakes), (std::map<std::string, std::string>{{"F1", "R1"}, {"F2", "R2"}}));
}

TEST(Fakefile, MissingOrEmptyFilesDeclareNothing) {
    test::TempDir dir;
    CFakefile fakes;
    EXPECT_FALSE(fakes.Load(dir / "none.keep"));
    test::WriteText(dir / "empty.keep", "");
    EXPECT_FALSE(fakes.Load(dir / "empty.keep"));
    test::WriteText(dir / "one.keep", "A;B");
    EXPECT_TRUE(fakes.Load(dir / "one.keep"));
    EXPECT_EQ(fakes.FileName(), dir / "one.keep");
    test::WriteText(dir / "comments.keep", "#A;B\n");
    EXPECT_FALSE(fakes.Load(dir / "comments.keep"));
    EXPECT_FALSE(fakes.IsFake("A"));
}

}  // namespace
}  // namespace pixmond
