# Bitmaps: every sheet is an SVG under content/art/, converted to the game's
# 24-bit BMP under ${GAME_DIR}/bitmap/ (rsvg-convert + ImageMagick + a python
# step that makes key colours exact).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)

set(ART_SOURCE_DIR ${CMAKE_SOURCE_DIR}/content/art)
set(ART_TOOLS
  ${CMAKE_SOURCE_DIR}/tools/art/svg2bmp.py
  ${CMAKE_SOURCE_DIR}/tools/art/cells.py)

set(ART_SHEETS
  opening/background01 opening/st opening/background02
  play/background play/chip play/char play/mes play/retray play/st play/face
  play/way play/select play/shutt play/num
  gameover/background gameover/gameover
  ending/background ending/st ending/cleartime
  gameadv/background01 gameadv/background02 gameadv/background03 gameadv/face
  gameadv/window gameadv/character_1 gameadv/character_2 gameadv/character_3
  gameadv/photo01 gameadv/photo02
  sweep edit/Edit)

set(ART_OUTPUTS)
foreach(sheet ${ART_SHEETS})
  set(svg ${ART_SOURCE_DIR}/${sheet}.svg)
  set(bmp ${GAME_DIR}/bitmap/${sheet}.bmp)
  add_custom_command(OUTPUT ${bmp}
    COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/art/svg2bmp.py ${sheet} ${svg} ${bmp}
    DEPENDS ${svg} ${ART_TOOLS}
    COMMENT "Bitmap ${sheet}.bmp"
    VERBATIM)
  list(APPEND ART_OUTPUTS ${bmp})
endforeach()
add_custom_target(art ALL DEPENDS ${ART_OUTPUTS})

# Rewrites content/art/CELLS.md from the cell table; run by hand. The SVGs are
# sources written by the drawers (tools/art/draw_*.py), never by the build.
add_custom_target(art-cells
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/art/write_cells_md.py ${ART_SOURCE_DIR}
  VERBATIM)

# Rewrites the SVG sources from the drawers (run by hand after changing one).
add_custom_target(art-draw
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/art/draw_play.py ${ART_SOURCE_DIR}
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/art/draw_screens.py ${ART_SOURCE_DIR}
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/art/draw_story.py ${ART_SOURCE_DIR}
  VERBATIM)

# One PNG with every bitmap and its cells outlined, for reviewing the art.
add_custom_target(art-contact-sheet
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/art/contact_sheet.py ${GAME_DIR}
          ${CMAKE_BINARY_DIR}/art-contact-sheet.png
  DEPENDS art
  COMMENT "Contact sheet: ${CMAKE_BINARY_DIR}/art-contact-sheet.png"
  VERBATIM)

add_test(NAME art.bitmaps
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/art/check_bitmaps.py ${GAME_DIR})
add_test(NAME art.tools
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/art/test_art.py)
