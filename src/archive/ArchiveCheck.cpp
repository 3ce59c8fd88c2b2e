#include "archive/ArchiveCheck.h"

#include "archive/CDatFile.h"
#include "base/Format.h"

namespace pixmond {

namespace {

// Every icon of the current entry decoded in turn; a picture is decoded as a whole when it is read.
void CheckIcons(IconSource& source, const std::string& name, CheckResult& result) {
    if (source.IsPicture()) {
        if (source.Readable()) ++result.icons;
        else result.problems.push_back({name, 0, source.Problem()});
        return;
    }
    for (int n = 1; n <= source.Count(); ++n) {
        if (source.Decode(n)) ++result.icons;
        else result.problems.push_back({name, n, source.Problem()});
    }
}

}  // namespace

CheckResult ArchiveCheck::Run(CDatFile& dat) {
    CheckResult result;
    for (int i = 0; i < dat.Total(); ++i) {
        const TDatItem& item = dat.Item(i);
        if (item.fake || item.Kind() == IconKind::Other) continue;
        ++result.entries;
        const std::string name(item.Name());
        if (!item.loadable) {
            result.problems.push_back({name, 0, Format("%s: its data lies outside the archive", name.c_str())});
            continue;
        }
        const bool selected = dat.SelectEntry(i);
        IconSource* source = dat.CurrentSource();
        if (!source) continue;
        if (!selected) result.problems.push_back({name, 0, source->Problem()});
        else CheckIcons(*source, name, result);
    }
    return result;
}

}  // namespace pixmond
