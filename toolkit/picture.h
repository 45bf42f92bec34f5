#pragma once

#include "toolkit/handle.h"

#include <cstddef>

namespace toolkit {

// Bytes of a file carried inside the program.
struct Blob {
    const unsigned char* data;
    std::size_t size;
};

// A device-dependent bitmap made from the bytes of an uncompressed BMP file.
class Picture {
  public:
    explicit Picture(Blob bmpFile);

    SIZE Size() const noexcept { return size_; }
    // Draws the picture at its own pixel size with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y) const;

  private:
    UniqueBitmap bitmap_;
    SIZE size_{};
};

// An icon made from the first image of the bytes of an .ico file.
UniqueIcon IconFromIcoFile(Blob icoFile);

}  // namespace toolkit
