# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Up to 4 GB of address space under a 64-bit Windows.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--large-address-aware")
