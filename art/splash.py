"""The splash picture shown while the main window opens."""
from icons import library_icon, logo
from paint import Canvas, at, radial, shrink, subtract, text, vertical

SPLASH_SIZE = (400, 250)
SHOWCASE = ("folder_blue", "folder_music", "folder_pictures", "folder_star", "folder_heart",
            "folder_code", "folder_green")


def splash(zoom=1):
    cv = Canvas(*SPLASH_SIZE, scale=4, zoom=zoom)
    w, h = cv.width, cv.height
    everything = cv.rect((0, 0, w, h))
    cv.fill(everything, vertical([(0, (52, 104, 184)), (0.55, (24, 60, 128)), (1, (12, 32, 76))]))
    cv.fill(everything, radial(90, 90, 260, [(0, (160, 210, 255, 90)), (1, (160, 210, 255, 0))], cv.k))
    # A glass shelf along the bottom, showing a few of the icons that come with the program.
    top = cv.snap(176)
    shelf = cv.rect((0, top, w, h))
    cv.fill(shelf, (255, 255, 255), 0.06)
    cv.fill(cv.rect((0, top, w, top + cv.whole(1))), (170, 205, 250), 0.35)
    logo(cv, 22, 28, 124)
    # A one-pixel frame: the splash window has no border of its own.
    cv.fill(subtract(everything, shrink(everything, cv.unit())), (8, 22, 56))
    image = cv.finish()
    x = (SPLASH_SIZE[0] - 52 * len(SHOWCASE) + 4) // 2
    for name in SHOWCASE:
        # Each icon drawn at its size on this display, not scaled from the 48-pixel one.
        icon = library_icon(name, at(48, zoom))
        image.alpha_composite(icon, (at(x, zoom), at(188, zoom)))
        x += 52
    text(image, (162, 56), "Quorrel", "bold", 46, (255, 255, 255), shadow=(2, 3, (0, 14, 44), 0.6), zoom=zoom)
    text(image, (165, 116), "Make every folder your own.", "sans", 15, (206, 226, 252),
         shadow=(0, 1, (0, 14, 44), 0.5), zoom=zoom)
    text(image, (165, 142), "Adorn  \u00b7  Pretend  \u00b7  Default", "bold", 12, (150, 220, 130),
         shadow=(0, 1, (0, 14, 44), 0.5), zoom=zoom)
    return image.convert("RGB")
