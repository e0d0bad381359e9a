include(GoogleTest)

# orvanta_add_core_test(name SOURCES ...): one GoogleTest executable per subsystem.
# Core tests link the core and the test fakes only, never Qt.
function(orvanta_add_core_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE orvanta_testsupport GTest::gtest_main)
  # NO_PRETTY_VALUES: a parameterised case is named by its name generator alone, without the bytes of
  # its parameter.
  gtest_discover_tests(${name} TEST_PREFIX "${name}." NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 120)
endfunction()
