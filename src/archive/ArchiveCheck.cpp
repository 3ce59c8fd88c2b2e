#include "archive/ArchiveCheck.h"

#include "archive/CDatFile.h"
#include "base/Format.h"

namespace pixmond {

namespace {

void CheckShp(CDatFile& dat, int index, const std::string& name, CheckResult& result) {
    CShpFile& shp = dat.ShpReader();
    if (!dat.SelectEntry(index) || shp.IconCount() == 0) {
        result.problems.push_back({name, 0, shp.Problem().empty() ? "no icon can be read" : shp.Problem()});
        return;
    }
    for (int n = 1; n <= shp.IconCount(); ++n) {
        if (shp.SelectIcon(n) == n && shp.DecodeIcon() > 0) ++result.icons;
        else result.problems.push_back({name, n, shp.Problem()});
    }
}

void CheckS16(CDatFile& dat, int index, const std::string& name, CheckResult& result) {
    CShp3& set = dat.ImageSet();
    if (!dat.SelectEntry(index)) {
        result.problems.push_back({name, 0, "its S16 directory cannot be read, or it holds no icon"});
        return;
    }
    for (int n = 1; n <= set.IconCount(); ++n) {
        if (set.SelectIcon(n) == n && set.DecodeIcon() > 0) ++result.icons;
        else result.problems.push_back({name, n, set.DecodeProblem()});
    }
}

void CheckPng(CDatFile& dat, int index, const std::string& name, CheckResult& result) {
    dat.SelectEntry(index);
    const CShp3& set = dat.ImageSet();
    if (set.FromPng() && set.Bits()) ++result.icons;
    else result.problems.push_back({name, 0, "not a PNG picture, or it cannot be decoded"});
}

}  // namespace

CheckResult ArchiveCheck::Run(CDatFile& dat) {
    CheckResult result;
    for (int i = 0; i < dat.Total(); ++i) {
        const TDatItem& item = dat.Item(i);
        if (item.fake || item.type == kTypeOther) continue;
        ++result.entries;
        const std::string name(item.Name());
        if (!item.loadable) {
            result.problems.push_back({name, 0, "its data lies outside the archive"});
            continue;
        }
        switch (item.type) {
            case kTypeShp: CheckShp(dat, i, name, result); break;
            case kTypeS16: CheckS16(dat, i, name, result); break;
            default: CheckPng(dat, i, name, result); break;
        }
    }
    return result;
}

}  // namespace pixmond
