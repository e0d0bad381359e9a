# cmake -DROOT=<src> -DSOURCES=<a|b|...> -DCORE=<a|b|...> -P CheckRulesIncludes.cmake
# Fails when a file of the rules library (SOURCES) includes a file that is neither one of the rules nor
# a platform interface (a header directly in platform/): the rules must build and be tested without the
# window, its handlers or a view. Fails too when a file of orvanta_core (CORE) outside app/ includes
# app/ without being a handler file (…Handlers.cpp), the one kind of file outside app/ that may.
cmake_minimum_required(VERSION 3.24)
string(REPLACE "|" ";" sources "${SOURCES}")
set(rules "")
foreach(source IN LISTS sources)
  get_filename_component(source "${source}" ABSOLUTE BASE_DIR "${ROOT}")
  list(APPEND rules "${source}")
endforeach()

set(violations "")
foreach(file IN LISTS rules)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  get_filename_component(folder "${file}" DIRECTORY)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" name "${line}")
    # As the compiler looks: beside the including file first, then from src/.
    if(EXISTS "${folder}/${name}")
      get_filename_component(included "${folder}/${name}" ABSOLUTE)
    else()
      get_filename_component(included "${ROOT}/${name}" ABSOLUTE)
    endif()
    if(included IN_LIST rules)
      continue()
    endif()
    get_filename_component(includedFolder "${included}" DIRECTORY)
    if(includedFolder STREQUAL "${ROOT}/host" AND included MATCHES "\\.h$")
      continue()
    endif()
    file(RELATIVE_PATH shown "${ROOT}" "${file}")
    list(APPEND violations "  src/${shown} includes \"${name}\"")
  endforeach()
endforeach()

string(REPLACE "|" ";" core "${CORE}")
foreach(file IN LISTS core)
  get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${ROOT}")
  string(FIND "${file}" "${ROOT}/form/" inApp)
  if(inApp EQUAL 0 OR file MATCHES "Handlers\\.cpp$")
    continue()
  endif()
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"(\\.\\./)*form/")
  foreach(line IN LISTS lines)
    file(RELATIVE_PATH shown "${ROOT}" "${file}")
    list(APPEND violations "  src/${shown}, not a handler file, includes app/: ${line}")
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n" violations)
  message(FATAL_ERROR "A file reaches further up than its kind may:\n${violations}\n"
                      "Move what a rule needs down into the rules (orvanta_rules), and name a file of "
                      "MainWindow members …Handlers.cpp.")
endif()
