#pragma once
#include <string>

namespace pixmond {
class Messages;
struct Services;
}

namespace pixmond::cli {

// The S16 and PNG halves of `info` and `export`; the command files dispatch here by extension.
bool IsS16Path(const std::string& path);
bool IsPngPath(const std::string& path);

// A picture at least 240 x 150 whose sides both divide by 3 holds a 3 x 3 sheet of icons.
bool IsIconSheet(int width, int height);

// Pictures are written as .bmp, .png or .jpg; icon files are not picture outputs. Reports the refusal.
bool CheckPictureOutput(const std::string& output, Messages& messages);

bool RunS16Info(const std::string& path, bool json, Services& services);
bool RunPngInfo(const std::string& path, bool json, Services& services);

// Writes one icon of an S16 file as a 24-bit picture, the format chosen by the output's extension.
bool ExportS16Icon(const std::string& path, int icon, const std::string& output, int quality, Services& services);
// Writes every icon of an S16 file into the folder as TITLE_NNN<extension>.
bool ExportAllS16Icons(const std::string& path, const std::string& folder, const std::string& extension, int quality,
                       Services& services);
// Writes the whole PNG picture (a PNG is one picture, sheet or not).
bool ExportPng(const std::string& path, const std::string& output, int quality, Services& services);
// Writes the whole PNG picture into the folder as TITLE<extension>.
bool ExportPngToFolder(const std::string& path, const std::string& folder, const std::string& extension, int quality,
                       Services& services);

}  // namespace pixmond::cli
