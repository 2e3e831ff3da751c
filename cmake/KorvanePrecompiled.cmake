# Precompiled headers: the Qt and GoogleTest headers that nearly every window
# and test source includes are parsed once per build, not once per file.
# GCC takes a precompiled header made with other macro definitions as long as
# the header does not use them, so one header serves every test program; other
# compilers get none (the fuzz build is clang's).
option(KORVANE_PRECOMPILE_HEADERS "Precompile the Qt and GoogleTest headers (GCC)" ON)
set(korvane_pch OFF)
if(KORVANE_PRECOMPILE_HEADERS AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(korvane_pch ON)
endif()

set(KORVANE_STD_HEADERS <algorithm> <cmath> <cstdint> <filesystem> <fstream> <functional> <map> <memory>
    <optional> <sstream> <string> <vector>)
set(KORVANE_QT_HEADERS <QAction> <QApplication> <QCheckBox> <QComboBox> <QDir> <QFile> <QFileInfo>
    <QGridLayout> <QGroupBox> <QHBoxLayout> <QLabel> <QLineEdit> <QPlainTextEdit> <QPushButton>
    <QRadioButton> <QString> <QTabWidget> <QTableWidget> <QVBoxLayout> <QWidget>)

# korvane_precompile_gtest(TARGET): GoogleTest and the standard headers the
# tests use.
function(korvane_precompile_gtest target)
  if(korvane_pch)
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h> ${KORVANE_STD_HEADERS})
  endif()
endfunction()

# korvane_precompile_qt(TARGET [EXTRA_HEADERS...]): the Qt Widgets headers the
# windows use, with any more headers the target wants.
function(korvane_precompile_qt target)
  if(korvane_pch)
    target_precompile_headers(${target} PRIVATE ${KORVANE_QT_HEADERS} ${KORVANE_STD_HEADERS} ${ARGN})
  endif()
endfunction()

# korvane_precompile_reuse(TARGET OTHER): TARGET takes OTHER's header.
function(korvane_precompile_reuse target other)
  if(korvane_pch)
    target_precompile_headers(${target} REUSE_FROM ${other})
  endif()
endfunction()
