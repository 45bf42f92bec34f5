# Turns the program's pictures into build sources:
# - pictures.cpp: the window's pictures, LZNT1-compressed, with the size each must have (the
#   window's pictures live in its data, not in resources). Each is first decompressed by
#   scripts/lznt1.py, and one that is not the BMP of that size stops the build, named;
# - picture_files.cpp: the committed files themselves, for the tests and the benchmarks;
# - icon.rc, a resource script fragment holding the icon image as RT_ICON 30001 and the group
#   as RT_GROUP_ICON 1, since windres' ICON statement would number the image itself.
#
#   cmake -DASSETS=<dir> -DOUT=<dir> -DPYTHON=<python3> -P EmbedAssets.cmake

function(hex_of file out)
    file(READ "${file}" hex HEX)
    set(${out} "${hex}" PARENT_SCOPE)
endfunction()

# The bytes of a file as the initialiser of a C++ array, twenty to a line.
function(cpp_bytes file out)
    hex_of("${file}" hex)
    string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){20})" "\\1\n" bytes "${bytes}")
    set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

# Little-endian 16-bit words for a resource script's raw data block.
function(rc_words hex out)
    string(REGEX REPLACE "(..)(..)" "0x\\2\\1," words "${hex}")
    string(REGEX REPLACE "((0x....,){16})" "\\1\n" words "${words}")
    string(REGEX REPLACE ",$" "" words "${words}")
    set(${out} "${words}" PARENT_SCOPE)
endfunction()

# Writes a generated file, touching it only when its text changes.
function(write_generated name text)
    file(WRITE "${OUT}/${name}.new" "${text}")
    file(COPY_FILE "${OUT}/${name}.new" "${OUT}/${name}" ONLY_IF_DIFFERENT)
endfunction()

set(namespace_start "namespace assets {\nnamespace {\n")
set(pictures "// Generated from the pictures in assets/; do not edit.\n#include \"assets/pictures.h\"\n\n${namespace_start}")
set(files "// Generated from the files in assets/; do not edit.\n#include \"assets/picture_files.h\"\n\n${namespace_start}")
set(picture_blobs "")
set(file_blobs "")
# file stem:symbol:width:height
foreach(entry "background:Background:412:237" "buttons:ButtonStrip:65:26")
    string(REPLACE ":" ";" entry "${entry}")
    list(GET entry 0 stem)
    list(GET entry 1 symbol)
    list(GET entry 2 width)
    list(GET entry 3 height)
    set(compressed "${ASSETS}/${stem}.bmp.lznt1")
    execute_process(COMMAND "${PYTHON}" "${CMAKE_CURRENT_LIST_DIR}/../scripts/lznt1.py"
                            --check-bmp "${compressed}" ${width} ${height}
                    RESULT_VARIABLE failed ERROR_VARIABLE why)
    if(failed)
        message(FATAL_ERROR "${why}")
    endif()
    cpp_bytes("${compressed}" bytes)
    string(APPEND pictures "const unsigned char k${symbol}Bytes[] = {\n${bytes}};\n")
    string(APPEND picture_blobs "const toolkit::CompressedBmp k${symbol}{{k${symbol}Bytes, sizeof k${symbol}Bytes}, ${width}, ${height}};\n")
endforeach()
foreach(entry "background.bmp:BackgroundFile" "buttons.bmp:ButtonStripFile" "twinova.ico:ProgramIconFile")
    string(REPLACE ":" ";" entry "${entry}")
    list(GET entry 0 name)
    list(GET entry 1 symbol)
    cpp_bytes("${ASSETS}/${name}" bytes)
    string(APPEND files "const unsigned char k${symbol}Bytes[] = {\n${bytes}};\n")
    string(APPEND file_blobs "const toolkit::Blob k${symbol}{k${symbol}Bytes, sizeof k${symbol}Bytes};\n")
endforeach()
write_generated(pictures.cpp "${pictures}}  // namespace\n\n${picture_blobs}\n}  // namespace assets\n")
write_generated(picture_files.cpp "${files}}  // namespace\n\n${file_blobs}\n}  // namespace assets\n")

# The .ico file: a 6-byte header, one 16-byte directory entry, then the image.
hex_of("${ASSETS}/twinova.ico" ico)
string(SUBSTRING "${ico}" 0 12 header)
string(SUBSTRING "${ico}" 12 24 entry)
string(SUBSTRING "${ico}" 44 -1 image)
rc_words("${image}" image_words)
rc_words("${header}${entry}3175" group_words)  # 3175 = 30001, little-endian
write_generated(icon.rc
    "// Generated from assets/twinova.ico; do not edit.\nLANGUAGE 0, 0\n30001 3\nBEGIN\n${image_words}\nEND\n\n1 14\nBEGIN\n${group_words}\nEND\n")
