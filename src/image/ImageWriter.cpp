#include "image/ImageWriter.h"

#include "image/CBmpDib.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond {

bool WriteImageByExtension(const CBmpDib& bitmap, const std::string& path, Messages& messages, int jpegQuality) {
    ImageWriteOptions options;
    options.jpegQuality = jpegQuality;
    return WriteImageByExtension(bitmap, path, messages, options);
}

bool WriteImageByExtension(const CBmpDib& bitmap, const std::string& path, Messages& messages,
                           const ImageWriteOptions& options) {
    const std::string ext = ToLower(PathParts::Of(path).extension);
    if (ext == ".bmp") return bitmap.SaveBmp(path, true, messages, options.durability);
    if (ext == ".png") return WritePng(bitmap, path, messages, options);
    if (ext == ".jpg" || ext == ".jpeg") return WriteJpg(bitmap, path, options.jpegQuality, messages, options.durability);
    messages.Error(Format("Cannot save %s: no picture writer for \"%s\" (use .bmp, .png or .jpg)", path.c_str(),
                          ext.c_str()));
    return false;
}

}  // namespace pixmond
