# SPDX-License-Identifier: MIT
# Installs the build into a fresh prefix, then builds and runs the library example against
# it twice: as a CMake package and through pkg-config.
#   cmake -DQV_BUILD_DIR=... -DQV_SOURCE_DIR=... -DQV_WORK_DIR=... -DQV_CXX=...
#         -DQV_GENERATOR=... -P RunConsumerTest.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/ScriptSteps.cmake)
qv_require_variables(QV_BUILD_DIR QV_SOURCE_DIR QV_WORK_DIR QV_CXX QV_GENERATOR)

function(expect_png path)
    if(NOT EXISTS ${path})
        message(FATAL_ERROR "${path} was not written")
    endif()
    file(READ ${path} signature LIMIT 4 HEX)
    if(NOT signature STREQUAL "89504e47")
        message(FATAL_ERROR "${path} is no PNG")
    endif()
endfunction()

set(prefix ${QV_WORK_DIR}/prefix)
set(example ${QV_SOURCE_DIR}/examples/minimal.cpp)
file(REMOVE_RECURSE ${QV_WORK_DIR})
file(MAKE_DIRECTORY ${QV_WORK_DIR})

run(${CMAKE_COMMAND} --install ${QV_BUILD_DIR} --prefix ${prefix})
foreach(installed bin/qvbarcode share/man/man1/qvbarcode.1 include/qvbarcode/control/QvBarCode.h)
    if(NOT EXISTS ${prefix}/${installed})
        message(FATAL_ERROR "not installed: ${installed}")
    endif()
endforeach()
# Only the public headers: an internal one stays in the source tree.
if(EXISTS ${prefix}/include/qvbarcode/host/CheckedInt.h)
    message(FATAL_ERROR "an internal header was installed: host/CheckedInt.h")
endif()
run(${prefix}/bin/qvbarcode --version)

run(${CMAKE_COMMAND} -S ${QV_SOURCE_DIR}/tests/consumer -B ${QV_WORK_DIR}/cmake-build
    -G ${QV_GENERATOR} -DCMAKE_CXX_COMPILER=${QV_CXX} -DCMAKE_PREFIX_PATH=${prefix}
    -DQV_EXAMPLE=${example} -DQV_CAIRO_EXAMPLE=${QV_SOURCE_DIR}/examples/cairo_label.cpp)
run(${CMAKE_COMMAND} --build ${QV_WORK_DIR}/cmake-build)
run(${QV_WORK_DIR}/cmake-build/minimal ${QV_WORK_DIR}/from-cmake.png)
expect_png(${QV_WORK_DIR}/from-cmake.png)
run(${QV_WORK_DIR}/cmake-build/cairo_label ${QV_WORK_DIR}/cairo-label.png)
expect_png(${QV_WORK_DIR}/cairo-label.png)

# The pkg-config file asks for what the installed headers include and no more: no language
# standard, the include folder above qvbarcode/, the libraries linked into the library only
# for a static link.
build_with_pkg_config(${prefix} qvbarcode ${example} ${QV_WORK_DIR}/minimal-pc)
run(pkg-config --print-requires qvbarcode)
if(NOT output STREQUAL "cairo\n")
    message(FATAL_ERROR "qvbarcode.pc requires '${output}' instead of cairo alone")
endif()
run(pkg-config --cflags-only-other --cflags-only-I qvbarcode)
if(output MATCHES "-std=|/qvbarcode( |\n|$)")
    message(FATAL_ERROR "qvbarcode.pc sets a language standard or includes below qvbarcode/: ${output}")
endif()
run(pkg-config --static --libs qvbarcode)
foreach(library -lqvbarcode -lpng16 -lisal -licuuc -lfontconfig)
    if(NOT output MATCHES "${library}( |\n)")
        message(FATAL_ERROR "a static link of qvbarcode.pc misses ${library}: ${output}")
    endif()
endforeach()
run(${QV_WORK_DIR}/minimal-pc ${QV_WORK_DIR}/from-pkg-config.png)
expect_png(${QV_WORK_DIR}/from-pkg-config.png)
