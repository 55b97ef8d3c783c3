# The README's C++ example is examples/minimal.cpp, word for word; the example itself is built
# and run here too, so the sanitizer build checks it as well (the installed-package test
# builds it only in a plain build).
add_test(NAME readme_example_matches
    COMMAND ${CMAKE_COMMAND}
        -DQV_README=${PROJECT_SOURCE_DIR}/README.md
        -DQV_EXAMPLE=${PROJECT_SOURCE_DIR}/examples/minimal.cpp
        -P ${CMAKE_CURRENT_LIST_DIR}/CompareReadmeExample.cmake)

add_executable(example_minimal ${PROJECT_SOURCE_DIR}/examples/minimal.cpp)
target_link_libraries(example_minimal PRIVATE QvBarCode::qvbarcode)
add_test(NAME readme_example_runs
    COMMAND ${CMAKE_COMMAND}
        -DQV_PROGRAM=$<TARGET_FILE:example_minimal>
        -DQV_OUTPUT=${CMAKE_CURRENT_BINARY_DIR}/readme-example.png
        -P ${CMAKE_CURRENT_LIST_DIR}/RunReadmeExample.cmake)

# The cairo example draws onto its own context; the surface's own test checks its pixels.
add_executable(example_cairo_label ${PROJECT_SOURCE_DIR}/examples/cairo_label.cpp)
target_link_libraries(example_cairo_label PRIVATE QvBarCode::qvbarcode)
add_test(NAME example_cairo_label_runs
    COMMAND ${CMAKE_COMMAND}
        -DQV_PROGRAM=$<TARGET_FILE:example_cairo_label>
        -DQV_OUTPUT=${CMAKE_CURRENT_BINARY_DIR}/cairo-label.png
        -P ${CMAKE_CURRENT_LIST_DIR}/RunReadmeExample.cmake)
