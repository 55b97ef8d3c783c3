# SPDX-License-Identifier: MIT
# The steps the tests' cmake -P scripts share: each builds or runs something in QV_WORK_DIR
# and stops the script with what it printed when that fails.

# Stops the script when one of the named variables was not given with -D.
function(qv_require_variables)
    foreach(variable ${ARGN})
        if(NOT DEFINED ${variable})
            message(FATAL_ERROR "${variable} is not set")
        endif()
    endforeach()
endfunction()

# Runs the command in QV_WORK_DIR; what it wrote to standard output is left in `output`.
function(run)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${QV_WORK_DIR} RESULT_VARIABLE status
        OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}${err}")
    endif()
    set(output "${out}" PARENT_SCOPE)
endfunction()

# Builds source into program with the compiler QV_CXX alone, in C++20 as a user asks for it,
# taking the other flags from the package's pkg-config file installed under prefix, with
# --static when the library was installed as an archive.
function(build_with_pkg_config prefix package source program)
    file(GLOB_RECURSE pc_file ${prefix}/*/${package}.pc)
    get_filename_component(pc_dir "${pc_file}" DIRECTORY)
    set(ENV{PKG_CONFIG_PATH} ${pc_dir})
    set(static "")
    if(NOT EXISTS ${pc_dir}/../lib${package}.so)
        set(static "--static")
    endif()
    run(sh -c "'${QV_CXX}' -std=c++20 '${source}' $(pkg-config ${static} --cflags --libs ${package}) \
        -Wl,-rpath,$(pkg-config --variable=libdir ${package}) -o '${program}'")
endfunction()
