#include "image/ShpRecords.h"

#include <algorithm>
#include <numeric>

#include "image/CShpFile.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/SafeFile.h"

namespace pixmond {

namespace {

constexpr size_t kChunk = 64 * 1024;

// Reads a pixel stream in chunks; reports the end of the file instead of inventing bytes.
class StreamCursor {
public:
    StreamCursor(const ReadOnlyFile& file, std::uint64_t at) : file_(file), next_(at) {}
    bool Next(std::uint8_t& out) {
        if (position_ == bytes_.size()) {
            if (next_ >= file_.Size()) return false;
            bytes_ = file_.ReadBlock(next_, size_t(std::min<std::uint64_t>(kChunk, file_.Size() - next_)));
            if (bytes_.empty()) return false;
            next_ += bytes_.size();
            position_ = 0;
        }
        out = bytes_[position_++];
        return true;
    }

private:
    const ReadOnlyFile& file_;
    std::uint64_t next_;
    std::vector<std::uint8_t> bytes_;
    size_t position_ = 0;
};

// The stream's length when every row the header promises ends with its code 0 inside the file.
bool WalkStream(const ReadOnlyFile& file, std::uint64_t at, const ShpIconHeader& h, std::uint64_t& length) {
    // A box above the picture is decoded from row 0 with its height kept.
    const std::int64_t first = h.y0 < 0 ? 0 : h.y0;
    const std::int64_t last = h.y0 < 0 ? -std::int64_t(h.y0) + h.y1 : h.y1;
    StreamCursor cursor(file, at);
    length = 0;
    std::uint8_t code, byte;
    for (std::int64_t row = first; row <= last;) {
        if (!cursor.Next(code)) return false;
        ++length;
        if (code == 0) {
            ++row;
            continue;
        }
        const int operands = (code == 1 || !(code & 1)) ? 1 : code / 2;
        for (int i = 0; i < operands; ++i) {
            if (!cursor.Next(byte)) return false;
            ++length;
        }
    }
    return true;
}

}  // namespace

bool ShpRecords::Measure(const CShpFile& shp, int skip, Messages& messages) {
    extents_.assign(size_t(std::max(shp.IconCount(), 0)), {});
    if (!shp.IsOpen() || !shp.HasDirectory()) {
        messages.Error(shp.Problem().empty() ? Format("%s: cannot read its icon directory", shp.FileName().c_str())
                                             : shp.Problem());
        return false;
    }
    const ReadOnlyFile& file = *shp.File();
    const std::uint64_t directoryEnd = shp.BaseOffset() + std::uint64_t(CShpFile::kDirectoryStart) +
                                       8 * std::uint64_t(shp.IconCount());
    for (int n = 1; n <= shp.IconCount(); ++n) {
        if (n == skip) continue;
        const std::uint64_t at = shp.BaseOffset() + std::uint64_t(shp.Directory()[size_t(n - 1)].imageOffset);
        std::uint64_t stream = 0;
        if (!shp.IconReadable(n) ||
            !WalkStream(file, at + ShpIconHeader::kSize, shp.StoredHeaders()[size_t(n - 1)], stream) ||
            stream + ShpIconHeader::kSize > UINT32_MAX) {
            messages.Error(Format("%s: the record of icon %d runs past the end of the file", shp.FileName().c_str(), n));
            return false;
        }
        if (at < directoryEnd) {
            messages.Error(Format("%s: the record of icon %d lies inside the directory", shp.FileName().c_str(), n));
            return false;
        }
        extents_[size_t(n - 1)] = {at, std::uint32_t(stream + ShpIconHeader::kSize)};
    }
    return CheckOverlaps(shp, skip, messages);
}

bool ShpRecords::CheckOverlaps(const CShpFile& shp, int skip, Messages& messages) const {
    std::vector<int> order;
    for (int n = 1; n <= int(extents_.size()); ++n)
        if (n != skip) order.push_back(n);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return Of(a).offset < Of(b).offset; });
    for (size_t i = 1; i < order.size(); ++i) {
        const ShpRecordExtent& before = Of(order[i - 1]);
        const ShpRecordExtent& after = Of(order[i]);
        // Icons that point at the same record share it; a record starting inside another one is damage.
        if (after.offset == before.offset) continue;
        if (before.offset + before.size > after.offset) {
            messages.Error(Format("%s: the records of icons %d and %d overlap", shp.FileName().c_str(),
                                  std::min(order[i - 1], order[i]), std::max(order[i - 1], order[i])));
            return false;
        }
    }
    return true;
}

bool ShpRecords::Copy(const CShpFile& shp, int n, SafeFile& out) const {
    const ShpRecordExtent& extent = Of(n);
    for (std::uint64_t done = 0; done < extent.size;) {
        const size_t piece = size_t(std::min<std::uint64_t>(kChunk, extent.size - done));
        const std::vector<std::uint8_t> bytes = shp.File()->ReadBlock(extent.offset + done, piece);
        if (bytes.size() != piece || !out.Write(bytes.data(), bytes.size())) return false;
        done += piece;
    }
    return true;
}

}  // namespace pixmond
