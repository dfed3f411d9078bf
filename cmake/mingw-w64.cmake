# Cross-building the Qt-free core and its tests as 64-bit Windows programs with Debian's MinGW-w64
# (g++-mingw-w64-x86-64-posix), run under Wine (wine64):
#
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DRAILSCOPE_WITH_QT=OFF
#
# The programs are linked statically (the C and C++ runtimes and winpthreads included), so they
# need no DLLs beside them. ctest runs them through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RAILSCOPE_MINGW_PREFIX x86_64-w64-mingw32)
# The posix variant: std::thread and std::mutex on winpthreads.
set(CMAKE_C_COMPILER ${RAILSCOPE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RAILSCOPE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${RAILSCOPE_MINGW_PREFIX}-windres)

# Libraries and headers come from the MinGW tree only; programs (ccache) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${RAILSCOPE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs the programs under Wine, headless, in a Wine prefix of the build folder's own.
get_filename_component(RAILSCOPE_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${RAILSCOPE_WINE_RUN} ${CMAKE_BINARY_DIR}/wine)
# Under Wine the build machine's root folder is drive Z:, so a program finds /work/x as Z:/work/x.
set(RAILSCOPE_HOST_ROOT "Z:" CACHE STRING "The build machine's root folder as the built programs see it")
