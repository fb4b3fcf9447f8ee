# Qt's headers are most of the compile time of every Qt file. One target
# compiles them once per build; every Qt target reuses that precompiled
# header. It is built with the flags all Qt targets share (the Qt modules'
# definitions, QT_NO_CAST_*, position-independent code); a target whose
# flags differ still compiles, only without the speed-up.
if(TAVRIN_QT_PCH)
  add_library(tavrin_qt_pch STATIC ${CMAKE_CURRENT_LIST_DIR}/QtPrecompiledHeader.cpp)
  target_link_libraries(tavrin_qt_pch PRIVATE Qt6::Widgets Qt6::Svg)
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
  if(TAVRIN_QT_PCH)
    target_precompile_headers(${target} REUSE_FROM tavrin_qt_pch)
  endif()
endfunction()
