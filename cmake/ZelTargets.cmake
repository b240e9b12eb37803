# Helpers that turn the folder layout into targets, so that adding a source
# file to a folder is all it takes to build it.

set(ZEL_LIBRARIES "")

# zel_library(folder deps...) makes the static library zel_<folder> from every
# .cpp below <folder>/, except main.cpp (the program's entry point).  Folders
# that have no sources yet make no target.
function(zel_library folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/${folder}/main\\.cpp$")
  if(NOT sources)
    return()
  endif()
  set(target zel_${folder})
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  foreach(dep ${ARGN})
    if(TARGET ${dep} OR dep MATCHES "::")
      target_link_libraries(${target} PUBLIC ${dep})
    endif()
  endforeach()
  set(ZEL_LIBRARIES ${ZEL_LIBRARIES} ${target} PARENT_SCOPE)
  set_property(GLOBAL APPEND PROPERTY ZEL_LIBRARIES ${target})
endfunction()

# zel_all links every folder library; programs, tests and benchmarks use it.
function(zel_link_all target)
  get_property(libs GLOBAL PROPERTY ZEL_LIBRARIES)
  target_link_libraries(${target} PRIVATE ${libs})
endfunction()

# One GoogleTest program per folder of tests/ that holds .cpp files:
# tests/platform/gdi/*.cpp becomes zel_tests_platform_gdi.
function(zel_tests)
  file(GLOB_RECURSE test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
  set(dirs "")
  foreach(src ${test_sources})
    get_filename_component(dir ${src} DIRECTORY)
    list(APPEND dirs ${dir})
  endforeach()
  list(REMOVE_DUPLICATES dirs)
  foreach(dir ${dirs})
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/tests ${dir})
    string(REPLACE "/" "_" name ${rel})
    set(target zel_tests_${name})
    add_executable(${target} ${sources})
    # A test program links the library of the folder it tests (which brings
    # the layers below); tests of the program itself link everything.
    string(REGEX REPLACE "/.*" "" top ${rel})
    if(TARGET zel_${top})
      target_link_libraries(${target} PRIVATE zel_${top})
    else()
      zel_link_all(${target})
    endif()
    # tests/tools/<tool>/ tests the library that tool is made from.
    if(rel MATCHES "^tools/([^/]+)")
      if(TARGET zel_tool_${CMAKE_MATCH_1})
        target_link_libraries(${target} PRIVATE zel_tool_${CMAKE_MATCH_1})
      endif()
    endif()
    target_link_libraries(${target} PRIVATE GTest::gtest_main GTest::gmock)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(${target} PRIVATE
      ZEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}" ZEL_BINARY_DIR="${CMAKE_BINARY_DIR}")
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      PROPERTIES ENVIRONMENT "ZEL_BACKEND=headless")
  endforeach()
endfunction()

# Every bench/*.cpp becomes its own Google Benchmark program, linked with
# pixman so that each figure can stand beside its peer's in the same run.
function(zel_benchmarks)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  if(NOT sources)
    return()
  endif()
  find_package(benchmark REQUIRED)
  pkg_check_modules(PIXMAN REQUIRED IMPORTED_TARGET pixman-1)
  foreach(src ${sources})
    get_filename_component(name ${src} NAME_WE)
    add_executable(zel_bench_${name} ${src})
    # bench/<folder>_<what>.cpp measures the library of <folder>.
    string(REGEX REPLACE "_.*" "" top ${name})
    if(TARGET zel_${top})
      target_link_libraries(zel_bench_${name} PRIVATE zel_${top})
    else()
      zel_link_all(zel_bench_${name})
    endif()
    target_link_libraries(zel_bench_${name} PRIVATE benchmark::benchmark PkgConfig::PIXMAN)
    target_include_directories(zel_bench_${name} PRIVATE ${CMAKE_SOURCE_DIR})
  endforeach()
endfunction()

# The start-up comparison of bench/peers/: the timer that starts a program
# and waits for its first frame, a bare SDL window as the floor, and the GTK 3
# peer when GTK 3 is installed (scripts/install-peers installs it).
function(zel_peers)
  set(dir ${CMAKE_SOURCE_DIR}/bench/peers)
  add_executable(zel_firstframe ${dir}/firstframe.c)
  add_executable(zel_peer_sdl ${dir}/bare_sdl.c)
  target_link_libraries(zel_peer_sdl PRIVATE PkgConfig::SDL2)
  pkg_check_modules(GTK3 QUIET IMPORTED_TARGET gtk+-3.0)
  if(GTK3_FOUND)
    add_executable(zel_peer_gtk ${dir}/gtk_peer.c)
    target_link_libraries(zel_peer_gtk PRIVATE PkgConfig::GTK3)
    target_compile_definitions(zel_peer_gtk PRIVATE
      ZEL_BITMAP_DIR="${CMAKE_SOURCE_DIR}/resources/bitmaps")
  endif()
endfunction()
