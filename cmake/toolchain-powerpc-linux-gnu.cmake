# Cross build for the target: 32-bit big-endian PowerPC Linux (ILP32), with
# Debian's powerpc-linux-gnu cross compilers. Test binaries run under
# qemu-ppc, so ctest works on the build host as it does natively.
#
#   cmake -S . -B build/ppc -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-powerpc-linux-gnu.cmake
#
# The target's libraries and headers live in /usr/powerpc-linux-gnu (lib/,
# include/). Debian's cross compilers already search there by themselves, so
# no --sysroot is passed to them (with one, the linker looks for the C
# library's absolute paths inside the sysroot and fails); the directory is the
# root of CMake's own searches and qemu's library prefix instead.

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR powerpc)

set(KQ_TARGET_TRIPLE powerpc-linux-gnu)
set(KQ_TARGET_ROOT /usr/powerpc-linux-gnu)

set(CMAKE_C_COMPILER ${KQ_TARGET_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${KQ_TARGET_TRIPLE}-g++)

# Programs (compilers, tclsh, ...) come from the build host; libraries,
# headers and package configurations only from the target's root and from the
# target dependencies this project builds itself (see below).
get_filename_component(KQ_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(KQ_TARGET_DEPS_DIR "${KQ_SOURCE_ROOT}/build/target-deps" CACHE PATH
    "Where scripts/target-sqlite.sh puts libraries built for the target")

set(CMAKE_FIND_ROOT_PATH ${KQ_TARGET_ROOT} ${KQ_TARGET_DEPS_DIR}/sqlite)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Run target binaries (tests, try_run) under user-mode emulation. The prefix
# makes qemu load the target's dynamic linker and libc/libstdc++; absolute
# paths that do not exist under the prefix (the build tree's own shared
# libraries, found through the build RPATH) fall back to the real file system.
find_program(KQ_QEMU_PPC qemu-ppc REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KQ_QEMU_PPC} -L ${KQ_TARGET_ROOT})

# SQLite for the kqfmt tool: the distribution has no powerpc build of it, so
# scripts/target-sqlite.sh builds a static library into the deps directory.
# When it is there, point the standard SQLite3 find module at it.
set(KQ_TARGET_SQLITE_DIR ${KQ_TARGET_DEPS_DIR}/sqlite)
if(EXISTS ${KQ_TARGET_SQLITE_DIR}/lib/libsqlite3.a
   AND EXISTS ${KQ_TARGET_SQLITE_DIR}/include/sqlite3.h)
  set(SQLite3_INCLUDE_DIR ${KQ_TARGET_SQLITE_DIR}/include CACHE PATH "")
  set(SQLite3_LIBRARY ${KQ_TARGET_SQLITE_DIR}/lib/libsqlite3.a CACHE FILEPATH "")
endif()


# nlohmann/json (header-only, used by kqfmt): the build host's package serves
# the target too, but it names /usr/include as its include directory, which
# must never reach the cross compiler (it holds the host's C library headers).
# Stage a copy of the package whose include directory holds only its headers.
set(_kq_json_config /usr/share/cmake/nlohmann_json)
if(EXISTS ${_kq_json_config}/nlohmann_jsonConfig.cmake AND IS_DIRECTORY /usr/include/nlohmann)
  set(_kq_json_stage ${KQ_TARGET_DEPS_DIR}/nlohmann_json)
  file(COPY /usr/include/nlohmann DESTINATION ${_kq_json_stage}/include)
  file(COPY ${_kq_json_config}/ DESTINATION ${_kq_json_stage}/share/cmake/nlohmann_json)
  set(nlohmann_json_DIR ${_kq_json_stage}/share/cmake/nlohmann_json CACHE PATH "")
endif()
