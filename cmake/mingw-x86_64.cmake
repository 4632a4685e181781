# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-x86-64). The
# product is 32-bit (mingw-i686.cmake); this build lets the native code's tests run under a Wine
# that cannot start 32-bit programs, as on hosts without 32-bit Linux support.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
