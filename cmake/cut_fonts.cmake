# The twelve Liberation faces the renderer stands in with, cut to the
# characters of the code page texts are stored in (web/fonts/cut_font.py),
# into DIR; the files made are listed in OUT_VAR. The web player serves
# them; the tests check that they draw as the whole files do.
function(zured16_cut_fonts dir out_var)
  set(liberation /usr/share/fonts/truetype/liberation)
  set(cutter ${PROJECT_SOURCE_DIR}/web/fonts/cut_font.py)
  set(code_page ${PROJECT_SOURCE_DIR}/core/tables/windows_1252.inc)
  set(files)
  foreach(family Sans Serif Mono)
    foreach(style Regular Bold Italic BoldItalic)
      set(name Liberation${family}-${style}.ttf)
      add_custom_command(OUTPUT ${dir}/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${HOST_PYTHON} ${cutter} --code-page ${code_page} ${liberation}/${name} ${dir}/${name}
        DEPENDS ${liberation}/${name} ${cutter} ${code_page} VERBATIM)
      list(APPEND files ${dir}/${name})
    endforeach()
  endforeach()
  set(${out_var} ${files} PARENT_SCOPE)
endfunction()
