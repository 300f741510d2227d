# Fails when an include points up the layers: the view, the dialogs and the
# simulator never see the main window (src/app); the view and the simulator
# never see the dialogs; the core never sees Qt.
# Run as: cmake -DROOT=<source dir> -P layering.cmake
set(_rules
  "src/view@#include \"(app|dialogs)/"
  "src/dialogs@#include \"app/"
  "simulator@#include \"(app|dialogs)/"
  "src/base@#include <Q"
  "src/geometry@#include <Q"
  "src/dxf@#include <Q"
  "src/cycles@#include <Q"
  "src/ncout@#include <Q"
  "src/project@#include <Q")
set(_found "")
foreach(_rule IN LISTS _rules)
  string(REPLACE "@" ";" _parts "${_rule}")
  list(GET _parts 0 _folder)
  list(GET _parts 1 _pattern)
  file(GLOB_RECURSE _files ${ROOT}/${_folder}/*.h ${ROOT}/${_folder}/*.cpp)
  foreach(_file IN LISTS _files)
    file(STRINGS ${_file} _hits REGEX "${_pattern}")
    foreach(_hit IN LISTS _hits)
      string(APPEND _found "${_file}: ${_hit}\n")
    endforeach()
  endforeach()
endforeach()
if(_found)
  message(FATAL_ERROR "Includes that point up the layers:\n${_found}")
endif()
