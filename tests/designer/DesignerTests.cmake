# The designer's widgets under Qt's display-less platform, and one picture of the dialog
# on a virtual X display, which must not be skipped for want of Xvfb.
find_package(Qt6 REQUIRED COMPONENTS Test)
# The screenshot runs only as its own test below, so it is left out of the offscreen list.
qv_add_test_suite(designer qvbarcode_designer_ui Qt6::Test TEST_FILTER "-Screenshot.*"
    PROPERTIES ENVIRONMENT_MODIFICATION QT_QPA_PLATFORM=set:offscreen)

add_test(NAME designer_screenshot
    COMMAND sh -c "command -v xvfb-run >/dev/null 2>&1 || { echo 'xvfb-run is missing: install xvfb and xauth' >&2; exit 1; }; exec xvfb-run -a \"$0\" --gtest_filter=Screenshot.*"
        $<TARGET_FILE:test_designer>)
set_tests_properties(designer_screenshot PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;QV_SCREENSHOT_DIR=${CMAKE_CURRENT_BINARY_DIR}"
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\."
    FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
