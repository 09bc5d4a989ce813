set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests and benchmarks run under Wine with the project's private prefix,
# through the Wine loader of the tree's bitness (tools/wine-env).
set(CMAKE_CROSSCOMPILING_EMULATOR env PORTICA_WINE_BITS=${PORTICA_WINE_BITS} ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
