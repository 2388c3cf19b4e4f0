# The browser's build: the same program on the web backend (ui/web/),
# compiled to WebAssembly by emscripten.
#
#   emcmake cmake -S . -B build-web -DKESTOR_BACKEND=web && cmake --build build-web
#
# writes build-web/kestor.html, one self-contained page (the program, its
# script, the faces, the bitmaps and the pulse data file inside), and
# build-web/site/, the same as separate files for a web server, where the
# page fetches the data file from beside it, made installable (a manifest, its
# icons, a service worker keeping the files for use without network).
# KESTOR_WEB_DATA=OFF leaves the data file out of both (the page then shows
# the missing-file panel).
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "KESTOR_BACKEND=web builds with emscripten: emcmake cmake ... -DKESTOR_BACKEND=web")
endif()
option(KESTOR_WEB_DATA "Supply the pulse data file with the page" ON)
set(KESTOR_ROOT ${CMAKE_SOURCE_DIR})
set(KESTOR_FONT_DIR /usr/share/fonts/truetype/liberation2 CACHE PATH "Where the Liberation faces are")

# An exception only ever ends the program (ui::End, an unexpected error),
# caught where the event was dispatched: catching is compiled into
# ui::Dispatch alone. Everywhere else a call costs what it costs without
# exceptions (with catching everywhere, each call in a scope with a
# destructor goes through the script side and a series is many times
# slower); the frames an ending unwinds skip their destructors, which no
# longer matters once the program has ended.
set(KESTOR_WEB_CATCH "SHELL:-sEXCEPTION_CATCHING_ALLOWED=[_ZN2ui15DispatchHandlerERKNSt3__28functionIFvvEEEb]")
add_compile_options(-Wall -Wextra -Werror ${KESTOR_WEB_CATCH})
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE Release)
endif()

file(GLOB KESTOR_WEB_SOURCES CONFIGURE_DEPENDS
  ${KESTOR_ROOT}/ui/*.cpp
  ${KESTOR_ROOT}/ui/web/*.cpp
  ${KESTOR_ROOT}/engine/*.cpp
  ${KESTOR_ROOT}/display/*.cpp
  ${KESTOR_ROOT}/window/*.cpp
  ${KESTOR_ROOT}/pages/*.cpp)
list(REMOVE_ITEM KESTOR_WEB_SOURCES ${KESTOR_ROOT}/window/main.cpp)
add_library(kestor_web_core STATIC ${KESTOR_WEB_SOURCES})
target_include_directories(kestor_web_core PUBLIC ${KESTOR_ROOT} PRIVATE ${KESTOR_ROOT}/ui/web)
# The data file carried by the single page (compressed, in the page itself,
# see tools/mkpage.py) is put in /embedded of the page's virtual file
# system before the program starts; the one served beside the page in /page.
target_compile_definitions(kestor_web_core PRIVATE
  KESTOR_DATADIR="/embedded"
  KESTOR_VERSION="${PROJECT_VERSION}")

# The pulse data file, written by tools/mkdata built for this machine.
find_program(KESTOR_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(KESTOR_DATA_FILE ${CMAKE_BINARY_DIR}/KESTOR_11.KSQ)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/mkdata-host ${KESTOR_DATA_FILE}
  COMMAND ${KESTOR_HOST_CXX} -std=c++17 -O2 -o ${CMAKE_BINARY_DIR}/mkdata-host
          ${KESTOR_ROOT}/tools/mkdata.cpp
  COMMAND ${CMAKE_BINARY_DIR}/mkdata-host ${KESTOR_DATA_FILE}
  DEPENDS ${KESTOR_ROOT}/tools/mkdata.cpp
  COMMENT "Writing the pulse data file KESTOR_11.KSQ")
add_custom_target(kestor_web_data DEPENDS ${KESTOR_DATA_FILE})

file(GLOB KESTOR_PNGS CONFIGURE_DEPENDS RELATIVE ${KESTOR_ROOT}/resources
  ${KESTOR_ROOT}/resources/stat*.png)
set(KESTOR_WEB_LINK
  ${KESTOR_WEB_CATCH} -sASYNCIFY=1 "SHELL:-sASYNCIFY_IMPORTS=[kestor_yield]" -sASYNCIFY_STACK_SIZE=262144 -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web -sEXIT_RUNTIME=0 -sINITIAL_MEMORY=67108864
  "SHELL:--pre-js ${KESTOR_ROOT}/ui/web/stage.js"
  "SHELL:--pre-js ${KESTOR_ROOT}/ui/web/start.js")
foreach(png ${KESTOR_PNGS})
  list(APPEND KESTOR_WEB_LINK "SHELL:--embed-file ${KESTOR_ROOT}/resources/${png}@/resources/${png}")
endforeach()

# The single page's program: everything inside (-sSINGLE_FILE).
add_executable(kestor ${KESTOR_ROOT}/window/main.cpp)
target_link_libraries(kestor PRIVATE kestor_web_core)
target_link_options(kestor PRIVATE ${KESTOR_WEB_LINK} -sSINGLE_FILE=1)
set_target_properties(kestor PROPERTIES OUTPUT_NAME kestor-single SUFFIX .js
  LINK_DEPENDS "${KESTOR_ROOT}/ui/web/stage.js;${KESTOR_ROOT}/ui/web/start.js")

# The served folder's program: kestor.js and kestor.wasm.
add_executable(kestor_site ${KESTOR_ROOT}/window/main.cpp)
target_link_libraries(kestor_site PRIVATE kestor_web_core)
target_link_options(kestor_site PRIVATE ${KESTOR_WEB_LINK})
set_target_properties(kestor_site PROPERTIES OUTPUT_NAME kestor SUFFIX .js
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/site
  LINK_DEPENDS "${KESTOR_ROOT}/ui/web/stage.js;${KESTOR_ROOT}/ui/web/start.js")

# The pages: the single file and the served folder's.
set(KESTOR_PAGE_ARGS --fonts ${KESTOR_FONT_DIR} --template ${KESTOR_ROOT}/ui/web/page.html
  --logo ${KESTOR_ROOT}/resources/logo.xpm)
if(KESTOR_WEB_DATA)
  list(APPEND KESTOR_PAGE_ARGS --data ${KESTOR_DATA_FILE})
  set(KESTOR_PAGE_DATA kestor_web_data)
endif()
find_program(KESTOR_PYTHON NAMES python3 REQUIRED NO_CMAKE_FIND_ROOT_PATH)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/kestor.html ${CMAKE_BINARY_DIR}/site/kestor.html
  COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_BINARY_DIR}/site/KESTOR_11.KSQ
  COMMAND ${KESTOR_PYTHON} ${KESTOR_ROOT}/tools/mkpage.py ${KESTOR_PAGE_ARGS}
          --single-script $<TARGET_FILE:kestor> --single ${CMAKE_BINARY_DIR}/kestor.html
          --site ${CMAKE_BINARY_DIR}/site
  DEPENDS kestor kestor_site ${KESTOR_PAGE_DATA} ${KESTOR_ROOT}/tools/mkpage.py
          ${KESTOR_ROOT}/ui/web/page.html ${KESTOR_ROOT}/resources/logo.xpm
  COMMENT "Writing kestor.html and site/")
add_custom_target(kestor_pages ALL DEPENDS ${CMAKE_BINARY_DIR}/kestor.html)
