# The installation tree: data/ as committed, copied next to the executables on
# every build so that a build tree is a complete installation.
file(GLOB_RECURSE VARLO_DATA_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
set(VARLO_DATA_STAMP ${CMAKE_BINARY_DIR}/data.stamp)
add_custom_command(
  OUTPUT ${VARLO_DATA_STAMP}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${VARLO_DATA_OUT}
  COMMAND ${CMAKE_COMMAND} -E touch ${VARLO_DATA_STAMP}
  DEPENDS ${VARLO_DATA_FILES}
  COMMENT "Copying the data tree next to the executables")
add_custom_target(varlo_data ALL DEPENDS ${VARLO_DATA_STAMP})

include(GNUInstallDirs)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/varlo-jigsaw)
