# The Windows build (included by the top CMakeLists.txt when cross-compiling): a static,
# stripped GUI quenmarsh.exe with its icon and version information, staged in Quenmarsh/
# with data/ and the licences, and zipped by the windows-zip target. The pictures, the cry
# and the icon come from a native build tree, so data/ is byte for byte the native one.
set(QUENMARSH_NATIVE_BUILD "" CACHE PATH "Native build tree whose data/ and quenmarsh.ico the zip takes")
if(NOT EXISTS ${QUENMARSH_NATIVE_BUILD}/data/VeraMoBd.ttf OR NOT EXISTS ${QUENMARSH_NATIVE_BUILD}/quenmarsh.ico)
  message(FATAL_ERROR "QUENMARSH_NATIVE_BUILD must name a built native tree (make build), not '${QUENMARSH_NATIVE_BUILD}'")
endif()

set(QUENMARSH_STAGE ${PROJECT_BINARY_DIR}/Quenmarsh)
set(QUENMARSH_DATA_DIR ${QUENMARSH_STAGE}/data)
set(QUENMARSH_ZIP ${PROJECT_BINARY_DIR}/Quenmarsh-${PROJECT_VERSION}-windows-x64.zip)

target_compile_definitions(quenmarsh_core PUBLIC ALLEGRO_STATICLINK)
# Imports only Windows system DLLs; no console window.
target_link_options(quenmarsh_core INTERFACE -static)
set(QUENMARSH_ICO ${QUENMARSH_NATIVE_BUILD}/quenmarsh.ico)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quenmarsh.rc.in ${PROJECT_BINARY_DIR}/quenmarsh.rc @ONLY)
target_sources(quenmarsh PRIVATE ${PROJECT_BINARY_DIR}/quenmarsh.rc)
set_source_files_properties(${PROJECT_BINARY_DIR}/quenmarsh.rc PROPERTIES OBJECT_DEPENDS ${QUENMARSH_ICO})
set_target_properties(quenmarsh PROPERTIES WIN32_EXECUTABLE ON RUNTIME_OUTPUT_DIRECTORY ${QUENMARSH_STAGE})
target_link_options(quenmarsh PRIVATE -s)

# data/ again from scratch each build, so that nothing stale stays in it.
set(QUENMARSH_LICENCES ${QUENMARSH_DEPS_PREFIX}/share/licences)
add_custom_target(quenmarsh-stage ALL
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUENMARSH_DATA_DIR} ${QUENMARSH_STAGE}/licences
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${QUENMARSH_NATIVE_BUILD}/data ${QUENMARSH_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${QUENMARSH_LICENCES} ${QUENMARSH_STAGE}/licences
  COMMAND ${CMAKE_COMMAND} -E copy ${QUENMARSH_NATIVE_BUILD}/data/VeraMoBd-COPYRIGHT.txt ${QUENMARSH_STAGE}/licences/VeraMoBd.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${QUENMARSH_STAGE}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/NOTICES.txt ${QUENMARSH_STAGE}/NOTICES.txt
  COMMENT "Staging data/ and the licences in Quenmarsh/"
  VERBATIM)

add_custom_target(windows-zip
  COMMAND ${CMAKE_COMMAND} -E rm -f ${QUENMARSH_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${QUENMARSH_ZIP} --format=zip Quenmarsh
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  DEPENDS quenmarsh quenmarsh-stage
  COMMENT "Zipping ${QUENMARSH_ZIP}"
  VERBATIM)
