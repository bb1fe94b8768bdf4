# Preprocesses one header with the include paths a library's own sources get, and checks whether
# the header is found: EXPECT "found" for a folder the library may use, "missing" for one it must
# not reach. A missing header must fail for that reason alone.
# Arguments: COMPILER, INCLUDES (directories joined by "|"), HEADER, EXPECT.
string(REPLACE "|" ";" directories "${INCLUDES}")
set(flags)
foreach(directory IN LISTS directories)
  if(directory)
    list(APPEND flags "-I${directory}")
  endif()
endforeach()
execute_process(
  COMMAND "${COMPILER}" -std=c++20 -E -x c++ ${flags} -include "${HEADER}" /dev/null
  OUTPUT_QUIET
  ERROR_VARIABLE errors
  RESULT_VARIABLE result)
string(REGEX MATCH "${HEADER}(: No such file or directory|' file not found)" not_found "${errors}")
if(EXPECT STREQUAL "found")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${HEADER} should be reachable but was not:\n${errors}")
  endif()
elseif(EXPECT STREQUAL "missing")
  if(result EQUAL 0)
    message(FATAL_ERROR "${HEADER} is reachable from a layer that must not include it")
  endif()
  if(NOT not_found)
    message(FATAL_ERROR "${HEADER} failed for another reason than not being found:\n${errors}")
  endif()
else()
  message(FATAL_ERROR "EXPECT must be found or missing, not '${EXPECT}'")
endif()
