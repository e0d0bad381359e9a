include(GoogleTest)

# orvanta_add_core_test(name [LINK library] SOURCES ...): one GoogleTest executable per subsystem.
# A suite links the library it tests (orvanta_host, orvanta_rules or, unless told, orvanta_core) and the
# test fakes, never Qt: a rules suite that included the window would not build.
function(orvanta_add_core_test name)
  cmake_parse_arguments(ARG "" "LINK" "SOURCES" ${ARGN})
  if(NOT ARG_LINK)
    set(ARG_LINK orvanta_core)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE orvanta_testsupport ${ARG_LINK} GTest::gtest_main)
  # NO_PRETTY_VALUES: a parameterised case is named by its name generator alone, without the bytes of
  # its parameter.
  gtest_discover_tests(${name} TEST_PREFIX "${name}." NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 120)
endfunction()
