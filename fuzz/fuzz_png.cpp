// Reads arbitrary bytes as the PNG picture of an archive entry, in memory, and takes each of its nine icons.
#include <cstdint>
#include <vector>

#include "base/ReadOnlyFile.h"
#include "image/IconSource.h"
#include "support/RecordingMessages.h"

// Inputs without a PNG signature get one, so that the fuzzer spends its time inside libpng's chunks.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> bytes = {'j', 'u', 'n', 'k'};
    bytes.insert(bytes.end(), signature, signature + 8);
    bytes.insert(bytes.end(), data, data + size);

    pixmond::RecordingMessages messages;
    auto picture = pixmond::OpenIconSource(pixmond::IconKind::Png,
                                           {pixmond::ReadOnlyFile::FromBytes(std::move(bytes)), 4, "F.PNG"}, messages);
    if (!picture) __builtin_trap();
    // A picture that does not load has said why.
    if (!picture->Readable()) {
        if (messages.Errors().empty()) __builtin_trap();
        return 0;
    }
    pixmond::CBmpDib target;
    target.Create(100, 80, 24);
    target.Allocate();
    for (int n = 1; n <= picture->Count(); ++n) {
        const pixmond::IconGeometry icon = picture->Geometry(n);
        if (icon.width < 1 || icon.width > picture->Bitmap().Width()) __builtin_trap();
        if (!picture->Decode(n)) __builtin_trap();
        picture->CopyIcon(target, 50 - icon.width / 2, 40 - icon.height / 2);
    }
    return 0;
}
