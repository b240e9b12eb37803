# The fuzz programs of the readers of outside bytes (fuzz/), with clang's
# libFuzzer: zel_fuzz_<reader>, one per entry of fuzz::Targets().  The input
# functions themselves form the library zel_fuzz, which the test program of
# tests/fuzz/ runs with fixed mutations in every build.  The layout reader's
# program has a custom mutator besides (fuzz/LayoutCustomMutator.cpp).

set(ZEL_FUZZ_TARGETS floattree framesite docktree actionmanager editor layout module bmp png fontanswers)

# Every object of a fuzz build carries the coverage libFuzzer steers by.
macro(zel_fuzz_flags)
  if(ZEL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
      message(FATAL_ERROR "ZEL_FUZZ needs clang (CC=clang CXX=clang++); the compiler is ${CMAKE_CXX_COMPILER_ID}")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endmacro()

function(zel_fuzz_library)
  add_library(zel_fuzz STATIC ${CMAKE_SOURCE_DIR}/fuzz/FuzzInputs.cpp)
  target_include_directories(zel_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_definitions(zel_fuzz PRIVATE ZEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  get_property(libs GLOBAL PROPERTY ZEL_LIBRARIES)
  target_link_libraries(zel_fuzz PUBLIC ${libs})
  if(ZEL_FUZZ)
    foreach(name ${ZEL_FUZZ_TARGETS})
      add_executable(zel_fuzz_${name} ${CMAKE_SOURCE_DIR}/fuzz/FuzzMain.cpp)
      target_compile_definitions(zel_fuzz_${name} PRIVATE ZEL_FUZZ_TARGET="${name}")
      target_link_libraries(zel_fuzz_${name} PRIVATE zel_fuzz)
      target_link_options(zel_fuzz_${name} PRIVATE -fsanitize=fuzzer)
    endforeach()
    # The layout file is also changed by structure, not only byte by byte.
    target_sources(zel_fuzz_layout PRIVATE ${CMAKE_SOURCE_DIR}/fuzz/LayoutCustomMutator.cpp)
  endif()
endfunction()
