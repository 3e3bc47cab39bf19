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

# varnis_plugin_module(NAME LIBRARIES lib... [EXPORTS map]): a VST 2 plug-in .so holding the
# given folder libraries whole. It exports only what the map names (by default VSTPluginMain and
# main) and must resolve every symbol at link time.
function(varnis_plugin_module name)
  cmake_parse_arguments(M "" "EXPORTS" "LIBRARIES" ${ARGN})
  if(NOT M_EXPORTS)
    set(M_EXPORTS ${PROJECT_SOURCE_DIR}/plugin/exports.map)
  endif()
  add_library(${name} SHARED ${PROJECT_SOURCE_DIR}/plugin/VstEntry.cpp)
  target_link_libraries(${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${M_LIBRARIES}>")
  target_link_options(${name} PRIVATE -Wl,-z,defs -Wl,--version-script=${M_EXPORTS})
  set_target_properties(${name} PROPERTIES LINK_DEPENDS ${M_EXPORTS})
endfunction()
