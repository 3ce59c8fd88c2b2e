#include "folderview/FolderImageHolders.h"

#include <fstream>

#include "image/PngReader.h"
#include "ui/CollectingMessages.h"
#include "base/Rect.h"
#include "image/Canvas.h"

namespace pixmond {

void FolderImageHolders::OpenShp(const std::string& path) {
    shpDecoded_ = false;
    if (!shp_.OpenFile(path, 1)) shp_.CloseFile();
}

void FolderImageHolders::OpenS16(const std::string& path) {
    setDecoded_ = false;
    s16Problem_.clear();
    if (!set_.OpenFile(path)) {
        set_.CloseFile();
        s16Problem_ = "It cannot be opened.";
    } else if (set_.IconCount() == 0 && set_.File()->Size() != 4) {
        s16Problem_ = "It is not a readable S16 file: its icon count does not fit the file.";
    }
}

bool FolderImageHolders::OpenPng(const std::string& path) {
    pngProblem_ = "It cannot be opened.";
    if (!std::ifstream(path, std::ios::binary)) return false;
    // The loader's words go into the view's one message about the file.
    CollectingMessages said;
    if (set_.LoadPngPicture(path, said) != kPngLoaded) {
        pngProblem_ = said.Entries().empty() ? "It is not a readable PNG picture." : said.Entries().back().text;
        return false;
    }
    pngProblem_.clear();
    set_.CloseFile();
    setDecoded_ = set_.Bits() != nullptr;
    return true;
}

void FolderImageHolders::CloseAll() {
    shp_.CloseFile();
    set_.CloseFile();
    shpDecoded_ = setDecoded_ = false;
}

int FolderImageHolders::IconCount(int kind) const {
    if (kind == kKindShp) return shp_.IconCount();
    if (kind == kKindS16) return set_.IconCount();
    return 0;
}

bool FolderImageHolders::IconHeld(int kind, int icon) const {
    if (kind == kKindShp) return shp_.IconReadable(icon);
    if (kind != kKindS16 || icon < 1 || icon > set_.IconCount() || !set_.File()) return false;
    const std::uint64_t table =
        std::uint64_t(set_.BaseOffset()) + 4 + std::uint64_t(set_.IconCount()) * CShp3::kEntrySize;
    const std::uint64_t data = table + set_.Entries()[size_t(icon - 1)].dataOffset;
    return data < set_.File()->Size();
}

std::string FolderImageHolders::Problem(int kind) const {
    if (kind == kKindShp) return shp_.HasDirectory() ? std::string() : shp_.Problem();
    if (kind == kKindS16) return s16Problem_;
    if (kind == kKindPng) return pngProblem_;
    return {};
}

IconGeometry FolderImageHolders::IconSize(int kind, int icon) const {
    if (kind == kKindShp && icon >= 1 && icon <= int(shp_.StoredHeaders().size())) {
        const ShpIconHeader& h = shp_.StoredHeaders()[size_t(icon - 1)];
        return {h.Width(), h.Height(), h.x0, h.y0, h.x1, h.y1};
    }
    if (kind == kKindS16 && icon >= 1 && icon <= int(set_.Entries().size())) {
        const S16Entry& e = set_.Entries()[size_t(icon - 1)];
        return {e.width, e.height, e.xOffset, e.yOffset, e.xOffset + e.contentWidth, e.yOffset + e.contentHeight};
    }
    return {};
}

int FolderImageHolders::SelectIcon(int kind, int icon) {
    if (kind == kKindShp) {
        const int now = shp_.SelectIcon(icon);
        shpDecoded_ = now > 0 && shp_.DecodeIcon() > 0;
        return now;
    }
    if (kind == kKindS16) {
        const int now = set_.SelectIcon(icon);
        setDecoded_ = now > 0 && set_.DecodeIcon() > 0;
        return now;
    }
    return 0;
}

IconGeometry FolderImageHolders::CurrentGeometry(int kind) const {
    if (kind == kKindShp && shp_.CurrentIcon() > 0) {
        const ShpIconHeader& h = shp_.IconHeader();
        return {h.Width(), h.Height(), h.x0, h.y0, h.x1, h.y1};
    }
    if (kind == kKindS16) return IconSize(kKindS16, set_.CurrentIcon());
    return {};
}

const CBmpDib* FolderImageHolders::Picture(int kind) const {
    if (kind == kKindShp) return shpDecoded_ && shp_.Bits() ? &shp_ : nullptr;
    if (kind == kKindS16 || kind == kKindPng) return setDecoded_ && set_.Bits() ? &set_ : nullptr;
    return nullptr;
}

void FolderImageHolders::Draw(int kind, Canvas& canvas, const PixelRect& area, int zoom, bool collage, bool mirror) {
    const Rect rect{area.x, area.y, area.x + area.width, area.y + area.height};
    bool done = false;
    if (kind == kKindShp) {
        shp_.SetMirror(mirror);
        if (collage) shp_.DrawCollage(canvas, rect, shp_.CurrentIcon(), done);
        else shp_.DrawIcon(canvas, rect, zoom);
        return;
    }
    set_.SetMirror(mirror);
    // A PNG picture is always drawn whole; only the icons of an S16 file make a collage.
    if (kind == kKindS16 && collage) set_.DrawCollage(canvas, rect, set_.CurrentIcon(), done);
    else if (kind == kKindS16 || Picture(kind)) set_.DrawIcon(canvas, rect, zoom);
}

}  // namespace pixmond
