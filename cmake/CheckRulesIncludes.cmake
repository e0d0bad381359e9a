# cmake -DROOT=<src> [-DLAYERS=<a,b>] -P CheckRulesIncludes.cmake
# Fails when a file includes one from a layer above its own. The layers, lowest first, are the folders
# host/ (the services behind interfaces), rules/ (plain functions of values), form/ (the window as data
# and its handlers) and view/ (the two windows). The rules may include, of the host, only the interfaces
# (the headers directly in host/), not one host's services; neither window includes the other. Every
# spelling counts: quotes or angle brackets, and a relative path is followed from the including file as
# well as from src/. LAYERS limits the files checked to those layers (tests/, whose folders mirror src/,
# is checked for the host and the rules).
cmake_minimum_required(VERSION 3.24)
get_filename_component(ROOT "${ROOT}" ABSOLUTE)
get_filename_component(root_name "${ROOT}" NAME)
set(layers host rules form view)
if(DEFINED LAYERS)
  string(REPLACE "," ";" LAYERS "${LAYERS}")
endif()

function(layer_of path out)
  set(found -1)
  set(index 0)
  foreach(layer IN LISTS layers)
    string(FIND "${path}/" "${ROOT}/${layer}/" at)
    if(at EQUAL 0)
      set(found ${index})
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files LIST_DIRECTORIES false "${ROOT}/*.h" "${ROOT}/*.cpp")
set(include_line "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
set(violations "")
foreach(file IN LISTS files)
  layer_of("${file}" own)
  if(own LESS 0)
    continue()
  endif()
  list(GET layers ${own} own_name)
  if(DEFINED LAYERS AND NOT own_name IN_LIST LAYERS)
    continue()
  endif()
  get_filename_component(folder "${file}" DIRECTORY)
  # A view's own folder (view/qt or view/win32): the two windows share nothing but the form.
  string(REGEX REPLACE "^(${ROOT}/view/[^/]+)/.*$" "\\1" view_of_file "${file}")
  file(STRINGS "${file}" lines REGEX "${include_line}")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "${include_line}.*$" "\\1" name "${line}")
    # Both places the compiler may find it: beside the including file, and from src/.
    foreach(base IN ITEMS "${folder}" "${ROOT}")
      get_filename_component(included "${base}/${name}" ABSOLUTE)
      layer_of("${included}" reached)
      get_filename_component(includedFolder "${included}" DIRECTORY)
      if(reached GREATER own)
        set(why "a layer above its own")
      elseif(own EQUAL 1 AND reached EQUAL 0 AND NOT includedFolder STREQUAL "${ROOT}/host")
        set(why "a host's own service, not an interface of host/")
      elseif(own EQUAL 3 AND reached EQUAL 3 AND NOT included MATCHES "^${view_of_file}/")
        set(why "the other window")
      else()
        continue()
      endif()
      file(RELATIVE_PATH shown "${ROOT}" "${file}")
      list(APPEND violations "  ${root_name}/${shown}: ${line} (${why})")
      break()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n" violations)
  message(FATAL_ERROR "A file reaches further up than its layer may (host, rules, form, view):\n"
                      "${violations}\nMove what it needs down into its own layer or one below.")
endif()
