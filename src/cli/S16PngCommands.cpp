#include "cli/CliRegistry.h"
#include "cli/IconFileCommands.h"
#include "image/CShp3.h"
#include "image/IconKind.h"
#include "image/PngReader.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/PathParts.h"
#include "ui/Services.h"
#include "base/TextCase.h"

namespace pixmond::cli {

namespace {

const char* EncodingName(std::int32_t encoding) { return encoding == 1 ? "runs" : "raw"; }

// Opens an S16 file and insists that its directory was readable (an S16 has no magic: an unreadable
// directory is all that tells another file apart). A file of count 0 is a valid S16.
bool OpenS16(CShp3& set, const std::string& path, Messages& messages) {
    if (!set.OpenFile(path)) {
        messages.Error(Format("Cannot open %s", path.c_str()));
        return false;
    }
    if (!set.HasDirectory()) {
        messages.Error(Format("%s is not a readable S16 file: its icon count does not fit the file", path.c_str()));
        return false;
    }
    return true;
}

std::string S16Json(const CShp3& set, const std::string& path) {
    std::string out = "{\"kind\":\"s16\",\"path\":" + JsonString(path) + Format(",\"count\":%d,\"icons\":[", set.IconCount());
    int number = 0;
    for (const S16Entry& e : set.Entries()) {
        if (number) out += ",";
        out += Format("{\"number\":%d,\"width\":%d,\"height\":%d,\"content_width\":%d,\"content_height\":%d,"
                      "\"x_offset\":%d,\"y_offset\":%d,\"data_offset\":%u,\"data_size\":%d,\"encoding\":%d}",
                      ++number, e.width, e.height, e.contentWidth, e.contentHeight, e.xOffset, e.yOffset,
                      e.dataOffset, e.dataSize, e.encoding);
    }
    return out + "]}\n";
}

std::string S16Table(const CShp3& set, const std::string& path) {
    std::string out = Format("%s: S16, %d icon%s\n", Latin1ToUtf8(path).c_str(), set.IconCount(),
                             set.IconCount() == 1 ? "" : "s");
    if (set.IconCount() == 0) return out;
    out += Format("%-5s %-11s %-11s %-11s %11s %10s  %s\n", "#", "Size", "Content", "Offset", "Data offset",
                  "Data size", "Encoding");
    int number = 0;
    for (const S16Entry& e : set.Entries()) {
        out += Format("%-5d %-11s %-11s %-11s %11u %10d  %s (%d)\n", ++number,
                      Format("%dx%d", e.width, e.height).c_str(),
                      Format("%dx%d", e.contentWidth, e.contentHeight).c_str(),
                      Format("%d,%d", e.xOffset, e.yOffset).c_str(), e.dataOffset, e.dataSize,
                      EncodingName(e.encoding), e.encoding);
    }
    return out;
}

}  // namespace

bool CheckPictureOutput(const std::string& output, Messages& messages) {
    const std::string ext = ToLower(PathParts::Of(output).extension);
    if (ext == ".bmp" || ext == ".png" || ext == ".jpg" || ext == ".jpeg") return true;
    messages.Error(Format("Cannot save %s: pictures are written as .bmp, .png or .jpg", output.c_str()));
    return false;
}

bool RunS16Info(const std::string& path, bool json, Services& services) {
    CShp3 set;
    if (!OpenS16(set, path, services.messages)) return false;
    Print(json ? S16Json(set, path) : S16Table(set, path));
    return true;
}

bool RunPngInfo(const std::string& path, bool json, Services& services) {
    CBmpDib picture;
    if (LoadPng(picture, path, nullptr, 0, services.messages) != kPngLoaded) return false;
    const int w = picture.Width(), h = picture.Height();
    const bool sheet = IsIconSheet(w, h);
    if (json) {
        Print("{\"kind\":\"png\",\"path\":" + JsonString(path) +
              Format(",\"width\":%d,\"height\":%d,\"sheet\":%s}\n", w, h, sheet ? "true" : "false"));
    } else if (sheet) {
        Print(Format("%s: PNG, %d x %d, a 3 x 3 sheet of %d x %d icons\n", Latin1ToUtf8(path).c_str(), w, h, w / 3,
                     h / 3));
    } else {
        Print(Format("%s: PNG, %d x %d, one picture (not a 3 x 3 sheet)\n", Latin1ToUtf8(path).c_str(), w, h));
    }
    return true;
}

}  // namespace pixmond::cli
