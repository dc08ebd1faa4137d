# Precompiled headers: Qt's, the standard library's and, for the tests, GoogleTest's and
# cpp-httplib's headers are parsed once per tree instead of once per source file (most of a
# source file's compile time otherwise). GCC takes a precompiled header only when it was made with
# the same code-generation options, so there is one for position-independent code (libraries and
# modules) and one for executables (-fPIE); -Winvalid-pch makes a mismatch a build error rather
# than a silent slowdown.

set(KIVO_PCH_COMMON
    <algorithm> <array> <chrono> <filesystem> <fstream> <functional> <map> <memory> <optional>
    <sstream> <string> <string_view> <thread> <vector>
    <QApplication> <QCoreApplication> <QDir> <QFile> <QGuiApplication> <QImage> <QLabel> <QLineEdit>
    <QLoggingCategory> <QObject> <QPainter> <QPixmap> <QPointer> <QPushButton> <QScreen> <QString>
    <QStringList> <QTimer> <QUrl> <QWidget> <QKeyEvent> <QMouseEvent>)

add_library(kivo_pch_library STATIC ${CMAKE_CURRENT_LIST_DIR}/empty.cpp)
target_link_libraries(kivo_pch_library PRIVATE Qt6::Widgets)
set_target_properties(kivo_pch_library PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_precompile_headers(kivo_pch_library PRIVATE ${KIVO_PCH_COMMON})

# Makes a library or module of Kivo's own use the shared precompiled header.
function(kivo_precompiled_library target)
    target_precompile_headers(${target} REUSE_FROM kivo_pch_library)
    target_compile_options(${target} PRIVATE -Winvalid-pch)
endfunction()

# Test code is compiled for compile speed (most of a test file's time is code generation for
# GoogleTest's macros); the code under test keeps the build's own optimisation.
set(KIVO_TEST_COMPILE_OPTIONS -O1 -g1)

add_executable(kivo_pch_tests ${CMAKE_CURRENT_LIST_DIR}/empty.cpp)
target_compile_options(kivo_pch_tests PRIVATE ${KIVO_TEST_COMPILE_OPTIONS})
find_package(GTest REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(PCH_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
target_link_libraries(kivo_pch_tests PRIVATE Qt6::Widgets Qt6::Network GTest::gtest_main PkgConfig::PCH_HTTPLIB)
target_precompile_headers(kivo_pch_tests PRIVATE ${KIVO_PCH_COMMON} <gtest/gtest.h> <httplib.h>)

# Makes a test program use the tests' precompiled header.
function(kivo_precompiled_test target)
    target_precompile_headers(${target} REUSE_FROM kivo_pch_tests)
    target_compile_options(${target} PRIVATE -Winvalid-pch)
endfunction()

# Every target defined in a folder and the folders below it.
function(kivo_targets_below dir out)
    get_directory_property(targets DIRECTORY ${dir} BUILDSYSTEM_TARGETS)
    get_directory_property(subdirs DIRECTORY ${dir} SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        kivo_targets_below(${sub} below)
        list(APPEND targets ${below})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()
