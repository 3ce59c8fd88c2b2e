#include "tools/EveryIconExport.h"

#include <filesystem>
#include <vector>

#include "archive/CDatFile.h"
#include "base/DiskSync.h"
#include "base/Format.h"
#include "base/OrderedWork.h"
#include "image/IconSource.h"
#include "image/ImageSetColours.h"
#include "image/ImageWriter.h"
#include "image/NumberedIcons.h"
#include "image/PngEncoder.h"
#include "ui/CollectingMessages.h"
#include "ui/Progress.h"
#include "ui/Services.h"

namespace pixmond {

namespace {

struct Exported {
    int failures = 0;
    CollectingMessages said;               // what the entry has to say, passed on in its turn
    std::vector<EncodedPicture> pictures;  // encoded on the worker, written by the taker
};

// One entry, on a worker: its icons numbered, or its picture whole.
Exported ExportEntry(const CDatFile& dat, int index, const std::string& folder, int outputImage,
                     ImageWriteOptions options) {
    Exported out;
    options.handOver = &out.pictures;
    const TDatItem& item = dat.Item(index);
    const std::string name(item.Name());
    const std::string base = (std::filesystem::path(folder) / std::string(item.Title())).string();
    std::unique_ptr<IconSource> source;
    if (item.loadable != 0 && dat.File()) source = OpenIconSource(item.Kind(), {dat.File(), item.offset, name}, out.said);
    if (!source || source->Current() == 0) {
        out.failures = 1;
        out.said.Error(Format("%s cannot be read", name.c_str()));
        return out;
    }
    if (source->IsPicture()) {
        // The loader has already said why a picture that does not decode cannot be saved.
        const CBmpDib& picture = source->Bitmap();
        const bool saved = source->Readable() && picture.Width() > 0 && picture.Height() > 0 &&
                           picture.Save(base + OutputImageExtension(outputImage), out.said, options);
        out.failures = saved ? 0 : 1;
        return out;
    }
    // One summary per entry would bury the one at the end; errors about single pictures still come through.
    CollectingMessages quiet;
    out.failures = SaveNumberedIcons(base + ".x", source->Count(), outputImage, quiet, options, [&](int n) {
        return source->Decode(n) ? &source->Bitmap() : nullptr;
    });
    for (const std::string& error : quiet.Errors())
        if (error.rfind("Error: ", 0) != 0) out.said.Error(error);
    return out;
}

}  // namespace

EveryIconExportResult ExportEveryIcon(const CDatFile& dat, const std::string& folder, int outputImage,
                                      Services& services) {
    EveryIconExportResult result;
    std::vector<int> entries;
    for (int i = 0; i < dat.Total(); ++i)
        if (!dat.Item(i).fake && dat.Item(i).Kind() != IconKind::Other) entries.push_back(i);
    result.entries = int(entries.size());

    const std::unique_ptr<Progress> progress = services.progress.OpenWindow("Exporting");
    if (progress) progress->SetRange(0, result.entries);
    const int workers = OrderedWork::DefaultWorkers();
    std::vector<PngEncoder> encoders(static_cast<size_t>(workers));
    const bool complete = OrderedWork::Run<Exported>(
        result.entries, workers,
        [&](int job, int worker) {
            ImageWriteOptions options;
            options.durability = SafeFile::Durability::kBatch;
            options.png = &encoders[size_t(worker)];
            return ExportEntry(dat, entries[size_t(job)], folder, outputImage, options);
        },
        [&](int, Exported& exported) {
            exported.said.PassOn(services.messages);
            result.failures += exported.failures;
            for (const EncodedPicture& picture : exported.pictures)
                if (!WriteEncoded(picture, services.messages, SafeFile::Durability::kBatch)) ++result.failures;
            if (!progress) return true;
            progress->StepIt();
            return progress->PeekAndPump();
        });
    result.cancelled = !complete;
    if (progress) progress->Hide();
    if (!SyncFileSystem(folder))
        services.messages.Error(Format("The pictures written to %s could not be flushed to disk", folder.c_str()));
    if (result.cancelled)
        services.messages.Error(Format("Cancelled: not every entry was written to %s", folder.c_str()));
    else if (result.failures == 0)
        services.messages.Notice(Format("%d entries written to %s", result.entries, folder.c_str()));
    else
        services.messages.Error(Format("%d icons of %d entries were not written", result.failures, result.entries));
    return result;
}

}  // namespace pixmond
