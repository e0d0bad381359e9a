# The files that name the program's version beside CMakeLists.txt must name the project's version:
# the newest release of the AppStream metadata, the newest entry of the Debian changelog, the
# manual pages and the Windows manifest. Fails naming each file that differs.
# Usage: cmake -DVERSION=<project version> -DSOURCE=<source folder> -P cmake/CheckVersion.cmake
set(checks
    "assets/example.orvanta.Orvanta.metainfo.xml|<release version=\"([^\"]*)\""
    "debian/changelog|^orvanta \\(([^)]*)\\)"
    "assets/orvanta.1|\"Orvanta ([^\"]*)\""
    "assets/orvanta.ja.1|\"Orvanta ([^\"]*)\""
    "src/view/win32/orvanta.manifest|name=\"Orvanta\" version=\"([^\"]*)\\.0\"")
set(wrong "")
foreach(check IN LISTS checks)
  string(REPLACE "|" ";" fileAndPattern "${check}")
  list(GET fileAndPattern 0 file)
  list(GET fileAndPattern 1 pattern)
  file(READ "${SOURCE}/${file}" text)
  # The first match is the newest: releases and changelog entries stand newest first.
  string(REGEX MATCH "${pattern}" found "${text}")
  if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    string(APPEND wrong "\n  ${file}: \"${CMAKE_MATCH_1}\"")
  endif()
endforeach()
if(wrong)
  message(FATAL_ERROR "These files do not name version ${VERSION} (project(VERSION) in CMakeLists.txt):${wrong}")
endif()
message(STATUS "Every file names version ${VERSION}")
