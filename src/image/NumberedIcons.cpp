#include "image/NumberedIcons.h"

#include "image/ImageSetColours.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/PathParts.h"

namespace pixmond {

int SaveNumberedIcons(const std::string& path, int count, int outputImage, Messages& messages,
                      const std::function<bool(int number, const std::string& file)>& saveIcon) {
    const std::string base = PathParts::Of(path).withoutExtension;
    const char* extension = OutputImageExtension(outputImage);
    int failures = 0;
    for (int n = 1; n <= count; ++n) {
        // A picture that could not be written is as lost as one that could not be decoded.
        if (!saveIcon(n, Format("%s_%03d%s", base.c_str(), n, extension))) ++failures;
    }
    if (failures == 0)
        messages.Notice(Format("Done, All %d icons saved as %s", count, OutputImageName(outputImage)));
    else
        messages.Error(
            Format("Error: %d / %d icons were not saved as %s\n", failures, count, OutputImageName(outputImage)));
    return failures;
}

}  // namespace pixmond
