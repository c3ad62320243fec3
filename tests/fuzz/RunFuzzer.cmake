# Runs one fuzz target for SECONDS from a fresh copy of SEEDS in WORK, so a run never writes the
# corpus kept in the tree. Fails on a crash, leak, hang or sanitizer report, keeping the input.
foreach(var FUZZER SEEDS DICTIONARY WORK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunFuzzer.cmake needs -D${var}=...")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK}/corpus ${WORK}/artifacts)
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(COPY ${SEEDS}/ DESTINATION ${WORK}/corpus)
set(ENV{UBSAN_OPTIONS} "print_stacktrace=1:halt_on_error=1")
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
          -dict=${DICTIONARY} -print_final_stats=1 -artifact_prefix=${WORK}/artifacts/
          ${WORK}/corpus
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a fault (exit ${result}): the input is in "
                      "${WORK}/artifacts; replay it with ${FUZZER} FILE")
endif()
