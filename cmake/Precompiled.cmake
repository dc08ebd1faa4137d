# Precompiled headers: Qt's and the standard library's headers are parsed once per tree instead of
# once per source file (most of a source file's compile time otherwise). GCC takes a precompiled
# header only when it was made with the same code-generation options, so the libraries and modules
# (all -fPIC) share this one and the test programs (-fPIE) one of their own (tests/CMakeLists.txt);
# -Winvalid-pch makes a mismatch a build error rather than a silent slowdown.

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

# Makes a library or module of Kivo's own use the shared precompiled header. The static libraries
# are compiled position-independent like the modules: GCC 14 refuses a -fPIC header in a -fPIE
# compile, which older GCC let through.
function(kivo_precompiled_library target)
    target_precompile_headers(${target} REUSE_FROM kivo_pch_library)
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
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
