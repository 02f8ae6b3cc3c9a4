# Fails when a function the coverage ignore list names exactly is not in the
# program: a renamed function would drop out of the list without a word, and
# the fuzz runs would slow down again.
#   cmake -DLIST=<coverage-ignore.txt> -DPROGRAM=<fuzz target> -DNM=<nm> -P CheckIgnoreList.cmake
execute_process(COMMAND ${NM} ${PROGRAM} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot list the symbols of ${PROGRAM}")
endif()
file(STRINGS ${LIST} lines REGEX "^fun:")
set(missing)
foreach(line ${lines})
  string(REGEX REPLACE "^fun:" "" name "${line}")
  # Patterns match whatever they match; only exact names can go stale.
  if(name MATCHES "[*?[]")
    continue()
  endif()
  string(FIND "${symbols}" " ${name}\n" at)
  if(at EQUAL -1)
    list(APPEND missing ${name})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "coverage-ignore.txt names functions ${PROGRAM} does not have: ${missing}")
endif()
