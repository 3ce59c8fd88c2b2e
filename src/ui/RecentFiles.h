#pragma once
#include <string>
#include <vector>

namespace pixmond {

class Settings;

// The recently used archives, newest first, kept in the store's "Recent File List" section as File1..FileN.
class RecentFiles {
public:
    explicit RecentFiles(size_t maximum = 6) : maximum_(maximum) {}
    void Load(const Settings& settings);
    void Save(Settings& settings) const;
    // Moves the path to the top (names compare without regard to case); the oldest falls off the end.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Paths() const { return paths_; }

private:
    size_t maximum_;
    std::vector<std::string> paths_;
};

}  // namespace pixmond
