# SPDX-License-Identifier: MIT
# The installed package, tried by a project outside this tree. A sanitizer build is left
# out: its library needs the sanitizer run-time, which a plain consumer does not link.
if(NOT QV_SANITIZE)
    add_test(NAME consumer_install_and_build
        COMMAND ${CMAKE_COMMAND}
            -DQV_BUILD_DIR=${CMAKE_BINARY_DIR}
            -DQV_SOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DQV_WORK_DIR=${CMAKE_BINARY_DIR}/consumer-test
            -DQV_CXX=${CMAKE_CXX_COMPILER}
            -DQV_GENERATOR=${CMAKE_GENERATOR}
            -P ${CMAKE_CURRENT_LIST_DIR}/RunConsumerTest.cmake)
    set_tests_properties(consumer_install_and_build PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()

# The component's example hosts, in C and in Python, against an installed tree.
add_executable(qv_decode_pgm ${CMAKE_CURRENT_LIST_DIR}/DecodePgm.cpp)
target_link_libraries(qv_decode_pgm PRIVATE ZXing::ZXing)
target_compile_definitions(qv_decode_pgm PRIVATE ZX_USE_UTF8)
# Debian's python3 before any other on the path: the Python host needs nothing else.
find_program(QV_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(QV_PYTHON3 python3 REQUIRED)
find_program(QV_CC cc REQUIRED)
if(NOT QV_SANITIZE)
    add_test(NAME component_hosts_from_install
        COMMAND ${CMAKE_COMMAND}
            -DQV_BUILD_DIR=${CMAKE_BINARY_DIR}
            -DQV_SOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DQV_WORK_DIR=${CMAKE_BINARY_DIR}/host-examples-test
            -DQV_CC=${QV_CC}
            -DQV_PYTHON=${QV_PYTHON3}
            -DQV_DECODER=$<TARGET_FILE:qv_decode_pgm>
            -P ${CMAKE_CURRENT_LIST_DIR}/RunHostExamples.cmake)
    set_tests_properties(component_hosts_from_install PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endif()
