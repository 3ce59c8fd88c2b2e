#pragma once
#include <memory>
#include <string>

#include "image/CShp3.h"
#include "image/CShpFile.h"
#include "tools/CatalogIconReader.h"

namespace pixmond {

class CDatFile;
class Messages;

// Reads catalog icons from the entries of the open archive or from the files of a folder, with readers of
// its own: the archive's current entry, which the browser shows, is left alone.
class CatalogFileReader : public CatalogIconReader {
public:
    // Entries of the archive, read through its open file.
    explicit CatalogFileReader(const CDatFile& dat);
    // Files of a folder, named by the records' file names.
    explicit CatalogFileReader(std::string folder);
    ~CatalogFileReader() override;

    // SHP pixels are coloured through this table instead of the default palette (the browser's drawing palette).
    void SetColourTable(const CBmpDib::ColourTable& table);

    bool Measure(const CatalogIcon& record, int icon, int& width, int& height) override;
    bool Load(const CatalogIcon& record, int icon, int& width, int& height) override;
    bool CopyTo(CBmpDib& target, int x, int y) override;

private:
    bool OpenShp(const CatalogIcon& record, int icon);
    bool OpenS16(const CatalogIcon& record, int icon);
    bool OpenPng(const CatalogIcon& record);
    // The size of the PNG picture's icon: one cell of a 3 x 3 sheet, else the whole picture.
    void PngCell(int& width, int& height) const;
    std::string PathOf(const CatalogIcon& record) const;

    const CDatFile* dat_ = nullptr;
    std::string folder_;
    std::unique_ptr<Messages> quiet_;  // the PNG loader's complaints: a file it cannot read is just left out
    CShpFile shp_;
    CShp3 set_;
    bool ownTable_ = false;
    CBmpDib::ColourTable table_{};
    int loaded_ = 0;  // kind of the icon decoded last, 0 for none
    int width_ = 0, height_ = 0;
    int cell_ = 0;  // of a PNG sheet, 0..8
};

}  // namespace pixmond
