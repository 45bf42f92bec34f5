#pragma once

#include "toolkit/picture.h"

// The pictures the main window carries, compressed. The build checks that each decompresses
// to a BMP of the size given here.
namespace assets {

extern const toolkit::CompressedBmp kBackground;   // 412 x 237, 24-bit BMP
extern const toolkit::CompressedBmp kButtonStrip;  // 65 x 26, 24-bit BMP

}  // namespace assets
