#pragma once
#include <string>
#include <vector>

namespace pixmond {

class CDatFile;

// One entry (or one icon of it, icon > 0) that cannot be read or decoded, and why: in the words of its icon source,
// which name the entry for a problem of the whole entry and the icon for a problem of one icon.
struct CheckProblem {
    std::string entry;
    int icon = 0;
    std::string reason;
};

struct CheckResult {
    int entries = 0;  // icon entries checked
    int icons = 0;    // icons decoded
    std::vector<CheckProblem> problems;
};

// Makes every real icon entry of the loaded archive current in turn and decodes each of its icons, the way
// the archive browser would show them. Fakes are left out: they read the data of their real entry.
class ArchiveCheck {
public:
    static CheckResult Run(CDatFile& dat);
};

}  // namespace pixmond
