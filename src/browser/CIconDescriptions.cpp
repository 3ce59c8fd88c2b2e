#include "browser/CIconDescriptions.h"

#include <cstdio>
#include <memory>

#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {

// A line longer than this is read in pieces, each piece taken as a line of its own.
constexpr size_t kMaxPiece = 1023;

struct Flavour {
    std::string_view comments;
    std::string_view afterName;
    std::string_view betweenFields;
};

constexpr Flavour kText{"*;'#+>/!~\n\r", ":=; >\t", ":=;>"};
constexpr Flavour kCsv{"#*/!\n\r", ":;| \t", ";|\t"};

// Feeds characters, hands out pieces of at most kMaxPiece characters without their line end.
class PieceSplitter {
public:
    template <class Sink>
    void Put(char c, Sink&& sink) {
        if (c == '\n') {
            if (!piece_.empty() && piece_.back() == '\r') piece_.pop_back();
            Flush(sink);
            return;
        }
        piece_ += c;
        if (piece_.size() == kMaxPiece) Flush(sink);
    }
    // The last line is used even when the file does not end with a line end.
    template <class Sink>
    void Finish(Sink&& sink) {
        if (!piece_.empty()) Flush(sink);
    }

private:
    template <class Sink>
    void Flush(Sink& sink) {
        sink(std::string_view(piece_));
        piece_.clear();
    }
    std::string piece_;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::optional<std::filesystem::path> CIconDescriptions::FindBeside(const std::filesystem::path& archive,
                                                                   const FileSystem& files) {
    const PathParts parts = PathParts::Of(archive.string());
    const std::filesystem::path folder = parts.folder;
    for (const char* extension : {".csv", ".txt"}) {
        if (auto found = files.FindIgnoringCase(folder, parts.title + extension)) return found;
    }
    if (EqualIgnoringCase(parts.name, "varnek2.dat")) return files.FindIgnoringCase(folder, "VARNEK2_V2.txt");
    return std::nullopt;
}

bool CIconDescriptions::Read(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    std::unique_ptr<std::FILE, FileCloser> in(std::fopen(file.c_str(), "rb"));
    if (!in) return false;
    records_.clear();
    csv_ = EqualIgnoringCase(PathParts::Of(file.string()).extension, ".csv");
    PieceSplitter pieces;
    auto sink = [this](std::string_view line) { ReadLine(line); };
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0) {
        for (size_t i = 0; i < got; ++i) pieces.Put(buffer[i], sink);
    }
    pieces.Finish(sink);
    return true;
}

void CIconDescriptions::ReadText(std::string_view text, bool csv) {
    records_.clear();
    csv_ = csv;
    PieceSplitter pieces;
    auto sink = [this](std::string_view line) { ReadLine(line); };
    for (char c : text) pieces.Put(c, sink);
    pieces.Finish(sink);
}

void CIconDescriptions::ReadLine(std::string_view line) {
    const Flavour& flavour = csv_ ? kCsv : kText;
    // Lines of fewer than three characters, counting their line end, hold no record.
    if (line.empty() || line.size() + 1 < 3 || flavour.comments.find(line.front()) != std::string_view::npos) return;

    size_t end = line.find_first_of(flavour.afterName);
    const std::string key = KeyOf(line.substr(0, end));
    if (key.empty()) return;
    stIconTxItem item;
    for (int k = 0; k < kDescriptionFieldCount && end != std::string_view::npos && end + 1 < line.size(); ++k) {
        const size_t start = end + 1;
        end = line.find_first_of(flavour.betweenFields, start);
        item.field[k] = std::string(line.substr(start, end == std::string_view::npos ? end : end - start));
    }
    records_[key] = std::move(item);
}

const stIconTxItem* CIconDescriptions::Find(const std::string& key) const {
    auto it = records_.find(key);
    return it == records_.end() ? nullptr : &it->second;
}

std::string CIconDescriptions::KeyOf(std::string_view name) { return ToUpper(PathParts::Of(std::string(name)).title); }

}  // namespace pixmond
