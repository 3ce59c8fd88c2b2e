#include "cli/CliRunner.h"

#include <sys/wait.h>

#include <cstdio>

namespace pixmond::test {

CliRun RunCli(const TempDir& dir, const std::string& args) {
    const std::string command = "cd '" + dir.Path().string() + "' && PIXMOND_SETTINGS='" + dir.File("settings.ini") +
                                "' '" PIXMOND_CLI_PATH "' " + args + " 2>'" + dir.File("stderr.txt") + "'";
    CliRun run{-1, {}, {}};
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadText(dir / "stderr.txt");
    return run;
}

}  // namespace pixmond::test
