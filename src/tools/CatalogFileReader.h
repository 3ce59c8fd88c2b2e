#pragma once
#include <memory>
#include <string>

#include "image/CBmpDib.h"
#include "image/IconSource.h"
#include "tools/CatalogIconReader.h"

namespace pixmond {

class CDatFile;
class Messages;

// Reads catalog icons from the entries of the open archive or from the files of a folder, with icon sources of
// its own: the archive's current entry, which the browser shows, is left alone.
class CatalogFileReader : public CatalogIconReader {
public:
    // Entries of the archive, read through its open file.
    explicit CatalogFileReader(const CDatFile& dat);
    // Files of a folder, named by the records' file names.
    explicit CatalogFileReader(std::string folder);
    ~CatalogFileReader() override;

    // Indexed icons are coloured through this table instead of the default palette (the browser's drawing palette).
    void SetColourTable(const CBmpDib::ColourTable& table);

    bool Measure(const CatalogIcon& record, int icon, int& width, int& height) override;
    bool Load(const CatalogIcon& record, int icon, int& width, int& height) override;
    bool CopyTo(CBmpDib& target, int x, int y) override;

private:
    // Opens the record's file or entry; false unless it holds the nine icons of a unit and icon is readable.
    bool Open(const CatalogIcon& record, int icon);

    const CDatFile* dat_ = nullptr;
    std::string folder_;
    std::unique_ptr<Messages> quiet_;  // the PNG loader's complaints: a file it cannot read is just left out
    std::unique_ptr<IconSource> source_;
    bool ownTable_ = false;
    CBmpDib::ColourTable table_{};
    bool loaded_ = false;  // an icon was decoded by the last Load
};

}  // namespace pixmond
