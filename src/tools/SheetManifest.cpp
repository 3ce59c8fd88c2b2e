#include "tools/SheetManifest.h"

#include <nlohmann/json.hpp>

#include <limits>

#include "archive/CDatFile.h"
#include "base/Format.h"

namespace pixmond {

namespace {

using Json = nlohmann::ordered_json;
constexpr const char* kFormat = "pixmond-sheets";
constexpr int kVersion = 1;
// Sheets hold icons of at most this size (S16 icons are the larger ones).
constexpr std::int64_t kMaxCellSide = 800;
constexpr std::int64_t kMaxIcons = 1 << 20;

const char* HexDigits() { return "0123456789abcdef"; }

std::string PaletteText(const RgbTriples& palette) {
    std::string text;
    text.reserve(palette.size() * 2);
    for (const std::uint8_t b : palette) {
        text += HexDigits()[b >> 4];
        text += HexDigits()[b & 15];
    }
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParsePalette(const std::string& text, RgbTriples& palette) {
    if (text.size() != palette.size() * 2) return false;
    for (size_t i = 0; i < palette.size(); ++i) {
        const int high = HexValue(text[i * 2]), low = HexValue(text[i * 2 + 1]);
        if (high < 0 || low < 0) return false;
        palette[i] = std::uint8_t(high * 16 + low);
    }
    return true;
}

bool IsHash(const std::string& text) {
    if (text.size() != 16) return false;
    for (const char c : text)
        if (HexValue(c) < 0) return false;
    return true;
}

Json GridJson(const SheetGrid& grid) {
    return {{"cell_width", grid.cellWidth}, {"cell_height", grid.cellHeight}, {"columns", grid.columns}};
}

Json IconJson(const SheetIcon& icon, SheetKind kind) {
    Json json = {{"width", icon.width}, {"height", icon.height}};
    if (kind == SheetKind::Shp) {
        json["x0"] = icon.header.x0;
        json["y0"] = icon.header.y0;
        json["x1"] = icon.header.x1;
        json["y1"] = icon.header.y1;
        json["reserved"] = icon.header.reserved;
    }
    json["readable"] = icon.readable;
    json["hash"] = icon.hash;
    return json;
}

// Reads the fields of one JSON object, keeping the first thing that is wrong.
class FieldReader {
public:
    FieldReader(const Json& object, std::string& problem) : object_(object), problem_(problem) {}

    bool Ok() const { return problem_.empty(); }

    const Json* Field(const char* key) {
        if (!Ok()) return nullptr;
        if (!object_.is_object()) {
            problem_ = "is not a JSON object";
            return nullptr;
        }
        const auto found = object_.find(key);
        if (found == object_.end()) {
            problem_ = Format("has no \"%s\"", key);
            return nullptr;
        }
        return &*found;
    }
    template <typename T>
    void Int(const char* key, std::int64_t lowest, std::int64_t highest, T& out) {
        const Json* value = Field(key);
        if (!value) return;
        if (!value->is_number_integer() || value->get<std::int64_t>() < lowest ||
            value->get<std::int64_t>() > highest) {
            problem_ = Format("has a \"%s\" that is not a whole number from %lld to %lld", key, (long long)lowest,
                              (long long)highest);
            return;
        }
        out = T(value->get<std::int64_t>());
    }
    void Text(const char* key, std::string& out) {
        const Json* value = Field(key);
        if (!value) return;
        if (!value->is_string()) {
            problem_ = Format("has a \"%s\" that is not text", key);
            return;
        }
        out = value->get<std::string>();
    }
    void Hash(const char* key, std::string& out, bool mayBeEmpty = false) {
        Text(key, out);
        if (Ok() && !IsHash(out) && !(mayBeEmpty && out.empty()))
            problem_ = Format("has a \"%s\" that is not a hash", key);
    }
    void Flag(const char* key, bool& out) {
        const Json* value = Field(key);
        if (!value) return;
        if (!value->is_boolean()) {
            problem_ = Format("has a \"%s\" that is not true or false", key);
            return;
        }
        out = value->get<bool>();
    }

private:
    const Json& object_;
    std::string& problem_;
};

constexpr std::int64_t kStoredSideMin = std::numeric_limits<std::int16_t>::min() + 1;
constexpr std::int64_t kStoredSideMax = std::numeric_limits<std::int16_t>::max() + 1;
constexpr std::int64_t kI32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kI32Max = std::numeric_limits<std::int32_t>::max();

void ReadIcon(const Json& json, SheetKind kind, SheetIcon& icon, std::string& problem) {
    FieldReader r(json, problem);
    // Sizes as stored, which for an icon that cannot be decoded may be anything a 16-bit field holds.
    r.Int("width", kStoredSideMin, kStoredSideMax, icon.width);
    r.Int("height", kStoredSideMin, kStoredSideMax, icon.height);
    if (kind == SheetKind::Shp) {
        r.Int("x0", kI32Min, kI32Max, icon.header.x0);
        r.Int("y0", kI32Min, kI32Max, icon.header.y0);
        r.Int("x1", kI32Min, kI32Max, icon.header.x1);
        r.Int("y1", kI32Min, kI32Max, icon.header.y1);
        r.Int("reserved", 0, std::numeric_limits<std::uint32_t>::max(), icon.header.reserved);
        icon.header.widthMinus1 = std::int16_t(icon.width - 1);
        icon.header.heightMinus1 = std::int16_t(icon.height - 1);
    }
    r.Flag("readable", icon.readable);
    r.Hash("hash", icon.hash, !icon.readable);
}

void ReadEntry(const Json& json, SheetEntry& entry) {
    std::string& problem = entry.problem;
    FieldReader r(json, problem);
    r.Text("name", entry.name);
    r.Int("occurrence", 1, MAX_DAT_ITEMS, entry.occurrence);
    std::string kind;
    r.Text("kind", kind);
    if (r.Ok()) {
        if (kind == "shp")
            entry.kind = SheetKind::Shp;
        else if (kind == "png")
            entry.kind = SheetKind::Png;
        else if (kind == "s16")
            entry.kind = SheetKind::S16;
        else
            problem = Format("has an unknown kind \"%s\"", kind.c_str());
    }
    r.Text("sheet", entry.sheet);
    if (r.Ok() && !CDatFile::IsSafeFileName(entry.sheet)) problem = "names a sheet outside the folder";
    r.Int("size", 0, std::numeric_limits<std::uint32_t>::max(), entry.size);
    r.Hash("hash", entry.hash);
    r.Hash("sheet_hash", entry.sheetHash);
    if (!r.Ok() || entry.kind == SheetKind::Png) return;

    const Json* icons = r.Field("icons");
    if (icons && (!icons->is_array() || icons->size() > size_t(kMaxIcons))) problem = "has no list of icons";
    if (!r.Ok()) return;
    std::vector<SheetGrid::Size> sizes;
    for (const Json& iconJson : *icons) {
        SheetIcon icon;
        std::string iconProblem;
        ReadIcon(iconJson, entry.kind, icon, iconProblem);
        if (!iconProblem.empty()) {
            problem = Format("icon %d %s", int(entry.icons.size()) + 1, iconProblem.c_str());
            return;
        }
        sizes.push_back({icon.readable ? icon.width : 0, icon.readable ? icon.height : 0});
        entry.icons.push_back(icon);
    }
    entry.grid = SheetGrid::For(sizes);
    SheetGrid recorded;
    r.Int("cell_width", 0, kMaxCellSide, recorded.cellWidth);
    r.Int("cell_height", 0, kMaxCellSide, recorded.cellHeight);
    r.Int("columns", 0, 10, recorded.columns);
    if (r.Ok() && (recorded.cellWidth != entry.grid.cellWidth || recorded.cellHeight != entry.grid.cellHeight ||
                   recorded.columns != entry.grid.columns))
        problem = "has a cell size or column count that does not fit its icons";
}

}  // namespace

const char* SheetManifest::KindName(SheetKind kind) {
    switch (kind) {
        case SheetKind::Shp: return "shp";
        case SheetKind::Png: return "png";
        case SheetKind::S16: return "s16";
        case SheetKind::Other: break;
    }
    return "";
}

std::string SheetManifest::ToJson() const {
    Json json = {{"format", kFormat},
                 {"version", kVersion},
                 {"archive", {{"name", archiveName}, {"size", archiveSize}, {"entries", archiveEntries}}},
                 {"palette", {{"file", paletteFile}, {"colours", PaletteText(palette)}}}};
    Json& list = json["entries"] = Json::array();
    for (const SheetEntry& e : entries) {
        Json entry = {{"name", e.name},           {"occurrence", e.occurrence},
                      {"kind", KindName(e.kind)}, {"sheet", e.sheet},
                      {"size", e.size},           {"hash", e.hash},
                      {"sheet_hash", e.sheetHash}};
        if (e.ReadOnly()) entry["read_only"] = true;
        if (e.kind != SheetKind::Png) {
            entry.update(GridJson(e.grid));
            Json& icons = entry["icons"] = Json::array();
            for (const SheetIcon& icon : e.icons) icons.push_back(IconJson(icon, e.kind));
        }
        list.push_back(std::move(entry));
    }
    // Names come from the file system and the archive; bytes that are not UTF-8 are shown replaced, not refused.
    return json.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool SheetManifest::FromJson(const std::string& text, std::string& problem) {
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded()) {
        problem = "is not JSON";
        return false;
    }
    FieldReader r(json, problem);
    std::string format;
    r.Text("format", format);
    if (r.Ok() && format != kFormat)
        problem = Format("is not a sheets manifest (its format is \"%s\")", format.c_str());
    int version = 0;
    r.Int("version", 1, kVersion, version);
    const Json* archive = r.Field("archive");
    if (archive) {
        FieldReader a(*archive, problem);
        a.Text("name", archiveName);
        a.Int("size", 0, std::numeric_limits<std::int64_t>::max(), archiveSize);
        a.Int("entries", 0, MAX_DAT_ITEMS, archiveEntries);
    }
    const Json* paletteJson = r.Field("palette");
    if (paletteJson) {
        FieldReader p(*paletteJson, problem);
        p.Text("file", paletteFile);
        std::string colours;
        p.Text("colours", colours);
        if (p.Ok() && !ParsePalette(colours, palette)) problem = "has a palette that is not 768 hexadecimal bytes";
    }
    const Json* list = r.Field("entries");
    if (list && !list->is_array()) problem = "has no list of entries";
    if (!r.Ok()) return false;
    for (const Json& entryJson : *list) {
        SheetEntry entry;
        ReadEntry(entryJson, entry);
        entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace pixmond
