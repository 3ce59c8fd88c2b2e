#include "image/S16Writer.h"

#include "base/ByteReader.h"
#include "image/CBmpDib.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/SafeFile.h"

namespace pixmond {

namespace {
constexpr size_t kEntrySize = 40;

void AppendU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
}  // namespace

std::uint16_t ToRgb565(Rgb c) {
    return std::uint16_t((RedOf(c) >> 3) << 11 | (GreenOf(c) >> 2) << 5 | BlueOf(c) >> 3);
}

S16Icon S16Icon::FromBitmap(const CBmpDib& picture, std::int32_t encoding) {
    S16Icon icon;
    icon.width = icon.contentWidth = picture.Width();
    icon.height = icon.contentHeight = picture.Height();
    icon.encoding = encoding;
    icon.content.reserve(size_t(picture.Width()) * size_t(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) icon.content.push_back(ToRgb565(picture.PixelRgb(x, y)));
    return icon;
}

std::vector<std::uint8_t> EncodeS16Pixels(const S16Icon& icon) {
    std::vector<std::uint8_t> out;
    if (icon.encoding != S16Icon::kRuns) {
        for (std::uint16_t v : icon.content) AppendU16(out, v);
        return out;
    }
    for (size_t i = 0; i < icon.content.size();) {
        size_t run = 1;
        while (run < 255 && i + run < icon.content.size() && icon.content[i + run] == icon.content[i]) ++run;
        out.push_back(std::uint8_t(run));
        AppendU16(out, icon.content[i]);
        i += run;
    }
    return out;
}

std::vector<std::uint8_t> BuildS16(const std::vector<S16Icon>& icons) {
    std::vector<std::uint8_t> table(4 + kEntrySize * icons.size());
    StoreU32(table.data(), std::uint32_t(icons.size()));
    std::vector<std::uint8_t> data;
    for (size_t i = 0; i < icons.size(); ++i) {
        const S16Icon& icon = icons[i];
        const std::vector<std::uint8_t> pixels = EncodeS16Pixels(icon);
        std::uint8_t* e = table.data() + 4 + i * kEntrySize;
        StoreU32(e, std::uint32_t(icon.contentWidth));
        StoreU32(e + 4, std::uint32_t(icon.contentHeight));
        StoreU32(e + 8, std::uint32_t(icon.xOffset));
        StoreU32(e + 12, std::uint32_t(icon.yOffset));
        StoreU32(e + 16, std::uint32_t(icon.width));
        StoreU32(e + 20, std::uint32_t(icon.height));
        StoreU32(e + 24, std::uint32_t(data.size()));
        StoreU32(e + 28, std::uint32_t(pixels.size()));
        StoreU32(e + 32, std::uint32_t(icon.encoding));
        StoreU32(e + 36, 0);
        data.insert(data.end(), pixels.begin(), pixels.end());
    }
    table.insert(table.end(), data.begin(), data.end());
    return table;
}

bool WriteS16File(const std::string& path, const std::vector<S16Icon>& icons, Messages& messages) {
    const std::vector<std::uint8_t> bytes = BuildS16(icons);
    SafeFile file(path);
    if (!file.IsOpen() || !file.Write(bytes) || !file.Commit()) {
        messages.Error(Format("Error creating %s", path.c_str()));
        return false;
    }
    return true;
}

}  // namespace pixmond
