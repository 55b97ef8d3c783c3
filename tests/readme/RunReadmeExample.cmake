# SPDX-License-Identifier: MIT
# Runs the README's example and checks that it wrote a PNG.
#   cmake -DQV_PROGRAM=... -DQV_OUTPUT=out.png -P RunReadmeExample.cmake
file(REMOVE ${QV_OUTPUT})
execute_process(COMMAND ${QV_PROGRAM} ${QV_OUTPUT} RESULT_VARIABLE status
    OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the example failed (${status}):\n${out}")
endif()
if(NOT EXISTS ${QV_OUTPUT})
    message(FATAL_ERROR "the example wrote no ${QV_OUTPUT}")
endif()
file(READ ${QV_OUTPUT} signature LIMIT 4 HEX)
if(NOT signature STREQUAL "89504e47")
    message(FATAL_ERROR "${QV_OUTPUT} is no PNG")
endif()
