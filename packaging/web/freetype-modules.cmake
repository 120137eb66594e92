# Included by FreeType's own build for the browser (CMAKE_PROJECT_freetype_INCLUDE, given by
# packaging/deps/): FreeType with the modules the game's TrueType font needs alone.
add_compile_definitions(FT_CONFIG_MODULES_H="${CMAKE_CURRENT_LIST_DIR}/freetype-modules.h")
