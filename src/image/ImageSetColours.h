#pragma once
#include <cstdint>

#include "image/Canvas.h"
#include "ui/AppSettings.h"

namespace pixmond {

// The backgrounds of the image-set pictures. SHP pictures are 8-bit, so their saved backgrounds are palette
// indices; the S16 ones fill every byte with the same value.
inline constexpr Rgb kIconBackground = MakeRgb(192, 192, 192);
inline constexpr Rgb kShpCollageBackground = MakeRgb(162, 221, 220);
inline constexpr Rgb kS16CollageBackground = MakeRgb(192, 192, 192);
inline constexpr std::uint8_t kShpSavedBackground = 159;
inline constexpr std::uint8_t kShpGridLineIndex = 196;
inline constexpr std::uint8_t kS16SavedBackgroundByte = 159;

// The "Output image" setting: 0 .BMP, 1 .PNG, 2 .JPG; anything else counts as 0.
inline int ClampOutputImage(int type) { return AppSettings::ClampOutputImage(type); }
inline const char* OutputImageExtension(int type) { return AppSettings::ExtensionOf(type); }
// The type as the bulk-save messages name it.
inline const char* OutputImageName(int type) {
    static const char* const kNames[] = {"BMP", "PNG", "JPG"};
    return kNames[ClampOutputImage(type)];
}

}  // namespace pixmond
