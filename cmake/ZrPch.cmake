# Precompiled headers (ZR_PCH, on by default): most of a build's time goes to
# parsing the same standard, Qt and GoogleTest headers in every file. A target
# either precompiles a set of its own or reuses another's; reuse needs the
# same compiler flags, position-independence included (libraries are built
# with -fPIC, programs with -fPIE), so programs reuse programs only.

set(ZR_PCH_STD <algorithm> <array> <atomic> <chrono> <cstdint> <cstdio> <cstdlib> <cstring>
               <functional> <memory> <mutex> <optional> <string> <string_view> <thread>
               <vector>)
set(ZR_PCH_QT <QApplication> <QDialog> <QLabel> <QLineEdit> <QPainter> <QPushButton>
              <QRadioButton> <QString> <QWidget> <QComboBox> <QCheckBox> <QGroupBox>
              <QScrollBar> <QKeyEvent> <QAbstractButton> <QPointer>)
set(ZR_PCH_GTEST <gtest/gtest.h> <filesystem> <fstream> <sstream>)

# zr_precompile_shared(<target> <kind> <headers...>): the first target of a
# kind precompiles the headers, later ones of that kind reuse its result.
function(zr_precompile_shared target kind)
  if(NOT ZR_PCH)
    return()
  endif()
  get_property(owner GLOBAL PROPERTY ZR_PCH_OWNER_${kind})
  if(owner)
    target_precompile_headers(${target} REUSE_FROM ${owner})
  else()
    target_precompile_headers(${target} PRIVATE ${ARGN})
    set_property(GLOBAL PROPERTY ZR_PCH_OWNER_${kind} ${target})
  endif()
endfunction()
