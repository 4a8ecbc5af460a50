# The fuzz target of the illustration decoding and its seed corpus, included
# from this folder's CMakeLists.txt after the keyed-file target (it shares
# its replay main and its PX_FUZZ option).
#
# Every build: image_fuzz_seeds writes the corpus and image_fuzz_replay runs
# the target over it once, as the test image_fuzz_regression.
#
# libFuzzer (clang, -DPX_FUZZ=ON):
#   build/tools/fuzz/image_fuzz_seeds corpus && build/tools/fuzz/image_fuzz corpus
add_executable(image_fuzz_seeds ${CMAKE_CURRENT_LIST_DIR}/image_fuzz_seeds.cpp)
target_link_libraries(image_fuzz_seeds PRIVATE pxbuild)
set_target_properties(image_fuzz_seeds PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

add_executable(image_fuzz_replay ${CMAKE_CURRENT_LIST_DIR}/image_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/replay_main.cpp)
target_link_libraries(image_fuzz_replay PRIVATE PXALL)
set_target_properties(image_fuzz_replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  BUILD_RPATH "${PX_BIN_DIR}")

if(PX_TESTS)
  set(image_corpus ${CMAKE_CURRENT_BINARY_DIR}/image-corpus)
  add_test(NAME image_fuzz_regression
    COMMAND sh -c "\"$<TARGET_FILE:image_fuzz_seeds>\" \"${image_corpus}\" && \"$<TARGET_FILE:image_fuzz_replay>\" \"${image_corpus}\"")
endif()

if(PX_FUZZ)
  add_executable(image_fuzz ${CMAKE_CURRENT_LIST_DIR}/image_fuzz.cpp)
  target_compile_options(image_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_options(image_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_libraries(image_fuzz PRIVATE PXALL)
  set_target_properties(image_fuzz PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    BUILD_RPATH "${PX_BIN_DIR}")
endif()
