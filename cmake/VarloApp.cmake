# The desktop side of the game: the Qt implementation of the platform
# interfaces and the game's windows. Qt files live in src/<subsystem>/qt/
# (and all of src/browser), so the engine's glob never picks them up.
find_package(Qt6 REQUIRED COMPONENTS Widgets Multimedia Svg Test)

file(GLOB VARLO_QT_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/*/qt/*.cpp
  ${CMAKE_SOURCE_DIR}/src/browser/*.cpp)
# The game's entry point is the executable's own, not the library's.
list(REMOVE_ITEM VARLO_QT_SOURCES ${CMAKE_SOURCE_DIR}/src/app/qt/main.cpp)
# A local build may leave out the Qt files of a window that is half written.
set(VARLO_QT_SKIP "" CACHE STRING "Regular expression of Qt sources left out of varlo_qt")
if(VARLO_QT_SKIP)
  list(FILTER VARLO_QT_SOURCES EXCLUDE REGEX "${VARLO_QT_SKIP}")
endif()
add_library(varlo_qt STATIC ${VARLO_QT_SOURCES})
set_target_properties(varlo_qt PROPERTIES AUTOMOC ON)
target_include_directories(varlo_qt PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(varlo_qt PUBLIC varlo_engine Qt6::Widgets Qt6::Multimedia Qt6::Svg)
# The two pages of the Help menu, set here and nowhere else. An address
# without a scheme is a page of the installation folder: by default the
# game's own home page, data/home.html, which every build and install holds.
set(VARLO_HOME_URL "home.html" CACHE STRING "Address of the Help menu's home page item")
set(VARLO_PRODUCT_URL "home.html#varlo-jigsaw" CACHE STRING
    "Address of the Help menu's product home page item")
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/app/qt/main_window.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS VARLO_HOME_URL="${VARLO_HOME_URL}" VARLO_PRODUCT_URL="${VARLO_PRODUCT_URL}")
# The application icon, built into the game for its window frames.
qt_add_resources(varlo_qt varlo_icon PREFIX "/icons"
  BASE ${CMAKE_SOURCE_DIR}/resources/desktop
  FILES ${CMAKE_SOURCE_DIR}/resources/desktop/varlo-jigsaw.svg)

# UI tests: one Qt Test executable per tests/ui/*_test.cpp, run on the
# offscreen platform with a throw-away home folder.
if(NOT VARLO_ENGINE_ONLY AND NOT VARLO_FUZZ)
  file(GLOB VARLO_UI_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/ui/support/*.cpp)
  add_library(varlo_ui_support STATIC ${VARLO_UI_SUPPORT_SOURCES})
  target_include_directories(varlo_ui_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/ui)
  target_link_libraries(varlo_ui_support PUBLIC varlo_qt varlo_test_support Qt6::Test)
  file(GLOB VARLO_UI_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/ui/*_test.cpp)
  set(varlo_ui_home ${CMAKE_BINARY_DIR}/ui-test-home)
  file(MAKE_DIRECTORY ${varlo_ui_home}/tmp ${varlo_ui_home}/.config ${varlo_ui_home}/.local/share)
  foreach(test_source IN LISTS VARLO_UI_TESTS)
    get_filename_component(test_name ${test_source} NAME_WE)
    add_executable(${test_name} ${test_source})
    set_target_properties(${test_name} PROPERTIES AUTOMOC ON
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${test_name} PRIVATE varlo_ui_support)
    add_test(NAME ${test_name} COMMAND ${test_name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(${test_name} PROPERTIES ENVIRONMENT
      "QT_QPA_PLATFORM=offscreen;HOME=${varlo_ui_home};XDG_CONFIG_HOME=${varlo_ui_home}/.config;XDG_DATA_HOME=${varlo_ui_home}/.local/share;TMPDIR=${varlo_ui_home}/tmp")
  endforeach()
endif()

# The game.
add_executable(varlo-jigsaw ${CMAKE_SOURCE_DIR}/src/app/qt/main.cpp)
target_link_libraries(varlo-jigsaw PRIVATE varlo_qt)
# Building the game alone also makes everything it reads at run time: the
# data tree, the baked pictures and skins, the shape library and the starter
# jigsaws.
add_dependencies(varlo-jigsaw varlo_data varlo_baked_pictures varlo_art varlo_shape_library
                 varlo_starter_jigsaws)

# Installing: the game, and the desktop entry with its icon. The data tree
# goes to <prefix>/share/varlo-jigsaw/, where the installed game finds it.
include(GNUInstallDirs)
install(TARGETS varlo-jigsaw RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/varlo-jigsaw.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/varlo-jigsaw.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
