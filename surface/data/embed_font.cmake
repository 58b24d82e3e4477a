# Turns the 8 x 8 code page 437 font (cp437-8x8.txt next to this file) into a C++ table at
# configure time, so that the program carries its font and reads no file when it runs.
# fogloom_embed_font(<var>) writes the source and sets <var> to its path. Editing the text
# file reconfigures.
#
# The text file: lines starting with '#' are comments; every other line is a code 0..255
# followed by eight hex bytes, the glyph's rows top first, most significant bit leftmost.
# All 256 codes must be present, each once.

set(_fogloom_font_dir "${CMAKE_CURRENT_LIST_DIR}")

function(fogloom_embed_font out_var)
  set(_font_text "${_fogloom_font_dir}/cp437-8x8.txt")
  set(_font_source "${CMAKE_CURRENT_BINARY_DIR}/generated/surface/font_cp437.cpp")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_font_text}")

  file(STRINGS "${_font_text}" _font_lines)
  foreach(_line IN LISTS _font_lines)
    if(_line MATCHES "^[ \t]*(#|$)")
      continue()
    endif()
    if(NOT _line MATCHES "^[ \t]*([0-9]+)[ \t]+(.*)$")
      message(FATAL_ERROR "cp437-8x8.txt: cannot read the line \"${_line}\"")
    endif()
    math(EXPR _code "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_2}" _rows)
    string(REGEX REPLACE "[ \t]+" ";" _rows "${_rows}")
    list(LENGTH _rows _row_count)
    if(NOT _row_count EQUAL 8)
      message(FATAL_ERROR "cp437-8x8.txt: code ${_code} has ${_row_count} rows, not 8")
    endif()
    if(_code GREATER 255)
      message(FATAL_ERROR "cp437-8x8.txt: code ${_code} is beyond 255")
    endif()
    if(DEFINED _font_glyph_${_code})
      message(FATAL_ERROR "cp437-8x8.txt: code ${_code} appears twice")
    endif()
    set(_bytes "")
    foreach(_row IN LISTS _rows)
      if(NOT _row MATCHES "^[0-9A-Fa-f][0-9A-Fa-f]$")
        message(FATAL_ERROR "cp437-8x8.txt: code ${_code} has the row \"${_row}\", not two hex digits")
      endif()
      string(APPEND _bytes "0x${_row}, ")
    endforeach()
    string(REGEX REPLACE ", $" "" _bytes "${_bytes}")
    set(_font_glyph_${_code} "${_bytes}")
  endforeach()

  set(_font_table "")
  foreach(_code RANGE 255)
    if(NOT DEFINED _font_glyph_${_code})
      message(FATAL_ERROR "cp437-8x8.txt: code ${_code} is missing")
    endif()
    string(APPEND _font_table "    {{${_font_glyph_${_code}}}},  // ${_code}\n")
  endforeach()

  # Written only when the table changes, so that reconfiguring rebuilds nothing needlessly.
  file(CONFIGURE OUTPUT "${_font_source}" @ONLY CONTENT [=[
// Generated from surface/data/cp437-8x8.txt by surface/data/embed_font.cmake; do not edit.
#include "surface/font.h"

namespace fogloom {

const Font& cp437Font() {
    static constexpr Font font = {{
@_font_table@    }};
    return font;
}

}  // namespace fogloom
]=])
  set(${out_var} "${_font_source}" PARENT_SCOPE)
endfunction()
