#pragma once
#include <string>

#include "support/TestFiles.h"

namespace pixmond::test {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

// Runs pixmond-cli inside the test's folder with its settings kept there: stdout captured, stderr read back.
CliRun RunCli(const TempDir& dir, const std::string& args);

}  // namespace pixmond::test
