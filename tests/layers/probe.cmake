# Compiles one include with a library's include path and fails when the outcome
# is not the expected one. Run by ctest:
#   cmake -DCOMPILER=c++ -DINCLUDES="a|b" -DHEADER=core/X.h -DSYSTEM=0|1
#         -DEXPECT=fail|pass -DSOURCE_DIR=src -DWORK=dir -P probe.cmake
string(REPLACE "|" ";" dirs "${INCLUDES}")
set(flags)
foreach(d ${dirs})
  list(APPEND flags "-I${d}")
endforeach()
if(SYSTEM)
  set(line "#include <${HEADER}>")
else()
  # A header that does not exist would fail for the wrong reason.
  if(NOT EXISTS ${SOURCE_DIR}/${HEADER})
    message(FATAL_ERROR "${HEADER} is not in ${SOURCE_DIR}; the row needs a header that exists")
  endif()
  set(line "#include \"${HEADER}\"")
endif()
string(MAKE_C_IDENTIFIER "${HEADER}" stem)
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/${stem}.cpp "${line}\n")
execute_process(COMMAND ${COMPILER} -std=c++20 -fsyntax-only ${flags} ${WORK}/${stem}.cpp
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(EXPECT STREQUAL "fail" AND rc EQUAL 0)
  message(FATAL_ERROR "${line} compiles, but it is above the library's layer")
elseif(EXPECT STREQUAL "pass" AND NOT rc EQUAL 0)
  message(FATAL_ERROR "${line} should compile:\n${err}")
endif()
