# SPDX-License-Identifier: MIT
# What `cmake --install` puts down: the library with its public headers, the component library,
# the programs, the man page, and the CMake package and pkg-config files through which other
# projects find them.
include(CMakePackageConfigHelpers)

set(QV_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/QvBarCode)

install(TARGETS qvbarcode_library EXPORT QvBarCodeTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# A header added to the list reaches the install at the next build, not only at a new configure.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_LIST_DIR}/PublicHeaders.txt)
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/PublicHeaders.txt QV_PUBLIC_HEADERS REGEX "^[^#]")
foreach(header IN LISTS QV_PUBLIC_HEADERS)
    get_filename_component(folder ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/src/${header}
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qvbarcode/${folder})
endforeach()

# The component is loaded by hosts with dlopen, by its soname; its C header is among the
# public ones.
install(TARGETS qvbarcode_component LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

install(TARGETS qvbarcode RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/apps/qvbarcode/qvbarcode.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(EXPORT QvBarCodeTargets
    NAMESPACE QvBarCode::
    DESTINATION ${QV_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QvBarCodeConfig.cmake.in
    ${CMAKE_BINARY_DIR}/QvBarCodeConfig.cmake
    INSTALL_DESTINATION ${QV_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QvBarCodeConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/QvBarCodeConfig.cmake
    ${CMAKE_BINARY_DIR}/QvBarCodeConfigVersion.cmake
    DESTINATION ${QV_INSTALL_CMAKEDIR})

# The prefix is found from the file's own place, so that `cmake --install --prefix` elsewhere
# gives a working file too.
file(RELATIVE_PATH QV_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" QV_PC_TO_PREFIX "${QV_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/qvbarcode.pc.in ${CMAKE_BINARY_DIR}/qvbarcode.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/qvbarcode.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The Qt widget library, its headers and its own pkg-config file; its CMake targets are a
# file of their own, which the package loads when Qt 6 Widgets can be found. The Qt
# Designer plugin goes where Qt Designer looks under the prefix. (A fuzz tree builds the
# widget alone, to test it, not to install it.)
if(QV_BUILD_DESIGNER)
    install(TARGETS qvbarcode_painting EXPORT QvBarCodePaintingTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/qt/painting/QPainterSurface.h
        ${PROJECT_SOURCE_DIR}/qt/painting/BarcodePicture.h
        ${PROJECT_SOURCE_DIR}/qt/painting/DeviceBarcode.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qvbarcode)
    install(EXPORT QvBarCodePaintingTargets
        NAMESPACE QvBarCode::
        DESTINATION ${QV_INSTALL_CMAKEDIR})
    install(TARGETS qvbarcode_widget EXPORT QvBarCodeWidgetTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/qt/widget/QvBarCodeWidget.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qvbarcode)
    install(EXPORT QvBarCodeWidgetTargets
        NAMESPACE QvBarCode::
        DESTINATION ${QV_INSTALL_CMAKEDIR})
    configure_file(${CMAKE_CURRENT_LIST_DIR}/qvbarcode-widget.pc.in
        ${CMAKE_BINARY_DIR}/qvbarcode-widget.pc @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/qvbarcode-widget.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
    install(TARGETS qvbarcode_designer_plugin
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/qt6/plugins/designer)

    # The QML module where Qt looks under the prefix (lib/<arch>/qt6/qml for /usr), and its
    # library for C++ programs, with the objects qt_add_qml_module made beside it when static.
    set(qv_qml_module ${CMAKE_INSTALL_LIBDIR}/qt6/qml/QvBarCode)
    install(TARGETS qvbarcode_quickplugin LIBRARY DESTINATION ${qv_qml_module})
    install(FILES ${QV_QML_OUTPUT}/qmldir ${QV_QML_OUTPUT}/qvbarcode_quick.qmltypes
        DESTINATION ${qv_qml_module})
    install(TARGETS qvbarcode_quick ${QV_QUICK_OUTPUT_TARGETS} EXPORT QvBarCodeQuickTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        OBJECTS DESTINATION ${CMAKE_INSTALL_LIBDIR}/qvbarcode-quick)
    install(FILES ${PROJECT_SOURCE_DIR}/qt/quick/QvBarCodeItem.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qvbarcode)
    install(EXPORT QvBarCodeQuickTargets
        NAMESPACE QvBarCode::
        DESTINATION ${QV_INSTALL_CMAKEDIR})
endif()
