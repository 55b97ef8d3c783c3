# SPDX-License-Identifier: MIT
# How every object of the tree is built: hardened as a distribution builds its packages, and
# with names hidden unless marked QV_EXPORT, so that a shared library shows only its face.
include(CheckPIESupported)
check_pie_supported()

set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)

add_compile_options(-fstack-protector-strong)
# Fortified calls need the optimiser; a debug build would only be warned (an error here).
add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>
    $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
add_link_options(LINKER:-z,relro LINKER:-z,now)
# A GNU unique symbol (a static local of an inline function, an inline variable) makes the
# loader keep a library mapped after its last dlclose; a plain weak one does not.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-fno-gnu-unique)
endif()

# The installed libraries and plugins find the project's other libraries beside them, from
# any prefix; under a prefix whose libraries the loader finds anyway they carry no path.
list(FIND CMAKE_PLATFORM_IMPLICIT_LINK_DIRECTORIES ${CMAKE_INSTALL_FULL_LIBDIR} qv_system_libdir)
if(qv_system_libdir EQUAL -1)
    set(QV_INSTALL_RPATH_FROM_LIBDIR "$ORIGIN")
else()
    set(QV_INSTALL_RPATH_FROM_LIBDIR "")
endif()

if(BUILD_SHARED_LIBS)
    set(QV_LIBRARY_TYPE SHARED)
else()
    set(QV_LIBRARY_TYPE STATIC)
endif()

# qv_ship_library(TARGET NAME VERSION_SCRIPT): the installed library libNAME, versioned as the
# project (libNAME.so.1 its soname) and exporting what its version script lets out.
function(qv_ship_library target name script)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name}
        VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
        INSTALL_RPATH "${QV_INSTALL_RPATH_FROM_LIBDIR}")
    if(QV_LIBRARY_TYPE STREQUAL SHARED)
        target_link_options(${target} PRIVATE LINKER:--version-script=${script})
        # clang leaves a sanitized library's run-time to the program that loads it.
        if(NOT QV_FUZZ)
            target_link_options(${target} PRIVATE LINKER:--no-undefined)
        endif()
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${script})
    endif()
endfunction()
