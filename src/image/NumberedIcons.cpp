#include "image/NumberedIcons.h"

#include <vector>

#include "base/DiskSync.h"
#include "base/Format.h"
#include "base/OrderedWork.h"
#include "base/PathParts.h"
#include "image/CBmpDib.h"
#include "image/ImageSetColours.h"
#include "image/ImageWriter.h"
#include "image/PngEncoder.h"
#include "ui/CollectingMessages.h"

namespace pixmond {

namespace {

// How it went, in the words the user has always been given.
int Summarise(int count, int failures, int outputImage, Messages& messages) {
    if (failures == 0)
        messages.Notice(Format("Done, All %d icons saved as %s", count, OutputImageName(outputImage)));
    else
        messages.Error(
            Format("Error: %d / %d icons were not saved as %s\n", failures, count, OutputImageName(outputImage)));
    return failures;
}

struct Saved {
    bool ok = false;
    CollectingMessages said;
    std::vector<EncodedPicture> pictures;  // encoded on the worker, written by the taker
};

}  // namespace

std::string NumberedIconPath(const std::string& path, int n, int outputImage) {
    return Format("%s_%03d%s", PathParts::Of(path).withoutExtension.c_str(), n, OutputImageExtension(outputImage));
}

int SaveNumberedIcons(const std::string& path, int count, int outputImage, Messages& messages, int workers,
                      const IconDecoder& decode, const IconStep& step) {
    workers = std::max(1, std::min(workers, count));
    std::vector<PngEncoder> encoders(static_cast<size_t>(workers));
    int failures = 0;
    int taken = 0;
    const bool complete = OrderedWork::Run<Saved>(
        count, workers,
        [&](int job, int worker) {
            Saved saved;
            ImageWriteOptions options;
            options.durability = SafeFile::Durability::kBatch;
            options.png = &encoders[size_t(worker)];
            options.handOver = &saved.pictures;
            // A picture that could not be written is as lost as one that could not be decoded.
            const CBmpDib* picture = decode(worker, job + 1);
            saved.ok = picture && picture->Save(NumberedIconPath(path, job + 1, outputImage), saved.said, options);
            return saved;
        },
        [&](int, Saved& saved) {
            saved.said.PassOn(messages);
            for (const EncodedPicture& picture : saved.pictures)
                saved.ok = WriteEncoded(picture, messages, SafeFile::Durability::kBatch) && saved.ok;
            failures += saved.ok ? 0 : 1;
            ++taken;
            return !step || step();
        });
    const std::string folder = PathParts::Of(path).folder;
    if (count > 0 && !SyncFileSystem(folder.empty() ? "." : folder))
        messages.Error(Format("The pictures written to %s could not be flushed to disk", folder.c_str()));
    if (!complete) {
        messages.Error(Format("Cancelled: %d of %d icons saved as %s", taken - failures, count,
                              OutputImageName(outputImage)));
        return count - (taken - failures);
    }
    return Summarise(count, failures, outputImage, messages);
}

int SaveNumberedIcons(const std::string& path, int count, int outputImage, Messages& messages,
                      const ImageWriteOptions& options, const std::function<const CBmpDib*(int n)>& decode) {
    int failures = 0;
    for (int n = 1; n <= count; ++n) {
        const CBmpDib* picture = decode(n);
        if (!picture || !picture->Save(NumberedIconPath(path, n, outputImage), messages, options)) ++failures;
    }
    return Summarise(count, failures, outputImage, messages);
}

}  // namespace pixmond
