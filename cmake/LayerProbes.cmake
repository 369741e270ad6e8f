# Proof that the layer libraries refuse an include reaching upwards: for each
# pair below, a one-line source of the lower layer includes a header of the
# upper one. The probes are left out of the normal build; a test builds each
# and passes only when the compiler cannot find the header.
set(varlo_layer_probes
  "raster:jigsaw/pieces.h"
  "platform:ui/lang.h"
  "ui:app/folders.h"
  "jigsaw:cut/level_table.h"
  "cut:ui/lang.h"
  "cut:play/play_field.h"
  "play:files/saved_game.h"
  "files:app/open_flow.h")
foreach(probe IN LISTS varlo_layer_probes)
  string(REPLACE ":" ";" parts "${probe}")
  list(GET parts 0 lower)
  list(GET parts 1 header)
  string(REGEX REPLACE "/.*" "" upper "${header}")
  set(name varlo_probe_${lower}_includes_${upper})
  set(source ${CMAKE_BINARY_DIR}/layer-probes/${name}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${header}\"\n")
  add_library(${name} OBJECT EXCLUDE_FROM_ALL ${source})
  target_link_libraries(${name} PRIVATE varlo_${lower})
  add_test(NAME Layers.${lower}_cannot_include_${upper}
    COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target ${name})
  set_tests_properties(Layers.${lower}_cannot_include_${upper} PROPERTIES
    PASS_REGULAR_EXPRESSION "${header}: No such file or directory"
    RUN_SERIAL TRUE)
endforeach()
