# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 GCC.
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The executables are linked statically, so they run on a bare Windows (or
# under Wine) without any MinGW runtime DLLs next to them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TENDER_MINGW_PREFIX x86_64-w64-mingw32)

# The posix-threads variant of the compiler provides std::thread and friends,
# which GoogleTest uses; fall back to the default one where it is missing.
find_program(TENDER_MINGW_CXX NAMES ${TENDER_MINGW_PREFIX}-g++-posix ${TENDER_MINGW_PREFIX}-g++ REQUIRED)
find_program(TENDER_MINGW_CC NAMES ${TENDER_MINGW_PREFIX}-gcc-posix ${TENDER_MINGW_PREFIX}-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${TENDER_MINGW_CXX})
set(CMAKE_C_COMPILER ${TENDER_MINGW_CC})
set(CMAKE_RC_COMPILER ${TENDER_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TENDER_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the Windows executables through Wine (headless, in a prefix of
# its own) when Wine is installed.
find_program(TENDER_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TENDER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/run-with-wine)
endif()
