# SPDX-License-Identifier: MIT
# The Debian packages ./build.sh made from this tree (build/packages/), installed, used from
# /usr as their users use them and purged. It changes /usr, so it runs alone, as root, in the
# plain tree only; without root or without the packages it fails (label `package`, so that a
# run without them can leave it out with -LE package).
if(NOT QV_SANITIZE)
    add_test(NAME debian_packages_install_use_purge
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/InstallPackages.sh ${CMAKE_BINARY_DIR}/packages
            ${PROJECT_VERSION} ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR}/package-test
            $<TARGET_FILE:test_designer_plugin>)
    set_tests_properties(debian_packages_install_use_purge PROPERTIES
        RUN_SERIAL TRUE TIMEOUT 600 LABELS package)
endif()
