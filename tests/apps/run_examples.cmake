# Runs every host script in examples/ through `quillon run` on a fresh scale-1 demo account (one
# copy per script, since scripts may write) and fails unless each exits 0. With SERVER (the
# location of the test server's template database, and SERVER_DIR its folder) each script's
# account is a database of that server made from the template.
#   cmake -DQUILLON=<binary> -DEXAMPLES=<dir> -DWORK=<scratch dir>
#         [-DSERVER=<uri> -DSERVER_DIR=<dir> -DSERVER_SCRIPT=<test-server.sh>] -P run_examples.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
if(NOT SERVER)
  execute_process(COMMAND ${QUILLON} init-db --db ${WORK}/demo.db --scale 1
                  RESULT_VARIABLE built OUTPUT_QUIET ERROR_VARIABLE builtErr)
  if(NOT built EQUAL 0)
    message(FATAL_ERROR "init-db failed: ${builtErr}")
  endif()
endif()
file(GLOB scripts ${EXAMPLES}/*.qhs)
set(failed "")
foreach(script IN LISTS scripts)
  get_filename_component(name ${script} NAME_WE)
  if(SERVER)
    string(REPLACE "quillon_template" "example_${name}" account "${SERVER}")
    execute_process(COMMAND bash ${SERVER_SCRIPT} copy ${SERVER_DIR} quillon_template
                            example_${name}
                    RESULT_VARIABLE built OUTPUT_QUIET ERROR_VARIABLE builtErr)
    if(NOT built EQUAL 0)
      message(FATAL_ERROR "copying the demo account failed: ${builtErr}")
    endif()
  else()
    set(account ${WORK}/${name}.db)
    file(COPY_FILE ${WORK}/demo.db ${account})
  endif()
  execute_process(COMMAND ${QUILLON} run --db ${account} ${script}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(status EQUAL 0)
    message(STATUS "ok: ${name}")
  else()
    message(STATUS "${out}")
    message(STATUS "FAILED (exit ${status}): ${err}")
    list(APPEND failed ${name})
  endif()
endforeach()
list(LENGTH scripts count)
if(failed)
  message(FATAL_ERROR "examples that failed: ${failed}")
endif()
message(STATUS "${count} example scripts ran to their end")
