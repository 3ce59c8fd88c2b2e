#include <gtest/gtest.h>

#include "cli/CliRunner.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

using test::ReadBytes;
using test::RunCli;

TEST(SheetsCli, SampleArchiveGoesOutAndComesBackAsItWas) {
    test::TempDir dir;
    ASSERT_EQ(RunCli(dir, "sample s").code, 0);
    const auto original = ReadBytes(dir / "s/demo.dat");

    auto run = RunCli(dir, "sheets export s/demo.dat sheets");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "8 sheets written to sheets: 4 SHP (30 icons), 2 PNG, 2 S16 read-only\n");
    run = RunCli(dir, "sheets import sheets s/demo.dat -o copy.dat");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "No icon changed; written to copy.dat\n");
    EXPECT_EQ(ReadBytes(dir / "copy.dat"), original);

    // The browser's mode and name filter choose the entries.
    run = RunCli(dir, "sheets export s/demo.dat some --mode 3 --name ^T");
    EXPECT_EQ(run.out, "2 sheets written to some: 2 SHP (18 icons), 0 PNG, 0 S16 read-only\n");

    // A file that is not a PNG under a sheet's name stops the import, unless the sound sheets are wanted alone.
    test::WriteText(dir / "sheets/PZ4.SHP.png", "not a picture");
    run = RunCli(dir, "sheets import sheets s/demo.dat");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err,
              "PZ4.SHP: PZ4.SHP.png is not a PNG file\n1 sheet cannot be imported; demo.dat was left as it was.\n"
              "Mend the sheets named above, or give --force-partial to import the sound ones only.\n");
    EXPECT_EQ(ReadBytes(dir / "s/demo.dat"), original);
    run = RunCli(dir, "sheets import sheets s/demo.dat --force-partial");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "No icon changed; demo.dat left as it was; 1 bad sheet left out\n");

    EXPECT_EQ(RunCli(dir, "sheets import sheets").code, 2);
    EXPECT_EQ(RunCli(dir, "sheets export s/demo.dat x --mode 9").code, 2);
}

}  // namespace
}  // namespace pixmond
