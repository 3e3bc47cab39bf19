# varnis_folder_library(NAME [FOLDERS folder...] DEPENDS dep...): one static library holding every
# .cpp below the given folders (by default the calling folder); an interface library while they
# hold none. The shared plug-in links them whole, so nothing the linker thinks unused is
# dropped; test programs link them normally and pull in only what they use.
function(varnis_folder_library name)
  cmake_parse_arguments(L "" "" "FOLDERS;DEPENDS" ${ARGN})
  if(NOT L_FOLDERS)
    set(L_FOLDERS .)
  endif()
  set(sources)
  foreach(folder IN LISTS L_FOLDERS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${L_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${L_DEPENDS})
  endif()
endfunction()

# varnis_plugin_module(NAME LIBRARIES lib... [EXPORTS map]): a VST 2 plug-in .so holding the
# given folder libraries (defined before it) whole. It exports only what the map names (by
# default VSTPluginMain and main) and must resolve every symbol at link time.
function(varnis_plugin_module name)
  cmake_parse_arguments(M "" "EXPORTS" "LIBRARIES" ${ARGN})
  if(NOT M_EXPORTS)
    set(M_EXPORTS ${PROJECT_SOURCE_DIR}/plugin/exports.map)
  endif()
  add_library(${name} SHARED ${PROJECT_SOURCE_DIR}/plugin/VstEntry.cpp)
  # The libraries' own objects go in whole (a library that another one also depends on is still
  # there once); what they depend on is linked normally.
  foreach(library IN LISTS M_LIBRARIES)
    get_target_property(type ${library} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      target_sources(${name} PRIVATE $<TARGET_OBJECTS:${library}>)
    endif()
    target_link_libraries(${name} PRIVATE ${library})
  endforeach()
  target_link_options(${name} PRIVATE -Wl,-z,defs -Wl,--version-script=${M_EXPORTS})
  set_target_properties(${name} PROPERTIES LINK_DEPENDS ${M_EXPORTS})
endfunction()
