# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, for std::thread and
# std::mutex), linked statically so that the programs need no MinGW DLLs beside them. Programs built
# here run under Wine through scripts/wine-run, which also lets ctest run the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Dependencies built for Windows (Crypto++, GoogleTest) live in prefixes outside the source tree;
# scripts/build-windows passes them in CHECKTOOL_WINDOWS_PREFIXES.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${CHECKTOOL_WINDOWS_PREFIXES})
# pkg-config reads the .pc files of those prefixes only, never the build machine's own (Crypto++ for
# Linux). Set here, every configure of this build gets it, and no shell has to carry it. (The compiler
# checks read this file again without the prefixes, in the same process: they leave it alone.)
if(CHECKTOOL_WINDOWS_PREFIXES)
  set(checktool_pkg_config_dirs ${CHECKTOOL_WINDOWS_PREFIXES})
  list(TRANSFORM checktool_pkg_config_dirs APPEND /lib/pkgconfig)
  list(JOIN checktool_pkg_config_dirs ":" checktool_pkg_config_dirs)
  set(ENV{PKG_CONFIG_LIBDIR} "${checktool_pkg_config_dirs}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZLIB_USE_STATIC_LIBS ON)

# Stripped: each program links Qt statically and weighs about 110 MB with its symbols, so the ninety
# test programs alone filled a build machine's disk; the packages are stripped anyway.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -s")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
