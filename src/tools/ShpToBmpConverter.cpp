#include "tools/ShpToBmpConverter.h"

#include <algorithm>
#include <memory>

#include "image/CShp3.h"
#include "image/CShpFile.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/AppSettings.h"
#include "ui/Pickers.h"
#include "ui/Services.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {
constexpr int kIcons = 9;
}

void ShpToBmpConverter::Load() {
    const AppSettings settings(services_.settings);
    inputFolder = WithTrailingSeparator(settings.S16Folder());
    outputFolder = WithTrailingSeparator(settings.BmpFolder());
    outputType = settings.OutputImage();
}

void ShpToBmpConverter::ChooseInputFolder(const std::string& folder) {
    if (!folder.empty()) inputFolder = WithTrailingSeparator(folder);
}

void ShpToBmpConverter::ChooseOutputFolder(const std::string& folder) {
    if (folder.empty()) return;
    outputFolder = WithTrailingSeparator(folder);
    AppSettings(services_.settings).SetBmpFolder(outputFolder);
}

void ShpToBmpConverter::ChooseType(int type) {
    outputType = type;
    AppSettings(services_.settings).SetOutputImage(type);
}

std::vector<std::string> ShpToBmpConverter::ListFiles() const {
    std::vector<std::string> names;
    if (inputFolder.empty()) return names;
    for (const FileEntry& entry : services_.files.List(inputFolder, "*.s??")) names.push_back(entry.name);
    return names;
}

std::string ShpToBmpConverter::CountLine(int files) {
    return Format("%d files in folder (only those with 9 icons will be converted though)", files);
}

std::string ShpToBmpConverter::OutputPath(const std::string& folder, const std::string& name, int type) {
    return Format("%s%s%s", folder.c_str(), PathParts::Of(name).title.c_str(), AppSettings::ExtensionOf(type));
}

BlockParams ShpToBmpConverter::NineIconBlock(const std::string& path, int cellWidth, int cellHeight) {
    BlockParams params;
    params.path = path;
    params.first = 0;
    params.count = kIcons;
    params.rows = 3;
    params.columns = 3;
    params.cellWidth = cellWidth;
    params.cellHeight = cellHeight;
    params.lines = false;
    return params;
}

void ShpToBmpConverter::CellSizeOf(const CShpFile& shp, int& width, int& height) {
    width = height = 0;
    for (int n = 1; n <= shp.IconCount(); ++n) {
        if (!shp.IconReadable(n)) continue;
        const ShpIconHeader& h = shp.StoredHeaders()[size_t(n - 1)];
        width = std::max(width, h.Width());
        height = std::max(height, h.Height());
    }
}

void ShpToBmpConverter::CellSizeOf(const CShp3& set, int& width, int& height) {
    width = height = 0;
    const size_t icons = std::min<size_t>(set.Entries().size(), kIcons);
    for (size_t i = 0; i < icons; ++i) {
        width = std::max(width, set.Entries()[i].width);
        height = std::max(height, set.Entries()[i].height);
    }
}

bool ShpToBmpConverter::ConvertOne(const std::string& name) {
    const std::string path = inputFolder + name;
    const std::string output = OutputPath(outputFolder, name, outputType);
    int width = 0, height = 0;
    if (EqualIgnoringCase(PathParts::Of(name).extension, ".shp")) {
        CShpFile shp;
        if (!shp.OpenFile(path, 1) || shp.IconCount() != kIcons) return false;
        CellSizeOf(shp, width, height);
        return shp.SaveBlock(NineIconBlock(output, width, height), services_.messages);
    }
    CShp3 set;
    if (!set.OpenFile(path) || set.IconCount() != kIcons) return false;
    CellSizeOf(set, width, height);
    return set.SaveBlock(NineIconBlock(output, width, height), services_.messages);
}

int ShpToBmpConverter::Convert() {
    int converted = 0;
    const std::vector<std::string> names = ListFiles();
    // A folder of a few thousand files takes a while; Cancel keeps what is written so far.
    const std::unique_ptr<Progress> progress = services_.progress.OpenWindow("Converting");
    if (progress) progress->SetRange(0, int(names.size()));
    for (const std::string& name : names) {
        if (progress) {
            progress->SetText(name);
            if (!progress->PeekAndPump()) break;
        }
        if (ConvertOne(name)) ++converted;
        if (progress) progress->StepIt();
    }
    services_.messages.Notice(Format("Done!\n%d files converted", converted));
    return converted;
}

}  // namespace pixmond
