/* The modules the renderer's glyphs go through: TrueType fonts, hinted by
 * their own instructions (so no auto-hinter), drawn in grey and in black and
 * white. */
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_raster1_renderer_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
