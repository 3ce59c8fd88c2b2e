#include "image/ShpLayout.h"

#include <algorithm>

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

bool ReplaceShpRecords(std::vector<std::uint8_t>& file, int count, std::vector<ShpRecordEdit> edits) {
    const std::uint64_t directoryEnd = 8 + 8 * std::uint64_t(std::max(count, 0));
    if (count < 0 || directoryEnd > file.size()) return false;
    std::stable_sort(edits.begin(), edits.end(), [](auto& a, auto& b) { return a.offset < b.offset; });
    std::uint64_t previousEnd = directoryEnd;
    for (const ShpRecordEdit& e : edits) {
        if (e.icon < 1 || e.icon > count || e.offset > file.size() || file.size() - e.offset < e.size) return false;
        if (e.shared) continue;
        if (e.offset < previousEnd) return false;
        previousEnd = e.offset + e.size;
    }
    // Where an old offset lands once the records in front of it changed size.
    auto moved = [&edits](std::uint64_t at) {
        std::int64_t shift = 0;
        for (const ShpRecordEdit& e : edits)
            if (!e.shared && e.offset + e.size <= at) shift += std::int64_t(e.record.size()) - std::int64_t(e.size);
        return std::uint64_t(std::int64_t(at) + shift);
    };
    std::vector<std::uint8_t> out;
    std::vector<std::uint64_t> appendedAt(size_t(count) + 1, 0);
    std::uint64_t copied = 0;
    for (const ShpRecordEdit& e : edits) {
        if (e.shared) continue;
        out.insert(out.end(), file.begin() + std::ptrdiff_t(copied), file.begin() + std::ptrdiff_t(e.offset));
        out.insert(out.end(), e.record.begin(), e.record.end());
        copied = e.offset + e.size;
    }
    out.insert(out.end(), file.begin() + std::ptrdiff_t(copied), file.end());
    for (const ShpRecordEdit& e : edits) {
        if (!e.shared) continue;
        appendedAt[size_t(e.icon)] = out.size();
        out.insert(out.end(), e.record.begin(), e.record.end());
    }
    if (out.size() > 0xffffffffull) return false;
    for (int n = 1; n <= count; ++n) {
        const size_t slot = 8 + 8 * size_t(n - 1);
        const ByteReader pair(std::span<const std::uint8_t>(file.data() + slot, 8));
        const std::uint64_t image = appendedAt[size_t(n)] ? appendedAt[size_t(n)] : moved(pair.U32(0));
        const std::uint64_t second = pair.U32(4) ? moved(pair.U32(4)) : 0;
        if (image > 0xffffffffull || second > 0xffffffffull) return false;
        StoreU32(out.data() + slot, std::uint32_t(image));
        StoreU32(out.data() + slot + 4, std::uint32_t(second));
    }
    file = std::move(out);
    return true;
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
