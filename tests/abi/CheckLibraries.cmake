# SPDX-License-Identifier: MIT
# Every library binds its symbols at load time (BIND_NOW), carries the soname libNAME.so.1 and
# no GNU unique symbol; the program is a position-independent executable bound the same way.
# The component exports exactly the functions its C header declares, under its version node;
# the C++ libraries only names of the qv namespace, and the widget and the Qt Quick item with
# what moc and the QML module's registration generate for them, each under a version node.
#   cmake -DQV_LIBRARIES=a;b -DQV_COMPONENT=... -DQV_PROGRAM=... -DQV_HEADER=...
#         -DQV_WORK_DIR=... -P CheckLibraries.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../support/ScriptSteps.cmake)
qv_require_variables(QV_LIBRARIES QV_COMPONENT QV_PROGRAM QV_HEADER QV_WORK_DIR)

function(expect_bound_now file)
    run(readelf -d ${file})
    if(NOT output MATCHES "\\(FLAGS\\)[^\n]*BIND_NOW" AND NOT output MATCHES "\\(FLAGS_1\\)[^\n]*NOW")
        message(FATAL_ERROR "${file} is not bound at load time:\n${output}")
    endif()
    set(dynamic "${output}" PARENT_SCOPE)
endfunction()

# The names file exports, each with its version, and no unique symbol among them.
function(read_exports file)
    run(readelf --dyn-syms --wide ${file})
    if(output MATCHES "UNIQUE")
        message(FATAL_ERROR "${file} has GNU unique symbols, which keep it loaded:\n${output}")
    endif()
    run(nm -DC --defined-only ${file})
    string(REGEX REPLACE "[^\n]* [A-Za-z] " "" names "${output}")
    string(REPLACE ";" "<semicolon>" names "${names}")
    string(REPLACE "\n" ";" names "${names}")
    list(REMOVE_ITEM names "")
    set(exports ${names} PARENT_SCOPE)
endfunction()

foreach(library IN LISTS QV_LIBRARIES QV_COMPONENT)
    expect_bound_now(${library})
    get_filename_component(name ${library} NAME)
    string(REGEX REPLACE "\\.so\\..*" ".so.1" soname ${name})
    if(NOT dynamic MATCHES "Library soname: \\[${soname}\\]")
        message(FATAL_ERROR "${library} has not the soname ${soname}:\n${dynamic}")
    endif()
endforeach()

expect_bound_now(${QV_PROGRAM})
run(readelf -h ${QV_PROGRAM})
if(NOT output MATCHES "Type: +DYN")
    message(FATAL_ERROR "${QV_PROGRAM} is not position-independent:\n${output}")
endif()

# The component: the functions of the header's declaration block, each a versioned export.
file(STRINGS ${QV_HEADER} declared REGEX "^QvStatus [A-Za-z]+\\(")
list(TRANSFORM declared REPLACE "^QvStatus ([A-Za-z]+)\\(.*" "\\1@@QVBARCODE_COMPONENT_1")
list(APPEND declared QVBARCODE_COMPONENT_1)
list(SORT declared)
read_exports(${QV_COMPONENT})
list(SORT exports)
if(NOT exports STREQUAL declared)
    message(FATAL_ERROR "the component exports\n${exports}\ninstead of\n${declared}")
endif()

set(qv_class "(qv::|QvBarCodeWidget|QvBarCodeItem)")
set(allowed "^((typeinfo( name)? for |vtable for |(non-)?virtual thunk to )?${qv_class}.*"
    "|qml_register_types_QvBarCode\\(\\))@@QVBARCODE(_QT)?_1$|^QVBARCODE(_QT)?_1$")
string(JOIN "" allowed ${allowed})
foreach(library IN LISTS QV_LIBRARIES)
    read_exports(${library})
    list(LENGTH exports count)
    message(STATUS "${library}: ${count} exports")
    foreach(symbol IN LISTS exports)
        # The control's state is its own: a program that could link to it would break with it.
        if(symbol MATCHES "QvBarCode::State")
            message(FATAL_ERROR "${library} exports the control's private ${symbol}")
        endif()
        if(NOT symbol MATCHES "${allowed}")
            message(FATAL_ERROR "${library} exports ${symbol}, which is no name of the library's own")
        endif()
    endforeach()
endforeach()
