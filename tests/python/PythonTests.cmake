# SPDX-License-Identifier: MIT
# The Python package over this build's component library, run by Debian's python3 (found by
# ConsumerTest.cmake) with its unittest: the package's own test, and docs/python.md with its
# pip command and example. The sanitizer tree's library would need its run-time preloaded into
# Python, so it is left out there.
if(NOT QV_SANITIZE)
    set(qv_python_environment
        QVBARCODE_COMPONENT=$<TARGET_FILE:qvbarcode_component>
        QV_SOURCE_DIR=${PROJECT_SOURCE_DIR}
        PYTHONPATH=${PROJECT_SOURCE_DIR}/python
        PYTHONDONTWRITEBYTECODE=1)
    add_test(NAME python_package
        COMMAND ${QV_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/PackageTest.py
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    add_test(NAME python_docs_run
        COMMAND ${QV_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/DocsTest.py ${PROJECT_SOURCE_DIR}
            ${CMAKE_CURRENT_BINARY_DIR}/python-docs-test)
    set_tests_properties(python_package python_docs_run PROPERTIES
        ENVIRONMENT "${qv_python_environment}" TIMEOUT 300)
endif()
