# parlomat_add_test(NAME SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [PROPERTIES <p v...>])
# One GoogleTest executable per subsystem; every test case becomes one CTest test.
find_package(GTest REQUIRED)
include(GoogleTest)

function(parlomat_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(TARGET parlomat_tsan_clone)
    target_link_libraries(${name} PRIVATE parlomat_tsan_clone ${CMAKE_DL_LIBS})
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  # One label string ("core/keyer"): a list would be flattened into the property list and
  # swallow the properties after it. `ctest -L` matches a regular expression, so -L core works.
  string(JOIN "/" label "${ARG_LABELS}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    TEST_PREFIX "${name}."
    PROPERTIES LABELS "${label}" ${ARG_PROPERTIES})
endfunction()
