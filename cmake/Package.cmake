# The Debian package, made by CPack from the same install rules that
# `cmake --install` follows (dist/CMakeLists.txt). scripts/package.sh runs it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentrika)
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvane Zentrika team <zentrika@quorvane.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quorvane.example/zentrika)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"illustrated puzzle game in Russian
Zentrika is a single-player puzzle game with all its texts in Russian. Every
puzzle has a picture, a story and one right answer: a number, a word, a time
of day, a choice from a list or a group of numbers.

In the game a named player climbs five levels, earning points for right
answers, losing a few for wrong ones and spending them on a look at a
solution. The collection lets anyone browse and answer every puzzle with no
score at all.

The package also holds zentrika-pack, which builds and checks puzzle
collections, and zentrika-profile, which lists, backs up and moves players.")
# Libraries come from dpkg-shlibdeps. Qt loads its display plugins at run
# time, and the game opens SDL when it first plays, so no linked library
# names the packages that hold them. SDL's lowest version is found as
# dpkg-shlibdeps would: the newest of the symbols the game resolves, from
# the library's symbols file.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
function(zentrika_opened_library_depends package source out)
  file(STRINGS ${source} lines REGEX "resolve\\(library, \"[A-Za-z_0-9]+\"")
  file(GLOB symbols_file /var/lib/dpkg/info/${package}:*.symbols /var/lib/dpkg/info/${package}.symbols)
  set(result ${package})
  if(symbols_file AND lines)
    list(GET symbols_file 0 symbols_file)
    file(READ ${symbols_file} symbols)
    set(newest 0)
    foreach(line IN LISTS lines)
      string(REGEX MATCH "\"([A-Za-z_0-9]+)\"" _ "${line}")
      string(REGEX MATCH " ${CMAKE_MATCH_1}@Base ([^ \n]+)" found "${symbols}")
      if(NOT found)
        message(FATAL_ERROR "${package} has no symbol ${CMAKE_MATCH_1}")
      endif()
      if(CMAKE_MATCH_1 VERSION_GREATER newest)
        set(newest ${CMAKE_MATCH_1})
      endif()
    endforeach()
    set(result "${package} (>= ${newest})")
  endif()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()
zentrika_opened_library_depends(libsdl2-2.0-0 ${PROJECT_SOURCE_DIR}/src/platform/desktop/SdlSoundPlayer.cpp sdl_depends)
# The window scale uses Qt's private API (src/platform/desktop/WindowScale.cpp),
# whose ABI changes with every Qt release: Debian's Qt packages provide
# qt6-base-abi at their exact version for packages that use it. dpkg-shlibdeps
# adds it too while the game links a Qt_6_PRIVATE_API symbol, but not for what
# the private headers inline, so it is named here whatever is linked.
if(NOT Qt6Gui_VERSION)
  message(FATAL_ERROR "The package needs the version of the Qt it is built with (Qt6Gui_VERSION)")
endif()
set(qt_private_abi "qt6-base-abi (= ${Qt6Gui_VERSION})")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, ${qt_private_abi}, ${sdl_depends}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Directories as Debian wants them, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
