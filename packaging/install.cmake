# Install rules. By default the Debian games layout under the prefix, so that
# `sudo cmake --install build` gives /usr/local/games/quenmarsh with a menu entry and icons, and
# the Debian package (debian/, `make deb`) has the same tree under /usr:
#   games/quenmarsh                     -> ../lib/games/quenmarsh/quenmarsh
#   lib/games/quenmarsh/quenmarsh          the program
#   lib/games/quenmarsh/data            -> ../../../share/games/quenmarsh (found beside the program)
#   share/games/quenmarsh/                 pictures, cry, window icon; the font links to the font package's file
#   share/applications, share/icons/hicolor, share/metainfo, share/man/man6, share/doc/quenmarsh
# In the package, debhelper installs the man page and the copyright file and makes the links
# (debian/quenmarsh.manpages, debian/quenmarsh.links); it compresses and adds the changelog.
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
  option(QUENMARSH_DEBHELPER "Leave the man page, the copyright file and the links to debhelper (debian/)" OFF)
  set(quenmarsh_program_dir lib/games/quenmarsh)
  set(quenmarsh_data_dir share/games/quenmarsh)
  install(TARGETS quenmarsh RUNTIME DESTINATION ${quenmarsh_program_dir})
  install(FILES ${QUENMARSH_DATA_FILES} DESTINATION ${quenmarsh_data_dir})
  install(FILES ${QUENMARSH_PACKAGING_DIR}/linux/quenmarsh.desktop DESTINATION share/applications)
  install(DIRECTORY ${QUENMARSH_ICON_DIR}/ DESTINATION share/icons/hicolor FILES_MATCHING PATTERN quenmarsh.png)
  install(FILES ${QUENMARSH_PACKAGING_DIR}/linux/io.github.quenmarsh.Quenmarsh.metainfo.xml DESTINATION share/metainfo)
  if(NOT QUENMARSH_DEBHELPER)
    install(FILES ${QUENMARSH_PACKAGING_DIR}/linux/quenmarsh.6 DESTINATION share/man/man6)
    install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright DESTINATION share/doc/quenmarsh)
  endif()
  # The package's links (debian/quenmarsh.links, paths under /usr), which this install makes in
  # the build tree and installs as they are. Those to the game's own files are relative. The
  # font's goes to the font file this build found, by its absolute path, which a relative link
  # would not reach from another prefix; the package's must name the same file.
  set(quenmarsh_font_link ${quenmarsh_data_dir}/${QUENMARSH_FONT_FILE})
  file(STRINGS ${PROJECT_SOURCE_DIR}/debian/quenmarsh.links quenmarsh_links REGEX "^[^#]")
  foreach(link ${quenmarsh_links})
    separate_arguments(link UNIX_COMMAND "${link}")
    list(GET link 0 target)
    list(GET link 1 name)
    string(REGEX REPLACE "^/?usr/" "" name ${name})
    string(REGEX REPLACE "^/?usr/" "" own_target ${target})
    get_filename_component(folder ${name} DIRECTORY)
    if(name STREQUAL quenmarsh_font_link)
      set(quenmarsh_font_link FOUND)
      string(REGEX REPLACE "^/" "" target ${target})
      if(QUENMARSH_DEBHELPER AND NOT /${target} STREQUAL QUENMARSH_FONT_SOURCE)
        message(FATAL_ERROR "debian/quenmarsh.links must link ${QUENMARSH_FONT_SOURCE}, the font the game is built with")
      endif()
      set(target ${QUENMARSH_FONT_SOURCE})
    else()
      file(RELATIVE_PATH target /${folder} /${own_target})
    endif()
    if(NOT QUENMARSH_DEBHELPER)
      set(link_file ${PROJECT_BINARY_DIR}/links/${name})
      get_filename_component(link_folder ${link_file} DIRECTORY)
      file(MAKE_DIRECTORY ${link_folder})
      file(REMOVE ${link_file})
      file(CREATE_LINK ${target} ${link_file} SYMBOLIC)
      install(FILES ${link_file} DESTINATION ${folder})
    endif()
  endforeach()
  if(NOT quenmarsh_font_link STREQUAL FOUND)
    message(FATAL_ERROR "debian/quenmarsh.links must link usr/${quenmarsh_font_link} to the font")
  endif()
else()
  message(FATAL_ERROR "QUENMARSH_INSTALL_LAYOUT is \"${QUENMARSH_INSTALL_LAYOUT}\": use games or folder")
endif()

# Removes what the last `cmake --install` of this build tree installed (install_manifest.txt).
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
          -DPREFIX_FILE=${PROJECT_BINARY_DIR}/install_prefix.txt
          -P ${QUENMARSH_PACKAGING_DIR}/uninstall.cmake
  COMMENT "Removing the installed files" VERBATIM)
