# Turns the program's pictures into build sources: a C++ file that carries each file's bytes
# (the window's pictures live in its data, not in resources) and a resource script fragment
# holding the icon image as RT_ICON 30001 and the group as RT_GROUP_ICON 1, since windres'
# ICON statement would number the image itself.
#
#   cmake -DASSETS=<dir> -DOUT=<dir> -P EmbedAssets.cmake

function(hex_of file out)
    file(READ "${file}" hex HEX)
    set(${out} "${hex}" PARENT_SCOPE)
endfunction()

# Little-endian 16-bit words for a resource script's raw data block.
function(rc_words hex out)
    string(REGEX REPLACE "(..)(..)" "0x\\2\\1," words "${hex}")
    string(REGEX REPLACE "((0x....,){16})" "\\1\n" words "${words}")
    string(REGEX REPLACE ",$" "" words "${words}")
    set(${out} "${words}" PARENT_SCOPE)
endfunction()

set(cpp "// Generated from the pictures in assets/; do not edit.\n#include \"assets/pictures.h\"\n\nnamespace assets {\nnamespace {\n")
set(blobs "")
foreach(pair "background.bmp:Background" "buttons.bmp:ButtonStrip" "twinova.ico:ProgramIcon")
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 symbol)
    hex_of("${ASSETS}/${name}" hex)
    string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){20})" "\\1\n" bytes "${bytes}")
    string(APPEND cpp "const unsigned char k${symbol}Bytes[] = {\n${bytes}};\n")
    string(APPEND blobs "const toolkit::Blob k${symbol}{k${symbol}Bytes, sizeof k${symbol}Bytes};\n")
endforeach()
string(APPEND cpp "}  // namespace\n\n${blobs}\n}  // namespace assets\n")
file(WRITE "${OUT}/pictures.cpp.new" "${cpp}")
file(COPY_FILE "${OUT}/pictures.cpp.new" "${OUT}/pictures.cpp" ONLY_IF_DIFFERENT)

# The .ico file: a 6-byte header, one 16-byte directory entry, then the image.
hex_of("${ASSETS}/twinova.ico" ico)
string(SUBSTRING "${ico}" 0 12 header)
string(SUBSTRING "${ico}" 12 24 entry)
string(SUBSTRING "${ico}" 44 -1 image)
rc_words("${image}" image_words)
rc_words("${header}${entry}3175" group_words)  # 3175 = 30001, little-endian
file(WRITE "${OUT}/icon.rc.new"
    "// Generated from assets/twinova.ico; do not edit.\nLANGUAGE 0, 0\n30001 3\nBEGIN\n${image_words}\nEND\n\n1 14\nBEGIN\n${group_words}\nEND\n")
file(COPY_FILE "${OUT}/icon.rc.new" "${OUT}/icon.rc" ONLY_IF_DIFFERENT)
