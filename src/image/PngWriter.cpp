#include "image/ImageWriter.h"
#include "ui/Format.h"
#include "ui/Messages.h"

namespace pixmond {

bool WritePng(const CBmpDib&, const std::string& path, Messages& messages) {
    messages.Error(Format("Cannot save %s: PNG writing is not built yet", path.c_str()));
    return false;
}

}  // namespace pixmond
