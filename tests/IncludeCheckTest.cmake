# cmake -DCHECK=<CheckRulesIncludes.cmake> -DWORK=<folder> -P IncludeCheckTest.cmake
# Plants one include at a time in a small tree of src/'s layers and runs the include check over it:
# every spelling that reaches up must be refused, naming the file, and a tree of allowed includes passes.
cmake_minimum_required(VERSION 3.24)

# file|include|refused (1) or allowed (0)
set(cases
  "rules/store/Planted.cpp|#include <form/MainWindow.h>|1"
  "rules/store/Planted.cpp|#include \"../../form/MainWindow.h\"|1"
  "rules/store/Planted.cpp|  #  include \"view/qt/WindowView.h\"|1"
  "rules/store/Planted.cpp|#include <host/linux/IcuCodePage.h>|1"
  "rules/Planted.h|#include \"../view/win32/Win32View.h\"|1"
  "host/linux/Planted.cpp|#include \"rules/store/RowFormat.h\"|1"
  "host/Planted.cpp|#include <../src/form/MainWindow.h>|1"
  "form/store/Planted.cpp|#include \"view/qt/WindowView.h\"|1"
  "view/win32/Planted.cpp|#include \"../qt/Fonts.h\"|1"
  "view/win32/Planted.cpp|#include \"Layout.h\"|0"
  "rules/store/Planted.cpp|#include \"host/Utf8.h\"|0"
  "rules/store/Planted.cpp|#include \"Decimal.h\"|0"
  "host/linux/Planted.cpp|#include <unicode/ucnv.h>|0"
  "form/store/Planted.cpp|#include \"rules/store/RowFormat.h\"|0"
  "view/qt/Planted.cpp|#include \"form/MainWindow.h\"|0")

set(failures "")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 file)
  list(GET case 1 line)
  list(GET case 2 refused)
  set(root "${WORK}/src")
  file(REMOVE_RECURSE "${WORK}")
  file(WRITE "${root}/${file}" "// planted\n${line}\n#include <string>\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${root} -P ${CHECK} RESULT_VARIABLE result
                  ERROR_VARIABLE said OUTPUT_QUIET)
  if(refused AND (result EQUAL 0 OR NOT said MATCHES "src/${file}"))
    list(APPEND failures "  not refused: ${file}: ${line}")
  elseif(NOT refused AND NOT result EQUAL 0)
    list(APPEND failures "  refused: ${file}: ${line}\n${said}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")

if(failures)
  list(JOIN failures "\n" failures)
  message(FATAL_ERROR "The include check judged wrongly:\n${failures}")
endif()
