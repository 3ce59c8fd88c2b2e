#include "ui/FileSettings.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/SafeFile.h"
#include "ui/Services.h"
#include "base/TextCase.h"

namespace pixmond {

namespace fs = std::filesystem;

fs::path FileSettings::DefaultPath() {
    if (const char* explicitPath = std::getenv("PIXMOND_SETTINGS"); explicitPath && *explicitPath)
        return explicitPath;
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = fs::path(home) / ".config";
    } else {
        base = ".";
    }
    return base / kSettingsKey / "settings.ini";
}

FileSettings::FileSettings(fs::path file) : file_(std::move(file)) { Read(); }

FileSettings::~FileSettings() { Flush(); }

// Values are single lines; a line break inside one is stored escaped so the file stays line based.
static std::string Escape(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

static std::string Unescape(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += value[i];
        }
    }
    return out;
}

void FileSettings::Read() {
    std::ifstream in(file_, std::ios::binary);
    if (!in) return;
    std::string section;
    std::string line;
    while (std::getline(in, line)) {
        const std::string_view text = TrimLineEnd(line);
        if (text.empty() || text[0] == ';') continue;
        if (text.front() == '[' && text.back() == ']') {
            section = std::string(text.substr(1, text.size() - 2));
            continue;
        }
        const size_t eq = text.find('=');
        if (eq == std::string_view::npos || section.empty()) continue;
        values_[section][std::string(text.substr(0, eq))] = Unescape(text.substr(eq + 1));
    }
    dirty_ = false;
}

bool FileSettings::Flush() {
    if (!dirty_) return true;
    std::error_code ec;
    fs::create_directories(file_.parent_path(), ec);
    std::ostringstream out;
    for (const auto& [section, values] : values_) {
        out << '[' << section << "]\n";
        for (const auto& [name, value] : values) out << name << '=' << Escape(value) << '\n';
        out << '\n';
    }
    const std::string text = out.str();
    SafeFile file(file_);
    if (!file.Write(text.data(), text.size()) || !file.Commit()) return false;
    dirty_ = false;
    return true;
}

}  // namespace pixmond
