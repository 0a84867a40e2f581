# cmake -DPROGRAM=<program> -DARGUMENT=<one argument> -DOUTPUT=<file> -P Capture.cmake
# Writes what the program prints into the file, whole or not at all.
execute_process(COMMAND ${PROGRAM} ${ARGUMENT} OUTPUT_FILE ${OUTPUT}.part RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    file(REMOVE ${OUTPUT}.part)
    message(FATAL_ERROR "${PROGRAM} ${ARGUMENT} failed: ${status}")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
