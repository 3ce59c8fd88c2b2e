#include "image/ShpLayout.h"

#include "base/ByteReader.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/SafeFile.h"

namespace pixmond {

std::vector<std::uint8_t> AssembleShp(const std::vector<std::vector<std::uint8_t>>& records) {
    const size_t count = records.size();
    size_t total = 8 + 8 * count;
    for (const auto& record : records) total += record.size();
    std::vector<std::uint8_t> out(8 + 8 * count);
    out.reserve(total);
    out[0] = '1';
    out[1] = '.';
    out[2] = '1';
    out[3] = '0';
    StoreU32(&out[4], std::uint32_t(count));
    std::uint32_t offset = std::uint32_t(8 + 8 * count);
    for (size_t i = 0; i < count; ++i) {
        StoreU32(&out[8 + 8 * i], offset);
        offset += std::uint32_t(records[i].size());
    }
    for (const auto& record : records) out.insert(out.end(), record.begin(), record.end());
    return out;
}

bool WriteShpFile(const std::string& path, const std::vector<std::vector<std::uint8_t>>& records, Messages& messages) {
    const std::vector<std::uint8_t> bytes = AssembleShp(records);
    SafeFile file(path);
    if (!file.IsOpen() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
        messages.Error(Format("Error creating %s", path.c_str()));
        return false;
    }
    return true;
}

}  // namespace pixmond
