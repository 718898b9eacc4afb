# Installation: the shared library and the host platform library (runtime),
# the public headers, the exported CMake package and the pkg-config file
# (development), and kqfmt (tool), in the GNUInstallDirs places. The
# components are the ones the Debian packages are made of
# (kqformat-packaging.cmake).
#
# Headers go into include/kqformat/, all in one directory: the public
# header, the comparison functions, and the platform declarations its users
# need (KWTABLE, units, log, ...) with the host platform's table builder.
# They include each other by plain name, so users compile with
# -I<prefix>/include/kqformat (the imported targets and kqformat.pc say so).
include(CMakePackageConfigHelpers)

# Libraries go into the Debian multiarch directory when installing into
# /usr (lib/x86_64-linux-gnu). GNUInstallDirs chooses it only for native
# builds; for a cross build the toolchain's target triple is the target's
# multiarch name.
if(CMAKE_CROSSCOMPILING AND KQ_TARGET_TRIPLE AND CMAKE_INSTALL_PREFIX MATCHES "^/usr/?$"
   AND NOT DEFINED CMAKE_INSTALL_LIBDIR)
  set(CMAKE_INSTALL_LIBDIR lib/${KQ_TARGET_TRIPLE} CACHE PATH "Object code libraries (LIBDIR)")
endif()
include(GNUInstallDirs)

set(KQ_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/kqformat)
set(KQ_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/kqformat)

foreach(target kqformat kqplatform_host kqplatform_api)
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${KQ_INSTALL_INCLUDEDIR}>)
endforeach()

install(TARGETS kqformat kqplatform_host kqplatform_api
  EXPORT kqformatTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    COMPONENT runtime
    NAMELINK_COMPONENT development)

file(GLOB KQ_PUBLIC_HEADERS
  ${PROJECT_SOURCE_DIR}/include/*.h
  ${PROJECT_SOURCE_DIR}/platform/*.h)
file(GLOB KQ_HOST_HEADERS ${PROJECT_SOURCE_DIR}/platform/host/kq_host_*.h)
install(FILES ${KQ_PUBLIC_HEADERS} ${KQ_HOST_HEADERS}
  DESTINATION ${KQ_INSTALL_INCLUDEDIR}
  COMPONENT development)

install(EXPORT kqformatTargets
  NAMESPACE kqformat::
  DESTINATION ${KQ_INSTALL_CMAKEDIR}
  COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/kqformatConfig.cmake.in
  ${PROJECT_BINARY_DIR}/kqformatConfig.cmake
  INSTALL_DESTINATION ${KQ_INSTALL_CMAKEDIR})
# The SONAME carries the major version; so does compatibility.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kqformatConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/kqformatConfig.cmake
  ${PROJECT_BINARY_DIR}/kqformatConfigVersion.cmake
  DESTINATION ${KQ_INSTALL_CMAKEDIR}
  COMPONENT development)

# kqformat.pc finds its prefix from its own place, so an unpacked tree works
# as well as the installed one.
file(RELATIVE_PATH KQ_PC_TO_PREFIX
  ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" KQ_PC_TO_PREFIX "${KQ_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/kqformat.pc.in ${PROJECT_BINARY_DIR}/kqformat.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kqformat.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT development)

if(TARGET kqfmt)
  # The tool links the library statically; it needs the host platform
  # library, found next to it in a relocated tree too.
  file(RELATIVE_PATH KQ_BIN_TO_LIB
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  set_target_properties(kqfmt PROPERTIES INSTALL_RPATH "$ORIGIN/${KQ_BIN_TO_LIB}")
  install(TARGETS kqfmt RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tool)
  install(FILES ${PROJECT_SOURCE_DIR}/tools/kqfmt/kqfmt.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tool)
  install(FILES ${PROJECT_SOURCE_DIR}/tools/kqfmt/kqfmt.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kqfmt
    COMPONENT tool)
endif()

# Every package carries the licence as a Debian copyright file.
foreach(entry "runtime=libkqformat${PROJECT_VERSION_MAJOR}" "development=libkqformat-dev"
              "tool=kqfmt")
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 component)
  list(GET pair 1 package)
  if(component STREQUAL "tool" AND NOT TARGET kqfmt)
    continue()
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()
