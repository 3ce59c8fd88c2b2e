#pragma once
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "base/OrderedWork.h"

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

// Saves icons 1..count of a reader: each worker decodes with a copy of it over the same file, the first with the
// reader itself; decode(reader, n) decodes icon n. The reader's own icon is selected again afterwards. step as above.
template <class Reader, class Decode>
int SaveIconsOfReader(Reader& reader, int count, int current, const std::string& path, int outputImage,
                      Messages& messages, Decode decode, const IconStep& step = {}) {
    const int workers = std::min(OrderedWork::DefaultWorkers(), std::max(count, 1));
    std::vector<Reader> copies(size_t(workers - 1), reader);
    const int failures = SaveNumberedIcons(path, count, outputImage, messages, workers, [&](int worker, int n) {
        Reader& own = worker == 0 ? reader : copies[size_t(worker - 1)];
        return decode(own, n) ? static_cast<const CBmpDib*>(&own) : nullptr;
    }, step);
    if (current > 0) reader.SelectIcon(current);
    return failures;
}

}  // namespace pixmond
