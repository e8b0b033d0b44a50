# The twelve Liberation faces the renderer stands in with, cut to the
# characters of the code page texts are stored in and laid out in parts
# (web/fonts/cut_font.py, web/fonts/font_parts.inc), into DIR; the files
# made are listed in OUT_VAR. With WHOLE, each cut file is also written whole
# beside its parts. The web player serves the parts; the tests check that
# they draw as the whole files do.
function(zured16_cut_fonts dir out_var)
  cmake_parse_arguments(PARSE_ARGV 2 cut "WHOLE" "" "")
  set(liberation /usr/share/fonts/truetype/liberation)
  set(cutter ${PROJECT_SOURCE_DIR}/web/fonts/cut_font.py)
  set(code_page ${PROJECT_SOURCE_DIR}/core/tables/windows_1252.inc)
  set(parts ${PROJECT_SOURCE_DIR}/web/fonts/font_parts.inc)
  # A part for each string the list gives.
  file(READ ${parts} listed)
  string(REGEX REPLACE "//[^\n]*" "" listed "${listed}")
  string(REGEX MATCHALL "\"([^\"\\\\]|\\\\.)*\"" strings "${listed}")
  list(LENGTH strings part_count)
  math(EXPR last_part "${part_count} - 1")
  set(files)
  foreach(family Sans Serif Mono)
    foreach(style Regular Bold Italic BoldItalic)
      set(stem Liberation${family}-${style})
      set(outputs)
      foreach(part RANGE ${last_part})
        list(APPEND outputs ${dir}/${stem}.${part}.fontpart)
      endforeach()
      set(whole)
      if(cut_WHOLE)
        set(whole --ttf ${dir}/${stem}.ttf)
        list(APPEND outputs ${dir}/${stem}.ttf)
      endif()
      add_custom_command(OUTPUT ${outputs}
        COMMAND ${HOST_PYTHON} ${cutter} --code-page ${code_page} --parts ${parts}
                ${liberation}/${stem}.ttf ${dir} ${whole}
        DEPENDS ${liberation}/${stem}.ttf ${cutter} ${code_page} ${parts} VERBATIM)
      list(APPEND files ${outputs})
    endforeach()
  endforeach()
  set(${out_var} ${files} PARENT_SCOPE)
endfunction()
