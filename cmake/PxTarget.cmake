# px_shared_library(<name> SOURCES ... [LINK ...])
# A deliverable: a shared library in build/bin whose exports are marked one by one.
function(px_shared_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK;INCLUDE" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  if(ARG_INCLUDE)
    target_include_directories(${name} PUBLIC ${ARG_INCLUDE})
  endif()
  target_link_options(${name} PRIVATE -Wl,--no-undefined
    -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/px_exports.map)
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/px_exports.map)
endfunction()

# px_test(<name> SOURCES ... LINK ... [LABELS ...])
# One GoogleTest executable, each of its tests registered with CTest (with
# the labels: "gui" marks the tests that show windows, ctest -L gui).
function(px_test name)
  if(NOT PX_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set_target_properties(${name} PROPERTIES BUILD_RPATH "${PX_BIN_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gtest_main)
  if(ARG_LABELS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# px_feature_library(<deliverable>)
# A feature library in the calling folder: src/*.cpp built into
# lib<deliverable>.so against PXALL, tests/*_test.cpp into <deliverable>_tests
# with the common test fixtures.
function(px_feature_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  if(NOT sources)
    return()
  endif()
  px_shared_library(${name} SOURCES ${sources} LINK PXALL
    INCLUDE ${CMAKE_CURRENT_SOURCE_DIR}/include)
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*_test.cpp)
  if(tests AND PX_TESTS)
    px_test(${name}_tests SOURCES ${tests} LINK ${name} pxall_test_support)
    target_include_directories(${name}_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  endif()
endfunction()

# Adds every sub-folder of the calling folder that has a CMakeLists.txt.
function(px_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
