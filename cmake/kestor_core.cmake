# The program less its entry point, as a static library: ui, engine,
# display, window, pages and the bitmaps. Shared by the program, the tests,
# the benchmark and the fuzzer. Expects KESTOR_ROOT (the source tree),
# KESTOR_VERSION and KESTOR_DATA_DIR (the installed data directory).
# This is the desktop's library, on the Qt backend (ui/qt/); the browser's
# build is cmake/kestor_web.cmake.
file(GLOB KESTOR_SOURCES CONFIGURE_DEPENDS
  ${KESTOR_ROOT}/ui/*.cpp
  ${KESTOR_ROOT}/ui/qt/*.cpp
  ${KESTOR_ROOT}/engine/*.cpp
  ${KESTOR_ROOT}/display/*.cpp
  ${KESTOR_ROOT}/window/*.cpp
  ${KESTOR_ROOT}/pages/*.cpp)
list(REMOVE_ITEM KESTOR_SOURCES ${KESTOR_ROOT}/window/main.cpp)
find_package(Fontconfig REQUIRED)
add_library(kestor_core STATIC ${KESTOR_SOURCES})
target_include_directories(kestor_core PUBLIC ${KESTOR_ROOT} PRIVATE ${KESTOR_ROOT}/ui/qt)
target_link_libraries(kestor_core PUBLIC Qt6::Widgets PRIVATE Qt6::GuiPrivate Fontconfig::Fontconfig)
target_compile_definitions(kestor_core PRIVATE
  KESTOR_DATADIR="${KESTOR_DATA_DIR}"
  KESTOR_VERSION="${KESTOR_VERSION}")

file(GLOB KESTOR_BITMAPS CONFIGURE_DEPENDS RELATIVE ${KESTOR_ROOT}/resources
  ${KESTOR_ROOT}/resources/*.png)
set(KESTOR_QRC ${CMAKE_BINARY_DIR}/kestor_resources.qrc)
set(qrc_body "<RCC><qresource prefix=\"/\">\n")
foreach(png ${KESTOR_BITMAPS})
  string(APPEND qrc_body "  <file alias=\"${png}\">${KESTOR_ROOT}/resources/${png}</file>\n")
endforeach()
string(APPEND qrc_body "</qresource></RCC>\n")
file(CONFIGURE OUTPUT ${KESTOR_QRC} CONTENT "${qrc_body}")
qt_add_resources(KESTOR_RCC ${KESTOR_QRC})
# The bitmaps' registration object goes straight onto every program's link
# line: inside a static library the linker would drop it, unreferenced.
add_library(kestor_resources OBJECT ${KESTOR_RCC})
target_link_libraries(kestor_resources PRIVATE Qt6::Core)
target_link_libraries(kestor_core INTERFACE $<TARGET_OBJECTS:kestor_resources>)
add_dependencies(kestor_core kestor_resources)
