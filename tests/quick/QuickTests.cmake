# SPDX-License-Identifier: MIT
# The widget and the QML module on screens of every usual scale factor, read back with ZXing:
# one run of test_quick per factor. The QML example finds the module in the build's qml folder.
find_package(Qt6 REQUIRED COMPONENTS Quick Qml)
add_executable(test_quick ${CMAKE_CURRENT_LIST_DIR}/ScaleFactorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../designer/QtTestApplication.cpp)
target_link_libraries(test_quick PRIVATE QvBarCode::widget Qt6::Quick Qt6::Qml Qt6::Test
    GTest::gtest ZXing::ZXing)
target_compile_definitions(test_quick PRIVATE ZX_USE_UTF8 QV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QV_QML_IMPORT_PATH="${CMAKE_BINARY_DIR}/qml")
add_dependencies(test_quick qvbarcode_quickplugin)
foreach(factor 1 1.25 1.5 2 3)
    add_test(NAME quick_scale_factor_${factor} COMMAND test_quick)
    set_tests_properties(quick_scale_factor_${factor} PROPERTIES ENVIRONMENT_MODIFICATION
        "QT_QPA_PLATFORM=set:offscreen;QT_QUICK_BACKEND=set:software;QT_SCALE_FACTOR=set:${factor}")
endforeach()
