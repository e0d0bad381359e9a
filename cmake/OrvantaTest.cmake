include(GoogleTest)

# orvanta_add_core_test(name SOURCES ...): one GoogleTest executable per subsystem.
# Core tests link the core and the test fakes only, never Qt.
function(orvanta_add_core_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE orvanta_testsupport GTest::gtest_main)
  gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()
