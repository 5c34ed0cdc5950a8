# Warnings as errors on our own code only.
function(zentrika_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# One static library per source folder; the folder's own files only, so that a
# sub-folder can be a library of its own. New files are picked up on the next build.
function(zentrika_library name dir)
  cmake_parse_arguments(A "" "" "LINK" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.c)
  if(NOT srcs)
    set(stub ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${stub} "// no sources yet\n")
    set(srcs ${stub})
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_LINK})
  zentrika_warnings(${name})
endfunction()

# A command-line tool in the tools folder of the build.
function(zentrika_tool name)
  cmake_parse_arguments(A "" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LINK})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZENTRIKA_TOOLS_DIR})
  zentrika_warnings(${name})
endfunction()
