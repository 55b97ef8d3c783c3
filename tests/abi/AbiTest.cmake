# SPDX-License-Identifier: MIT
# The shared libraries as a distribution's checks see them: read with readelf and nm.
if(BUILD_SHARED_LIBS)
    set(qv_abi_libraries $<TARGET_FILE:qvbarcode_library>)
    if(QV_BUILD_DESIGNER)
        list(APPEND qv_abi_libraries $<TARGET_FILE:qvbarcode_painting>
            $<TARGET_FILE:qvbarcode_widget> $<TARGET_FILE:qvbarcode_quick>)
    endif()
    add_test(NAME shared_libraries_abi
        COMMAND ${CMAKE_COMMAND}
            "-DQV_LIBRARIES=${qv_abi_libraries}"
            -DQV_COMPONENT=$<TARGET_FILE:qvbarcode_component>
            -DQV_PROGRAM=$<TARGET_FILE:qvbarcode>
            -DQV_HEADER=${PROJECT_SOURCE_DIR}/src/component/QvBarCodeComponent.h
            -DQV_WORK_DIR=${CMAKE_CURRENT_BINARY_DIR}
            -P ${CMAKE_CURRENT_LIST_DIR}/CheckLibraries.cmake)
endif()
