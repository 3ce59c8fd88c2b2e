#pragma once
#include <CLI/CLI.hpp>

#include "cli/CliRegistry.h"

namespace pixmond::cli {

// Adds `export`: icons, collages, blocks and sheet cells of loose icon files and archive entries, and whole archives.
void AddExportCommand(CLI::App& app, CliContext& ctx);

}  // namespace pixmond::cli
