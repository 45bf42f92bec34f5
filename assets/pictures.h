#pragma once

#include "toolkit/picture.h"

// The pictures the main window carries, as the bytes of their files.
namespace assets {

extern const toolkit::Blob kBackground;   // 412 x 237, 24-bit BMP
extern const toolkit::Blob kButtonStrip;  // 65 x 26, 24-bit BMP
extern const toolkit::Blob kProgramIcon;  // one 74 x 66 24-bit image, .ico

}  // namespace assets
