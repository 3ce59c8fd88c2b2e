#pragma once
#include <array>
#include <memory>
#include <string>

#include "archive/CDatFile.h"
#include "cli/CliRegistry.h"

namespace pixmond::cli {

// The options that make `list` show the rows of the archive browser: list mode, fake rule, name and
// description filters, and the filter log.
struct ListFilterOpts {
    int mode = -1;  // -1: not given
    bool fakesTogether = false;
    std::string name;
    std::array<std::string, 6> descriptive;
    std::string descriptions;
    std::string log;
    bool withInfo = false;

    // Without any of these options `list` prints the whole entry table.
    bool Active() const;
};

std::shared_ptr<ListFilterOpts> AddListFilterOptions(CLI::App* list);
// Loads the archive and prints the browser's rows (or writes the filter log); false on failure.
bool RunFilteredList(const ListFilterOpts& opts, const std::string& archive, bool withFakes, bool json,
                     ConsoleServices& console);

}  // namespace pixmond::cli
