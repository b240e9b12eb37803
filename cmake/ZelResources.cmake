# The program's own resource module: tools/zelres packs every *.bmp under
# resources/ into a module image and writes it as a C++ source, compiled into
# zel_builtin_resources, which the system layer links.  The packer compiles
# the module format's source itself, so it needs no library of the project.
function(zel_builtin_resources consumer)
  if(NOT TARGET ${consumer} OR NOT TARGET zelres)
    return()
  endif()
  target_sources(zelres PRIVATE ${CMAKE_SOURCE_DIR}/platform/resource/ModuleFile.cpp)
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.bmp
       ${CMAKE_SOURCE_DIR}/resources/*.BMP)
  set(generated ${CMAKE_BINARY_DIR}/generated/BuiltinModule.cpp)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated)
  # A clone may have no resources/ yet (git keeps no empty folders).
  set(folder ${CMAKE_SOURCE_DIR}/resources)
  if(NOT IS_DIRECTORY ${folder})
    set(folder ${CMAKE_BINARY_DIR}/generated/no-resources)
    file(MAKE_DIRECTORY ${folder})
  endif()
  add_custom_command(OUTPUT ${generated}
    COMMAND zelres embed ${folder} ${generated}
    DEPENDS zelres ${inputs}
    COMMENT "Packing resources/ into the program's own resource module")
  add_library(zel_builtin_resources STATIC ${generated})
  target_include_directories(zel_builtin_resources PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${consumer} PUBLIC zel_builtin_resources)
endfunction()
