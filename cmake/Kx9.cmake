# kx9_add_library(<name> <sources...>): a subsystem library, its headers reached as <name>/<file>.h.
function(kx9_add_library name)
  add_library(${name} STATIC ${ARGN})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# kx9_add_test(<name> SOURCES <files...> LIBS <targets...>): one GoogleTest executable whose
# cases ctest runs one by one, with Qt on its offscreen platform.
function(kx9_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kx9_test_support GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
