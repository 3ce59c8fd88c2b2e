#include "cli/ConsoleShell.h"

#include <fstream>
#include <ostream>

namespace pixmond {

bool ConsoleShell::Open(const std::filesystem::path& file, const std::filesystem::path&) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    out_ << "--- " << file.string() << '\n' << in.rdbuf();
    out_ << "--- end of " << file.filename().string() << '\n' << std::flush;
    return true;
}

bool ConsoleShell::OpenUrl(const std::string& url) {
    out_ << url << '\n';
    return true;
}

}  // namespace pixmond
