#pragma once

#include "toolkit/picture.h"

// The picture files in assets/ byte for byte, for the tests and the benchmarks to compare
// with; the program carries the pictures compressed and the icon as a resource instead.
namespace assets {

extern const toolkit::Blob kBackgroundFile;   // background.bmp
extern const toolkit::Blob kButtonStripFile;  // buttons.bmp
extern const toolkit::Blob kProgramIconFile;  // twinova.ico

}  // namespace assets
