"""LZNT1, the compression Windows' ntdll decompresses with RtlDecompressBuffer, and the check
that a compressed BMP file is exactly the picture it claims to be.

    python3 scripts/lznt1.py --check-bmp <file.bmp.lznt1> <width> <height>

decompresses the file and fails, naming it, unless it holds a 24-bit bottom-up BMP of exactly
that size with nothing before, after or missing from its pixels. The build runs it on every
compressed picture before embedding it.

The format: the data in chunks of 4096 bytes (the last one may be shorter). Each chunk has a
16-bit little-endian header: bits 0 to 11 the chunk's stored size less 3 (the header's own two
bytes and one), bits 12 to 14 always 3, bit 15 set when the chunk is compressed. A stored chunk
holds its bytes as they are. A compressed chunk is a run of groups: a flag byte, then eight
items, one per flag bit from the lowest: a literal byte for 0, a 16-bit back-reference for 1.
A back-reference copies length bytes from displacement bytes back within the same chunk (the
copy may overlap what it writes); it packs displacement - 1 in its high bits and length - 3 in
the rest, and how many bits the displacement gets depends on how far into the chunk it is: 4
within the first 16 bytes, one more each time that distance doubles, 12 at most.
"""

import struct
import sys

CHUNK = 4096
SIGNATURE = 0x3000
COMPRESSED = 0x8000
MIN_MATCH = 3
# How many earlier places with the same next three bytes the coder tries at most: enough to
# find the long matches in the pictures' flat areas and rows, without trying every one.
SEARCH_DEPTH = 256


class Lznt1Error(ValueError):
    pass


def displacement_bits(position):
    """The bits a back-reference at `position` bytes into its chunk gives its displacement."""
    return min(max(4, (position - 1).bit_length()), 12)


def max_length(position):
    return (0xFFFF >> displacement_bits(position)) + MIN_MATCH


def longest_match(data, start, at, end, candidates):
    """The longest match for data[at:end] among candidates (earlier positions, newest first) no
    further back than `start`: (length, displacement), length 0 when none is worth coding."""
    best_length, best_displacement = 0, 0
    limit = min(end - at, max_length(at - start))
    for tried, candidate in enumerate(reversed(candidates)):
        if tried == SEARCH_DEPTH:
            break
        if data[candidate + best_length] != data[at + best_length]:
            continue
        length = 0
        # The copy may overlap what it writes: data[candidate + n] is then already decoded.
        while length < limit and data[candidate + length] == data[at + length]:
            length += 1
        if length > best_length:
            best_length, best_displacement = length, at - candidate
            if length == limit:
                break
    return (best_length, best_displacement) if best_length >= MIN_MATCH else (0, 0)


def compress_chunk(data, start, end):
    """The compressed form of data[start:end] without its header: greedy, longest match first."""
    out = bytearray()
    seen = {}  # the three bytes at a position -> the positions they occur at, oldest first
    at = start
    while at < end:
        flags_at = len(out)
        out.append(0)
        for bit in range(8):
            if at >= end:
                break
            key = data[at:at + MIN_MATCH]
            length, displacement = 0, 0
            if end - at >= MIN_MATCH:
                length, displacement = longest_match(data, start, at, end, seen.get(key, ()))
            if length:
                position = at - start
                code = ((displacement - 1) << (16 - displacement_bits(position))) | (
                    length - MIN_MATCH)
                out += struct.pack("<H", code)
                out[flags_at] |= 1 << bit
                step = length
            else:
                out.append(data[at])
                step = 1
            for position in range(at, min(at + step, end - MIN_MATCH + 1)):
                seen.setdefault(data[position:position + MIN_MATCH], []).append(position)
            at += step
    return bytes(out)


def compress(data):
    out = bytearray()
    for start in range(0, len(data), CHUNK):
        end = min(start + CHUNK, len(data))
        body = compress_chunk(data, start, end)
        if len(body) < end - start:
            out += struct.pack("<H", COMPRESSED | SIGNATURE | (len(body) - 1)) + body
        else:
            out += struct.pack("<H", SIGNATURE | (end - start - 1)) + data[start:end]
    return bytes(out)


def decompress_chunk(body):
    out = bytearray()
    at = 0
    while at < len(body):
        flags = body[at]
        at += 1
        for bit in range(8):
            if at >= len(body):
                break
            if not flags & (1 << bit):
                out.append(body[at])
                at += 1
                continue
            if at + 2 > len(body):
                raise Lznt1Error("a back-reference is cut off")
            (code,) = struct.unpack_from("<H", body, at)
            at += 2
            bits = displacement_bits(len(out))
            displacement = (code >> (16 - bits)) + 1
            length = (code & (0xFFFF >> bits)) + MIN_MATCH
            if displacement > len(out):
                raise Lznt1Error("a back-reference reaches before its chunk")
            for _ in range(length):
                out.append(out[-displacement])
        if len(out) > CHUNK:
            raise Lznt1Error("a chunk decompresses to more than 4096 bytes")
    return bytes(out)


def decompress(data):
    """The decompressed data. Stricter than Windows: every chunk but the last must give 4096
    bytes (Windows would fill the gap with zeros), and nothing may follow the last chunk."""
    out = bytearray()
    at = 0
    while at < len(data):
        if at + 2 > len(data):
            raise Lznt1Error("a chunk header is cut off")
        if len(out) % CHUNK:
            raise Lznt1Error("a chunk before the last gives fewer than 4096 bytes")
        (header,) = struct.unpack_from("<H", data, at)
        if header & 0x7000 != SIGNATURE:
            raise Lznt1Error(f"no chunk header at byte {at}")
        size = (header & 0xFFF) + 1
        body = data[at + 2:at + 2 + size]
        if len(body) < size:
            raise Lznt1Error("the last chunk is cut off")
        out += decompress_chunk(body) if header & COMPRESSED else body
        at += 2 + size
    return bytes(out)


def bmp_size(width, height):
    """The size of a 24-bit BMP file of width x height: both headers, then padded rows."""
    return 14 + 40 + (width * 3 + 3) // 4 * 4 * height


def check_bmp(bmp, width, height):
    """Raises Lznt1Error unless bmp is a bottom-up 24-bit BMP file of exactly width x height."""
    size = bmp_size(width, height)
    if len(bmp) != size:
        raise Lznt1Error(f"decompresses to {len(bmp)} bytes, not the {size} of a {width} x "
                         f"{height} 24-bit BMP")
    signature, file_size, _, _, offset = struct.unpack_from("<2sIHHI", bmp, 0)
    header = struct.unpack_from("<IiiHHI", bmp, 14)
    if (signature, file_size, offset) != (b"BM", size, 54) or header != (40, width, height, 1,
                                                                          24, 0):
        raise Lznt1Error(f"its header does not describe a {width} x {height} 24-bit BMP")


def main(arguments):
    if len(arguments) != 4 or arguments[0] != "--check-bmp":
        sys.exit("usage: lznt1.py --check-bmp <file.bmp.lznt1> <width> <height>")
    path, width, height = arguments[1], int(arguments[2]), int(arguments[3])
    with open(path, "rb") as f:
        compressed = f.read()
    try:
        check_bmp(decompress(compressed), width, height)
    except Lznt1Error as error:
        sys.exit(f"{path}: not the compressed {width} x {height} picture it should be: {error}")


if __name__ == "__main__":
    main(sys.argv[1:])
