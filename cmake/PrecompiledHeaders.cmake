# Library headers are most of the compile time of the Qt files and of the
# test files. Two targets compile them once per build, and the Qt targets
# and the GoogleTest executables reuse them. Each is built with the flags its
# users share (for Qt: the modules' definitions, QT_NO_CAST_*,
# position-independent code; for the tests: their optimisation level); a
# target whose flags differ still compiles, only without the speed-up.
# Our own headers stay out: they change too often.

if(TAVRIN_PCH)
  add_library(tavrin_qt_pch STATIC ${CMAKE_CURRENT_LIST_DIR}/PrecompiledHeader.cpp)
  # Widgets alone: every Qt target links it, and one that links more only
  # adds definitions the headers do not read.
  target_link_libraries(tavrin_qt_pch PRIVATE Qt6::Widgets)
  target_compile_definitions(tavrin_qt_pch PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
  # The widgets the forms are built of, not the whole module: a header twice
  # the size loads slower in every file than it saves.
  target_precompile_headers(tavrin_qt_pch PRIVATE
    <QApplication> <QWidget> <QDialog> <QMainWindow> <QMdiArea> <QMdiSubWindow>
    <QLabel> <QLineEdit> <QPushButton> <QComboBox> <QGroupBox> <QRadioButton> <QCheckBox>
    <QTableWidget> <QHeaderView> <QMenuBar> <QMenu> <QMessageBox> <QBoxLayout> <QGridLayout>
    <QPainter> <QImage> <QKeyEvent>
    <functional> <memory> <optional> <string> <string_view> <vector>)
  set_target_properties(tavrin_qt_pch PROPERTIES AUTOMOC OFF)
endif()

function(tavrin_use_qt_pch target)
  if(TAVRIN_PCH)
    target_precompile_headers(${target} REUSE_FROM tavrin_qt_pch)
  endif()
endfunction()

# The GoogleTest suites are template-heavy and run in milliseconds: optimising
# them would cost most of a build and buy nothing. The code they test keeps
# the build's optimisation.
set(TAVRIN_GTEST_COMPILE_OPTIONS -O0 CACHE STRING "Extra compile options of the GoogleTest executables")

if(TAVRIN_BUILD_TESTS AND TAVRIN_PCH)
  add_library(tavrin_gtest_pch STATIC ${CMAKE_CURRENT_LIST_DIR}/PrecompiledHeader.cpp)
  target_link_libraries(tavrin_gtest_pch PRIVATE GTest::gtest GTest::gmock)
  target_compile_options(tavrin_gtest_pch PRIVATE ${TAVRIN_GTEST_COMPILE_OPTIONS})
  set(json_header)
  if(nlohmann_json_FOUND)
    target_link_libraries(tavrin_gtest_pch PRIVATE nlohmann_json::nlohmann_json)
    set(json_header <nlohmann/json.hpp>)
  endif()
  target_precompile_headers(tavrin_gtest_pch PRIVATE
    <gtest/gtest.h> <gmock/gmock.h> ${json_header}
    <array> <cmath> <functional> <map> <memory> <optional> <span> <sstream> <string> <string_view> <vector>)
  set_target_properties(tavrin_gtest_pch PROPERTIES AUTOMOC OFF)
endif()

# Compile options and the precompiled header of a GoogleTest executable.
function(tavrin_gtest_options target)
  target_compile_options(${target} PRIVATE ${TAVRIN_GTEST_COMPILE_OPTIONS})
  if(TARGET tavrin_gtest_pch)
    target_precompile_headers(${target} REUSE_FROM tavrin_gtest_pch)
  endif()
endfunction()
