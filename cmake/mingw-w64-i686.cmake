# Cross-compiles for 32-bit Windows with MinGW-w64; the program built with it runs on 32-bit and
# 64-bit Windows. (Wine here runs only 64-bit programs: the 32-bit build is checked, not run.)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
