"""A review sheet: the skins with their buttons in place, the targets on their panel, the splash,
the icons and every button state enlarged. Keyed pixels are shown the way the windows show them."""
from PIL import Image, ImageDraw

import manifest
from buttons import FACE, OLIVE
from icons import ICON_SIZES, library_icon, logo_image
from paint import text
from skins import MAGENTA

DESKTOP = (58, 110, 165)
GAP = 16

MAIN_BUTTONS = [
    ("adorn", 368, 192), ("pretend", 368, 232), ("default", 368, 272),
    ("min", 408, 6), ("close", 441, 6),
    ("home", 258, 44), ("email", 314, 44), ("help", 370, 44), ("about", 426, 44),
]
TARGET_GRID = [(24, 11), (180, 11), (326, 11), (24, 83), (180, 83), (326, 83), (24, 155), (180, 155)]
TARGET_CAPTIONS = ["Web Page", "Recycle Bin", "Control Panel", "Task Scheduler", "Printer",
                   "NetWork Places", "Network Connections", "My Computer"]


def _keyed_paste(base, picture, xy, key):
    px = picture.load()
    mask = Image.new("L", picture.size, 0)
    mp = mask.load()
    for y in range(picture.size[1]):
        for x in range(picture.size[0]):
            if px[x, y] != key:
                mp[x, y] = 255
    base.paste(picture, xy, mask)


def _skin_on_desktop(skin):
    base = Image.new("RGB", skin.size, DESKTOP)
    _keyed_paste(base, skin, (0, 0), MAGENTA)
    return base


def _mock_tree(win):
    d = ImageDraw.Draw(win)
    d.rectangle((12, 92, 364, 310), fill=(255, 255, 255))
    rgba = win.convert("RGBA")
    icon = library_icon("folder_yellow", 16)
    rows = [(0, "Desktop"), (1, "My Documents"), (1, "My Computer"), (2, "Local Disk (C:)"),
            (3, "Photos"), (3, "Projects"), (1, "Recycle Bin")]
    for i, (level, name) in enumerate(rows):
        x, y = 16 + level * 19, 96 + i * 18
        rgba.alpha_composite(icon, (x, y))
        text(rgba, (x + 20, y + 8), name, "sans", 11, (0, 0, 0), anchor="lm")
    text(rgba, (15 + 18, 314 + 8), "Apply to folder", "sans", 11, (0, 0, 0), anchor="lm")
    win.paste(rgba.convert("RGB"))
    d = ImageDraw.Draw(win)
    d.rectangle((15, 316, 27, 328), fill=(255, 255, 255), outline=(110, 110, 110))


def _main_window(main, pictures, state_of):
    win = _skin_on_desktop(main)
    _mock_tree(win)
    for name, x, y in MAIN_BUTTONS:
        state = state_of(name)
        _keyed_paste(win, pictures[f"btn_{name}_{state}.bmp"], (x, y), OLIVE)
    return win


def _pretend_dialog(dialog, pictures):
    win = _skin_on_desktop(dialog)
    d = ImageDraw.Draw(win)
    d.rectangle((15, 40, 476, 291), fill=FACE, outline=(160, 160, 160))
    px, py = 15 + 6, 40 + 6
    d.rectangle((px, py, px + 446, py + 232), fill=(255, 255, 255), outline=(130, 130, 130))
    rgba = win.convert("RGBA")
    for i, (gx, gy) in enumerate(TARGET_GRID):
        rgba.paste(pictures[f"target_{i}.bmp"], (px + gx, py + gy))
        cx, cy = px + gx + 6, py + gy + 37 + 7
        ImageDraw.Draw(rgba).ellipse((cx - 6, cy - 6, cx + 6, cy + 6), fill=(255, 255, 255), outline=(90, 90, 90))
        if i == 1:
            ImageDraw.Draw(rgba).ellipse((cx - 3, cy - 3, cx + 3, cy + 3), fill=(20, 20, 20))
        text(rgba, (cx + 10, cy), TARGET_CAPTIONS[i], "sans", 11, (0, 0, 0), anchor="lm")
    win.paste(rgba.convert("RGB"))
    _keyed_paste(win, pictures["btn_ok_hot.bmp"], (261, 293), OLIVE)
    _keyed_paste(win, pictures["btn_cancel_up.bmp"], (370, 293), OLIVE)
    _keyed_paste(win, pictures["btn_close_up.bmp"], (443, 6), OLIVE)
    return win


def _adorn_dialog(dialog, pictures):
    win = _skin_on_desktop(dialog)
    d = ImageDraw.Draw(win)
    tabs = ["Icon", "Tip", "Text color", "Background"]
    x = 13
    for i, t in enumerate(tabs):
        w = 12 + len(t) * 6
        d.rectangle((x, 39 if i == 0 else 41, x + w, 60), fill=FACE, outline=(160, 160, 160))
        x += w + 1
    d.rectangle((11, 60, 477, 286), fill=FACE, outline=(160, 160, 160))
    d.line((14, 60, 13 + 12 + 24, 60), fill=FACE)
    rgba = win.convert("RGBA")
    x = 13
    for t in tabs:
        w = 12 + len(t) * 6
        text(rgba, (x + w // 2, 50), t, "sans", 11, (0, 0, 0), anchor="mm")
        x += w + 1
    win.paste(rgba.convert("RGB"))
    d = ImageDraw.Draw(win)
    d.rectangle((15, 64, 272, 255), fill=(255, 255, 255), outline=(130, 130, 130))
    icon = library_icon("folder_music", 48)
    win.paste(icon, (119, 136), icon)
    _keyed_paste(win, pictures["btn_select_hot.bmp"], (11 + 344 + 2, 60 + 132 - 20), OLIVE)
    _keyed_paste(win, pictures["btn_clear_up.bmp"], (11 + 344 + 2, 60 + 172 - 20), OLIVE)
    _keyed_paste(win, pictures["btn_ok_up.bmp"], (261, 293), OLIVE)
    _keyed_paste(win, pictures["btn_cancel_down.bmp"], (370, 293), OLIVE)
    _keyed_paste(win, pictures["btn_close_hot.bmp"], (441, 6), OLIVE)
    return win


def _icons(width):
    names = list(manifest.LIBRARY)
    cols = max(1, (width - 20) // 120)
    cell = 56
    rows = (len(names) + 1 + cols - 1) // cols
    strip = Image.new("RGBA", (width, rows * (cell + 20) * 2 + 20), (255, 255, 255, 255))
    dark = Image.new("RGBA", (width, strip.size[1] // 2), (40, 48, 64, 255))
    strip.paste(dark, (0, strip.size[1] // 2))
    for half, y0 in ((0, 10), (1, strip.size[1] // 2 + 10)):
        for i, name in enumerate(["logo"] + names):
            x, y = 10 + (i % cols) * 120, y0 + (i // cols) * (cell + 20)
            for s in ICON_SIZES:
                im = logo_image(s) if name == "logo" else library_icon(name, s)
                ox = {16: 0, 32: 22, 48: 60}[s]
                strip.alpha_composite(im, (x + ox, y + 48 - s))
            if half == 0:
                text(strip, (x, y + 52), name.replace("folder_", ""), "sans", 10, (60, 60, 60))
    return strip.convert("RGB")


def _button_states(pictures, width):
    zoom = 3
    names = [n for n in pictures if n.startswith("btn_")]
    x, y, row_h = 0, 0, 0
    placed = []
    for n in names:
        w, h = pictures[n].size
        if x + w * zoom > width:
            x, y, row_h = 0, y + row_h + 8, 0
        placed.append((n, x, y))
        x += w * zoom + 8
        row_h = max(row_h, h * zoom)
    sheet = Image.new("RGB", (width, y + row_h), (255, 255, 255))
    for n, x, y in placed:
        im = pictures[n]
        sheet.paste(im.resize((im.size[0] * zoom, im.size[1] * zoom), Image.Resampling.NEAREST), (x, y))
    return sheet


def sheet(main, dialog, pictures, splash):
    w = 2 * 491 + 3 * GAP
    parts = [
        (_main_window(main, pictures, lambda n: "up"), _main_window(
            main, pictures, lambda n: {"adorn": "hot", "pretend": "down", "min": "hot", "close": "down",
                                       "home": "hot", "help": "hot"}.get(n, "up"))),
        (_pretend_dialog(dialog, pictures), _adorn_dialog(dialog, pictures)),
    ]
    states = _button_states(pictures, w - 2 * GAP)
    icons = _icons(w - 2 * GAP)
    targets_big = Image.new("RGB", (8 * (36 * 3 + 8), 36 * 3), (255, 255, 255))
    for i in range(8):
        t = pictures[f"target_{i}.bmp"]
        targets_big.paste(t.resize((108, 108), Image.Resampling.NEAREST), (i * 116, 0))
    height = GAP + sum(max(a.size[1], b.size[1]) + GAP for a, b in parts)
    height += splash.size[1] + GAP + icons.size[1] + GAP + targets_big.size[1] + GAP + states.size[1] + GAP
    out = Image.new("RGB", (max(w, targets_big.size[0] + 2 * GAP), height), (232, 232, 232))
    y = GAP
    for a, b in parts:
        out.paste(a, (GAP, y))
        out.paste(b, (2 * GAP + a.size[0], y))
        y += max(a.size[1], b.size[1]) + GAP
    out.paste(splash, (GAP, y))
    y += splash.size[1] + GAP
    out.paste(icons, (GAP, y))
    y += icons.size[1] + GAP
    out.paste(targets_big, (GAP, y))
    y += targets_big.size[1] + GAP
    out.paste(states, (GAP, y))
    return out

