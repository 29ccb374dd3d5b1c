# Runs catalogue_generator into a scratch file and fails unless it matches the committed tables.
# Used as: cmake -DGENERATOR=<exe> -DOUTPUT=<scratch file> -DEXPECTED=<tables.cpp> -P check_tables.cmake
execute_process(COMMAND "${GENERATOR}" "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "catalogue_generator failed (${status})")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT}" "${EXPECTED}"
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${EXPECTED} is not what catalogue_generator writes now (see ${OUTPUT})")
endif()
