#include "image/ImageWriter.h"
#include "ui/Format.h"
#include "ui/Messages.h"

namespace pixmond {

bool WriteJpg(const CBmpDib&, const std::string& path, int, Messages& messages) {
    messages.Error(Format("Cannot save %s: JPG writing is not built yet", path.c_str()));
    return false;
}

}  // namespace pixmond
