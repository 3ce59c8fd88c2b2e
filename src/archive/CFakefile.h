#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace pixmond {

// One alias: the fake name and the real icon that stands in for it, both upper case, without extension.
struct CStrNode {
    std::string fake;
    std::string real;
};

// The hand-written ".keep" file beside an archive: "FAKE;REAL" lines naming aliases of icons.
class CFakefile {
public:
    using Map = std::map<std::string, CStrNode>;

    virtual ~CFakefile() = default;

    // False when the file is missing, unreadable or declares no alias.
    bool Load(const std::filesystem::path& path);
    // The same rules applied to text already in memory.
    bool LoadText(std::string_view text);
    // Callers pass upper-case names without extension.
    bool IsFake(const std::string& name) const;

    int Count() const { return count_; }
    const std::filesystem::path& FileName() const { return fileName_; }
    const Map& Entries() const { return map_; }
    Map::const_iterator begin() const { return map_.begin(); }
    Map::const_iterator end() const { return map_.end(); }

private:
    void ReadLine(std::string_view line);
    std::filesystem::path fileName_;
    Map map_;
    int count_ = 0;
};

}  // namespace pixmond
