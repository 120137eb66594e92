# The Windows build (included by the top CMakeLists.txt when cross-compiling): a static,
# stripped GUI quenmarsh.exe with its icon and version information, installed in the folder
# layout (packaging/install.cmake) into Quenmarsh/ with the licences, and zipped. The pictures,
# the cry, the font and the icon come from a native build tree, so data/ is byte for byte the
# native one.
set(QUENMARSH_NATIVE_BUILD "" CACHE PATH "Native build tree whose data/ and icon the zip takes")
set(QUENMARSH_ICO ${QUENMARSH_NATIVE_BUILD}/${QUENMARSH_ICON_SUBDIR}/quenmarsh.ico)
if(NOT EXISTS ${QUENMARSH_NATIVE_BUILD}/data/${QUENMARSH_FONT_FILE} OR NOT EXISTS ${QUENMARSH_ICO})
  message(FATAL_ERROR "QUENMARSH_NATIVE_BUILD must name a built native tree (make build), not '${QUENMARSH_NATIVE_BUILD}'")
endif()
set(QUENMARSH_DATA_DIR ${QUENMARSH_NATIVE_BUILD}/data)
set(QUENMARSH_ICON_DIR ${QUENMARSH_NATIVE_BUILD}/${QUENMARSH_ICON_SUBDIR})
set(QUENMARSH_FONT_SOURCE ${QUENMARSH_DATA_DIR}/${QUENMARSH_FONT_FILE})
set(QUENMARSH_FONT_LICENCE ${QUENMARSH_DATA_DIR}/${QUENMARSH_FONT_LICENCE_FILE})

target_compile_definitions(quenmarsh_core PUBLIC ALLEGRO_STATICLINK)
# Imports only Windows system DLLs; no console window.
target_link_options(quenmarsh_core INTERFACE -static)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quenmarsh.rc.in ${PROJECT_BINARY_DIR}/quenmarsh.rc @ONLY)
target_sources(quenmarsh PRIVATE ${PROJECT_BINARY_DIR}/quenmarsh.rc)
set_source_files_properties(${PROJECT_BINARY_DIR}/quenmarsh.rc PROPERTIES OBJECT_DEPENDS ${QUENMARSH_ICO})
set_target_properties(quenmarsh PROPERTIES WIN32_EXECUTABLE ON)
target_link_options(quenmarsh PRIVATE -s)

# Beside the program and data/ (install.cmake): the licences, with names Windows opens.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${QUENMARSH_DEPS_PREFIX}/share/NOTICES.txt DESTINATION .)  # made by packaging/deps/
install(DIRECTORY ${QUENMARSH_DEPS_PREFIX}/share/licences/ DESTINATION licences)
install(FILES ${QUENMARSH_FONT_LICENCE} DESTINATION licences RENAME ${QUENMARSH_ZIP_FONT_LICENCE})

# Installed afresh into Quenmarsh/ on every build, so that nothing stale stays in the zip;
# the Wine tests play that folder.
set(QUENMARSH_ZIP_ROOT ${PROJECT_BINARY_DIR}/zip)
set(QUENMARSH_STAGE ${QUENMARSH_ZIP_ROOT}/Quenmarsh)
set(QUENMARSH_ZIP ${PROJECT_BINARY_DIR}/Quenmarsh-${PROJECT_VERSION}-windows-x64.zip)
add_custom_target(windows-zip ALL
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUENMARSH_ZIP_ROOT} ${QUENMARSH_ZIP}
  COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${QUENMARSH_STAGE}
  COMMAND ${CMAKE_COMMAND} -E chdir ${QUENMARSH_ZIP_ROOT} ${CMAKE_COMMAND} -E tar cf ${QUENMARSH_ZIP} --format=zip Quenmarsh
  DEPENDS quenmarsh
  COMMENT "Zipping ${QUENMARSH_ZIP}"
  VERBATIM)
