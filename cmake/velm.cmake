# velm_library(name DIR dir... [EXCLUDE dir...] [QT] [DEPS ...]): one static library from every
# .cpp under the folders (recursively), leaving out those under EXCLUDE. Libraries without QT never
# see a Qt header: the build refuses a Qt include there.
function(velm_library name)
  cmake_parse_arguments(ARG "QT" "" "DIR;EXCLUDE;DEPS" ${ARGN})
  set(sources)
  foreach(dir ${ARG_DIR})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  foreach(dir ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "^${dir}/")
  endforeach()
  if(NOT sources)  # a subsystem not yet begun
    set(sources ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${sources} "// empty\n")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PUBLIC Qt6::Widgets)
  endif()
endfunction()

# velm_test(name DIR dir [EXCLUDE dir...] DEPS ...): one test program from every .cpp under
# tests/dir, leaving out those under EXCLUDE.
function(velm_test name)
  cmake_parse_arguments(ARG "QT" "DIR" "EXCLUDE;DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  foreach(dir ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "^${dir}/")
  endforeach()
  if(NOT sources)
    return()
  endif()
  if(ARG_QT)  # a QApplication lives for the whole test program
    add_executable(${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} test_support GTest::gtest Qt6::Widgets)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  else()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} test_support GTest::gtest GTest::gtest_main)
  endif()
  # The headers most tests include, parsed once per test program rather than once per source.
  target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <algorithm> <cmath> <filesystem>
    <functional> <map> <string> <vector>)
  # Read from the precompiled header, the standard library's inline code loses its standing as a
  # system header, and GCC 12's optimiser then reports the copies inside std::string's own moves
  # as out of bounds or overflowing (-Warray-bounds, -Wstringop-overflow: eight test sources; the
  # same sources compiled without the header are silent). They say nothing of the tests: the
  # optimised test programs of GCC 12 leave these two out; the libraries and Debug keep them.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${name} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-Wno-array-bounds>
                                           $<$<NOT:$<CONFIG:Debug>>:-Wno-stringop-overflow>)
  endif()
  if(ARG_QT)
    target_precompile_headers(${name} PRIVATE <QApplication> <QCheckBox> <QComboBox> <QImage>
      <QPainter> <QPushButton> <QSpinBox> <QWidget>)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELM_SOURCE_DIR=${PROJECT_SOURCE_DIR};VELM_REFERENCE_DIR=${PROJECT_SOURCE_DIR}/tests/fixtures/reference")
endfunction()
