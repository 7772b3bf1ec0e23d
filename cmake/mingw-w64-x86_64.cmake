# Cross-compiles for 64-bit Windows with Debian's mingw-w64 compilers (the POSIX-threads variant,
# whose C++ library has std::thread and friends). Use with
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
# The built programs run on Windows, or here under Wine (set CMAKE_CROSSCOMPILING_EMULATOR).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LINTARA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LINTARA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LINTARA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LINTARA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LINTARA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ run-time libraries are linked in, so that the programs need no DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Under Wine the build machine's root folder is the drive Z:, so the tests reach files outside
# the prefix (the corpus, the built programs) by these paths prefixed with it.
set(LINTARA_HOST_ROOT "Z:")
