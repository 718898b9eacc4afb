# Debian packages, one per install component:
#   libkqformat1     runtime      libkqformat.so.1, libkqplatform_host.so.1
#   libkqformat-dev  development  headers, .so links, CMake package, kqformat.pc
#   kqfmt            tool         the kqfmt command
# Build them with `cpack -G DEB` in a build directory configured with
# -DCMAKE_INSTALL_PREFIX=/usr (scripts/package-check.sh does).
set(CPACK_PACKAGE_NAME kqformat)
set(CPACK_PACKAGE_VENDOR "kqformat project")
set(CPACK_PACKAGE_CONTACT "kqformat maintainers <kqformat-maintainers@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Display strings of configuration database cells")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development)
if(TARGET kqfmt)
  list(APPEND CPACK_COMPONENTS_ALL tool)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Packages carry stripped binaries (with the toolchain's strip when cross
# compiling).
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)

# The package architecture is the target's: Debian's name for the
# processor the toolchain compiles for.
set(KQ_DEBIAN_ARCHITECTURES "x86_64=amd64;AMD64=amd64;i686=i386;aarch64=arm64;powerpc=powerpc;ppc=powerpc")
set(KQ_DEB_ARCH "")
foreach(entry ${KQ_DEBIAN_ARCHITECTURES})
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 processor)
  list(GET pair 1 arch)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL processor)
    set(KQ_DEB_ARCH ${arch})
  endif()
endforeach()
if(NOT KQ_DEB_ARCH)
  message(WARNING "no Debian architecture known for ${CMAKE_SYSTEM_PROCESSOR}")
  set(KQ_DEB_ARCH ${CMAKE_SYSTEM_PROCESSOR})
endif()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${KQ_DEB_ARCH})

# Dependencies on system libraries: computed by dpkg-shlibdeps for a native
# build; a cross build has no dpkg database of the target's libraries, so
# there they are named without versions.
if(CMAKE_CROSSCOMPILING)
  set(KQ_SYSTEM_DEPENDS "libc6, libstdc++6, libgcc-s1")
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS ${KQ_SYSTEM_DEPENDS})
  set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS ${KQ_SYSTEM_DEPENDS})
else()
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # kqfmt needs libkqplatform_host.so.1 from the runtime package; the
  # dependency on that package comes from the component dependencies, the
  # library file is found in the build tree.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
      ${PROJECT_BINARY_DIR}/platform ${PROJECT_BINARY_DIR}/src)
endif()
# The runtime package says which libraries it provides (a shlibs file), so
# packages built against it get the right dependency.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# Packages of one build depend on each other at exactly this version.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libkqformat${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libkqformat-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_TOOL_PACKAGE_NAME kqfmt)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION utils)

include(CPack)

cpack_add_component(runtime
  DISPLAY_NAME "kqformat runtime"
  DESCRIPTION "The shared formatter library and the host platform library it calls.")
cpack_add_component(development
  DISPLAY_NAME "kqformat development files"
  DESCRIPTION "Headers, CMake package (find_package(kqformat)) and pkg-config file."
  DEPENDS runtime)
cpack_add_component(tool
  DISPLAY_NAME "kqfmt"
  DESCRIPTION "Shows what the formatter makes of the tables of a configuration database."
  DEPENDS runtime)
