#pragma once
#include "image/IconSource.h"

namespace pixmond {

// What an SHP and an S16 file answer alike through their reader (CShpFile, CShp3): a directory of icons read at
// open, icon 1 current. The kinds add what their readers store differently.
template <class Reader>
class IconFileSource : public IconSource {
public:
    explicit IconFileSource(const IconBytes& bytes) : name_(bytes.name) {
        const bool attached = reader_.AttachArchiveFile(bytes.file, bytes.offset);
        reader_.SetFileName(bytes.name);
        if (attached) reader_.ReadDirectory(1);
    }

    const std::string& Name() const override { return name_; }
    bool Readable() const override { return reader_.HasDirectory(); }
    int Count() const override { return reader_.IconCount(); }
    int Select(int n) override { return reader_.SelectIcon(n); }
    int Current() const override { return reader_.CurrentIcon(); }
    bool Decode(int n) override { return reader_.SelectIcon(n) == n && reader_.DecodeIcon() > 0; }
    CBmpDib& Bitmap() override { return reader_; }
    int DrawIcon(Canvas& canvas, const Rect& rect, int zoom) override { return reader_.DrawIcon(canvas, rect, zoom); }
    int DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) override {
        return reader_.DrawCollage(canvas, rect, first, done);
    }
    bool SaveIcon(const std::string& path, Messages& messages) override { return reader_.SaveIcon(path, messages); }
    int SaveAllIcons(const std::string& path, int outputImage, Messages& messages,
                     const std::function<bool()>& step = {}) override {
        return reader_.SaveAllIcons(path, outputImage, messages, step);
    }
    bool SaveBlock(const BlockParams& params, Messages& messages) override { return reader_.SaveBlock(params, messages); }

protected:
    std::string name_;
    Reader reader_;
};

}  // namespace pixmond
