# SPDX-License-Identifier: MIT
# The README's C++ example is examples/minimal.cpp, word for word; the example itself is built
# and run here too, so the sanitizer build checks it as well (the installed-package test
# builds it only in a plain build).
add_test(NAME readme_example_matches
    COMMAND ${CMAKE_COMMAND}
        -DQV_README=${PROJECT_SOURCE_DIR}/README.md
        -DQV_EXAMPLE=${PROJECT_SOURCE_DIR}/examples/minimal.cpp
        -P ${CMAKE_CURRENT_LIST_DIR}/CompareReadmeExample.cmake)

# An example built against the installed library and run by RunReadmeExample.cmake, which checks the
# picture it writes.
function(qv_add_example_run target source test output)
    add_executable(${target} ${PROJECT_SOURCE_DIR}/examples/${source})
    target_link_libraries(${target} PRIVATE qvbarcode_library)
    add_test(NAME ${test}
        COMMAND ${CMAKE_COMMAND}
            -DQV_PROGRAM=$<TARGET_FILE:${target}>
            -DQV_OUTPUT=${CMAKE_CURRENT_BINARY_DIR}/${output}
            -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/RunReadmeExample.cmake)
endfunction()

qv_add_example_run(example_minimal minimal.cpp readme_example_runs readme-example.png)
# The cairo example draws onto its own context; the surface's own test checks its pixels.
qv_add_example_run(example_cairo_label cairo_label.cpp example_cairo_label_runs cairo-label.png)
