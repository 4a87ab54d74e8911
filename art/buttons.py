"""Button pictures: up (dark), hot (green) and down (light green), olive outside the shape.

The button control leaves olive pixels out, so a pixel is either olive or fully opaque. Edge
pixels are therefore blended here, toward whatever lies behind the button in its window (the
skin under it, or the tab sheet's face grey), never toward olive.

Each picture is drawn for a zoom (1 at 96 DPI) at the size the windows give the button there,
its insets and the pressed shift whole pixels, its word set in the larger size.
"""

from paint import Canvas, at, intersect, keyed, shrink, subtract, text, vertical_in

OLIVE = (128, 128, 0)
FACE = (240, 240, 240)   # the platform's usual button face, behind the tab-sheet buttons

# Per state: gradient top, gradient bottom, rim, text colour, text shadow (colour, opacity).
STATES = {
    "up": ((92, 102, 120), (36, 42, 54), (16, 20, 28), (255, 255, 255), ((0, 0, 0), 0.55)),
    "hot": ((132, 214, 96), (46, 146, 44), (22, 88, 24), (255, 255, 255), ((0, 60, 0), 0.55)),
    "down": ((176, 232, 156), (214, 248, 200), (86, 160, 80), (24, 84, 28), ((255, 255, 255), 0.6)),
}

LARGE = (108, 38)
WINDOW = (31, 27)
LINK = (48, 41)

LARGE_WORDS = {
    "adorn": "Adorn", "pretend": "Pretend", "default": "Default",
    "ok": "OK", "cancel": "Cancel", "select": "Select", "clear": "Clear",
}


def _body(cv, box, radius, state, pressed_offset):
    top, bottom, rim, _, _ = STATES[state]
    l, t, r, b = box
    if pressed_offset:
        l, t, r, b = l, t + pressed_offset, r, b + pressed_offset
    shape = cv.rect((l, t, r, b), radius)
    if state != "down":
        # Light from the top left: the shadow falls below and a little to the right.
        cv.shadow(shape, 0.4, 1.2, 1.1, opacity=0.5)
    cv.fill(shape, rim)
    face = shrink(shape, cv.unit())
    cv.fill(face, vertical_in(t, b, [(0, top), (1, bottom)], cv.k))
    if state == "down":
        # Pressed in: shade along the top and left inner edge.
        cv.fill(cv.edge(face, 1.5, 2), (40, 110, 40), 0.25)
    else:
        # Gloss on the upper half and a bright inner rim along the top.
        gloss = intersect(face, cv.rect((l, t, r, (t + b) / 2)))
        cv.fill(gloss, (255, 255, 255), 0.10)
        cv.fill(cv.edge(face, 0, 1), (255, 255, 255), 0.35)
    return (l, t, r, b)


def _inset(cv):
    """The body's box inside the picture: clear of the edge, with room below for the shadow."""
    return (cv.snap(1), cv.snap(1), cv.width - cv.snap(2), cv.height - cv.snap(3))


def _pressed(cv, state):
    return cv.whole(1) if state == "down" else 0


def large(word, state, backdrop, soft=True, zoom=1):
    """A 108 x 38 command button with its word."""
    cv = Canvas(*LARGE, scale=4, zoom=zoom)
    box = _body(cv, _inset(cv), 7, state, _pressed(cv, state))
    image = cv.finish()
    _, _, _, ink, (shadow, alpha) = STATES[state]
    cx, cy = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
    label = LARGE_WORDS[word]
    # Centred on a whole pixel, which text() rounds to when zoomed.
    centre = (round(cx), round(cy)) if zoom == 1 else (cx, cy)
    text(image, centre, label, "bold", 14, ink, anchor="mm", shadow=(0, 1, shadow, alpha), zoom=zoom)
    return keyed(image, OLIVE, 8 if soft else 128, backdrop)


def window(glyph, state, backdrop, zoom=1):
    """A 31 x 27 title-bar button: a minus sign or a cross."""
    cv = Canvas(*WINDOW, scale=8, zoom=zoom)
    l, t, r, b = _body(cv, _inset(cv), 5, state, _pressed(cv, state))
    cx, cy = (l + r) / 2, (t + b) / 2
    if glyph == "min":
        mark = cv.line([(cx - 5.5, cy + 0.5), (cx + 5.5, cy + 0.5)], 2.4)
    else:
        mark = cv.line([(cx - 5, cy - 5), (cx + 5, cy + 5)], 2.4)
        cv.line([(cx - 5, cy + 5), (cx + 5, cy - 5)], 2.4, mark)
    _, _, _, ink, (shadow, alpha) = STATES[state]
    cv.shadow(mark, 0, 1, 0, shadow, alpha)
    cv.fill(mark, ink)
    return keyed(cv.finish(), OLIVE, 8, backdrop)


# --- link buttons --------------------------------------------------------------------------

def _house(cv, cx, cy):
    m = cv.polygon([(cx - 10, cy - 0.5), (cx, cy - 9.5), (cx + 10, cy - 0.5), (cx + 7.5, cy - 0.5),
                    (cx + 7.5, cy + 8.5), (cx - 7.5, cy + 8.5), (cx - 7.5, cy - 0.5)])
    cv.rect((cx + 3.5, cy - 8.5, cx + 6.5, cy - 3), mask=m)        # chimney
    cv.rect((cx - 2.2, cy + 2.5, cx + 2.2, cy + 8.5), mask=m, value=0)  # door
    return m


def _envelope(cv, cx, cy):
    m = cv.rect((cx - 10, cy - 6.5, cx + 10, cy + 7.5), 1.5)
    flap = cv.line([(cx - 8.5, cy - 4.5), (cx, cy + 1.8), (cx + 8.5, cy - 4.5)], 1.6)
    return subtract(m, flap)


def _in_circle(cv, cx, cy, letter, face, px, dy=0):
    m = cv.circle(cx, cy, 9.5)
    return subtract(m, cv.text_mask((cx, cy + dy), letter, face, px, anchor="mm"))


def _help(cv, cx, cy):
    return _in_circle(cv, cx, cy, "?", "bold", 15, 0.5)


def _about(cv, cx, cy):
    return _in_circle(cv, cx, cy, "i", "serif-bold", 15, 0.5)


LINKS = {
    "home": (_house, "Home"),
    "email": (_envelope, "E-mail"),
    "help": (_help, "Help"),
    "about": (_about, "About"),
}

LINK_INK = (236, 244, 255)


def link(kind, state, backdrop, zoom=1):
    """A 48 x 41 link button on the banner: a symbol over its word; up is bare, hot is green."""
    cv = Canvas(*LINK, scale=8, zoom=zoom)
    w, h = cv.width, cv.height
    plate = (cv.snap(1), cv.snap(1), w - cv.snap(1), h - cv.snap(2))
    shape = cv.rect(plate, 6)
    if state == "hot":
        top, bottom, rim, _, _ = STATES["hot"]
        cv.shadow(shape, 0.3, 1, 1, opacity=0.5)
        cv.fill(shape, rim)
        face = shrink(shape, cv.unit())
        cv.fill(face, vertical_in(plate[1], plate[3], [(0, top), (1, bottom)], cv.k))
        cv.fill(intersect(face, cv.rect((0, 0, w, h / 2))), (255, 255, 255), 0.10)
        cv.fill(cv.edge(face, 0, 1), (255, 255, 255), 0.35)
        ink, shadow = (255, 255, 255), (0, 60, 0)
    else:
        # A faint plate so the four read as buttons even at rest.
        cv.fill(shape, (255, 255, 255), 0.07)
        cv.fill(subtract(shape, shrink(shape, cv.unit())), (255, 255, 255), 0.14)
        ink, shadow = LINK_INK, (0, 10, 40)
    draw, word = LINKS[kind]
    mark = draw(cv, w / 2, 14)
    cv.shadow(mark, 0.5, 1, 0.6, shadow, 0.6)
    cv.fill(mark, ink)
    image = cv.finish()
    text(image, (w // 2, 36), word, "bold", 10, ink, anchor="ms", shadow=(0, 1, shadow, 0.6), zoom=zoom)
    return keyed(image, OLIVE, 8, backdrop)


def crop_backdrop(skin, x, y, size, zoom=1):
    """The part of the skin a button at (x, y) covers, both given at 96 DPI."""
    left, top = at(x, zoom), at(y, zoom)
    return skin.crop((left, top, left + at(size[0], zoom), top + at(size[1], zoom)))


