#include "toolkit/picture.h"

#include "toolkit/run_time_error.h"
#include "toolkit/screen.h"

#include <cstring>

namespace toolkit {
namespace {

// The layout of an .ico file's header and its first directory entry.
#pragma pack(push, 1)
struct IconDirectory {
    WORD reserved;
    WORD type;
    WORD count;
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reservedByte;
    WORD planes;
    WORD bitCount;
    DWORD bytesInImage;
    DWORD imageOffset;
};
#pragma pack(pop)

// The screen scale the pictures are drawn for: one picture pixel is 15 twips.
constexpr double kPictureTwipsPerPixel = 15;

template <typename T>
T ReadAt(Blob blob, std::size_t offset) {
    if (offset + sizeof(T) > blob.size) {
        throw RunTimeError(kInvalidPropertyValue);
    }
    T value;
    std::memcpy(&value, blob.data + offset, sizeof value);
    return value;
}

}  // namespace

Picture::Picture(Blob bmpFile) {
    const auto fileHeader = ReadAt<BITMAPFILEHEADER>(bmpFile, 0);
    const auto infoHeader = ReadAt<BITMAPINFOHEADER>(bmpFile, sizeof(BITMAPFILEHEADER));
    if (fileHeader.bfType != 0x4D42 || fileHeader.bfOffBits >= bmpFile.size) {
        throw RunTimeError(kInvalidPropertyValue);
    }
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bmpFile.data + sizeof(BITMAPFILEHEADER));
    const SIZE stored{infoHeader.biWidth,
                      infoHeader.biHeight < 0 ? -infoHeader.biHeight : infoHeader.biHeight};
    // Converted like every position in twips, so that a picture the size of its form or
    // control still covers it exactly after rounding.
    size_ = {TwipsToPixelsX(stored.cx * kPictureTwipsPerPixel),
             TwipsToPixelsY(stored.cy * kPictureTwipsPerPixel)};
    const WindowDc screen(nullptr);
    bitmap_.reset(CreateCompatibleBitmap(screen.get(), size_.cx, size_.cy));
    if (!bitmap_) {
        throw RunTimeError(kOutOfMemory);
    }
    // Stretched once here, so that painting stays a plain copy. At its own size the stretch
    // copies the pixels unchanged; otherwise HALFTONE averages them, which needs the brush
    // origin set.
    const UniqueMemoryDc target(CreateCompatibleDC(screen.get()));
    const SelectionGuard select(target.get(), bitmap_.get());
    SetStretchBltMode(target.get(), HALFTONE);
    SetBrushOrgEx(target.get(), 0, 0, nullptr);
    if (StretchDIBits(target.get(), 0, 0, size_.cx, size_.cy, 0, 0, stored.cx, stored.cy,
                      bmpFile.data + fileHeader.bfOffBits, info, DIB_RGB_COLORS, SRCCOPY) <= 0) {
        throw RunTimeError(kOutOfMemory);
    }
}

void Picture::Draw(HDC dc, int x, int y) const {
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    const SelectionGuard select(source.get(), bitmap_.get());
    BitBlt(dc, x, y, size_.cx, size_.cy, source.get(), 0, 0, SRCCOPY);
}

UniqueIcon IconFromIcoFile(Blob icoFile) {
    const auto directory = ReadAt<IconDirectory>(icoFile, 0);
    if (directory.type != 1 || directory.count == 0 ||
        directory.imageOffset + static_cast<std::size_t>(directory.bytesInImage) > icoFile.size) {
        throw RunTimeError(kInvalidPropertyValue);
    }
    // The icon's data is only read, although the API takes a non-const pointer.
    auto* image = const_cast<unsigned char*>(icoFile.data + directory.imageOffset);
    UniqueIcon icon(CreateIconFromResourceEx(image, directory.bytesInImage, TRUE, 0x00030000, 0, 0,
                                             LR_DEFAULTCOLOR));
    if (!icon) {
        throw RunTimeError(kOutOfMemory);
    }
    return icon;
}

}  // namespace toolkit
