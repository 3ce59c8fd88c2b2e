// Reads arbitrary bytes as an S16 file through its icon source, in memory: every icon's geometry, decode and copy.
// The first byte picks a base offset so that archive entries inside other data are covered too.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/ReadOnlyFile.h"
#include "image/IconSource.h"
#include "support/RecordingMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::uint32_t offset = data[0] & 1 ? data[0] >> 1 : 0;
    std::vector<std::uint8_t> bytes(offset, 'x');
    bytes.insert(bytes.end(), data + 1, data + size);
    pixmond::RecordingMessages messages;
    auto source = pixmond::OpenIconSource(pixmond::IconKind::S16,
                                          {pixmond::ReadOnlyFile::FromBytes(std::move(bytes)), offset, "F.S16"}, messages);
    if (!source || !messages.Entries().empty()) __builtin_trap();
    const int count = std::min(source->Count(), 32);
    pixmond::CBmpDib target;
    target.Create(64, 48, 24);
    target.Allocate();
    for (int n = 1; n <= count; ++n) {
        const pixmond::IconGeometry icon = source->Geometry(n);
        if (!source->Decode(n)) {
            if (source->Problem().empty()) __builtin_trap();
            continue;
        }
        if (source->Bitmap().Width() != icon.width || source->Bitmap().Height() != icon.height) __builtin_trap();
        source->CopyIcon(target, -icon.width / 2, 40);
    }
    return 0;
}
