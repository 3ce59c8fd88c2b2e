#include <vector>

#include "image/CBmpDib.h"
#include "image/ImageWriter.h"
#include "image/PngEncoder.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/SafeFile.h"

namespace pixmond {

bool EncodePng(const CBmpDib& bitmap, std::vector<std::uint8_t>& out, int transparentIndex) {
    PngEncoder encoder;
    return encoder.Encode(bitmap, out, transparentIndex);
}

bool WritePng(const CBmpDib& bitmap, const std::string& path, Messages& messages, const ImageWriteOptions& options) {
    if (!bitmap.Bits() || bitmap.Width() < 1 || bitmap.Height() < 1) {
        messages.Error(Format("Cannot save %s: the picture is empty", path.c_str()));
        return false;
    }
    PngEncoder fresh;
    PngEncoder& encoder = options.png ? *options.png : fresh;
    std::vector<std::uint8_t> bytes;
    if (!encoder.Encode(bitmap, bytes)) {
        messages.Error(Format("Error creating %s", path.c_str()));
        return false;
    }
    if (options.handOver) {
        options.handOver->push_back({path, std::move(bytes)});
        return true;
    }
    return WriteEncoded({path, std::move(bytes)}, messages, options.durability);
}

bool WriteEncoded(const EncodedPicture& picture, Messages& messages, SafeFile::Durability durability) {
    SafeFile file(picture.path, durability);
    if (!file.IsOpen() || !file.Write(picture.bytes) || !file.Commit()) {
        messages.Error(Format("Error creating %s", picture.path.c_str()));
        return false;
    }
    return true;
}

}  // namespace pixmond
