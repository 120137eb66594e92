# The browser build (included by the top CMakeLists.txt under Emscripten): quenmarsh.js and
# quenmarsh.wasm, the game data packed into quenmarsh.data, and beside them the page, its icon
# and the licences, in Quenmarsh/ and zipped. The pictures, the cry, the font and the icon come
# from a native build tree, so the data is byte for byte the native one.
set(QUENMARSH_NATIVE_BUILD "" CACHE PATH "Native build tree whose data/ and icon the zip takes")
set(QUENMARSH_DATA_DIR ${QUENMARSH_NATIVE_BUILD}/data)
set(QUENMARSH_FAVICON ${QUENMARSH_NATIVE_BUILD}/${QUENMARSH_ICON_SUBDIR}/32x32/apps/quenmarsh.png)
if(NOT EXISTS ${QUENMARSH_DATA_DIR}/${QUENMARSH_FONT_FILE} OR NOT EXISTS ${QUENMARSH_FAVICON})
  message(FATAL_ERROR "QUENMARSH_NATIVE_BUILD must name a built native tree (make build), not '${QUENMARSH_NATIVE_BUILD}'")
endif()
set(QUENMARSH_WEB_DIR ${CMAKE_CURRENT_LIST_DIR})

# The game finds its data folder at /data beside the program, as on the desktop. The page loads
# the data package (quenmarsh.data, unpacked by quenmarsh-data.js) before the program, and
# starts the program without it should it fail to load, so that the game says so itself.
set(QUENMARSH_WEB_DATA ${QUENMARSH_GENERATED_FILES} ${QUENMARSH_FONT_FILE})
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

# ASYNCIFY lets al_wait_for_event and al_rest sleep in the browser's event loop. The runtime
# outlives main() (no EXIT_RUNTIME): on the end page, the page still asks the game whether a file
# the player loads is a progress file.
target_link_options(quenmarsh PRIVATE
  -sASYNCIFY -sALLOW_MEMORY_GROWTH=1 -sFULL_ES2=1 -sMAX_WEBGL_VERSION=2 -sFORCE_FILESYSTEM=1
  --js-library ${QUENMARSH_WEB_DIR}/library.js --pre-js ${QUENMARSH_WEB_DIR}/pre.js)
set_target_properties(quenmarsh PROPERTIES
  LINK_DEPENDS "${QUENMARSH_WEB_DIR}/library.js;${QUENMARSH_WEB_DIR}/pre.js")

# Made afresh into Quenmarsh/ on every build, so that nothing stale stays in the zip; the
# browser tests serve that folder.
set(QUENMARSH_ZIP_ROOT ${PROJECT_BINARY_DIR}/zip)
set(QUENMARSH_STAGE ${QUENMARSH_ZIP_ROOT}/Quenmarsh)
set(QUENMARSH_ZIP ${PROJECT_BINARY_DIR}/Quenmarsh-${PROJECT_VERSION}-web.zip)
add_custom_target(web-zip ALL
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUENMARSH_ZIP_ROOT} ${QUENMARSH_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUENMARSH_STAGE}/licences
  COMMAND ${CMAKE_COMMAND} -E copy ${QUENMARSH_WEB_DIR}/index.html ${PROJECT_BINARY_DIR}/quenmarsh.js
          ${PROJECT_BINARY_DIR}/quenmarsh.wasm ${PROJECT_BINARY_DIR}/quenmarsh.data
          ${PROJECT_BINARY_DIR}/quenmarsh-data.js
          ${QUENMARSH_DEPS_PREFIX}/share/NOTICES.txt ${QUENMARSH_STAGE}/
  COMMAND ${CMAKE_COMMAND} -E copy ${QUENMARSH_FAVICON} ${QUENMARSH_STAGE}/favicon.png
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${QUENMARSH_STAGE}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${QUENMARSH_DEPS_PREFIX}/share/licences ${QUENMARSH_STAGE}/licences
  COMMAND ${CMAKE_COMMAND} -E copy ${QUENMARSH_DATA_DIR}/${QUENMARSH_FONT_LICENCE_FILE}
          ${QUENMARSH_STAGE}/licences/${QUENMARSH_ZIP_FONT_LICENCE}
  COMMAND ${CMAKE_COMMAND} -E chdir ${QUENMARSH_ZIP_ROOT} ${CMAKE_COMMAND} -E tar cf ${QUENMARSH_ZIP} --format=zip Quenmarsh
  DEPENDS quenmarsh quenmarsh-web-data ${QUENMARSH_WEB_DIR}/index.html
  COMMENT "Zipping ${QUENMARSH_ZIP}"
  VERBATIM)
