"""The window skins: the main window's and the one both dialogs share.

Every pixel outside the rounded outline is magenta, the key the shaped window cuts away; the
window takes that key from the bottom-left pixel. Areas that controls cover (the tree, the check
box, the large buttons) are the flat body grey, which the program also gives those controls.

Drawn for a zoom (1 at 96 DPI): every edge a control meets lies where the windows round that
edge to, rims are whole pixels thick, and the words are set in the larger size.
"""

from icons import logo
from paint import Canvas, intersect, keyed, radial, shrink, subtract, text, vertical_in

MAGENTA = (255, 0, 255)
BODY = (222, 222, 222)
SKIN_SIZE = (491, 342)

# The banner's blue, by row; both skins use the same rows so the title-bar buttons, drawn once,
# sit on the same colour in every window.
BANNER_STOPS = [(0.0, (52, 104, 184)), (0.45, (30, 72, 146)), (1.0, (18, 46, 104))]
BANNER_HEIGHT = 88
BORDER_DARK = (14, 30, 64)
BORDER_BODY = (118, 124, 136)
RADIUS = 14


def _banner(cv, clip, bottom):
    band = intersect(cv.rect((0, 0, cv.width, bottom)), clip)
    cv.fill(band, vertical_in(0, cv.snap(BANNER_HEIGHT), BANNER_STOPS, cv.k))
    return band


def _frame(cv, width, height):
    """Outline and border; returns the inner mask that content is clipped to."""
    outline = cv.rect((0, 0, width, height), RADIUS)
    inner = shrink(outline, cv.unit())
    cv.fill(outline, BORDER_BODY)
    cv.fill(inner, BODY)
    return outline, inner


def _banner_edge(cv, inner, bottom):
    """A light rim under the banner and a short shadow falling on the body."""
    row = cv.whole(1)
    cv.fill(intersect(cv.rect((0, bottom, cv.width, bottom + row)), inner), (96, 146, 214))
    for i, alpha in enumerate((0.22, 0.10)):
        top = bottom + row * (1 + i)
        cv.fill(intersect(cv.rect((0, top, cv.width, top + row)), inner), (0, 0, 0), alpha)


def _outer_border(cv, outline, banner_bottom):
    """Dark rim round the banner, grey rim round the body, and a bevel lit from the top left."""
    ring = subtract(outline, shrink(outline, cv.unit()))
    cv.fill(intersect(ring, cv.rect((0, 0, cv.width, banner_bottom))), BORDER_DARK)
    inner = shrink(outline, cv.unit())
    one = cv.whole(1)
    below = cv.rect((0, banner_bottom + one, cv.width, cv.height))
    bevel_light = intersect(cv.edge(inner, one, one), below)
    cv.fill(bevel_light, (255, 255, 255), 0.7)
    bevel_dark = intersect(cv.edge(inner, -one, -one), below)
    cv.fill(bevel_dark, (0, 0, 0), 0.12)


def _sunken_frame(cv, box):
    """A one-pixel frame just outside a control, darker on the top and left (light from there)."""
    l, t, r, b = (cv.snap(v) for v in box)
    o = cv.whole(1)
    cv.fill(cv.rect((l - o, t - o, r + o, t)), (150, 154, 162))
    cv.fill(cv.rect((l - o, t, l, b)), (150, 154, 162))
    cv.fill(cv.rect((l - o, b, r + o, b + o)), (250, 250, 250))
    cv.fill(cv.rect((r, t, r + o, b)), (250, 250, 250))


def main_skin(zoom=1):
    cv = Canvas(*SKIN_SIZE, scale=4, background=(0, 0, 0, 0), zoom=zoom)
    w, h = cv.width, cv.height
    outline, inner = _frame(cv, w, h)
    banner = _banner(cv, inner, cv.snap(BANNER_HEIGHT))
    # A soft glow behind the logo and the greeting, fading out well before the buttons.
    cv.fill(banner, radial(70, 26, 230, [(0, (150, 200, 255, 70)), (1, (150, 200, 255, 0))], cv.k))
    # Faint arcs sweeping across the banner give it depth.
    for r, a in ((300, 0.10), (340, 0.07)):
        arc = intersect(cv.arc((-110, -r + 40, 2 * r - 110, r + 40), 0, 90, 1.2), banner)
        cv.fill(intersect(arc, cv.rect((0, 0, 250, h))), (190, 220, 255), a)
    _banner_edge(cv, inner, cv.snap(BANNER_HEIGHT))
    _outer_border(cv, outline, cv.snap(BANNER_HEIGHT))
    logo(cv, 12, 12, 66)
    _sunken_frame(cv, (12, 92, 365, 311))
    # The card's shadow stays off the tree and the buttons below, which the rounding of larger
    # scales can bring a pixel closer.
    below = cv.rect(tuple(cv.snap(v) for v in (368, 192, 476, 310)))
    _help_card(cv, HELP_CARD, clip=subtract(cv.rect((cv.snap(365), 0, cv.width, cv.height)), below))
    image = cv.finish()

    z = cv.zoom
    text(image, (88, 18), "Welcome", "bold", 27, (255, 255, 255), shadow=(1, 2, (0, 16, 50), 0.6), zoom=z)
    text(image, (91, 53), "to Quorrel", "sans", 15, (196, 218, 250),
         shadow=(0, 1, (0, 16, 50), 0.5), zoom=z)
    _help_text(image, HELP_CARD, z)
    text(image, (476, 336), "Quorrel", "bold", 10, (170, 174, 182), anchor="rs", zoom=z)
    return keyed(image, MAGENTA, 128)   # half-covered edge pixels stay: the cut is hard


def _help_card(cv, box, clip):
    box = tuple(cv.snap(v) for v in box)
    l, t, r, b = box
    card = cv.rect(box, 6)
    cv.shadow(card, 0, 1, 1.5, opacity=0.25, clip=clip)
    cv.fill(card, vertical_in(t, b, [(0, (246, 247, 249)), (1, (232, 234, 238))], cv.k))
    cv.fill(subtract(card, shrink(card, cv.unit())), (170, 176, 186), 0.8)
    _help_bullets(cv, box)


# A short guide above the three large buttons.
HELP_CARD = (368, 94, 476, 188)
HELP_LINES = [
    ("Adorn", "icon, tip, colours"),
    ("Pretend", "disguise it"),
    ("Default", "back to plain"),
]


def _help_text(image, box, zoom):
    l, t, r, b = box
    text(image, (l + 8, t + 5), "Pick a folder, then", "bold", 9, (40, 60, 100), zoom=zoom)
    y = t + 20
    for word, what in HELP_LINES:
        text(image, (l + 14, y), word, "bold", 10, (30, 110, 40), zoom=zoom)
        text(image, (l + 14, y + 12), what, "sans", 9, (80, 86, 96), zoom=zoom)
        y += 23


def _help_bullets(cv, box):
    l, t, r, b = box
    for i in range(len(HELP_LINES)):
        dot = cv.circle(l + 9.5, t + 26.5 + i * 23, 2.2)
        cv.fill(dot, (60, 160, 60))


DIALOG_SHAPE = (487, 341)   # the dialogs' client areas are a little smaller than the picture
STRIP_HEIGHT = 36


def dialog_skin(zoom=1):
    sw, sh = DIALOG_SHAPE
    cv = Canvas(*SKIN_SIZE, scale=4, background=(0, 0, 0, 0), zoom=zoom)
    outline, inner = _frame(cv, cv.snap(sw), cv.snap(sh))
    strip = _banner(cv, inner, cv.snap(STRIP_HEIGHT))
    cv.fill(strip, radial(30, 12, 170, [(0, (150, 200, 255, 60)), (1, (150, 200, 255, 0))], cv.k))
    _banner_edge(cv, inner, cv.snap(STRIP_HEIGHT))
    _outer_border(cv, outline, cv.snap(STRIP_HEIGHT))
    logo(cv, 10, 4, 28)
    image = cv.finish()
    # No words on the strip: each dialog writes its own caption there.
    return keyed(image, MAGENTA, 128)   # half-covered edge pixels stay: the cut is hard
