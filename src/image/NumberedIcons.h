#pragma once
#include <functional>
#include <string>

namespace pixmond {

class CBmpDib;
class Messages;
struct ImageWriteOptions;

// Decodes icon n with the reader of a worker; the picture decoded, null when the icon does not decode.
using IconDecoder = std::function<const CBmpDib*(int worker, int n)>;
// Called on the calling thread after each icon is taken, in icon order (a progress display steps and pumps);
// false stops the saving: icons already begun are finished, no other is started.
using IconStep = std::function<bool()>;

// The name of icon n: "<path without extension>_NNN<ext>", ext by the output image setting (0 .BMP, 1 .PNG, 2 .JPG).
std::string NumberedIconPath(const std::string& path, int n, int outputImage);

// Saves icons 1..count under their numbered names, then tells the user how it went. Icons are decoded and
// written on up to `workers` threads (decode(worker, n) uses that worker's own reader) as new files of one batch,
// flushed to disk together at the end; messages come in icon order. Returns the number of icons not saved (after
// a stop, those not started count too, and the summary says it was cancelled).
int SaveNumberedIcons(const std::string& path, int count, int outputImage, Messages& messages, int workers,
                      const IconDecoder& decode, const IconStep& step = {});
// The same on the calling thread, written with the options of a larger batch whose owner flushes it.
int SaveNumberedIcons(const std::string& path, int count, int outputImage, Messages& messages,
                      const ImageWriteOptions& options, const std::function<const CBmpDib*(int n)>& decode);

}  // namespace pixmond
