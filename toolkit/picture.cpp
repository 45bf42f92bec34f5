#include "toolkit/picture.h"

#include "toolkit/run_time_error.h"

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
    const WindowDc screen(nullptr);
    bitmap_.reset(CreateDIBitmap(screen.get(), &info->bmiHeader, CBM_INIT,
                                 bmpFile.data + fileHeader.bfOffBits, info, DIB_RGB_COLORS));
    if (!bitmap_) {
        throw RunTimeError(kOutOfMemory);
    }
    size_ = {infoHeader.biWidth,
             infoHeader.biHeight < 0 ? -infoHeader.biHeight : infoHeader.biHeight};
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
