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
