# SPDX-License-Identifier: MIT
# The widget, the painter surface and the property dialog under Qt's display-less platform.
find_package(Qt6 REQUIRED COMPONENTS Gui Test Designer)
qv_add_test_suite(designer qvbarcode_pagedialog Qt6::Test
    PROPERTIES ENVIRONMENT_MODIFICATION QT_QPA_PLATFORM=set:offscreen)

# One failed call through every entry point: the control, the widget, its dialog, the
# component's exports and the program.
qv_add_test_suite(entry qvbarcode_pagedialog Qt6::Test ${CMAKE_DL_LIBS}
    PROPERTIES ENVIRONMENT_MODIFICATION QT_QPA_PLATFORM=set:offscreen)
target_sources(test_entry PRIVATE ${CMAKE_CURRENT_LIST_DIR}/QtTestApplication.cpp)
target_compile_definitions(test_entry PRIVATE
    QV_COMPONENT_LIBRARY="$<TARGET_FILE:qvbarcode_component>" QV_CLI_PROGRAM="$<TARGET_FILE:qvbarcode>")
add_dependencies(test_entry qvbarcode_component qvbarcode)

# The installed tree, without a library search path: the Qt Designer plugin loaded from it
# and driven by Designer's own form editor, and the examples (a uic form, a PDF label) built
# against it, run and read back by the host examples' PGM reader. A sanitizer build leaves the
# examples out: they are built as users build them, without the sanitizer's run-time.

# Qt ships no CMake target for Designer's components outside its private packages; its
# one public header comes with Qt6::Designer.
find_library(QV_DESIGNER_COMPONENTS Qt6DesignerComponents REQUIRED)
add_executable(test_designer_plugin ${CMAKE_CURRENT_LIST_DIR}/plugin/DesignerPluginTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtTestApplication.cpp)
target_include_directories(test_designer_plugin PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(test_designer_plugin PRIVATE QvBarCode::qvbarcode GTest::gtest
    GTest::gtest_main Qt6::Designer Qt6::Test ${QV_DESIGNER_COMPONENTS})
add_dependencies(test_designer_plugin qvbarcode_designer_plugin)

set(qt_prefix ${CMAKE_CURRENT_BINARY_DIR}/qt-prefix)
set(qt_plugins ${qt_prefix}/${CMAKE_INSTALL_LIBDIR}/qt6/plugins)
add_test(NAME qt_install COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${qt_prefix})
set_tests_properties(qt_install PROPERTIES FIXTURES_SETUP qt_prefix RESOURCE_LOCK qt_prefix)

add_test(NAME designer_plugin_installed COMMAND test_designer_plugin)
set_tests_properties(designer_plugin_installed PROPERTIES FIXTURES_REQUIRED qt_prefix
    ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen;LD_LIBRARY_PATH=unset:;QT_PLUGIN_PATH=set:${qt_plugins};QV_DESIGNER_PLUGINS=set:${qt_plugins}/designer")

if(NOT QV_SANITIZE)
    add_test(NAME qt_examples_installed
        COMMAND ${CMAKE_COMMAND}
            -DQV_PREFIX=${qt_prefix}
            -DQV_SOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DQV_WORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/qt-examples
            -DQV_CXX=${CMAKE_CXX_COMPILER}
            -DQV_GENERATOR=${CMAKE_GENERATOR}
            -DQV_DECODE=$<TARGET_FILE:qv_decode_pgm>
            -P ${CMAKE_CURRENT_LIST_DIR}/RunQtExamples.cmake)
    set_tests_properties(qt_examples_installed PROPERTIES FIXTURES_REQUIRED qt_prefix TIMEOUT 600)
endif()
