/* The FreeType modules of the browser's build (packaging/web/freetype-modules.cmake): the game
   draws one TrueType font, hinted by its own instructions (never the auto-hinter), in shades of
   grey. Every other font format and renderer would only be downloaded. */
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
