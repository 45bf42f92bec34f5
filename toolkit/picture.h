#pragma once

#include "toolkit/handle.h"

#include <cstddef>
#include <vector>

namespace toolkit {

// Bytes of a file carried inside the program.
struct Blob {
    const unsigned char* data;
    std::size_t size;
};

// A bottom-up 24-bit BMP file of width x height pixels, compressed with LZNT1, the format
// ntdll's RtlDecompressBuffer reads.
struct CompressedBmp {
    Blob lznt1;
    int width;
    int height;
};

// The BMP file, decompressed and checked to be exactly the picture it claims to be; raises
// "Invalid property value" when it is not.
std::vector<unsigned char> DecompressBmp(const CompressedBmp& compressed);

// A device-dependent bitmap made from a bottom-up 24-bit BMP file, sized for the screen.
// Pictures are drawn for the usual 15 twips per pixel, where they keep their own size; on any
// other screen they are stretched smoothly, once, by the same factor as the positions in twips,
// so that they stay in line with the controls laid out on them. A file whose headers do not
// describe such a picture, or that ends before its pixels do, raises "Invalid property value".
class Picture {
  public:
    explicit Picture(Blob bmpFile);
    // The file is decompressed only for as long as it takes to make the bitmap.
    explicit Picture(const CompressedBmp& compressed);

    // The size on the screen, in pixels.
    SIZE Size() const noexcept { return size_; }
    // Draws the picture with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y) const;

  private:
    explicit Picture(const std::vector<unsigned char>& bmpFile);

    UniqueBitmap bitmap_;
    SIZE size_{};
};

// The program's icon, group icon 1 of its executable, at the size it was drawn; null when the
// executable has none.
UniqueIcon ProgramIcon();

}  // namespace toolkit
