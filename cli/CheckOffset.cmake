# Runs PROGRAM (through EMULATOR when set) with --offset on a copy of INPUT in WORK, with ARGS
# (separated by "|") before it, and checks what a script relies on: +300 ms moves the file's
# offset from PREVIOUS to PREVIOUS + 300, says so with the ENCODING kept, and loads with it; -300
# gives back INPUT byte for byte; a read-only copy is refused with exit status 1 and kept as it is.
string(REPLACE "|" ";" arguments "${ARGS}")
get_filename_component(name ${INPUT} NAME)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(copy ${WORK}/${name})
file(COPY_FILE ${INPUT} ${copy})

function(run expected_status)
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${arguments} ${ARGN}
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status STREQUAL expected_status)
    message(FATAL_ERROR "${ARGN}: exit status ${status}, expected ${expected_status}\n${output}${errors}")
  endif()
  set(output "${output}" PARENT_SCOPE)
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

function(expect_copy_is_input)
  file(SHA256 ${INPUT} before)
  file(SHA256 ${copy} after)
  if(NOT before STREQUAL after)
    message(FATAL_ERROR "${copy} differs from ${INPUT}")
  endif()
endfunction()

math(EXPR saved "${PREVIOUS} + 300")
run(0 --offset 300 ${copy})
if(NOT output STREQUAL "${copy}: offset ${PREVIOUS} ms -> ${saved} ms (${ENCODING})\n")
  message(FATAL_ERROR "unexpected report: ${output}")
endif()
run(0 ${copy})
if(NOT output MATCHES "\"encoding\": \"${ENCODING}\"" OR NOT output MATCHES "\"offsetMs\": ${saved},")
  message(FATAL_ERROR "the saved file loads otherwise:\n${output}")
endif()
run(0 --offset -300 ${copy})
expect_copy_is_input()

file(CHMOD ${copy} PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
run(1 --offset 100 ${copy})
if(NOT errors MATCHES "not saved: The lyrics file is read-only")
  message(FATAL_ERROR "unexpected message: ${errors}")
endif()
expect_copy_is_input()
file(REMOVE_RECURSE ${WORK})
