#include "toolkit/picture.h"

#include "toolkit/run_time_error.h"
#include "toolkit/system_functions.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

namespace toolkit {
namespace {

constexpr std::size_t kHeadersSize = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);

template <typename T>
T ReadAt(Blob blob, std::size_t offset) {
    if (offset + sizeof(T) > blob.size) {
        throw RunTimeError(kInvalidPropertyValue);
    }
    T value;
    std::memcpy(&value, blob.data + offset, sizeof value);
    return value;
}

// The size of a bottom-up 24-bit BMP file of width x height pixels (both positive): the two
// headers, then the rows, each padded to a multiple of four bytes.
std::uint64_t BmpFileSize(LONG width, LONG height) {
    return kHeadersSize +
           (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4 * static_cast<std::uint64_t>(height);
}

// The size of the picture in a BMP file whose headers describe a bottom-up 24-bit picture with
// its pixels right after them and all within the file; raises "Invalid property value" for
// anything else.
SIZE CheckedBmpSize(Blob bmpFile) {
    const auto file = ReadAt<BITMAPFILEHEADER>(bmpFile, 0);
    const auto info = ReadAt<BITMAPINFOHEADER>(bmpFile, sizeof file);
    if (file.bfType != 0x4D42 || file.bfOffBits != kHeadersSize || info.biSize != sizeof info ||
        info.biPlanes != 1 || info.biBitCount != 24 || info.biCompression != BI_RGB ||
        info.biWidth <= 0 || info.biHeight <= 0 ||
        BmpFileSize(info.biWidth, info.biHeight) > bmpFile.size) {
        throw RunTimeError(kInvalidPropertyValue);
    }
    return {info.biWidth, info.biHeight};
}

}  // namespace

std::vector<unsigned char> DecompressBmp(const CompressedBmp& compressed) {
    if (compressed.width <= 0 || compressed.height <= 0 ||
        BmpFileSize(compressed.width, compressed.height) >= std::numeric_limits<ULONG>::max()) {
        throw RunTimeError(kInvalidPropertyValue);
    }
    const auto expected =
        static_cast<std::size_t>(BmpFileSize(compressed.width, compressed.height));
    // One byte more than the picture needs, so that data that would decompress to more shows
    // as such instead of filling the buffer exactly.
    std::vector<unsigned char> bmpFile(expected + 1);
    ULONG decompressed = 0;
    const auto& decompress = NtDll().RtlDecompressBuffer;
    // The compressed data is only read, although the function takes a non-const pointer.
    const LONG status = decompress(static_cast<USHORT>(COMPRESSION_FORMAT_LZNT1), bmpFile.data(),
                                   static_cast<ULONG>(bmpFile.size()),
                                   const_cast<unsigned char*>(compressed.lznt1.data),
                                   static_cast<ULONG>(compressed.lznt1.size), &decompressed)
                            .value();
    if (status < 0 || decompressed != expected) {
        throw RunTimeError(kInvalidPropertyValue);
    }
    bmpFile.pop_back();
    const SIZE size = CheckedBmpSize({bmpFile.data(), bmpFile.size()});
    if (size.cx != compressed.width || size.cy != compressed.height) {
        throw RunTimeError(kInvalidPropertyValue);
    }
    return bmpFile;
}

void Picture::ScaleTo(const Scale& scale) {
    // A compressed file is decompressed only for as long as it takes to make the bitmap.
    const auto* whole = std::get_if<std::vector<unsigned char>>(&file_);
    const std::vector<unsigned char> decompressed =
        whole != nullptr ? std::vector<unsigned char>()
                         : DecompressBmp(std::get<CompressedBmp>(file_));
    const Blob bmpFile = whole != nullptr ? Blob{whole->data(), whole->size()}
                                          : Blob{decompressed.data(), decompressed.size()};
    const SIZE stored = CheckedBmpSize(bmpFile);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bmpFile.data + sizeof(BITMAPFILEHEADER));
    const SIZE size{scale.FromDesignPixels(stored.cx), scale.FromDesignPixels(stored.cy)};
    const WindowDc screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    if (!bitmap) {
        throw RunTimeError(kOutOfMemory);
    }
    {
        // Stretched once here, so that painting stays a plain copy. At its own size the stretch
        // copies the pixels unchanged; otherwise HALFTONE averages them, which needs the brush
        // origin set.
        const UniqueMemoryDc target(CreateCompatibleDC(screen.get()));
        const SelectionGuard select(target.get(), bitmap.get());
        SetStretchBltMode(target.get(), HALFTONE);
        SetBrushOrgEx(target.get(), 0, 0, nullptr);
        if (StretchDIBits(target.get(), 0, 0, size.cx, size.cy, 0, 0, stored.cx, stored.cy,
                          bmpFile.data + kHeadersSize, info, DIB_RGB_COLORS, SRCCOPY) <= 0) {
            throw RunTimeError(kOutOfMemory);
        }
    }
    bitmap_ = std::move(bitmap);
    size_ = size;
}

void Picture::Draw(HDC dc, int x, int y) const {
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    const SelectionGuard select(source.get(), bitmap_.get());
    BitBlt(dc, x, y, size_.cx, size_.cy, source.get(), 0, 0, SRCCOPY);
}

UniqueIcon ProgramIcon() {
    // Width and height 0: the image at its own size, as it was drawn.
    return UniqueIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                                    IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
}

}  // namespace toolkit
