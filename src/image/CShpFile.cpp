#include "image/CShpFile.h"

#include <algorithm>
#include <cstring>

#include "image/Palette.h"
#include "base/Format.h"

namespace pixmond {

CShpFile::CShpFile() {
    Create(0, 0, 8, false);
    SetColourTable(DefaultColourTable());
    maxWidth_ = kMaxWidth;
    maxHeight_ = kMaxHeight;
}

bool CShpFile::OpenFile(const std::string& path, int icon) {
    CloseFile();
    auto file = ReadOnlyFile::Open(path);
    if (!file) {
        problem_ = Format("Cannot open %s", path.c_str());
        return false;
    }
    file_ = std::move(file);
    base_ = 0;
    SetFileName(path);
    ReadDirectory(icon);
    return true;
}

bool CShpFile::AttachArchiveFile(std::shared_ptr<ReadOnlyFile> file, std::uint32_t baseOffset) {
    CloseFile();
    if (!file) return false;
    file_ = std::move(file);
    base_ = baseOffset;
    return true;
}

void CShpFile::CloseFile() {
    COrvelShp::CloseFile();
    directory_.clear();
    headers_.clear();
    readable_.clear();
    recordSpace_.clear();
    hasDirectory_ = false;
    directory_.shrink_to_fit();
    headers_.shrink_to_fit();
}

int CShpFile::ReadDirectory(int icon) {
    directory_.clear();
    headers_.clear();
    readable_.clear();
    recordSpace_.clear();
    recordHint_ = 0;
    body_.clear();
    bodyStart_ = 0;
    hasDirectory_ = false;
    count_ = 0;
    current_ = 0;
    headerValid_ = false;
    problem_.clear();
    if (!file_) return 0;
    const std::uint64_t size = file_->Size();
    std::uint8_t countBytes[4];
    if (!file_->ReadExact(std::uint64_t(base_) + 4, countBytes, 4)) {
        problem_ = Format("%s: too short for an SHP file", FileName().c_str());
        return 0;
    }
    const std::int32_t count = std::int32_t(ByteReader(countBytes).U32(0));
    // The directory must lie inside the file before anything is allocated for it.
    const std::uint64_t start = std::uint64_t(base_) + kDirectoryStart;
    if (count < 0 || start > size || std::uint64_t(count) * 8 > size - start) {
        problem_ = Format("%s: icon count %d does not fit in the file", FileName().c_str(), count);
        return 0;
    }
    const std::vector<std::uint8_t> table = file_->ReadBlock(start, size_t(count) * 8);
    if (table.size() != size_t(count) * 8) {
        problem_ = Format("%s: cannot read the directory", FileName().c_str());
        return 0;
    }
    const ByteReader reader(table);
    directory_.resize(size_t(count));
    headers_.resize(size_t(count));
    readable_.assign(size_t(count), false);
    for (int i = 0; i < count; ++i) directory_[size_t(i)] = {reader.U32(size_t(i) * 8), reader.U32(size_t(i) * 8 + 4)};
    ReadBody(size);
    for (int i = 0; i < count; ++i) {
        const std::uint64_t at = std::uint64_t(base_) + directory_[size_t(i)].imageOffset;
        std::uint8_t bytes[ShpIconHeader::kSize];
        const bool held = at >= bodyStart_ && at - bodyStart_ + sizeof bytes <= body_.size();
        if (held) std::memcpy(bytes, body_.data() + (at - bodyStart_), sizeof bytes);
        if (held || file_->ReadExact(at, bytes, sizeof bytes)) {
            headers_[size_t(i)] = ShpIconHeader::Parse(bytes);
            readable_[size_t(i)] = true;
        }
    }
    MeasureRecordSpace(size);
    count_ = count;
    hasDirectory_ = true;
    if (count == 0) problem_ = Format("%s: the file holds no icon", FileName().c_str());
    return SelectIcon(icon);
}

// Unit files are a few kilobytes: one read takes the headers and records of every icon (the last record's
// stream only in part), where an icon at a time would cost a read for each header and each stream.
void CShpFile::ReadBody(std::uint64_t fileSize) {
    constexpr std::uint64_t kTail = 4096;
    constexpr std::uint64_t kMaxBody = 4 << 20;
    body_.clear();
    bodyStart_ = 0;
    if (directory_.empty()) return;
    std::uint64_t lastStart = 0;
    for (const ShpDirectoryEntry& entry : directory_) lastStart = std::max<std::uint64_t>(lastStart, entry.imageOffset);
    const std::uint64_t end = std::min(lastStart + ShpIconHeader::kSize + kTail, fileSize - base_);
    if (end > kMaxBody) return;
    body_.resize(size_t(end));
    body_.resize(file_->ReadAt(base_, body_.data(), body_.size()));
    bodyStart_ = base_;
}

void CShpFile::MeasureRecordSpace(std::uint64_t fileSize) {
    std::vector<std::uint32_t> starts;
    starts.reserve(directory_.size());
    for (const ShpDirectoryEntry& entry : directory_) starts.push_back(entry.imageOffset);
    std::sort(starts.begin(), starts.end());
    recordSpace_.assign(directory_.size(), 0);
    for (size_t i = 0; i < directory_.size(); ++i) {
        const std::uint64_t data = std::uint64_t(directory_[i].imageOffset) + ShpIconHeader::kSize;
        const auto next = std::upper_bound(starts.begin(), starts.end(), directory_[i].imageOffset);
        const std::uint64_t end = next != starts.end() ? *next : fileSize - base_;
        recordSpace_[i] = end > data ? end - data : 0;
    }
}

int CShpFile::SelectIcon(int n) {
    // With no icon there is no directory slot to read.
    if (!file_ || count_ <= 0 || directory_.empty()) return 0;
    n = std::clamp(n, 1, count_);
    current_ = n;
    iconHeader_ = headers_[size_t(n - 1)];
    headerValid_ = readable_[size_t(n - 1)];
    dataPosition_ = std::uint64_t(base_) + directory_[size_t(n - 1)].imageOffset + ShpIconHeader::kSize;
    recordHint_ = recordSpace_[size_t(n - 1)];
    problem_.clear();
    if (!headerValid_)
        problem_ = Format("Icon %d: record offset %u lies past the end of the file", n,
                          directory_[size_t(n - 1)].imageOffset);
    return n;
}

std::uint32_t CShpFile::IconRecordSize(int n) const {
    if (!file_ || count_ <= 0 || directory_.empty()) return 0;
    n = std::clamp(n, 1, count_);
    if (!readable_[size_t(n - 1)]) return 0;
    const std::uint64_t data = std::uint64_t(base_) + directory_[size_t(n - 1)].imageOffset + ShpIconHeader::kSize;
    return WalkRecord(headers_[size_t(n - 1)], data);
}

}  // namespace pixmond
