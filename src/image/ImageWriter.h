#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pixmond {

class CBmpDib;
class Messages;

// Picture writers chosen by the path's extension (.bmp, .png, .jpg/.jpeg); an unknown extension fails
// with a message naming it.
bool WriteImageByExtension(const CBmpDib& bitmap, const std::string& path, Messages& messages, int jpegQuality = 90);
// An 8-bit bitmap becomes an indexed PNG with its colour table, where a transparentIndex of 0..255 is marked
// transparent (an editor then shows those pixels as see-through); 24 and 32 bits become RGB.
bool WritePng(const CBmpDib& bitmap, const std::string& path, Messages& messages, int transparentIndex = -1);
// The same PNG in memory; false when the picture is empty or libpng fails.
bool EncodePng(const CBmpDib& bitmap, std::vector<std::uint8_t>& out, int transparentIndex = -1);
bool WriteJpg(const CBmpDib& bitmap, const std::string& path, int quality, Messages& messages);

}  // namespace pixmond
