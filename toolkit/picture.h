#pragma once

#include "toolkit/handle.h"
#include "toolkit/scale.h"

#include <cstddef>
#include <utility>
#include <variant>
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

// A bottom-up 24-bit BMP file: one the program carries compressed, which stays where it is, or
// one made while the program runs, held here whole.
using PictureFile = std::variant<CompressedBmp, std::vector<unsigned char>>;

// A picture, made into a device-dependent bitmap for a window's scale. Pictures are drawn for
// the design scale, where they keep their own size; at any other they are stretched smoothly,
// once, by the same factor as the positions in twips, so that they stay in line with the
// controls laid out on them.
class Picture {
  public:
    // Nothing is drawn until the picture is made for a scale.
    explicit Picture(PictureFile file) : file_(std::move(file)) {}

    // Makes the bitmap from the file for a scale; a bitmap made before is deleted. A file whose
    // headers do not describe a bottom-up 24-bit picture, or that ends before its pixels do,
    // raises "Invalid property value".
    void ScaleTo(const Scale& scale);
    // The size on the screen, in pixels.
    SIZE Size() const noexcept { return size_; }
    // Draws the picture with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y) const;

  private:
    PictureFile file_;
    UniqueBitmap bitmap_;
    SIZE size_{};
};

// The program's icon, group icon 1 of its executable, at the size it was drawn; null when the
// executable has none.
UniqueIcon ProgramIcon();

}  // namespace toolkit
