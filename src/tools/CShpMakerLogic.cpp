#include "tools/CShpMakerLogic.h"

#include <algorithm>

#include "image/Palette.h"
#include "image/ShpLayout.h"
#include "tools/ShpBuilders.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/AppSettings.h"
#include "ui/Pickers.h"
#include "ui/Services.h"

namespace pixmond {

namespace {

std::string ShpBeside(const std::string& bitmapPath) { return PathParts::Of(bitmapPath).withoutExtension + ".shp"; }

Rgb TableColour(const CBmpDib& bitmap, int index) {
    const auto& t = bitmap.Colours();
    return MakeRgb(t[size_t(index) * 4 + 2], t[size_t(index) * 4 + 1], t[size_t(index) * 4]);
}

}  // namespace

CShpMakerLogic::CShpMakerLogic(Services& services) : services_(services) {}

ShpMakerSettings CShpMakerLogic::Stored() const { return ShpMakerSettings(services_.settings); }

void CShpMakerLogic::LoadSettings() {
    folder = Stored().Folder();
    if (!folder.empty()) folder = WithTrailingSeparator(folder);
    changed_ = false;
}

void CShpMakerLogic::ChooseFolder(const std::string& chosen) {
    if (chosen.empty()) return;
    folder = WithTrailingSeparator(chosen);
    Stored().SetFolder(folder);
    AppSettings(services_.settings).SetS16Folder(folder);
}

std::string CShpMakerLogic::FilePattern(const std::string& fileSpec) {
    if (fileSpec.empty()) return "*.bmp";
    if (!PathParts::Of(fileSpec).extension.empty()) return fileSpec;
    std::string pattern = fileSpec;
    if (pattern.back() == ' ') pattern.back() = '*';
    return pattern + ".bmp";
}

std::vector<std::string> CShpMakerLogic::ListBitmaps() const {
    std::vector<std::string> names;
    if (folder.empty()) return names;
    for (const FileEntry& entry : services_.files.List(folder, FilePattern(fileSpec))) names.push_back(entry.name);
    return names;
}

std::string CShpMakerLogic::PathOf(const std::string& name) const { return folder + name; }

bool CShpMakerLogic::ReadyToRun(int mode, int selectedCount) const {
    if (mode == kIconList) {
        if (iconList.Count() >= 1) return true;
        services_.messages.Error("No icons added yet ..");
        return false;
    }
    if (selectedCount >= 1) return true;
    services_.messages.Error("No selection to process..");
    return false;
}

void CShpMakerLogic::Report(int created, int failed, const char* doneText) const {
    if (failed > 0)
        services_.messages.Error(Format("\n%d files created\n%d files could not be created\n", created, failed));
    else
        services_.messages.Notice(Format(doneText, created));
}

int CShpMakerLogic::MakeClones(const std::vector<std::string>& names) {
    int created = 0, failed = 0;
    for (const std::string& name : names) {
        CBmpDib bitmap;
        const std::string source = PathOf(name);
        if (bitmap.LoadBmp(source, services_.messages) && BuildShpWithClones(ShpBeside(source), bitmap))
            ++created;
        else
            ++failed;
    }
    if (!names.empty()) Report(created, failed, "\nDone !\n%d files created all with 9 icons\n");
    return created;
}

int CShpMakerLogic::MakeFromNineIconBitmaps(const std::vector<std::string>& names, bool threeByThree) {
    int created = 0, failed = 0;
    for (const std::string& name : names) {
        CBmpDib bitmap;
        const std::string source = PathOf(name);
        if (bitmap.LoadBmp(source, services_.messages) &&
            BuildShpFromCells(ShpBeside(source), bitmap, threeByThree))
            ++created;
        else
            ++failed;
    }
    if (!names.empty()) Report(created, failed, "\nDone !\n%d files created all with 9 icons\n");
    return created;
}

bool CShpMakerLogic::MakeFromIconList(const std::string& output) {
    std::vector<std::string> paths;
    for (const std::string& title : iconList.Titles()) {
        const std::string wanted = title + ".bmp";
        const auto found = services_.files.FindIgnoringCase(folder, wanted);
        paths.push_back(found ? found->string() : PathOf(wanted));
    }
    return MakeFromBitmaps(output, paths);
}

bool CShpMakerLogic::MakeFromBitmaps(const std::string& output, const std::vector<std::string>& paths) {
    if (output.empty()) return false;
    std::vector<std::vector<std::uint8_t>> records;
    std::string leftOut;
    int missing = 0;
    for (const std::string& path : paths) {
        CBmpOrvel bitmap;
        std::vector<std::uint8_t> record;
        ShpIconHeader header;
        const bool made = bitmap.LoadBmp(path, services_.messages) &&
                          CBmpOrvel::SizeFits(bitmap.Width(), bitmap.Height()) &&
                          bitmap.EncodeIcon(record, header, false) > 0;
        if (made) {
            records.push_back(std::move(record));
        } else {
            ++missing;
            leftOut.append("\n").append(PathParts::Of(path).title);
        }
    }
    if (records.empty()) {
        services_.messages.Error(
            Format("None of the %d bitmaps could be made into an icon; %s was not created", missing, output.c_str()));
        return false;
    }
    if (!WriteShpFile(output, records, services_.messages)) return false;
    if (missing > 0)
        services_.messages.Error(Format("%d of %d bitmaps could not be made into icons and were left out:%s", missing,
                                        int(paths.size()), leftOut.c_str()));
    services_.messages.Notice(Format("\n %s was created \n", output.c_str()));
    return true;
}

bool CShpMakerLogic::LoadPreview(const std::string& name, bool defaultPaletteForDeepBitmaps) {
    changed_ = false;
    preview_ = CBmpOrvel();
    if (name.empty() || !preview_.LoadBmp(PathOf(name), services_.messages)) {
        preview_ = CBmpOrvel();
        return false;
    }
    if (preview_.Bits() && preview_.BitsPerPixel() != 8 && defaultPaletteForDeepBitmaps) {
        ConvertToPalette(preview_);
        changed_ = true;
    }
    return true;
}

std::string CShpMakerLogic::BitmapInfo() const {
    if (!preview_.Bits() || preview_.Width() <= 0 || preview_.Height() <= 0) return "No Pic loaded";
    // The pixel a bottom-up file stores first: the bottom-left one.
    const int bottom = preview_.Height() - 1;
    if (preview_.BitsPerPixel() == 8) {
        const int p = preview_.GetIndex(0, bottom);
        const Rgb c = TableColour(preview_, p);
        return Format("%d bits %d x %d\nPix 0 is: Pal=%d (%d,%d,%d)", 8, preview_.Width(), preview_.Height(), p,
                      RedOf(c), GreenOf(c), BlueOf(c));
    }
    const Rgb c = preview_.PixelRgb(0, bottom);
    return Format("%d bits %d x %d\nPix 0 is: RGB (%d,%d,%d)", preview_.BitsPerPixel(), preview_.Width(),
                  preview_.Height(), RedOf(c), GreenOf(c), BlueOf(c));
}

Rgb CShpMakerLogic::PaletteColour(int index) const {
    return CanReplace() && index >= 0 && index <= 255 ? TableColour(preview_, index) : Rgb{};
}

int CShpMakerLogic::ReplaceProposal() const { return CanReplace() ? preview_.GetIndex(0, preview_.Height() - 1) : -1; }

int CShpMakerLogic::WithProposal() const { return CanReplace() ? kTransparentIndex : -1; }

bool CShpMakerLogic::ReplaceColour(int from, int to) {
    if (!CanReplace() || to < 0 || to > 255 || from < 0 || from > 255 || to == from) return false;
    for (int y = 0; y < preview_.Height(); ++y)
        for (int x = 0; x < preview_.Width(); ++x)
            if (preview_.GetIndex(x, y) == from) preview_.SetIndex(x, y, std::uint8_t(to));
    changed_ = true;
    return true;
}

bool CShpMakerLogic::ChangeToDefaultPalette() {
    if (!preview_.Bits()) return false;
    const bool done = preview_.BitsPerPixel() == 8 ? RemapToDefaultPalette(preview_) : ConvertToPalette(preview_);
    if (done) changed_ = true;
    return done;
}

bool CShpMakerLogic::SaveChanged(const std::string& name) {
    if (!changed_ || name.empty()) return false;
    const std::string path = Format("%s%sX.bmp", folder.c_str(), PathParts::Of(name).title.c_str());
    if (!preview_.SaveBmp(path, true, services_.messages)) return false;
    changed_ = false;
    return true;
}

}  // namespace pixmond
