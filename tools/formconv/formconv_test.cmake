# Runs formconv both ways on a sample and on malformed input.
# Variables: FORMCONV (the program), SAMPLES (sample directory), WORK (scratch).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(run expect_ok)
  execute_process(COMMAND "${FORMCONV}" ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expect_ok AND NOT rc EQUAL 0)
    message(FATAL_ERROR "formconv ${ARGN} failed (${rc}): ${err}")
  elseif(NOT expect_ok AND rc EQUAL 0)
    message(FATAL_ERROR "formconv ${ARGN} succeeded on bad input")
  endif()
  set(last_err "${err}" PARENT_SCOPE)
  set(last_out "${out}" PARENT_SCOPE)
endfunction()

# Text -> binary -> text gives the sample back byte for byte.
run(TRUE --to-binary "${SAMPLES}/sample.txt" "${WORK}/sample.bin")
file(READ "${WORK}/sample.bin" head LIMIT 4 HEX)
if(NOT head STREQUAL "54504630")
  message(FATAL_ERROR "binary output does not start with TPF0")
endif()
run(TRUE --to-text "${WORK}/sample.bin" "${WORK}/sample.txt")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SAMPLES}/sample.txt" "${WORK}/sample.txt"
                RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "text -> binary -> text changed the sample")
endif()
# Binary input to binary and text input to text are normalised, not refused.
run(TRUE --to-binary "${WORK}/sample.bin" "${WORK}/again.bin")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/sample.bin" "${WORK}/again.bin"
                RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "binary -> binary changed the stream")
endif()

# Malformed text fails with the line number; nothing is written.
run(FALSE --to-binary "${SAMPLES}/malformed.txt" "${WORK}/malformed.bin")
if(NOT last_err MATCHES "Unterminated string on line 4")
  message(FATAL_ERROR "unexpected message: ${last_err}")
endif()
if(EXISTS "${WORK}/malformed.bin")
  message(FATAL_ERROR "output written for malformed input")
endif()
# Truncated binary (the sample cut after 30 bytes) fails with the offset.
run(FALSE --to-text "${SAMPLES}/truncated.bin" "${WORK}/truncated.txt")
if(NOT last_err MATCHES "offset [0-9]+")
  message(FATAL_ERROR "unexpected message: ${last_err}")
endif()

run(TRUE --help)
if(NOT last_out MATCHES "--to-text")
  message(FATAL_ERROR "--help prints no usage")
endif()
run(FALSE --to-text only-one-argument)
