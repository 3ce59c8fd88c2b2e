#include "image/CShp3.h"

#include <algorithm>
#include <cstring>

#include "base/ByteReader.h"
#include "image/PngReader.h"
#include "base/ReadOnlyFile.h"

namespace pixmond {

CShp3::CShp3() { Create(0, 0, 24, false); }

Rgb CShp3::ColourOf(std::uint16_t v) { return MakeRgb((v >> 8) & 0xF8, ((v >> 5) & 63) * 4, (v & 31) * 8); }

bool CShp3::OpenFile(const std::string& path) {
    CloseFile();
    file_ = ReadOnlyFile::Open(path);
    if (!file_) return false;
    baseOffset_ = 0;
    SetFileName(path);
    SetFromPng(false);
    ReadDirectory(1);
    return true;
}

bool CShp3::AttachArchiveFile(std::shared_ptr<ReadOnlyFile> file, std::uint32_t baseOffset) {
    CloseFile();
    file_ = std::move(file);
    baseOffset_ = baseOffset;
    SetFromPng(false);
    return file_ != nullptr;
}

void CShp3::CloseFile() {
    entries_.clear();
    entries_.shrink_to_fit();
    baseOffset_ = 0;
    count_ = 0;
    hasDirectory_ = false;
    currentIcon_ = 0;
    dataPosition_ = 0;
}

int CShp3::ReadDirectory(int icon) {
    entries_.clear();
    count_ = 0;
    hasDirectory_ = false;
    currentIcon_ = 0;
    if (!file_) return 0;
    std::uint8_t head[4];
    if (!file_->ReadExact(baseOffset_, head, sizeof head)) return 0;
    const std::int32_t n = ByteReader(head).I32(0);
    // The table must lie inside the file before anything is allocated for it.
    const std::uint64_t tableStart = std::uint64_t(baseOffset_) + 4;
    if (n < 0 || std::uint64_t(n) * kEntrySize > file_->Size() - tableStart) return 0;
    const std::vector<std::uint8_t> table = file_->ReadBlock(tableStart, size_t(n) * kEntrySize);
    if (table.size() != size_t(n) * kEntrySize) return 0;
    const ByteReader r(table);
    entries_.resize(size_t(n));
    for (std::int32_t i = 0; i < n; ++i) {
        const size_t at = size_t(i) * kEntrySize;
        S16Entry& e = entries_[size_t(i)];
        e.contentWidth = r.I32(at);
        e.contentHeight = r.I32(at + 4);
        e.xOffset = r.I32(at + 8);
        e.yOffset = r.I32(at + 12);
        e.width = r.I32(at + 16);
        e.height = r.I32(at + 20);
        e.dataOffset = r.U32(at + 24);
        e.dataSize = r.I32(at + 28);
        e.encoding = r.I32(at + 32);
        e.reserved = r.U32(at + 36);
    }
    count_ = n;
    hasDirectory_ = true;
    return SelectIcon(icon);
}

int CShp3::SelectIcon(int n) {
    if (count_ <= 0) {
        currentIcon_ = 0;
        return 0;
    }
    currentIcon_ = std::clamp(n, 1, count_);
    dataPosition_ = std::uint64_t(baseOffset_) + 4 + std::uint64_t(count_) * kEntrySize +
                    entries_[size_t(currentIcon_ - 1)].dataOffset;
    return currentIcon_;
}

bool CShp3::PrepareImage() {
    const S16Entry* e = CurrentEntry();
    if (!e || e->width < 1 || e->width > kMaxWidth || e->height < 1 || e->height > kMaxHeight) return false;
    Create(e->width, e->height, 24, false);
    return true;
}

int CShp3::DecodeIcon() {
    if (!CurrentEntry() || !PrepareImage() || !file_) return 0;
    const S16Entry& e = *CurrentEntry();
    const std::int64_t total = std::int64_t(e.width) * e.height;
    const std::int64_t content = std::int64_t(e.contentWidth) * e.contentHeight;
    if (total < 1 || content < 1 || total > kMaxArea) return 0;

    const int cw = std::max(std::min(e.contentWidth, e.width), 1);
    const int ch = std::min(e.contentHeight, e.height);
    // Content that would reach past the icon is centred instead.
    std::int64_t x0 = std::max(e.xOffset, 0);
    if (x0 + cw > e.width) x0 = (e.width - cw) / 2;
    std::int64_t y0 = std::max(e.yOffset, 0);
    if (y0 + ch > e.height) y0 = (std::int64_t(e.height) - ch) / 2;

    if (!Allocate()) return 0;
    FillBackground();

    const std::int64_t wanted = e.dataSize < 0 ? std::int64_t(imageSize_) : std::int64_t(e.dataSize);
    const std::uint64_t left = file_->Size() > dataPosition_ ? file_->Size() - dataPosition_ : 0;
    scratch_.resize(size_t(std::min<std::uint64_t>(std::uint64_t(std::min(wanted, kMaxDataBytes)), left)));
    scratch_.resize(file_->ReadAt(dataPosition_, scratch_.data(), scratch_.size()));
    if (scratch_.empty()) return 0;

    std::int64_t placed = 0;
    if (e.encoding == 1) DecodeRuns(content, cw, int(x0), int(y0), placed);
    else DecodeRaw(content, cw, int(x0), int(y0), placed);
    return int(placed);
}

// One row painted pixel by pixel, the others copied from it.
void CShp3::FillBackground() {
    for (int x = 0; x < width_; ++x) {
        buffer_[x * 3] = std::uint8_t(BlueOf(kBackground));
        buffer_[x * 3 + 1] = std::uint8_t(GreenOf(kBackground));
        buffer_[x * 3 + 2] = std::uint8_t(RedOf(kBackground));
    }
    std::memset(buffer_ + width_ * 3, 0, size_t(stride_ - width_ * 3));
    for (int y = 1; y < height_; ++y) std::memcpy(buffer_ + std::int64_t(y) * stride_, buffer_, size_t(stride_));
}

// The content lies inside the icon's width (DecodeIcon centres it otherwise), so pixel i of the content is
// (x0 + i % cw, y0 + i / cw), and the first row below the icon ends the decoding.
void CShp3::DecodeRuns(std::int64_t content, int cw, int x0, int y0, std::int64_t& i) {
    const ByteReader r(scratch_);
    int column = int(i % cw);
    std::int64_t row = y0 + i / cw;
    for (size_t at = 0; i < content && r.Has(at, 3); at += 3) {
        std::int64_t count = std::min<std::int64_t>(r.U8(at), content - i);
        const Rgb colour = ColourOf(r.U16(at + 1));
        while (count > 0) {
            if (row >= height_) return;
            const int run = int(std::min<std::int64_t>(count, cw - column));
            std::uint8_t* out = buffer_ + (topDown_ ? row : height_ - 1 - row) * std::int64_t(stride_) + (x0 + column) * 3;
            for (int k = 0; k < run; ++k, out += 3) {
                out[0] = std::uint8_t(BlueOf(colour));
                out[1] = std::uint8_t(GreenOf(colour));
                out[2] = std::uint8_t(RedOf(colour));
            }
            i += run;
            count -= run;
            column += run;
            if (column == cw) {
                column = 0;
                ++row;
            }
        }
    }
}

void CShp3::DecodeRaw(std::int64_t content, int cw, int x0, int y0, std::int64_t& i) {
    const ByteReader r(scratch_);
    int column = int(i % cw);
    std::int64_t row = y0 + i / cw;
    for (; i < content && r.Has(size_t(i) * 2, 2); ++i) {
        if (row >= height_) return;
        const Rgb colour = ColourOf(r.U16(size_t(i) * 2));
        std::uint8_t* out = buffer_ + (topDown_ ? row : height_ - 1 - row) * std::int64_t(stride_) + (x0 + column) * 3;
        out[0] = std::uint8_t(BlueOf(colour));
        out[1] = std::uint8_t(GreenOf(colour));
        out[2] = std::uint8_t(RedOf(colour));
        if (++column == cw) {
            column = 0;
            ++row;
        }
    }
}

std::int32_t CShp3::LoadPngPicture(const std::string& path, Messages& messages) {
    CloseFile();
    const std::int32_t result = LoadPng(*this, path, nullptr, 0, messages);
    if (result == kPngLoaded) SetFileName(path);
    return result;
}

std::int32_t CShp3::LoadPngPicture(std::shared_ptr<ReadOnlyFile> file, std::uint32_t baseOffset, Messages& messages) {
    CloseFile();
    file_ = std::move(file);
    baseOffset_ = baseOffset;
    return LoadPng(*this, "", file_.get(), baseOffset, messages);
}

}  // namespace pixmond
