#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pixmond {

class Messages;

// The layout this program writes SHP files in: "1.10", the count, the directory, then the icon records back
// to back from 8 + 8 * count in directory order, second offsets 0.
std::vector<std::uint8_t> AssembleShp(const std::vector<std::vector<std::uint8_t>>& records);

// A new record for one icon of an SHP file held in memory, and where its old record lies (from the file's start).
struct ShpRecordEdit {
    int icon = 0;  // 1-based
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
    bool shared = false;  // other icons point at the same record
    std::vector<std::uint8_t> record;
};

// Puts new records into an SHP file held in memory and keeps every other byte: a record of its own is replaced
// where it lies, one shared with other icons stays theirs and the new record goes to the end of the file. The
// directory's offsets (second offsets too, when not 0) follow the bytes they pointed at. Old records must lie
// behind the directory of count icons, inside the file, without overlapping. False, with the file unchanged,
// when that does not hold or an offset would pass 32 bits.
bool ReplaceShpRecords(std::vector<std::uint8_t>& file, int count, std::vector<ShpRecordEdit> edits);

// Writes such a file safely (beside the target, then renamed over it); reports "Error creating %s".
bool WriteShpFile(const std::string& path, const std::vector<std::vector<std::uint8_t>>& records, Messages& messages);

}  // namespace pixmond
