#pragma once

#include "toolkit/handle.h"

#include <cstddef>

namespace toolkit {

// Bytes of a file carried inside the program.
struct Blob {
    const unsigned char* data;
    std::size_t size;
};

// A device-dependent bitmap made from the bytes of an uncompressed BMP file, sized for the
// screen. Pictures are drawn for the usual 15 twips per pixel, where they keep their own size;
// on any other screen they are stretched smoothly, once, by the same factor as the positions
// in twips, so that they stay in line with the controls laid out on them.
class Picture {
  public:
    explicit Picture(Blob bmpFile);

    // The size on the screen, in pixels.
    SIZE Size() const noexcept { return size_; }
    // Draws the picture with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y) const;

  private:
    UniqueBitmap bitmap_;
    SIZE size_{};
};

// An icon made from the first image of the bytes of an .ico file.
UniqueIcon IconFromIcoFile(Blob icoFile);

}  // namespace toolkit
