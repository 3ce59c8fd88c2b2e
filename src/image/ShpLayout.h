#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pixmond {

class Messages;

// The layout this program writes SHP files in: "1.10", the count, the directory, then the icon records back
// to back from 8 + 8 * count in directory order, second offsets 0.
std::vector<std::uint8_t> AssembleShp(const std::vector<std::vector<std::uint8_t>>& records);

// Writes such a file safely (beside the target, then renamed over it); reports "Error creating %s".
bool WriteShpFile(const std::string& path, const std::vector<std::vector<std::uint8_t>>& records, Messages& messages);

}  // namespace pixmond
