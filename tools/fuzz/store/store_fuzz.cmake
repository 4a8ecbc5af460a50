# The fuzz targets of the stored files the system reads (besides the keyed
# catalogue files and the images): one target per kind of file, each with
# its seed corpus written by the builder (store_fuzz_seeds <kind> <dir>).
# Included from this folder's CMakeLists.txt; shares its replay main and its
# PX_FUZZ option.
#
# Every build: <kind>_fuzz_replay runs the target once over its corpus, as
# the test <kind>_fuzz_regression. libFuzzer (clang, -DPX_FUZZ=ON):
#   build/tools/fuzz/store_fuzz_seeds groups corpus && build/tools/fuzz/groups_fuzz corpus
# scripts/fuzz runs every target in turn.
set(PX_STORE_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

add_executable(store_fuzz_seeds ${PX_STORE_FUZZ_DIR}/store_fuzz_seeds.cpp)
target_link_libraries(store_fuzz_seeds PRIVATE pxbuild)
set_target_properties(store_fuzz_seeds PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

function(px_store_fuzz kind)
  cmake_parse_arguments(ARG "" "" "LINK;SOURCES;INCLUDE" ${ARGN})
  set(source ${PX_STORE_FUZZ_DIR}/${kind}_fuzz.cpp ${ARG_SOURCES})
  add_executable(${kind}_fuzz_replay ${source} ${CMAKE_CURRENT_SOURCE_DIR}/replay_main.cpp)
  target_include_directories(${kind}_fuzz_replay PRIVATE ${PX_STORE_FUZZ_DIR} ${ARG_INCLUDE})
  target_link_libraries(${kind}_fuzz_replay PRIVATE PXALL ${ARG_LINK})
  set_target_properties(${kind}_fuzz_replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    BUILD_RPATH "${PX_BIN_DIR}")
  if(PX_TESTS)
    set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${kind}-corpus)
    # Inputs that once found a fault stay beside the seeds, in regressions/<kind>.
    set(found ${PX_STORE_FUZZ_DIR}/regressions/${kind})
    if(EXISTS ${found})
      set(replay_found " && \"$<TARGET_FILE:${kind}_fuzz_replay>\" \"${found}\"")
    else()
      set(replay_found "")
    endif()
    add_test(NAME ${kind}_fuzz_regression
      COMMAND sh -c "rm -rf \"${corpus}\" && \"$<TARGET_FILE:store_fuzz_seeds>\" ${kind} \"${corpus}\" && \"$<TARGET_FILE:${kind}_fuzz_replay>\" \"${corpus}\"${replay_found}")
  endif()
  if(PX_FUZZ)
    add_executable(${kind}_fuzz ${source})
    target_include_directories(${kind}_fuzz PRIVATE ${PX_STORE_FUZZ_DIR} ${ARG_INCLUDE})
    target_compile_options(${kind}_fuzz PRIVATE -fsanitize=fuzzer)
    target_link_options(${kind}_fuzz PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${kind}_fuzz PRIVATE PXALL ${ARG_LINK})
    set_target_properties(${kind}_fuzz PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      BUILD_RPATH "${PX_BIN_DIR}")
  endif()
endfunction()

# The kinds, in the order scripts/fuzz runs them.
set(PX_STORE_FUZZ_KINDS env texts textfile groups savefile price cdfile setup selection worktmp records buinde
  picture vinf sources)
foreach(kind ${PX_STORE_FUZZ_KINDS})
  if(kind STREQUAL "savefile")
    px_store_fuzz(${kind} LINK PXFSAV)
  elseif(kind STREQUAL "vinf")
    px_store_fuzz(${kind} LINK PXVJIN)
  elseif(kind STREQUAL "sources")
    px_store_fuzz(${kind} LINK PXSTUP)
  elseif(kind STREQUAL "picture")
    # The screens' picture reader, compiled in with the image support of Qt
    # it hands other pictures to.
    find_package(Qt6 REQUIRED COMPONENTS Gui)
    px_store_fuzz(${kind} SOURCES ${PROJECT_SOURCE_DIR}/app/shell/src/picture_file.cpp
      INCLUDE ${PROJECT_SOURCE_DIR}/app/shell/include LINK Qt6::Gui)
  elseif(kind STREQUAL "buinde")
    # The illustration library's own reader, compiled in: its page index
    # builder is not among the library's entries.
    file(GLOB bunz_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/libs/bunz/src/*.cpp)
    px_store_fuzz(${kind} SOURCES ${bunz_sources}
      INCLUDE ${PROJECT_SOURCE_DIR}/libs/bunz/src ${PROJECT_SOURCE_DIR}/libs/bunz/include)
  else()
    px_store_fuzz(${kind})
  endif()
endforeach()

# The saved-list, vehicle and set-up libraries are read by targets too: they
# are instrumented like the common library once their folders have defined them.
if(PX_FUZZ)
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL px_store_fuzz_instrument)
  function(px_store_fuzz_instrument)
    foreach(lib PXFSAV PXVJIN PXSTUP)
      target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
      target_link_options(${lib} PRIVATE -Wl,-z,undefs)
    endforeach()
  endfunction()
endif()
