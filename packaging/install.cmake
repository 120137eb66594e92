# Install rules. By default the Debian games layout under the prefix, so that
# `sudo cmake --install build` gives /usr/local/games/quenmarsh with a menu entry and icons, and
# the Debian package (debian/, `make deb`) installs the same tree under /usr:
#   games/quenmarsh                     -> ../lib/games/quenmarsh/quenmarsh
#   lib/games/quenmarsh/quenmarsh          the program
#   lib/games/quenmarsh/data            -> ../../../share/games/quenmarsh (found beside the program)
#   share/games/quenmarsh/                 pictures, cry, window icon; VeraMoBd.ttf links to the font package's file
#   share/applications, share/icons/hicolor, share/metainfo, share/man/man6, share/doc/quenmarsh
# QUENMARSH_INSTALL_LAYOUT=folder gives one self-contained folder instead (the program, data/
# with a copy of the font, the icon, a desktop entry): for local play and the Windows zip.
# A player of the Windows build unzips one self-contained folder: the games layout has no meaning there.
if(WIN32)
  set(quenmarsh_default_layout folder)
else()
  set(quenmarsh_default_layout games)
endif()
set(QUENMARSH_INSTALL_LAYOUT ${quenmarsh_default_layout} CACHE STRING "Install layout: games (Debian games layout) or folder")
set_property(CACHE QUENMARSH_INSTALL_LAYOUT PROPERTY STRINGS games folder)
set(QUENMARSH_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(QUENMARSH_DATA_FILES ${QUENMARSH_GENERATED_FILES})
list(TRANSFORM QUENMARSH_DATA_FILES PREPEND ${QUENMARSH_DATA_DIR}/)

# The version is set once, in project(); the newest entry of debian/changelog (which gives the
# Debian package its version) and the metainfo's newest release must name it.
file(STRINGS ${PROJECT_SOURCE_DIR}/debian/changelog quenmarsh_changelog_top LIMIT_COUNT 1)
file(STRINGS ${QUENMARSH_PACKAGING_DIR}/linux/io.github.quenmarsh.Quenmarsh.metainfo.xml quenmarsh_release
     REGEX "<release " LIMIT_COUNT 1)
if(NOT quenmarsh_changelog_top MATCHES "^quenmarsh \\(${PROJECT_VERSION}\\) " OR
   NOT quenmarsh_release MATCHES "version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "debian/changelog and the metainfo's first release must name "
                      "version ${PROJECT_VERSION}: add an entry for it to both")
endif()

# The uninstall target removes emptied folders up to this prefix, never beyond.
install(CODE "file(WRITE \"${PROJECT_BINARY_DIR}/install_prefix.txt\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")")

if(WIN32 AND NOT QUENMARSH_INSTALL_LAYOUT STREQUAL "folder")
  message(FATAL_ERROR "The Windows build installs only QUENMARSH_INSTALL_LAYOUT=folder")
elseif(QUENMARSH_INSTALL_LAYOUT STREQUAL "folder")
  install(TARGETS quenmarsh RUNTIME DESTINATION .)
  install(FILES ${QUENMARSH_DATA_FILES} DESTINATION data)
  install(FILES ${QUENMARSH_FONT_SOURCE} DESTINATION data RENAME ${QUENMARSH_FONT_FILE})
  install(FILES ${QUENMARSH_FONT_LICENCE} DESTINATION data RENAME ${QUENMARSH_FONT_LICENCE_FILE})
  # The Windows program carries its icon; its licences are placed by packaging/windows/windows.cmake.
  if(NOT WIN32)
    install(FILES ${QUENMARSH_ICON_DIR}/128x128/apps/quenmarsh.png ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
    # Desktop entries take no relative paths, so the entry is written at install time with the
    # folder's absolute path (Exec, Path, Icon); after moving the folder, install again.
    install(CODE "
      get_filename_component(quenmarsh_dir \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE)
      file(READ \"${QUENMARSH_PACKAGING_DIR}/quenmarsh-folder.desktop.in\" quenmarsh_entry)
      string(REPLACE \"@QUENMARSH_DIR@\" \"\${quenmarsh_dir}\" quenmarsh_entry \"\${quenmarsh_entry}\")
      file(WRITE \"${PROJECT_BINARY_DIR}/install/quenmarsh.desktop\" \"\${quenmarsh_entry}\")
      file(INSTALL DESTINATION \"\${quenmarsh_dir}\" TYPE FILE
           FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
           FILES \"${PROJECT_BINARY_DIR}/install/quenmarsh.desktop\")
    ")
  endif()
elseif(QUENMARSH_INSTALL_LAYOUT STREQUAL "games")
  # Man page and changelog compressed the way Debian ships them (no name or time stamp).
  set(quenmarsh_gz_dir ${PROJECT_BINARY_DIR}/packaging)
  foreach(file ${QUENMARSH_PACKAGING_DIR}/linux/quenmarsh.6 ${PROJECT_SOURCE_DIR}/debian/changelog)
    get_filename_component(name ${file} NAME)
    add_custom_command(OUTPUT ${quenmarsh_gz_dir}/${name}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${quenmarsh_gz_dir}
      COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${file} ${quenmarsh_gz_dir}/${name}.gz
      DEPENDS ${file} VERBATIM)
  endforeach()
  add_custom_target(quenmarsh-docs ALL DEPENDS ${quenmarsh_gz_dir}/quenmarsh.6.gz ${quenmarsh_gz_dir}/changelog.gz)

  install(TARGETS quenmarsh RUNTIME DESTINATION lib/games/quenmarsh)
  install(FILES ${QUENMARSH_DATA_FILES} DESTINATION share/games/quenmarsh)
  install(FILES ${QUENMARSH_PACKAGING_DIR}/linux/quenmarsh.desktop DESTINATION share/applications)
  install(DIRECTORY ${QUENMARSH_ICON_DIR}/ DESTINATION share/icons/hicolor FILES_MATCHING PATTERN quenmarsh.png)
  install(FILES ${QUENMARSH_PACKAGING_DIR}/linux/io.github.quenmarsh.Quenmarsh.metainfo.xml DESTINATION share/metainfo)
  install(FILES ${quenmarsh_gz_dir}/quenmarsh.6.gz DESTINATION share/man/man6)
  install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright ${quenmarsh_gz_dir}/changelog.gz
          DESTINATION share/doc/quenmarsh)
  # The links, made at install time because the font's link depends on the prefix: relative
  # when the font lies under it (/usr), absolute otherwise (/usr/local). They go into the
  # install manifest so that the uninstall target removes them too.
  install(CODE "
    set(quenmarsh_root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    set(quenmarsh_font_dir \"\${CMAKE_INSTALL_PREFIX}/share/games/quenmarsh\")
    set(quenmarsh_font \"${QUENMARSH_FONT_SOURCE}\")
    string(FIND \"\${quenmarsh_font}\" \"\${CMAKE_INSTALL_PREFIX}/\" quenmarsh_under_prefix)
    if(quenmarsh_under_prefix EQUAL 0)
      file(RELATIVE_PATH quenmarsh_font \"\${quenmarsh_font_dir}\" \"\${quenmarsh_font}\")
    endif()
    foreach(quenmarsh_link
        \"games/quenmarsh|../lib/games/quenmarsh/quenmarsh\"
        \"lib/games/quenmarsh/data|../../../share/games/quenmarsh\"
        \"share/games/quenmarsh/${QUENMARSH_FONT_FILE}|\${quenmarsh_font}\")
      string(REPLACE \"|\" \";\" quenmarsh_link \"\${quenmarsh_link}\")
      list(GET quenmarsh_link 0 quenmarsh_name)
      list(GET quenmarsh_link 1 quenmarsh_target)
      get_filename_component(quenmarsh_parent \"\${quenmarsh_root}/\${quenmarsh_name}\" DIRECTORY)
      file(MAKE_DIRECTORY \"\${quenmarsh_parent}\")
      file(REMOVE \"\${quenmarsh_root}/\${quenmarsh_name}\")
      message(STATUS \"Installing: \${quenmarsh_root}/\${quenmarsh_name} -> \${quenmarsh_target}\")
      file(CREATE_LINK \"\${quenmarsh_target}\" \"\${quenmarsh_root}/\${quenmarsh_name}\" SYMBOLIC)
      list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${quenmarsh_root}/\${quenmarsh_name}\")
    endforeach()
  ")
else()
  message(FATAL_ERROR "QUENMARSH_INSTALL_LAYOUT is \"${QUENMARSH_INSTALL_LAYOUT}\": use games or folder")
endif()

# Removes what the last `cmake --install` of this build tree installed (install_manifest.txt).
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
          -DPREFIX_FILE=${PROJECT_BINARY_DIR}/install_prefix.txt
          -P ${QUENMARSH_PACKAGING_DIR}/uninstall.cmake
  COMMENT "Removing the installed files" VERBATIM)
