#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/SafeFile.h"

namespace pixmond {

class CBmpDib;
class Messages;
class PngEncoder;

// A picture encoded in memory, waiting to be written under its name.
struct EncodedPicture {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

// How a picture is written: flushed on its own, or as one new file of a batch (see SafeFile); a PNG encoder a
// batch keeps between pictures, or a fresh one when null. With handOver set, a PNG is encoded and appended
// there instead of written, for WriteEncoded on another thread: a folder takes one new name at a time, so
// workers that create files in one folder wait on each other; one writer does not. Other formats are written
// at once.
struct ImageWriteOptions {
    int jpegQuality = 90;
    SafeFile::Durability durability = SafeFile::Durability::kEachFile;
    PngEncoder* png = nullptr;
    std::vector<EncodedPicture>* handOver = nullptr;
};

// Picture writers chosen by the path's extension (.bmp, .png, .jpg/.jpeg); an unknown extension fails
// with a message naming it.
bool WriteImageByExtension(const CBmpDib& bitmap, const std::string& path, Messages& messages, int jpegQuality = 90);
bool WriteImageByExtension(const CBmpDib& bitmap, const std::string& path, Messages& messages,
                           const ImageWriteOptions& options);
// An 8-bit bitmap becomes an indexed PNG with its colour table; 16, 24 and 32 bits become RGB.
bool WritePng(const CBmpDib& bitmap, const std::string& path, Messages& messages, const ImageWriteOptions& options = {});
bool WriteJpg(const CBmpDib& bitmap, const std::string& path, int quality, Messages& messages,
              SafeFile::Durability durability = SafeFile::Durability::kEachFile);
// Writes a picture handed over; says "Error creating <path>" when it cannot.
bool WriteEncoded(const EncodedPicture& picture, Messages& messages, SafeFile::Durability durability);
// The PNG in memory; in an indexed picture a transparentIndex of 0..255 is marked transparent. False when the
// picture is empty or memory runs out.
bool EncodePng(const CBmpDib& bitmap, std::vector<std::uint8_t>& out, int transparentIndex = -1);

}  // namespace pixmond
