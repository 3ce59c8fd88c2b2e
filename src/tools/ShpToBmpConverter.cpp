#include "tools/ShpToBmpConverter.h"

#include <algorithm>
#include <memory>

#include "base/DiskSync.h"
#include "base/OrderedWork.h"
#include "image/IconSource.h"
#include "image/PngEncoder.h"
#include "ui/CollectingMessages.h"
#include "ui/Progress.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/AppSettings.h"
#include "ui/Pickers.h"
#include "ui/Services.h"

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

void ShpToBmpConverter::CellSizeOf(const IconSource& source, int& width, int& height) {
    width = height = 0;
    for (int n = 1; n <= source.Count(); ++n) {
        const IconGeometry icon = source.Geometry(n);
        if (!icon.readable) continue;
        width = std::max(width, icon.width);
        height = std::max(height, icon.height);
    }
}

bool ShpToBmpConverter::ConvertOne(const std::string& name, Messages& messages, const ImageWriteOptions& write) const {
    const std::string path = inputFolder + name;
    const std::string output = OutputPath(outputFolder, name, outputType);
    // The list holds "*.s??": what is not an SHP file is read as S16, and is passed over unless it holds nine icons.
    const IconKind kind = IconKindOfName(name) == IconKind::Shp ? IconKind::Shp : IconKind::S16;
    const IconBytes bytes = IconBytes::OfFile(path);
    if (!bytes.file) return false;
    const std::unique_ptr<IconSource> source = OpenIconSource(kind, bytes, messages);
    if (source->Count() != kIcons) return false;
    int width = 0, height = 0;
    CellSizeOf(*source, width, height);
    BlockParams block = NineIconBlock(output, width, height);
    block.write = write;
    return source->SaveBlock(block, messages);
}

int ShpToBmpConverter::Convert() {
    int converted = 0;
    const std::vector<std::string> names = ListFiles();
    // A folder of a few thousand files takes a while; Cancel keeps what is written so far.
    const std::unique_ptr<Progress> progress = services_.progress.OpenWindow("Converting");
    if (progress) progress->SetRange(0, int(names.size()));
    // Files are converted on a small pool of threads as new pictures flushed together at the end; what they say,
    // and the progress, follow the list's order.
    struct Converted {
        bool written = false;
        CollectingMessages said;
    };
    const int workers = OrderedWork::DefaultWorkers();
    std::vector<PngEncoder> encoders(static_cast<size_t>(workers));
    bool going = true;
    if (progress && !names.empty()) {
        progress->SetText(names[0]);
        going = progress->PeekAndPump();
    }
    if (going)
        OrderedWork::Run<Converted>(
            int(names.size()), workers,
            [&](int job, int worker) {
                Converted converted;
                ImageWriteOptions write;
                write.durability = SafeFile::Durability::kBatch;
                write.png = &encoders[size_t(worker)];
                converted.written = ConvertOne(names[size_t(job)], converted.said, write);
                return converted;
            },
            [&](int job, Converted& done) {
                done.said.PassOn(services_.messages);
                if (done.written) ++converted;
                if (!progress) return true;
                progress->StepIt();
                if (size_t(job) + 1 < names.size()) progress->SetText(names[size_t(job) + 1]);
                return progress->PeekAndPump();
            });
    if (!outputFolder.empty() && !SyncFileSystem(outputFolder))
        services_.messages.Error(Format("The pictures written to %s could not be flushed to disk", outputFolder.c_str()));
    services_.messages.Notice(Format("Done!\n%d files converted", converted));
    return converted;
}

}  // namespace pixmond
