#include "image/ImageWriter.h"

#include "image/CBmpDib.h"
#include "ui/Format.h"
#include "ui/Messages.h"
#include "ui/PathParts.h"
#include "ui/TextCase.h"

namespace pixmond {

bool WriteImageByExtension(const CBmpDib& bitmap, const std::string& path, Messages& messages, int jpegQuality) {
    const std::string ext = ToLower(PathParts::Of(path).extension);
    if (ext == ".bmp") return bitmap.SaveBmp(path, true, messages);
    if (ext == ".png") return WritePng(bitmap, path, messages);
    if (ext == ".jpg" || ext == ".jpeg") return WriteJpg(bitmap, path, jpegQuality, messages);
    messages.Error(Format("Cannot save %s: no picture writer for \"%s\" (use .bmp, .png or .jpg)", path.c_str(),
                          ext.c_str()));
    return false;
}

}  // namespace pixmond
