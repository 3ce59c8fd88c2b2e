#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/CBmpDib.h"
#include "base/ReadOnlyFile.h"
#include "image/ShpIconHeader.h"

namespace pixmond {

// One SHP icon decoded into an 8-bit bottom-up bitmap over the default palette. Holds the open file (its
// own or an archive's shared one), the base offset the SHP data starts at, and the current icon's header.
class COrvelShp : public CBmpDib {
public:
    static constexpr int kMaxWidth = 640;
    static constexpr int kMaxHeight = 480;

    COrvelShp();

    // Stores index at (x, y) and advances x; 159 only advances x. Outside the picture nothing happens.
    virtual void PutPixel(int& x, int y, std::uint8_t index);
    // Sizes the picture from the current header (2..640 x 2..480) and fills it with 159.
    virtual bool PrepareImage();
    virtual void CloseFile();

    // Decodes the current icon. Returns the pixel positions processed, 0 when it cannot be decoded
    // (Problem() then says why).
    int DecodeIcon();

    std::uint32_t BaseOffset() const { return base_; }
    int IconCount() const { return count_; }
    int CurrentIcon() const { return current_; }
    const ShpIconHeader& IconHeader() const { return iconHeader_; }
    std::uint64_t DataPosition() const { return dataPosition_; }
    const std::shared_ptr<ReadOnlyFile>& File() const { return file_; }
    bool IsOpen() const { return file_ != nullptr; }
    // Why the last open, select or decode failed ("" when it did not).
    const std::string& Problem() const { return problem_; }

protected:
    // Bytes of the record whose pixel stream starts at dataPosition: 24 plus the codes walked, the walk
    // ending with the last row or the end of the file.
    std::uint32_t WalkRecord(const ShpIconHeader& header, std::uint64_t dataPosition) const;

    std::shared_ptr<ReadOnlyFile> file_;
    std::uint32_t base_ = 0;
    int count_ = 0;
    ShpIconHeader iconHeader_;
    bool headerValid_ = false;
    int current_ = 0;
    std::uint64_t dataPosition_ = 0;
    // Bytes from dataPosition_ to the next thing the file holds (the next record or its end), 0 when unknown:
    // the size of the first read of a pixel stream, so a record is read whole and not much more.
    std::uint64_t recordHint_ = 0;
    mutable std::vector<std::uint8_t> streamBuffer_;  // reused by every decode
    // Bytes of the file from bodyStart_ already read (the records of a small file); streams start there.
    std::vector<std::uint8_t> body_;
    std::uint64_t bodyStart_ = 0;
    int maxWidth_ = kMaxWidth;
    int maxHeight_ = kMaxHeight;
    std::string problem_;
};

}  // namespace pixmond
