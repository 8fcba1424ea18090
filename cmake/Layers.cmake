# rt_add_layer(name [lower layers...])
# Makes the static library of one layer folder from every source in it. A
# folder without sources yet becomes an interface library that only carries
# the include folder: linking it to the layers below would put it inside the
# link group's cycle, which CMake allows for static libraries only.
function(rt_add_layer name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${PROJECT_SOURCE_DIR}/${name}/*.cpp" "${PROJECT_SOURCE_DIR}/${name}/*.c")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    rt_layer_link(${name} ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}")
  endif()
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
