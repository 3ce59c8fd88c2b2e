#pragma once
#include <string>

namespace pixmond {
class Messages;
struct Services;
}

namespace pixmond::cli {

// Pictures are written as .bmp, .png or .jpg; icon files are not picture outputs. Reports the refusal.
bool CheckPictureOutput(const std::string& output, Messages& messages);

// The S16 and PNG halves of `info`: what each kind of file stores, as a table or JSON.
bool RunS16Info(const std::string& path, bool json, Services& services);
bool RunPngInfo(const std::string& path, bool json, Services& services);

}  // namespace pixmond::cli
