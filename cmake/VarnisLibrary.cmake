# varnis_folder_library(NAME DEPENDS dep...): one static library holding every .cpp below the
# calling folder. The shared plug-in links them whole, so nothing the linker thinks unused is
# dropped; test programs link them normally and pull in only what they use.
function(varnis_folder_library name)
  cmake_parse_arguments(L "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${L_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${L_DEPENDS})
  endif()
endfunction()
