#pragma once
#include <cstdint>

namespace pixmond {

// Collages and blocks are made of icons of at most 800 x 600; pictures beyond these sizes are refused as
// "not enough memory" before anything is allocated for them.
inline constexpr std::int64_t kMaxSetPictureSide = 65535;
inline constexpr std::int64_t kMaxSetPictureBytes = std::int64_t(1) << 30;

}  // namespace pixmond
