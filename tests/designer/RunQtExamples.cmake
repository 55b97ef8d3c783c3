# SPDX-License-Identifier: MIT
# Builds the examples against the installed tree, runs the Qt ones and reads their barcodes
# back from greyscale PGM pictures: the uic form's, the QML label's shown by a C++ program, and
# the PDF label's rasterised by pdftoppm, whose page must be 50 x 30 mm. print-label is built
# once more through pkg-config. Qt's qml tool shows the QML label from the installed module.
#   cmake -DQV_PREFIX=... -DQV_SOURCE_DIR=... -DQV_WORK_DIR=... -DQV_CXX=... -DQV_GENERATOR=...
#         -DQV_DECODE=... -P RunQtExamples.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/ScriptSteps.cmake)
qv_require_variables(QV_PREFIX QV_SOURCE_DIR QV_WORK_DIR QV_CXX QV_GENERATOR QV_DECODE)

function(expect_barcode picture text)
    run(${QV_DECODE} ${picture})
    string(STRIP "${output}" decoded)
    if(NOT decoded STREQUAL text)
        message(FATAL_ERROR "${picture} reads \"${decoded}\", expected \"${text}\"")
    endif()
endfunction()

function(expect_label pdf)
    run(pdfinfo ${pdf})
    # Qt writes the page in whole points: 142 x 85 is 50 x 30 mm within a tenth of one.
    if(NOT output MATCHES "Page size: +(141\\.[0-9]+|142) x 85(\\.[0-9]+)? pts")
        message(FATAL_ERROR "${pdf} is not 50 x 30 mm:\n${output}")
    endif()
    get_filename_component(stem ${pdf} NAME_WE)
    run(pdftoppm -r 300 -gray -singlefile ${pdf} ${QV_WORK_DIR}/${stem})
    expect_barcode(${QV_WORK_DIR}/${stem}.pgm "EAN-13 4006381333931")
endfunction()

file(REMOVE_RECURSE ${QV_WORK_DIR})
file(MAKE_DIRECTORY ${QV_WORK_DIR})
set(ENV{QT_QPA_PLATFORM} offscreen)

run(${CMAKE_COMMAND} -S ${QV_SOURCE_DIR}/examples -B ${QV_WORK_DIR}/build -G ${QV_GENERATOR}
    -DCMAKE_CXX_COMPILER=${QV_CXX} -DCMAKE_PREFIX_PATH=${QV_PREFIX})
run(${CMAKE_COMMAND} --build ${QV_WORK_DIR}/build)

run(${QV_WORK_DIR}/build/label-form --save ${QV_WORK_DIR}/form.pgm)
expect_barcode(${QV_WORK_DIR}/form.pgm "EAN-13 4006381333931")
set(ENV{QT_QUICK_BACKEND} software)
run(${QV_WORK_DIR}/build/qml-label ${QV_SOURCE_DIR}/examples/qml/main.qml --save
    ${QV_WORK_DIR}/qml.pgm)
expect_barcode(${QV_WORK_DIR}/qml.pgm "EAN-13 4006381333931")

# The qml tool shows a window until it is closed: still showing after a few seconds, with
# nothing said, is success.
file(GLOB_RECURSE qmldir ${QV_PREFIX}/qmldir)
get_filename_component(qml_path "${qmldir}/../.." ABSOLUTE)
function(expect_qml_shows file)
    execute_process(COMMAND /usr/lib/qt6/bin/qml -I ${qml_path} ${file}
        TIMEOUT 4 RESULT_VARIABLE status ERROR_VARIABLE err)
    string(REGEX REPLACE "QStandardPaths: [^\n]*\n" "" err "${err}")
    if(NOT status MATCHES "timeout" OR NOT err STREQUAL "")
        message(FATAL_ERROR "qml ended (${status}) showing ${file}:\n${err}")
    endif()
endfunction()
expect_qml_shows(${QV_SOURCE_DIR}/examples/qml/main.qml)

# Every C++, CMake and QML snippet of docs/qt.md, against the installed tree: C++ compiled in
# a function that has what the page's examples have around them, CMake as a project's
# file after its executable `app`, QML shown by the qml tool.
file(READ ${QV_SOURCE_DIR}/docs/qt.md doc)
string(REPLACE ";" "<semicolon>" doc "${doc}")  # a list's separator otherwise
string(REGEX MATCHALL "\n```(cpp|cmake|qml)\n([^`]|`[^`])*\n```" snippets "${doc}")
set(number 0)
file(GLOB_RECURSE pc_file ${QV_PREFIX}/*/qvbarcode-widget.pc)
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
foreach(snippet IN LISTS snippets)
    math(EXPR number "${number} + 1")
    string(REGEX MATCH "^\n```([a-z]+)\n" fence "${snippet}")
    set(language ${CMAKE_MATCH_1})
    string(REGEX REPLACE "^\n```[a-z]+\n" "" snippet "${snippet}")
    string(REGEX REPLACE "```$" "" snippet "${snippet}")
    string(REPLACE "<semicolon>" ";" snippet "${snippet}")
    set(dir ${QV_WORK_DIR}/snippet-${number})
    file(MAKE_DIRECTORY ${dir})
    if(language STREQUAL "cpp")
        file(WRITE ${dir}/snippet.cpp "#include <QPainter>\n#include <QPdfWriter>\n"
            "#include <qvbarcode/QvBarCodeWidget.h>\n"
            "void Snippet(QWidget* form, QPdfWriter& writer, QvBarCodeWidget& barcode) {\n"
            "    const auto dots = [](double mm) { return mm; };\n{\n${snippet}}\n}\n")
        run(sh -c "'${QV_CXX}' -std=c++20 -fsyntax-only '${dir}/snippet.cpp' \
            $(pkg-config --cflags qvbarcode-widget)")
    elseif(language STREQUAL "cmake")
        file(WRITE ${dir}/main.cpp "int main() {}\n")
        file(WRITE ${dir}/CMakeLists.txt "cmake_minimum_required(VERSION 3.25)\n"
            "project(Snippet LANGUAGES CXX)\nadd_executable(app main.cpp)\n${snippet}")
        run(${CMAKE_COMMAND} -S ${dir} -B ${dir}/build -G ${QV_GENERATOR}
            -DCMAKE_CXX_COMPILER=${QV_CXX} -DCMAKE_PREFIX_PATH=${QV_PREFIX})
    else()
        file(WRITE ${dir}/snippet.qml "${snippet}")
        expect_qml_shows(${dir}/snippet.qml)
    endif()
endforeach()
if(number LESS 6)
    message(FATAL_ERROR "only ${number} snippets found in docs/qt.md")
endif()

run(${QV_WORK_DIR}/build/print-label ${QV_WORK_DIR}/label.pdf)
expect_label(${QV_WORK_DIR}/label.pdf)

build_with_pkg_config(${QV_PREFIX} qvbarcode-widget ${QV_SOURCE_DIR}/examples/print-label.cpp
    ${QV_WORK_DIR}/print-label-pc)
run(${QV_WORK_DIR}/print-label-pc ${QV_WORK_DIR}/label-pc.pdf)
expect_label(${QV_WORK_DIR}/label-pc.pdf)
