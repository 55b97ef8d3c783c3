# SPDX-License-Identifier: MIT
# Checks that docs/component.md quotes examples/host.c faithfully, then installs the build
# into a fresh prefix and runs the two component hosts against the installed files only, as
# their users would: examples/host.c built as plain C11 with -Wall -Werror,
# examples/python/host.py through the qvbarcode package with the system's python3, the library
# found through LD_LIBRARY_PATH; and the header's
# declarations read by cffi (python3-cffi) as a binding reads them. Each must print the
# notifications it hears, and both pictures must be the same EAN-13 as an independent
# decoder reads it.
#   cmake -DQV_BUILD_DIR=... -DQV_SOURCE_DIR=... -DQV_WORK_DIR=... -DQV_CC=... -DQV_PYTHON=...
#         -DQV_DECODER=... -P RunHostExamples.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../support/ScriptSteps.cmake)
qv_require_variables(QV_BUILD_DIR QV_SOURCE_DIR QV_WORK_DIR QV_CC QV_PYTHON QV_DECODER)

# Every C excerpt in docs/component.md is a piece of examples/host.c, word for word.
file(READ ${QV_SOURCE_DIR}/docs/component.md doc)
file(READ ${QV_SOURCE_DIR}/examples/host.c host_c)
while(TRUE)
    string(FIND "${doc}" "```c\n" start)
    if(start EQUAL -1)
        break()
    endif()
    math(EXPR start "${start} + 5")
    string(SUBSTRING "${doc}" ${start} -1 doc)
    string(FIND "${doc}" "```" end)
    string(SUBSTRING "${doc}" 0 ${end} excerpt)
    string(FIND "${host_c}" "${excerpt}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "docs/component.md quotes what examples/host.c does not say:\n${excerpt}")
    endif()
    math(EXPR end "${end} + 3")
    string(SUBSTRING "${doc}" ${end} -1 doc)
endwhile()

set(prefix ${QV_WORK_DIR}/prefix)
file(REMOVE_RECURSE ${QV_WORK_DIR})
file(MAKE_DIRECTORY ${QV_WORK_DIR})
run(${CMAKE_COMMAND} --install ${QV_BUILD_DIR} --prefix ${prefix})
file(GLOB_RECURSE library ${prefix}/*/libqvbarcode-component.so.1)
if(NOT library OR NOT EXISTS ${prefix}/include/qvbarcode/component/QvBarCodeComponent.h)
    message(FATAL_ERROR "the component library or its header was not installed")
endif()
get_filename_component(library_dir "${library}" DIRECTORY)

# The header is strict C11 on its own.
file(WRITE ${QV_WORK_DIR}/header.c "#include <qvbarcode/component/QvBarCodeComponent.h>\n")
run(${QV_CC} -std=c11 -pedantic-errors -Wall -Wextra -Werror -fsyntax-only
    -I${prefix}/include header.c)
# Its declaration block is what a Python binding reads with cffi, and works as it reads it.
run(${QV_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/CffiHost.py
    ${prefix}/include/qvbarcode/component/QvBarCodeComponent.h ${library})
run(${QV_CC} -std=c11 -Wall -Werror -I${prefix}/include ${QV_SOURCE_DIR}/examples/host.c
    -ldl)
file(RENAME ${QV_WORK_DIR}/a.out ${QV_WORK_DIR}/host)

# The Python host is the package's: the library found by its soname, the names Python's.
set(ENV{LD_LIBRARY_PATH} ${library_dir})
set(ENV{PYTHONPATH} ${QV_SOURCE_DIR}/python)
unset(ENV{QVBARCODE_COMPONENT})
set(expected_c "")
set(expected_python "")
foreach(name Text BarCodeType CalculateCheckDigit BarWidth BarHeight BackgroundWhite ShowValue
        PositionX PositionY)
    string(APPEND expected_c "PropertyChanged ${name}\n")
    string(REGEX REPLACE "([a-z])([A-Z])" "\\1_\\2" snake ${name})
    string(TOLOWER ${snake} snake)
    string(APPEND expected_python "PropertyChanged ${snake}\n")
endforeach()
run(${QV_WORK_DIR}/host from-c.pgm)
set(from_c "${output}")
run(${QV_PYTHON} ${QV_SOURCE_DIR}/examples/python/host.py from-python.pgm)
set(from_python "${output}")
foreach(host c python)
    string(APPEND expected_${host} "Pic1 is 295 x 100 pixels, the same barcode\n")
    if(NOT from_${host} STREQUAL expected_${host})
        message(FATAL_ERROR "the ${host} host printed:\n${from_${host}}\nexpected:\n${expected_${host}}")
    endif()
endforeach()

run(${CMAKE_COMMAND} -E compare_files from-c.pgm from-python.pgm)
run(${QV_DECODER} from-c.pgm)
if(NOT output STREQUAL "EAN-13 4006381333931\n")
    message(FATAL_ERROR "the picture reads as: ${output}")
endif()
