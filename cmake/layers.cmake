# tolvaren_layer(FOLDER [USES lower...]): the static library tolvaren_FOLDER of
# the folder's sources, linked to the layers it uses. Before it compiles, the
# folder's includes are checked against the layers it may reach (those it
# uses and everything below them) and, but in platform/, against the headers
# of the operating system, so an include against the direction fails the
# build even where nothing would fail to link.

set(TOLVAREN_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/check_layer.cmake)

function(tolvaren_layer folder)
  cmake_parse_arguments(ARG "" "" "USES" ${ARGN})
  set(dir ${PROJECT_SOURCE_DIR}/${folder})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(reach ${folder})
  foreach(lower ${ARG_USES})
    list(APPEND reach ${TOLVAREN_REACH_${lower}})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  set(TOLVAREN_REACH_${folder} ${reach} CACHE INTERNAL "")
  set_property(GLOBAL APPEND PROPERTY TOLVAREN_LAYERS ${folder})

  add_library(tolvaren_${folder} STATIC ${sources})
  target_include_directories(tolvaren_${folder} PUBLIC ${PROJECT_SOURCE_DIR})
  foreach(lower ${ARG_USES})
    target_link_libraries(tolvaren_${folder} PUBLIC tolvaren_${lower})
  endforeach()

  file(GLOB_RECURSE checked CONFIGURE_DEPENDS ${dir}/*.h ${dir}/*.cpp)
  get_property(layers GLOBAL PROPERTY TOLVAREN_LAYERS)
  set(stamp ${PROJECT_BINARY_DIR}/layers/${folder}.checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} "-DREACH=${reach}" "-DLAYERS=app;templates;hwinfo;netinfo;dns;core;platform"
            -DROOT=${PROJECT_SOURCE_DIR} -P ${TOLVAREN_LAYER_CHECK}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/layers
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${checked} ${TOLVAREN_LAYER_CHECK}
    COMMENT "Checking the includes of ${folder}/ against its layer"
    VERBATIM)
  add_custom_target(tolvaren_${folder}_layer DEPENDS ${stamp})
  add_dependencies(tolvaren_${folder} tolvaren_${folder}_layer)
endfunction()
