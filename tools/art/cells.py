"""The texture catalogue and every rectangle the game cuts out of each sheet.

One table feeds three things: the drawers (cell positions), the cell map in
content/art/CELLS.md, and the BMP converter (which forces every pixel outside
the cells of a keyed sheet to exactly the key colour).

Cell modes (a cell without one is solid on an unkeyed sheet, sprite on a keyed one):
  solid  - an opaque picture; on a keyed sheet no pixel may be the key colour
  sprite - a shape on the key colour; the key shows through around it
  empty  - drawn, but meant to show nothing: every pixel is the key colour
"""

from collections import namedtuple

Cell = namedtuple("Cell", "l t r b name shows drawer mode")
Sheet = namedtuple("Sheet", "id path w h key cells notes")

KEYS = {None: None, "black": (0, 0, 0), "green": (0, 255, 0)}


def C(l, t, r, b, name, shows, drawer, mode=None):
    return Cell(l, t, r, b, name, shows, drawer, mode)


def _full(name, shows, drawer):
    return [C(0, 0, 640, 480, name, shows, drawer)]


TILE_NAMES = ["FLOOR", "WALKED", "WALL", "+TIME", "-TIME", "SWITCH", "GATE",
              "KEY1", "KEY2", "KEY3", "GOAL", "GOAL OK", "WARP"]
TILE_SHOWS = [
    "0 floor, not yet walked", "1 walked floor (a trail piece lies over it)",
    "2 fixed wall", "3 time bonus", "4 time penalty", "5 switch",
    "6 removable wall (gate)", "7 key 1", "8 key 2", "9 key 3",
    "10 key 4, the goal", "11 goal after its key was taken", "12 warp"]


def _chip_cells():
    cells = []
    for t in range(13):
        l, top = 40 * (t % 4), 40 * (t // 4)
        drawer = "DrawBoard (play, editor)"
        if t not in (1, 11):
            drawer += "; DrawPalette"
        if t == 6:
            drawer += "; DrawSwitchEffect (fading, alpha 245..0)"
        cells.append(C(l, top, l + 40, top + 40, TILE_NAMES[t],
                       "tile code " + TILE_SHOWS[t], drawer))
    for g in (13, 14, 15):
        l = 40 * (g % 4)
        cells.append(C(l, 120, l + 40, 160, "spare %d" % g,
                       "grid cell %d, never drawn by the board (free, e.g. for a board byte above 12)" % g,
                       "-"))
    return cells


FACINGS = ["up", "down", "left", "right"]
WALKER_DIRS = ["right+up", "left+down", "left+up", "right+down"]


def _char_cells():
    cells = []
    for d in range(4):
        for k in range(3):
            l, t = 40 * d, 40 * k
            cells.append(C(l, t, l + 40, t + 40, "%s %d" % (FACINGS[d], k),
                           "player facing %s, walk frame %d; ending walker moving %s, frame %d"
                           % (FACINGS[d], k, WALKER_DIRS[d], k),
                           "DrawPlayer (facing %d, frame %d%s); DrawEndingWalkers (walking, column %d, v=%d)"
                           % (d, k, "; editor start marker" if d == 0 and k == 0 else "", d, k),
                           "sprite"))
    cells.append(C(0, 120, 40, 160, "fallen", "player fallen (miss, time up)",
                   "DrawPlayerDown", "sprite"))
    for i in range(3):
        l = 40 + 40 * i
        cells.append(C(l, 120, l + 40, 160, "cheer %d" % i,
                       "clear pose %d; ending walker celebrating, v=%d" % (i, i),
                       "DrawPlayerCheer; DrawEndingWalkers (celebrating)", "sprite"))
    for i in range(3):
        l = 40 * i
        cells.append(C(l, 160, l + 40, 200, "cursor %d" % i,
                       "pause menu cursor frame %d (sequence 0,1,2,1)" % i,
                       "DrawPauseMenu", "sprite"))
    return cells


def _way_cells():
    pieces = ["none", "vertical", "horizontal", "bottom+left", "bottom+right",
              "top+right", "top+left"]
    cells = []
    for f in range(3):
        for p in range(7):
            l, t = 40 * (p % 4), 80 * f + 40 * (p // 4)
            cells.append(C(l, t, l + 40, t + 40, "f%d p%d" % (f, p),
                           "trail frame %d, piece %d (%s)%s"
                           % (f, p, pieces[p], ": all transparent, drawn over every untrodden cell" if p == 0 else ""),
                           "DrawTrail" + (" (frames 1, 2 only during a clear)" if f else ""),
                           "empty" if p == 0 else "sprite"))
    return cells


def _num_cells():
    cells = []
    for row, what in ((0, "ordinary"), (1, "warning")):
        for d in range(10):
            cells.append(C(20 * d, 40 * row, 20 * d + 20, 40 * row + 40,
                           "%s %d" % ("digit" if row == 0 else "warn", d),
                           "%s digit %d" % (what, d),
                           "DrawNumber (%s)" % ("plain style, and the clock at 10 or more"
                                                if row == 0 else "clock below 10, scaled 2.0..1.0 about (10, 20)")))
    return cells


def _portrait_cells(n):
    quarters = [(0, 0), (320, 0), (0, 480), (320, 480)]
    return [C(x, y, x + 320, y + 480, "expression %d" % e,
              "speaker %d portrait, expression %d" % (n - 1, e),
              "DrawStoryCharacter at (160, 0)", "sprite")
            for e, (x, y) in enumerate(quarters)]


SHEETS = [
    Sheet(0, "opening/background01", 640, 480, None,
          _full("title", "title menu background", "RunTitle via DrawFullScreen"),
          ["Drawn over it: cursor bar at (0, 97 + 50c), c = 0..5; menu texts at x = 80, y = 100..350 (32 px);",
           "stars at (390 + 50i, 310) and (390 + 50i, 420); best-time texts at (400, 260/280/370/390); FPS at (10, 10)."]),
    Sheet(1, "opening/st", 400, 160, "black",
          [C(80, 0, 400, 40, "prompt 0", "opening prompt, image 0", "DrawTitleDoors at (160, 340)"),
           C(80, 40, 400, 80, "prompt 1", "opening prompt, image 1", "DrawTitleDoors at (160, 340)"),
           C(80, 80, 400, 120, "prompt 2", "opening prompt, image 2", "DrawTitleDoors at (160, 340)"),
           C(0, 120, 400, 160, "cursor bar", "highlight bar behind the selected menu entry",
             "DrawTitleCursor at (0, 97 + 50 * cursor)", "sprite")],
          ["Prompt sequence 0, 1, 2, 1 (every 11 frames, every 4 after the press).",
           "(0, 0)-(80, 120) is not drawn."]),
    Sheet(2, "opening/background02", 640, 480, None,
          [C(0, 0, 320, 480, "left door", "left door (closed picture, left half)",
             "DrawTitleDoors at (-doorOffset, 0)"),
           C(320, 0, 640, 480, "right door", "right door (closed picture, right half)",
             "DrawTitleDoors at (320 + doorOffset, 0)")],
          ["doorOffset 0..330; the prompt is drawn over (160, 340)-(480, 380) while the doors are closed."]),
    Sheet(3, "play/background", 640, 480, None,
          _full("play", "play screen and map editor background", "the play screen (drawn first); RunEditor; both via DrawFullScreen"),
          ["Covered in play: board (80, 80)-(400, 400); HUD column x 495..620: clock label (510, 10) 100x40,",
           "time bar (495, 55) 123x20, clock digits (540, 45)-(580, 85), stage label (500, 90) 120x40,",
           "stage digits (540, 120)-(580, 160), face (497, 165) 120x120, key panel (495, 320) 120x120.",
           "Editor: palette (490, 40)-(610, 200), time classes (490, 240)-(610, 280), save/clear (490, 320)-(610, 400),",
           "map number text at (320, 420), notices at (80, 20). Free mode: header at (80, 20), captions at (40, 420), (240, 420)."]),
    Sheet(4, "play/chip", 160, 160, None, _chip_cells(),
          ["Tile code t: (40 (t mod 4), 40 (t div 4)) to +40 (`cellRects`). No colour key: black stays opaque."]),
    Sheet(5, "play/char", 160, 200, "black", _char_cells(),
          ["`playerFrameRects`[d][k] = (40d, 40k, 40d + 40, 40k + 40). Walkers pick column c by direction",
           "(0 right+up, 1 left+down, 2 left+up, 3 right+down) and row v from {0, 1, 0, 2}; celebrating (40 + 40v, 120).",
           "(120, 160)-(160, 200) is not drawn."]),
    Sheet(6, "play/mes", 640, 480, "black",
          [C(0, 0, 320, 120, "STAGE START", "stage start message", "DrawStartMessage at (80, 150), scaled/rotated"),
           C(320, 0, 640, 120, "STAGE CLEAR", "stage clear message", "DrawClearMessage at (slide x, 180), rotated"),
           C(0, 120, 320, 240, "MISS", "miss message", "DrawMissMessage, centred on (240, 240), scaled, fading"),
           C(0, 240, 320, 480, "TIME UP", "time up message", "DrawTimeUpMessage, centred on (240, 240), scale 4..1"),
           C(320, 240, 640, 480, "ALL CLEAR", "all clear message", "DrawAllClearMessage at (80, 120), fading in")],
          ["(320, 120)-(640, 240) is not drawn."]),
    Sheet(7, "play/retray", 640, 480, None,
          _full("pause panel", "pause menu panel", "DrawPauseMenu at (0, slide - 480)"),
          ["Drawn over it when open: texts (32 px, black or red) at (130, 300) retry, (330, 300) back to the game,",
           "(190, 370) back to the title, (190, 230) stage select (free mode); cursor 40x40 at (90, 290), (290, 290),",
           "(150, 360), (150, 220)."]),
    Sheet(8, "play/st", 200, 440, "black",
          [C(0, 0, 40, 40, "orb", "key flight orb (additive, tinted)", "DrawKeyFlights, scaled 0.05..5 about (20, 20)", "sprite"),
           C(40, 0, 120, 40, "+5", "time bonus label, time class 1", "DrawBonusPopup, over the cell above the player, rising and fading"),
           C(120, 0, 200, 40, "+10", "time bonus label, time class 0", "DrawBonusPopup, over the cell above the player, rising and fading"),
           C(40, 40, 120, 80, "-5", "time penalty label, time class 1", "DrawPenaltyPopup, over the cell above the player, rising and fading"),
           C(120, 40, 200, 80, "-10", "time penalty label, time class 0", "DrawPenaltyPopup, over the cell above the player, rising and fading"),
           C(0, 80, 40, 120, "key 1", "key 1 in its slot", "DrawKeySlots at (535, 320)", "sprite"),
           C(40, 80, 80, 120, "key 2", "key 2 in its slot", "DrawKeySlots at (505, 370)", "sprite"),
           C(80, 80, 120, 120, "key 3", "key 3 in its slot", "DrawKeySlots at (565, 370)", "sprite"),
           C(120, 80, 200, 120, "+20", "time bonus label, time class 2", "DrawBonusPopup, over the cell above the player, rising and fading"),
           C(0, 120, 120, 200, "ALL KEYS", "all-keys mark over the key panel", "DrawKeySlots at (495, 340)", "sprite"),
           C(120, 120, 200, 160, "-20", "time penalty label, time class 2", "DrawPenaltyPopup, over the cell above the player, rising and fading"),
           C(120, 160, 200, 280, "clear beam", "clear beam column (additive); a window of it is drawn",
             "DrawClearBeam", "sprite"),
           C(0, 200, 120, 320, "key panel", "key slot panel (slots at (40, 0), (10, 50), (70, 50))",
             "DrawKeySlots at (495, 320)", "solid"),
           C(150, 280, 190, 380, "warp beam", "warp light column (additive)", "DrawWarpEffect", "sprite"),
           C(0, 320, 123, 340, "bar full", "time bar, filled part (cut at width 2t + 3)",
             "DrawTimeGauge at (495, 55)", "solid"),
           C(0, 340, 123, 360, "bar empty", "time bar, empty part (cut from x = 2t)",
             "DrawTimeGauge at (495 + 2t, 55)", "solid"),
           C(0, 360, 100, 400, "TIME", "clock label", "the play screen's HUD at (510, 10)", "solid"),
           C(0, 400, 120, 440, "STAGE", "stage label", "the play screen's HUD at (500, 90)", "solid")],
          ["Time bar, t = timeLeft 0..60: filled (0, 320, 2t + 3, 340), empty (2t, 340, 123, 360); the bar's",
           "look must not depend on x (it is cut anywhere) and bitmap x = screen x - 495 in both parts.",
           "Clear beam window: width w (0..80, even), height h (0..120, step 3), half = w / 2:",
           "(160 - half, 280 - h, 160 - half + w, 280); it grows from the bottom centre (160, 280).",
           "Warp beam: (150, 280, 190, 380) whole, drawn 50 px above the cell, grey-modulated, additive.",
           "Everything else (e.g. (0, 40)-(40, 80)) is not drawn."]),
    Sheet(9, "play/face", 240, 240, None,
          [C(0, 0, 120, 120, "NORMAL", "face: normal (more than 30 s left)", "DrawFace at (497, 165)"),
           C(120, 0, 240, 120, "WORRIED", "face: worried (30 s or less)", "DrawFace at (497, 165)"),
           C(0, 120, 120, 240, "MISS", "face: miss or time up", "DrawFace at (497, 165)"),
           C(120, 120, 240, 240, "CLEAR", "face: stage cleared", "DrawFace at (497, 165)")],
          []),
    Sheet(10, "play/way", 160, 240, "black", _way_cells(),
          ["`trailRects`[f][p] = (40 (p mod 4), 80f + 40 (p div 4)) to +40; frame sequence 0, 1, 2, 1.",
           "(120, 40)-(160, 80), (120, 120)-(160, 160), (120, 200)-(160, 240) are not drawn."]),
    Sheet(11, "play/select", 320, 160, "black",
          [C(0, 0, 320, 40, "header", "free mode header", "DrawFreeSelectPanel at (80, 20)"),
           C(0, 40, 200, 80, "caption L", "lower-left caption (map / source keys)", "DrawFreeSelectPanel at (40, 420)"),
           C(0, 80, 200, 120, "caption R", "lower-right caption (play / quit keys)", "DrawFreeSelectPanel at (240, 420)"),
           C(200, 40, 320, 80, "COURSE", "source label, freeSource 0", "DrawFreeSelectPanel at (180, 220)"),
           C(200, 80, 320, 120, "UNDERGROUND", "source label, freeSource 1", "DrawFreeSelectPanel at (180, 220)"),
           C(200, 120, 320, 160, "MY MAPS", "source label, freeSource 2", "DrawFreeSelectPanel at (180, 220)")],
          ["(0, 120)-(200, 160) is not drawn."]),
    Sheet(12, "play/shutt", 640, 480, None,
          _full("shutter", "time-up shutter", "DrawTimeUpMessage at (0, shutterY), shutterY -470..0"), []),
    Sheet(13, "play/num", 200, 80, "black", _num_cells(),
          ["Digit d of row r: (20d, 40r, 20d + 20, 40r + 40). Numbers are right-aligned, at least two digits."]),
    Sheet(14, "gameover/background", 640, 480, None,
          _full("game over", "game over background", "RunGameOver via DrawFullScreen"),
          ["Drawn over it: banner at (0, 80)-(640, 180); stage text (32 px, red) at (180, 230); FPS at (0, 0)."]),
    Sheet(15, "gameover/gameover", 640, 100, "black",
          [C(0, 0, 640, 100, "GAME OVER", "game over banner, revealed left to right",
             "DrawGameOverBanner at (0, 80)")],
          ["Drawn as (0, 0, w, 100), w = 10, 20, ..., 640."]),
    Sheet(16, "ending/background", 640, 480, None,
          _full("ending", "ending background", "RunEnding via DrawFullScreen"),
          ["Drawn over it: 30 walkers anywhere; banner (0, 80)-(640, 180); time text (32 px, red) at (180, 200);",
           "stars at (200 + 50i, 300); new-record mark at (90, 195)."]),
    Sheet(17, "ending/st", 120, 130, "black",
          [C(0, 0, 40, 40, "star", "star earned", "DrawStarRating (title, ending)", "sprite"),
           C(0, 40, 40, 80, "no star", "star not earned", "DrawStarRating (title, ending)", "sprite"),
           C(40, 0, 120, 40, "record 0", "new-record mark, image 0", "DrawRecordMark at (90, 195)"),
           C(40, 40, 120, 80, "record 1", "new-record mark, image 1", "DrawRecordMark at (90, 195)")],
          ["(0, 80)-(120, 130) is not drawn."]),
    Sheet(18, "ending/cleartime", 640, 100, "black",
          [C(0, 0, 640, 100, "CLEAR TIME", "clear-time banner, revealed left to right",
             "DrawClearBanner at (0, 80)")],
          ["Drawn as (0, 0, w, 100), w = 10, 20, ..., 640."]),
    Sheet(19, "gameadv/background01", 640, 480, None,
          _full("story 1", "story background, chapters 0-3, 5, 10", "RunStory via DrawFullScreen"),
          ["Drawn over it: portrait (160, 0)-(480, 480); window (100, 330)-(540, 450) at alpha 150;",
           "photo (160, 60)-(480, 300)."]),
    Sheet(20, "gameadv/background02", 640, 480, None,
          _full("story 2", "story background, chapters 4, 9, 12", "RunStory via DrawFullScreen"), []),
    Sheet(21, "gameadv/background03", 640, 480, None,
          _full("story 3", "story background, chapters 6, 7, 8, 11", "RunStory via DrawFullScreen"), []),
    Sheet(22, "gameadv/face", 240, 240, "black",
          [C(0, 0, 120, 120, "face 1", "spare face (not drawn by the game)", "-", "sprite"),
           C(120, 0, 240, 120, "face 2", "spare face (not drawn by the game)", "-", "sprite"),
           C(0, 120, 120, 240, "face 3", "spare face (not drawn by the game)", "-", "sprite"),
           C(120, 120, 240, 240, "face 4", "spare face (not drawn by the game)", "-", "sprite")],
          ["Loaded with the catalogue but never drawn."]),
    Sheet(23, "gameadv/window", 440, 160, "black",
          [C(0, 0, 440, 120, "window", "message window (alpha 150)", "DrawStoryMessage at (100, 330)", "sprite"),
           C(0, 120, 40, 160, "mark 0", "next-page mark, image 0", "DrawStoryMessage at (490, 400)", "sprite"),
           C(40, 120, 80, 160, "mark 1", "next-page mark, image 1", "DrawStoryMessage at (490, 400)", "sprite"),
           C(80, 120, 120, 160, "mark 2", "next-page mark, image 2", "DrawStoryMessage at (490, 400)", "sprite")],
          ["Text (20 px, white) starts at screen (120, 350), 17 cells of 23 px per line.",
           "(120, 120)-(440, 160) is not drawn."]),
    Sheet(24, "gameadv/character_1", 640, 960, "green", _portrait_cells(1),
          ["Quarter e: 0 (0, 0), 1 (320, 0), 2 (0, 480), 3 (320, 480), each 320x480."]),
    Sheet(25, "gameadv/character_2", 640, 960, "green", _portrait_cells(2), []),
    Sheet(26, "gameadv/character_3", 640, 960, "green", _portrait_cells(3), []),
    Sheet(27, "gameadv/photo01", 320, 240, None,
          [C(0, 0, 320, 240, "photo 1", "story photograph 1 (#p01)", "DrawStoryPhoto at (160, 60)")], []),
    Sheet(28, "gameadv/photo02", 320, 240, None,
          [C(0, 0, 320, 240, "photo 2", "story photograph 2 (#p02)", "DrawStoryPhoto at (160, 60)")], []),
    Sheet(29, "sweep", 640, 480, None,
          _full("sweep", "screen wipe picture; all-clear fade", "StepWipe at (wipeX, 0); DrawAllClearMessage at (0, 0)"),
          []),
    Sheet(30, "edit/Edit", 120, 120, None,
          [C(0, 0, 40, 40, "T10", "time class 0 button (+-10 s)", "DrawPalette at (490, 240)"),
           C(40, 0, 80, 40, "T5", "time class 1 button (+-5 s)", "DrawPalette at (530, 240)"),
           C(80, 0, 120, 40, "T20", "time class 2 button (+-20 s)", "DrawPalette at (570, 240)"),
           C(0, 40, 120, 80, "SAVE", "save button", "DrawPalette at (490, 320)"),
           C(0, 80, 120, 120, "CLEAR", "clear button", "DrawPalette at (490, 360)")],
          ["Time-class buttons are dimmed (alpha 100) unless selected."]),
]

SHEETS = [s._replace(cells=[c._replace(mode=c.mode or ("sprite" if s.key else "solid")) for c in s.cells])
          for s in SHEETS]
BY_PATH = {s.path: s for s in SHEETS}


def sheet(path):
    """Sheet by its game path without extension, e.g. 'play/chip'."""
    return BY_PATH[path]
