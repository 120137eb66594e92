# The browser build (included by the top CMakeLists.txt under Emscripten): quenmarsh.js and
# quenmarsh.wasm, the game data packed into quenmarsh.data, and beside them the page (with its
# script from page/), its manifest, icons and service worker, and the licences, in one folder and
# zipped. The pictures, the cry, the font and the icon come from a native build tree, so the data
# is byte for byte the native one.
set(QUENMARSH_NATIVE_BUILD "" CACHE PATH "Native build tree whose data/ and icon the zip takes")
set(QUENMARSH_DATA_DIR ${QUENMARSH_NATIVE_BUILD}/data)
set(QUENMARSH_FAVICON ${QUENMARSH_NATIVE_BUILD}/${QUENMARSH_ICON_SUBDIR}/32x32/apps/quenmarsh.png)
if(NOT EXISTS ${QUENMARSH_DATA_DIR}/${QUENMARSH_FONT_FILE} OR NOT EXISTS ${QUENMARSH_FAVICON})
  message(FATAL_ERROR "QUENMARSH_NATIVE_BUILD must name a built native tree (make build), not '${QUENMARSH_NATIVE_BUILD}'")
endif()
set(QUENMARSH_WEB_DIR ${CMAKE_CURRENT_LIST_DIR})

# The game finds its data folder at /data beside the program, as on the desktop. The page loads
# the data package (quenmarsh.data, unpacked by quenmarsh-data.js) beside the program, starts the
# program once the package is in, and without it should it fail to load, so that the game says
# so itself. The window icon stays out: a page's tab shows the page's own icon (favicon.png), and
# SDL gives a canvas none, so the game finds no icon there and keeps the default, as it may.
set(QUENMARSH_WEB_DATA ${QUENMARSH_GENERATED_FILES} ${QUENMARSH_FONT_FILE})
list(REMOVE_ITEM QUENMARSH_WEB_DATA ${QUENMARSH_WINDOW_ICON_FILE})
list(TRANSFORM QUENMARSH_WEB_DATA PREPEND ${QUENMARSH_DATA_DIR}/)
set(quenmarsh_preload)
foreach(file ${QUENMARSH_WEB_DATA})
  get_filename_component(name ${file} NAME)
  list(APPEND quenmarsh_preload ${file}@/data/${name})
endforeach()
add_custom_command(OUTPUT quenmarsh.data quenmarsh-data.js
  COMMAND python3 ${EMSCRIPTEN_ROOT_PATH}/tools/file_packager.py quenmarsh.data --preload ${quenmarsh_preload}
          --js-output=quenmarsh-data.js --no-node
  DEPENDS ${QUENMARSH_WEB_DATA}
  COMMENT "Packing the game data into quenmarsh.data"
  VERBATIM)
add_custom_target(quenmarsh-web-data DEPENDS quenmarsh.data quenmarsh-data.js)

# The game rests in a few places only: the intro between its frames (al_rest), the game loop
# until its next event comes (al_wait_for_event, which rests until then), start-up between its
# longer steps (yieldToPage), and SDL after each frame it hands the browser (al_flip_display,
# down to SDL's Emscripten_GLES_SwapWindow). In the browser each is a return to the browser's
# event loop, through Asyncify, which needs every function on the way from main() down to the
# rest instrumented: those few alone are (a C++ name ending in * for its parameters; in the
# release build some are inlined into their callers, and the link warns that it misses them),
# and the rest of the program stays as small and as fast as without Asyncify. The runtime
# outlives main() (no EXIT_RUNTIME): on the end page, the page still asks the game whether a
# file the player loads is a progress file. SDL2's own JavaScript calls two of Emscripten's
# library functions that nothing else pulls in. Both lists are named in files, one name a line,
# which need no quoting. The runtime reads from Module only what the page (page/page.js, load.js)
# and pre.js give it, and the game allocates little and seldom: the smaller of Emscripten's
# allocators does.
set(quenmarsh_waiting_functions ${CMAKE_CURRENT_BINARY_DIR}/waiting-functions.txt)
file(CONFIGURE OUTPUT ${quenmarsh_waiting_functions} @ONLY CONTENT "main\nrunIntro*\nrunGameLoop*\n\
startUp*\nloadAssets*\nyieldToPage*\nal_rest\n_al_sdl_rest\nSDL_Delay\nal_wait_for_event\n\
al_flip_display\nsdl_flip_display\nSDL_GL_SwapWindow\nSDL_GL_SwapWindowWithResult\nEmscripten_GLES_SwapWindow\n")
set(quenmarsh_library_functions ${CMAKE_CURRENT_BINARY_DIR}/library-functions.txt)
file(WRITE ${quenmarsh_library_functions} "$dynCall\n$autoResumeAudioContext\n")
set(quenmarsh_module_keys canvas,print,printErr,locateFile,instantiateWasm,preRun,onRuntimeInitialized,onAbort)
target_link_options(quenmarsh PRIVATE
  -sASYNCIFY -sASYNCIFY_ONLY=@${quenmarsh_waiting_functions}
  -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sFULL_ES2=1 -sMAX_WEBGL_VERSION=2 -sFORCE_FILESYSTEM=1
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${quenmarsh_library_functions}
  -sINCOMING_MODULE_JS_API=[${quenmarsh_module_keys}] -sMALLOC=emmalloc --pre-js ${QUENMARSH_WEB_DIR}/pre.js)
set_target_properties(quenmarsh PROPERTIES LINK_DEPENDS "${QUENMARSH_WEB_DIR}/pre.js;${quenmarsh_waiting_functions}")
# Every byte of the program is downloaded before the game starts: the release build is
# optimized for size, the game's code and the libraries' (packaging/deps/, compiled to bitcode)
# together at the link.
target_compile_options(quenmarsh_core PRIVATE $<$<CONFIG:Release>:-Oz -flto>)
target_compile_options(quenmarsh PRIVATE $<$<CONFIG:Release>:-Oz -flto>)
target_link_options(quenmarsh PRIVATE $<$<CONFIG:Release>:-Oz -flto>)

# The runtime and the data package's unpacker minified, as the player downloads them (the
# closure compiler Emscripten would use is not in Debian). Top-level names stay: the page calls
# the runtime's.
find_program(QUENMARSH_TERSER terser REQUIRED)
set(QUENMARSH_WEB_SCRIPTS ${PROJECT_BINARY_DIR}/quenmarsh.js ${CMAKE_CURRENT_BINARY_DIR}/quenmarsh-data.js)
set(quenmarsh_minified)
foreach(script ${QUENMARSH_WEB_SCRIPTS})
  get_filename_component(name ${script} NAME)
  set(minified ${CMAKE_CURRENT_BINARY_DIR}/web-minified/${name})
  add_custom_command(OUTPUT ${minified}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/web-minified
    COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs
            ${QUENMARSH_TERSER} ${script} --compress --mangle --output ${minified}
    DEPENDS ${script} quenmarsh quenmarsh-web-data
    COMMENT "Minifying ${name}"
    VERBATIM)
  list(APPEND quenmarsh_minified ${minified})
endforeach()

# The page's one-sentence description, for search engines, portals and home screens.
set(QUENMARSH_DESCRIPTION "Look after a chip in the marsh: keep its heat, fire, food and water in hand, keep it alive and raise it well.")
set(QUENMARSH_WEB_ICONS ${QUENMARSH_WEB_ICON_FILES})
list(TRANSFORM QUENMARSH_WEB_ICONS PREPEND ${QUENMARSH_NATIVE_BUILD}/${QUENMARSH_WEB_ICON_SUBDIR}/)
set(QUENMARSH_MANIFEST_ICONS)
foreach(size ${QUENMARSH_WEB_ICON_SIZES})
  string(APPEND QUENMARSH_MANIFEST_ICONS
         "\n    {\"src\": \"quenmarsh-${size}.png\", \"sizes\": \"${size}x${size}\", \"type\": \"image/png\"},")
endforeach()
foreach(size ${QUENMARSH_MASKABLE_ICON_SIZES})
  string(APPEND QUENMARSH_MANIFEST_ICONS
         "\n    {\"src\": \"quenmarsh-maskable-${size}.png\", \"sizes\": \"${size}x${size}\", \"type\": \"image/png\", "
         "\"purpose\": \"maskable\"},")
endforeach()
string(REGEX REPLACE ",$" "\n  " QUENMARSH_MANIFEST_ICONS "${QUENMARSH_MANIFEST_ICONS}")
set(QUENMARSH_TOUCH_ICON quenmarsh-maskable-${QUENMARSH_TOUCH_ICON_SIZE}.png)

# The page's script, one file a concern in page/, is written into the page itself: the page stays
# one file, which loads whole or not at all, and which the service worker keeps and the build's id
# stamps as before. Each is named for the browser's console and debugger as page/<file>. The
# first six only define functions and values; page.js puts them together and starts the page
# (load.js calls back its Module and showMessage), and access.js, after it, lays the accessible
# copy of the game over page.js's canvas and answers its Module.
set(QUENMARSH_PAGE_SCRIPT_FILES messages.js storage.js claim.js carry.js screen.js load.js page.js access.js)
set(QUENMARSH_PAGE_SCRIPTS)
foreach(name ${QUENMARSH_PAGE_SCRIPT_FILES})
  file(READ ${QUENMARSH_WEB_DIR}/page/${name} script)
  string(APPEND QUENMARSH_PAGE_SCRIPTS "<script>\n${script}//# sourceURL=page/${name}\n</script>\n")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUENMARSH_WEB_DIR}/page/${name})
endforeach()
string(STRIP "${QUENMARSH_PAGE_SCRIPTS}" QUENMARSH_PAGE_SCRIPTS)
configure_file(${QUENMARSH_WEB_DIR}/index.html ${CMAKE_CURRENT_BINARY_DIR}/web-page/index.html @ONLY)
configure_file(${QUENMARSH_WEB_DIR}/manifest.webmanifest.in ${CMAKE_CURRENT_BINARY_DIR}/web-page/manifest.webmanifest @ONLY)

# Every file of the build is gathered afresh into web-files/ on every build, so that nothing
# stale stays; stamp.py makes the served folder zip/ from it, with the build's id in the page and
# the service worker, and zips that folder with index.html at the root, as game portals want.
# The browser tests serve zip/, and make a second build from web-files/ to try an update.
set(QUENMARSH_WEB_FILES ${PROJECT_BINARY_DIR}/web-files)
set(QUENMARSH_STAGE ${PROJECT_BINARY_DIR}/zip)
set(QUENMARSH_ZIP ${PROJECT_BINARY_DIR}/Quenmarsh-${PROJECT_VERSION}-web.zip)
set(QUENMARSH_STAMP ${QUENMARSH_WEB_DIR}/stamp.py)
add_custom_target(web-zip ALL
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUENMARSH_WEB_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUENMARSH_WEB_FILES}/licences
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_BINARY_DIR}/web-page/index.html
          ${CMAKE_CURRENT_BINARY_DIR}/web-page/manifest.webmanifest ${QUENMARSH_WEB_DIR}/sw.js
          ${quenmarsh_minified} ${PROJECT_BINARY_DIR}/quenmarsh.wasm
          ${PROJECT_BINARY_DIR}/quenmarsh.data ${QUENMARSH_WEB_ICONS}
          ${QUENMARSH_DEPS_PREFIX}/share/NOTICES.txt ${QUENMARSH_WEB_FILES}/
  COMMAND ${CMAKE_COMMAND} -E copy ${QUENMARSH_FAVICON} ${QUENMARSH_WEB_FILES}/favicon.png
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${QUENMARSH_WEB_FILES}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${QUENMARSH_DEPS_PREFIX}/share/licences ${QUENMARSH_WEB_FILES}/licences
  COMMAND ${CMAKE_COMMAND} -E copy ${QUENMARSH_DATA_DIR}/${QUENMARSH_FONT_LICENCE_FILE}
          ${QUENMARSH_WEB_FILES}/licences/${QUENMARSH_ZIP_FONT_LICENCE}
  COMMAND python3 ${QUENMARSH_STAMP} ${QUENMARSH_WEB_FILES} ${QUENMARSH_STAGE} ${QUENMARSH_ZIP} ${PROJECT_VERSION}
  DEPENDS quenmarsh quenmarsh-web-data ${quenmarsh_minified} ${CMAKE_CURRENT_BINARY_DIR}/web-page/index.html
          ${CMAKE_CURRENT_BINARY_DIR}/web-page/manifest.webmanifest ${QUENMARSH_WEB_DIR}/sw.js ${QUENMARSH_STAMP}
  COMMENT "Zipping ${QUENMARSH_ZIP}"
  VERBATIM)
