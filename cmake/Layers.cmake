# rt_add_layer(name [lower layers...])
# Makes the static library of one layer folder from every source in it. A
# folder without sources yet gets an empty placeholder source, so that every
# layer is a static library of the same link group and the layer order stays
# declared.
function(rt_add_layer name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${PROJECT_SOURCE_DIR}/${name}/*.cpp" "${PROJECT_SOURCE_DIR}/${name}/*.c")
  if(NOT sources)
    set(placeholder "${PROJECT_BINARY_DIR}/layer_placeholders/${name}.cpp")
    file(WRITE "${placeholder}" "// The ${name} layer has no sources yet.\n")
    set(sources "${placeholder}")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
  rt_layer_link(${name} ${ARGN})
endfunction()

# rt_layer_link(name [libraries...]): what a layer needs, passed on to its users.
function(rt_layer_link name)
  if(NOT ARGN)
    return()
  endif()
  get_target_property(type ${name} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()
