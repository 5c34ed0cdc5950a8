# Warnings as errors on our own code only.
function(zentrika_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# The layers are kept by the compiler. A library publishes only its own folder's
# headers, as links in build/include/<library>/ under the same path as in src/
# ("core/Problem.h"), and there is no include root for the whole of src/. So a
# library sees its own headers and those of the libraries it links, the layers
# below it; an include that points up a layer is "file not found". Includes are
# therefore always written from src/, never relative to the including file.
function(zentrika_public_headers target dir)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/src ${dir})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})  # no link outlives its header
  file(MAKE_DIRECTORY ${root}/${rel})
  file(GLOB headers CONFIGURE_DEPENDS ${dir}/*.h)
  foreach(h ${headers})
    get_filename_component(n ${h} NAME)
    file(CREATE_LINK ${h} ${root}/${rel}/${n} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# For a library that must run without widgets: any Qt Widgets header fails to
# compile in its own sources, even one reached through <QtWidgets/...>, which
# the system include path would otherwise find although the library does not
# link Qt Widgets.
function(zentrika_no_widgets target)
  target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/no-widgets)
endfunction()

# Moc runs again when a target's list of sources changes, not only when a file
# moc saw last time does. With Ninja, moc's step depends on just those files and
# on the list files of the target's folder; the sources are globbed here, in
# cmake/, so a Q_OBJECT header that arrives on its own (a merge, a new file)
# while the other files stay as they were never reached moc, and the target
# failed to link. The listing below is a list file of the target's folder, so
# moc's step depends on it; it is rewritten only when the sources change.
function(zentrika_moc_follows_sources target)
  get_target_property(srcs ${target} SOURCES)
  list(SORT srcs)
  list(JOIN srcs "\n# " listing)
  set(listing_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.cmake)
  file(CONFIGURE OUTPUT ${listing_file} CONTENT "# Sources of ${target}, for moc's dependencies.\n# ${listing}\n" @ONLY)
  include(${listing_file})
endfunction()

# Precompiled headers from cmake/pch/: Qt's and GoogleTest's headers are most of
# what every file compiles. A target either builds one (HEADER) or reuses the one
# another target built (REUSE_FROM), which needs the same flags and the same
# definitions of any macro the headers look at; GCC's -Winvalid-pch, an error
# here, says when they differ. The libraries without widgets get a header
# without any Qt Widgets header, so the layer check still sees every such include.
function(zentrika_pch target)
  cmake_parse_arguments(A "" "HEADER;REUSE_FROM" "" ${ARGN})
  if(NOT ZENTRIKA_PCH)
    return()
  endif()
  if(A_REUSE_FROM)
    target_precompile_headers(${target} REUSE_FROM ${A_REUSE_FROM})
  else()
    target_precompile_headers(${target} PRIVATE
      "$<$<COMPILE_LANGUAGE:CXX>:${PROJECT_SOURCE_DIR}/cmake/pch/${A_HEADER}.h>")
  endif()
endfunction()

# One static library per source folder; the folder's own files only, so that a
# sub-folder can be a library of its own. New files are picked up on the next build.
function(zentrika_library name dir)
  cmake_parse_arguments(A "NO_WIDGETS" "" "LINK;EXCLUDE;PCH" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.c)
  foreach(x ${A_EXCLUDE})
    list(REMOVE_ITEM srcs ${dir}/${x})
  endforeach()
  add_library(${name} STATIC ${srcs})
  zentrika_public_headers(${name} ${dir})
  target_link_libraries(${name} PUBLIC ${A_LINK})
  if(A_NO_WIDGETS)
    zentrika_no_widgets(${name})
  endif()
  zentrika_moc_follows_sources(${name})
  zentrika_warnings(${name})
  if(A_PCH)
    zentrika_pch(${name} ${A_PCH})
  endif()
endfunction()

# A command-line tool in the tools folder of the build.
function(zentrika_tool name)
  cmake_parse_arguments(A "" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LINK})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZENTRIKA_TOOLS_DIR})
  zentrika_moc_follows_sources(${name})
  zentrika_warnings(${name})
endfunction()

# A target that builds what the default build does except the named targets:
# scripts/test.sh builds the unit and GUI tests under the sanitizers only, so
# its debug build leaves them out. Called last, once every folder is read; the
# targets are found by walking the folders, so a new one joins by itself.
function(zentrika_all_but name)
  set(found)
  set(dirs ${PROJECT_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t ${targets})
      get_target_property(type ${t} TYPE)
      get_target_property(excluded ${t} EXCLUDE_FROM_ALL)
      if(NOT type STREQUAL "INTERFACE_LIBRARY" AND NOT excluded AND NOT t IN_LIST ARGN)
        list(APPEND found ${t})
      endif()
    endforeach()
  endwhile()
  add_custom_target(${name})
  add_dependencies(${name} ${found})
endfunction()
