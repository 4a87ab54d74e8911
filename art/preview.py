"""A review sheet: the skins with their buttons in place, the targets on their panel, the splash,
the icons and every button state enlarged. Keyed pixels are shown the way the windows show them.

With a zoom the windows are mocked up at that scale from the pictures of that scale (the mock
controls placed as the windows would place them), and the enlarged views show them 1:1."""
from PIL import Image, ImageDraw

import manifest
from buttons import FACE, OLIVE
from icons import library_icon, logo_image
from paint import at, text, where
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
    mask = where(picture, key).point(lambda v: 255 - v)
    base.paste(picture, xy, mask)


def _skin_on_desktop(skin):
    base = Image.new("RGB", skin.size, DESKTOP)
    _keyed_paste(base, skin, (0, 0), MAGENTA)
    return base


def _box(box, z):
    """A mock control's rectangle (inclusive right and bottom) at the zoom, edge by edge."""
    l, t, r, b = box
    return (at(l, z), at(t, z), at(r + 1, z) - 1, at(b + 1, z) - 1)


def _mock_tree(win, z):
    d = ImageDraw.Draw(win)
    d.rectangle(_box((12, 92, 364, 310), z), fill=(255, 255, 255))
    rgba = win.convert("RGBA")
    icon = library_icon("folder_yellow", at(16, z))
    rows = [(0, "Desktop"), (1, "My Documents"), (1, "My Computer"), (2, "Local Disk (C:)"),
            (3, "Photos"), (3, "Projects"), (1, "Recycle Bin")]
    for i, (level, name) in enumerate(rows):
        x, y = 16 + level * 19, 96 + i * 18
        rgba.alpha_composite(icon, (at(x, z), at(y, z)))
        text(rgba, (x + 20, y + 8), name, "sans", 11, (0, 0, 0), anchor="lm", zoom=z)
    text(rgba, (15 + 18, 314 + 8), "Apply to folder", "sans", 11, (0, 0, 0), anchor="lm", zoom=z)
    win.paste(rgba.convert("RGB"))
    d = ImageDraw.Draw(win)
    d.rectangle(_box((15, 316, 27, 328), z), fill=(255, 255, 255), outline=(110, 110, 110))


def _place(win, pictures, stem, xy, z):
    _keyed_paste(win, pictures[stem], (at(xy[0], z), at(xy[1], z)), OLIVE)


def _main_window(pictures, state_of, z):
    win = _skin_on_desktop(pictures["skin_main"])
    _mock_tree(win, z)
    for name, x, y in MAIN_BUTTONS:
        state = state_of(name)
        _place(win, pictures, f"btn_{name}_{state}", (x, y), z)
    return win


def _pretend_dialog(pictures, z):
    win = _skin_on_desktop(pictures["skin_dialog"])
    d = ImageDraw.Draw(win)
    d.rectangle(_box((15, 40, 476, 291), z), fill=FACE, outline=(160, 160, 160))
    px, py = 15 + 6, 40 + 6
    d.rectangle(_box((px, py, px + 446, py + 232), z), fill=(255, 255, 255), outline=(130, 130, 130))
    rgba = win.convert("RGBA")
    for i, (gx, gy) in enumerate(TARGET_GRID):
        rgba.paste(pictures[f"target_{i}"], (at(px + gx, z), at(py + gy, z)))
        cx, cy = px + gx + 6, py + gy + 37 + 7
        ImageDraw.Draw(rgba).ellipse(_box((cx - 6, cy - 6, cx + 6, cy + 6), z), fill=(255, 255, 255),
                                     outline=(90, 90, 90))
        if i == 1:
            ImageDraw.Draw(rgba).ellipse(_box((cx - 3, cy - 3, cx + 3, cy + 3), z), fill=(20, 20, 20))
        text(rgba, (cx + 10, cy), TARGET_CAPTIONS[i], "sans", 11, (0, 0, 0), anchor="lm", zoom=z)
    win.paste(rgba.convert("RGB"))
    _place(win, pictures, "btn_ok_hot", (261, 293), z)
    _place(win, pictures, "btn_cancel_up", (370, 293), z)
    _place(win, pictures, "btn_close_up", (443, 6), z)
    return win


def _adorn_dialog(pictures, z):
    win = _skin_on_desktop(pictures["skin_dialog"])
    d = ImageDraw.Draw(win)
    tabs = ["Icon", "Tip", "Text color", "Background"]
    x = 13
    for i, t in enumerate(tabs):
        w = 12 + len(t) * 6
        d.rectangle(_box((x, 39 if i == 0 else 41, x + w, 60), z), fill=FACE, outline=(160, 160, 160))
        x += w + 1
    d.rectangle(_box((11, 60, 477, 286), z), fill=FACE, outline=(160, 160, 160))
    d.rectangle(_box((14, 60, 13 + 12 + 24, 60), z), fill=FACE)
    rgba = win.convert("RGBA")
    x = 13
    for t in tabs:
        w = 12 + len(t) * 6
        text(rgba, (x + w // 2, 50), t, "sans", 11, (0, 0, 0), anchor="mm", zoom=z)
        x += w + 1
    win.paste(rgba.convert("RGB"))
    d = ImageDraw.Draw(win)
    d.rectangle(_box((15, 64, 272, 255), z), fill=(255, 255, 255), outline=(130, 130, 130))
    icon = library_icon("folder_music", at(48, z))
    win.paste(icon, (at(119, z), at(136, z)), icon)
    _place(win, pictures, "btn_select_hot", (11 + 344 + 2, 60 + 132 - 20), z)
    _place(win, pictures, "btn_clear_up", (11 + 344 + 2, 60 + 172 - 20), z)
    _place(win, pictures, "btn_ok_up", (261, 293), z)
    _place(win, pictures, "btn_cancel_down", (370, 293), z)
    _place(win, pictures, "btn_close_hot", (441, 6), z)
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
            for s in (16, 32, 48):
                im = logo_image(s) if name == "logo" else library_icon(name, s)
                ox = {16: 0, 32: 22, 48: 60}[s]
                strip.alpha_composite(im, (x + ox, y + 48 - s))
            if half == 0:
                text(strip, (x, y + 52), name.replace("folder_", ""), "sans", 10, (60, 60, 60))
    return strip.convert("RGB")


def icon_sheet(icons):
    """Every image of the icon files at its own size, on white and on a dark ground.

    icons: [(name, [RGBA image, ...])], one row each."""
    widest = max(sum(im.size[0] + 8 for im in images) for _, images in icons)
    label = 110
    row_h = [max(im.size[1] for im in images) + 8 for _, images in icons]
    half = sum(row_h) + 8
    sheet = Image.new("RGBA", (label + widest + 8, 2 * half), (255, 255, 255, 255))
    sheet.paste((40, 48, 64, 255), (0, half, sheet.size[0], 2 * half))
    for y0 in (0, half):
        y = y0 + 8
        for (name, images), h in zip(icons, row_h):
            if y0 == 0:
                text(sheet, (8, y + h // 2), name.replace("folder_", ""), "sans", 11, (60, 60, 60), anchor="lm")
            x = label
            for im in images:
                sheet.alpha_composite(im, (x, y + h - 8 - im.size[1]))
                x += im.size[0] + 8
            y += h
    return sheet.convert("RGB")


def _button_states(pictures, width, enlarge):
    names = [n for n in pictures if n.startswith("btn_")]
    x, y, row_h = 0, 0, 0
    placed = []
    for n in names:
        w, h = pictures[n].size
        if x + w * enlarge > width:
            x, y, row_h = 0, y + row_h + 8, 0
        placed.append((n, x, y))
        x += w * enlarge + 8
        row_h = max(row_h, h * enlarge)
    sheet = Image.new("RGB", (width, y + row_h), (255, 255, 255))
    for n, x, y in placed:
        im = pictures[n]
        sheet.paste(im.resize((im.size[0] * enlarge, im.size[1] * enlarge), Image.Resampling.NEAREST), (x, y))
    return sheet


def sheet(pictures, splash, z=1):
    """The review sheet of one scale. The enlarged views (targets, button states) grow the 96-DPI
    pictures three times and the larger ones by whole factors to about the same size, so their
    pixels can be judged; only the 96-DPI sheet shows the icon library (see icon_sheet)."""
    w = 2 * at(491, z) + 3 * GAP
    enlarge = 3 if z == 1 else max(1, round(3 / z))
    hot = {"adorn": "hot", "pretend": "down", "min": "hot", "close": "down", "home": "hot", "help": "hot"}
    parts = [
        (_main_window(pictures, lambda n: "up", z), _main_window(pictures, lambda n: hot.get(n, "up"), z)),
        (_pretend_dialog(pictures, z), _adorn_dialog(pictures, z)),
    ]
    states = _button_states(pictures, w - 2 * GAP, enlarge)
    icons = _icons(w - 2 * GAP) if z == 1 else Image.new("RGB", (0, 0))
    side = pictures["target_0"].size[0] * enlarge
    targets_big = Image.new("RGB", (8 * (side + 8), side), (255, 255, 255))
    for i in range(8):
        t = pictures[f"target_{i}"]
        targets_big.paste(t.resize((side, side), Image.Resampling.NEAREST), (i * (side + 8), 0))
    height = GAP + sum(max(a.size[1], b.size[1]) + GAP for a, b in parts)
    height += splash.size[1] + GAP + targets_big.size[1] + GAP + states.size[1] + GAP
    height += icons.size[1] + GAP if z == 1 else 0
    out = Image.new("RGB", (max(w, targets_big.size[0] + 2 * GAP), height), (232, 232, 232))
    y = GAP
    for a, b in parts:
        out.paste(a, (GAP, y))
        out.paste(b, (2 * GAP + a.size[0], y))
        y += max(a.size[1], b.size[1]) + GAP
    out.paste(splash, (GAP, y))
    y += splash.size[1] + GAP
    if z == 1:
        out.paste(icons, (GAP, y))
        y += icons.size[1] + GAP
    out.paste(targets_big, (GAP, y))
    y += targets_big.size[1] + GAP
    out.paste(states, (GAP, y))
    return out
