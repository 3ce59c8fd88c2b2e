#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixmond {

class CShpFile;
class Messages;
class SafeFile;

// Where one icon record lies in an SHP file and how long it is.
struct ShpRecordExtent {
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
};

// The records of an SHP file measured for a rewrite: each walked to the end code of its last row, all of it
// inside the file, none starting in the directory or inside another record (two icons may share one record).
// A rewrite copies whole records only, so a damaged file is refused before anything is written.
class ShpRecords {
public:
    // Measures every icon of shp except icon `skip` (1-based; 0 keeps all), whose extent stays empty.
    // Reports the first fault found and returns false.
    bool Measure(const CShpFile& shp, int skip, Messages& messages);
    // Extent of icon n (1-based).
    const ShpRecordExtent& Of(int n) const { return extents_[size_t(n - 1)]; }
    // Copies the record of icon n from shp's file to out in pieces.
    bool Copy(const CShpFile& shp, int n, SafeFile& out) const;

private:
    bool CheckOverlaps(const CShpFile& shp, int skip, Messages& messages) const;
    std::vector<ShpRecordExtent> extents_;
};

}  // namespace pixmond
