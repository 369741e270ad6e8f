# The engine: every engine source file of the subsystem folders. Engine files
# sit directly in src/<subsystem>/; Qt files of a subsystem live in its qt/
# subfolder (and src/browser is Qt only), so a glob keeps the two apart.
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)

set(VARLO_ENGINE_DIRS app play cut files download ui platform)
set(VARLO_ENGINE_SOURCES "")
foreach(dir IN LISTS VARLO_ENGINE_DIRS)
  file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp)
  list(APPEND VARLO_ENGINE_SOURCES ${dir_sources})
endforeach()

add_library(varlo_engine STATIC ${VARLO_ENGINE_SOURCES})
target_include_directories(varlo_engine PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(varlo_engine PUBLIC JPEG::JPEG PNG::PNG ZLIB::ZLIB)
target_compile_definitions(varlo_engine PUBLIC VARLO_VERSION="${PROJECT_VERSION}")
find_package(Threads REQUIRED)
target_link_libraries(varlo_engine PUBLIC Threads::Threads)
