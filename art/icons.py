"""The logo, the folder icon library and the icon file writer."""
import io
import math
import struct

from paint import Canvas, intersect, mix, over, shrink, subtract, text, union, vertical_in

# Folder colours: (back panel, front top, front bottom, emblem ink for light emblems' shadow).
FOLDER_COLOURS = {
    "yellow": ((222, 150, 30), (255, 222, 120), (246, 176, 46)),
    "blue": ((38, 98, 176), (118, 176, 240), (52, 124, 214)),
    "green": ((46, 130, 54), (136, 210, 110), (62, 160, 70)),
    "red": ((170, 36, 36), (246, 120, 104), (210, 56, 50)),
    "purple": ((104, 52, 150), (184, 140, 226), (128, 76, 188)),
    "orange": ((204, 96, 20), (255, 180, 96), (240, 124, 34)),
    "grey": ((92, 100, 112), (190, 198, 208), (128, 138, 152)),
    "pink": ((196, 62, 128), (252, 166, 206), (228, 96, 162)),
    "teal": ((18, 120, 122), (110, 210, 204), (28, 156, 156)),
    "brown": ((120, 78, 40), (206, 160, 110), (156, 106, 60)),
    "slate": ((44, 52, 68), (118, 130, 150), (66, 76, 96)),
    "sky": ((40, 130, 200), (150, 210, 250), (70, 160, 228)),
}


def _u(v, size, zoom=1):
    """A unit coordinate on an icon grid of `size` pixels, snapped to whole (device) pixels."""
    return round(v * size) if zoom == 1 else round(v * size * zoom) / zoom


def folder(cv, x, y, size, colour="yellow", paper=True, alone=False):
    """A folder seen from the front, lit from the top left, in the square (x, y, size); alone:
    the square is the whole picture (an icon), with no room around it."""
    back, front_top, front_bottom = FOLDER_COLOURS[colour]
    small = size <= 16
    u = lambda v: _u(v, size, cv.zoom)
    x, y = cv.snap(x), cv.snap(y)
    left, right = x + u(0.03), x + size - u(0.03)
    bottom = y + size - u(0.10 if not small else 0.09)
    back_top = y + u(0.16)
    front_top_y = y + u(0.34 if not small else 0.36)
    tab_right = x + u(0.42)
    radius = max(1.0, size * 0.06)

    # Soft contact shadow under the whole folder.
    body = cv.rect((left, back_top, right, bottom), radius)
    # Alone in an icon, past 64 pixels the blur grows more slowly than the size: a wide one
    # would reach the edge of the picture and be cut off there in a straight line.
    blur = max(0.6, size / 24)
    if alone:
        blur = min(blur, max(64 / 24, size * 0.01))
    cv.shadow(body, 0, max(0.5, size / 48), blur, opacity=0.35)

    # Back panel with its tab.
    tab = cv.rect((left, y + u(0.10), tab_right, back_top + radius * 2), radius)
    cv.polygon([(tab_right - radius, y + u(0.10)), (tab_right + size * 0.08, back_top + 0.01),
                (tab_right - radius, back_top + 0.01)], tab)
    back_mask = union(body, tab)
    cv.fill(back_mask, vertical_in(y + u(0.10), bottom, [(0, mix(back, (255, 255, 255), 0.25)), (1, back)], cv.k))
    # Rim along the top of the back panel.
    cv.fill(cv.edge(back_mask, 0, max(0.5, size / 40)), (255, 255, 255), 0.35)

    # Paper sheet peeking out of the folder.
    if paper:
        sheet = cv.rect((left + u(0.08), y + u(0.21), right - u(0.08), front_top_y + u(0.1)), max(0.5, size / 64))
        cv.fill(sheet, (250, 250, 248))
        cv.fill(cv.edge(sheet, 0, -max(0.5, size / 48)), (0, 0, 0), 0.10)

    # Front panel: a light gradient, a bright top edge and a darker bottom edge.
    front = cv.rect((left, front_top_y, right, bottom), radius)
    cv.shadow(front, 0, -max(0.4, size / 64), max(0.5, size / 40), opacity=0.18)
    cv.fill(front, vertical_in(front_top_y, bottom, [(0, front_top), (1, front_bottom)], cv.k))
    cv.fill(cv.edge(front, 0, max(0.6, size / 32)), (255, 255, 255), 0.55)
    cv.fill(cv.edge(front, 0, -max(0.6, size / 40)), back, 0.55)
    # A darker outline keeps the shape readable on white and on dark backgrounds alike.
    outline = subtract(union(back_mask, front), _shrunk(cv, union(back_mask, front), max(0.5, size / 40)))
    cv.fill(outline, mix(back, (0, 0, 0), 0.25), 0.55)
    return (left, front_top_y, right, bottom)


def _shrunk(cv, mask, px):
    return shrink(mask, px * cv.k)


# --- emblems: each draws into the folder front box (l, t, r, b) ---------------------------------

def _front_centre(front):
    l, t, r, b = front
    return (l + r) / 2, (t + b) / 2 + (b - t) * 0.02, min(r - l, b - t)


def _white_emblem(cv, mask, size, ink=(255, 255, 255), shadow=(0, 0, 0)):
    cv.shadow(mask, 0, max(0.5, size / 48), max(0.4, size / 64), shadow, 0.45)
    cv.fill(mask, ink)


def star_points(cx, cy, r_out, r_in, n=5, rot=-90):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rot + i * 180 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def heart_mask(cv, cx, cy, w):
    r = w * 0.27
    m = cv.circle(cx - w * 0.23, cy - w * 0.12, r)
    cv.circle(cx + w * 0.23, cy - w * 0.12, r, m)
    cv.polygon([(cx - w * 0.49, cy - w * 0.04), (cx + w * 0.49, cy - w * 0.04), (cx, cy + w * 0.46)], m)
    return m


def emblem_star(cv, front, size):
    cx, cy, d = _front_centre(front)
    m = cv.polygon(star_points(cx, cy + d * 0.02, d * 0.44, d * 0.19))
    cv.shadow(m, 0, size / 48, size / 64, (120, 70, 0), 0.5)
    cv.fill(m, vertical_in(cy - d * 0.4, cy + d * 0.4, [(0, (255, 236, 120)), (1, (246, 170, 20))], cv.k))
    cv.fill(cv.edge(m, 0, -max(0.5, size / 48)), (170, 100, 0), 0.6)


def emblem_heart(cv, front, size):
    cx, cy, d = _front_centre(front)
    m = heart_mask(cv, cx, cy, d * 0.9)
    cv.shadow(m, 0, size / 48, size / 64, (90, 0, 0), 0.5)
    cv.fill(m, vertical_in(cy - d * 0.4, cy + d * 0.4, [(0, (255, 110, 120)), (1, (200, 20, 40))], cv.k))


def emblem_lock(cv, front, size):
    cx, cy, d = _front_centre(front)
    w = d * 0.58
    shackle = cv.arc((cx - w * 0.34, cy - d * 0.46, cx + w * 0.34, cy + d * 0.1), 180, 360, max(1, d * 0.11))
    cv.rect((cx - w * 0.34 - d * 0.055, cy - d * 0.2, cx - w * 0.34 + d * 0.055, cy), mask=shackle)
    cv.rect((cx + w * 0.34 - d * 0.055, cy - d * 0.2, cx + w * 0.34 + d * 0.055, cy), mask=shackle)
    cv.fill(shackle, vertical_in(cy - d * 0.46, cy, [(0, (236, 240, 246)), (1, (170, 178, 190))], cv.k))
    body = cv.rect((cx - w / 2, cy - d * 0.08, cx + w / 2, cy + d * 0.42), max(0.5, d * 0.06))
    cv.shadow(body, 0, size / 48, size / 64, opacity=0.4)
    cv.fill(body, vertical_in(cy - d * 0.08, cy + d * 0.42, [(0, (255, 214, 90)), (1, (206, 140, 20))], cv.k))
    cv.fill(cv.edge(body, 0, max(0.5, size / 48)), (255, 255, 255), 0.6)
    hole = cv.circle(cx, cy + d * 0.12, d * 0.07)
    cv.rect((cx - d * 0.03, cy + d * 0.12, cx + d * 0.03, cy + d * 0.28), mask=hole)
    cv.fill(hole, (120, 70, 0))


def emblem_music(cv, front, size):
    cx, cy, d = _front_centre(front)
    m = cv.ellipse((cx - d * 0.36, cy + d * 0.14, cx - d * 0.06, cy + d * 0.38))
    cv.ellipse((cx + d * 0.08, cy + d * 0.06, cx + d * 0.38, cy + d * 0.30), m)
    sw = max(0.9, d * 0.08)
    cv.rect((cx - d * 0.06 - sw, cy - d * 0.34, cx - d * 0.06, cy + d * 0.26), mask=m)
    cv.rect((cx + d * 0.38 - sw, cy - d * 0.42, cx + d * 0.38, cy + d * 0.18), mask=m)
    cv.polygon([(cx - d * 0.06 - sw, cy - d * 0.34), (cx + d * 0.38, cy - d * 0.42),
                (cx + d * 0.38, cy - d * 0.26), (cx - d * 0.06 - sw, cy - d * 0.18)], m)
    _white_emblem(cv, m, size, shadow=(60, 20, 90))


def emblem_pictures(cv, front, size):
    cx, cy, d = _front_centre(front)
    w, h = d * 1.0, d * 0.74
    box = (cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2)
    frame = cv.rect(box, max(0.5, d * 0.04))
    cv.shadow(frame, 0, size / 48, size / 48, opacity=0.35)
    cv.fill(frame, (255, 255, 255))
    inset = max(1, round(d * 0.08))
    sky_box = (box[0] + inset, box[1] + inset, box[2] - inset, box[3] - inset)
    sky = cv.rect(sky_box)
    cv.fill(sky, vertical_in(sky_box[1], sky_box[3], [(0, (110, 180, 245)), (1, (190, 225, 255))], cv.k))
    hill = intersect(cv.ellipse((sky_box[0] - w * 0.2, cy + h * 0.02, cx + w * 0.35, cy + h * 0.9)), sky)
    hill2 = intersect(cv.ellipse((cx - w * 0.1, cy - h * 0.05, sky_box[2] + w * 0.3, cy + h * 0.95)), sky)
    cv.fill(hill2, (58, 150, 60))
    cv.fill(hill, (96, 190, 80))
    cv.fill(intersect(cv.circle(cx + w * 0.22, cy - h * 0.16, d * 0.09), sky), (255, 214, 60))


def emblem_documents(cv, front, size):
    cx, cy, d = _front_centre(front)
    w, h = d * 0.62, d * 0.84
    for k, shade in ((1, 232), (0, 255)):
        off = k * d * 0.12
        page = cv.rect((cx - w / 2 + off - d * 0.06, cy - h / 2 - off + d * 0.02,
                        cx + w / 2 + off - d * 0.06, cy + h / 2 - off + d * 0.02), max(0.5, d * 0.03))
        cv.shadow(page, 0, size / 48, size / 48, opacity=0.3)
        cv.fill(page, (shade, shade, shade))
    if size >= 32:
        lines = cv.mask()
        left = cx - w / 2 - d * 0.06 + d * 0.1
        for i in range(4):
            yy = cy - h / 2 + d * 0.02 + d * (0.16 + i * 0.15)
            right = cx + w / 2 - d * 0.06 - d * (0.1 if i < 3 else 0.26)
            cv.rect((left, yy, right, yy + max(1, d * 0.05)), mask=lines)
        cv.fill(lines, (120, 150, 190))


def emblem_downloads(cv, front, size):
    cx, cy, d = _front_centre(front)
    m = cv.rect((cx - d * 0.1, cy - d * 0.42, cx + d * 0.1, cy + d * 0.02))
    cv.polygon([(cx - d * 0.3, cy - d * 0.04), (cx + d * 0.3, cy - d * 0.04), (cx, cy + d * 0.3)], m)
    cv.rect((cx - d * 0.38, cy + d * 0.32, cx + d * 0.38, cy + d * 0.42), mask=m)
    _white_emblem(cv, m, size, shadow=(0, 60, 10))


def emblem_code(cv, front, size):
    cx, cy, d = _front_centre(front)
    lw = max(1.1, d * 0.11)
    m = cv.line([(cx - d * 0.18, cy - d * 0.26), (cx - d * 0.40, cy), (cx - d * 0.18, cy + d * 0.26)], lw)
    cv.line([(cx + d * 0.18, cy - d * 0.26), (cx + d * 0.40, cy), (cx + d * 0.18, cy + d * 0.26)], lw, m)
    if size >= 32:
        cv.line([(cx + d * 0.07, cy - d * 0.32), (cx - d * 0.07, cy + d * 0.32)], lw, m)
    _white_emblem(cv, m, size, ink=(150, 240, 170), shadow=(0, 0, 0))


def emblem_archive(cv, front, size):
    cx, cy, d = _front_centre(front)
    l, t, r, b = front
    # A zip running down the front, with its pull tab.
    zw = max(2, d * 0.16)
    strip = cv.rect((cx - zw / 2, t, cx + zw / 2, b))
    cv.fill(strip, (70, 46, 20), 0.8)
    teeth = cv.mask()
    step = max(2, d * 0.12)
    yy = t + step * 0.3
    i = 0
    while yy < cy + d * 0.05:
        off = -zw * 0.25 if i % 2 else zw * 0.25
        cv.rect((cx + off - zw * 0.3, yy, cx + off + zw * 0.3, yy + step * 0.5), mask=teeth)
        yy += step * 0.5
        i += 1
    cv.fill(teeth, (230, 220, 200))
    pull = cv.rect((cx - d * 0.13, cy + d * 0.02, cx + d * 0.13, cy + d * 0.36), max(0.5, d * 0.05))
    cv.shadow(pull, 0, size / 48, size / 64, opacity=0.4)
    cv.fill(pull, vertical_in(cy, cy + d * 0.36, [(0, (245, 245, 245)), (1, (170, 170, 170))], cv.k))
    if size >= 32:
        cv.fill(cv.rect((cx - d * 0.05, cy + d * 0.14, cx + d * 0.05, cy + d * 0.28)), (90, 90, 90))


def emblem_games(cv, front, size):
    cx, cy, d = _front_centre(front)
    w, h = d * 0.96, d * 0.5
    m = cv.rect((cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2), h / 2)
    cv.circle(cx - w * 0.30, cy + h * 0.30, h * 0.42, m)
    cv.circle(cx + w * 0.30, cy + h * 0.30, h * 0.42, m)
    _white_emblem(cv, m, size, shadow=(90, 0, 0))
    # Cross on the left, two buttons on the right.
    arm = d * 0.2
    t = max(0.8, d * 0.07)
    pad = cv.rect((cx - w * 0.27 - arm / 2, cy - t / 2, cx - w * 0.27 + arm / 2, cy + t / 2))
    cv.rect((cx - w * 0.27 - t / 2, cy - arm / 2, cx - w * 0.27 + t / 2, cy + arm / 2), mask=pad)
    cv.fill(pad, (190, 40, 40))
    btn = cv.circle(cx + w * 0.2, cy + d * 0.04, d * 0.055)
    cv.circle(cx + w * 0.32, cy - d * 0.06, d * 0.055, btn)
    cv.fill(btn, (190, 40, 40))


def emblem_work(cv, front, size):
    cx, cy, d = _front_centre(front)
    w, h = d * 0.92, d * 0.6
    top = cy - h / 2 + d * 0.08
    handle = cv.rect((cx - d * 0.18, top - d * 0.16, cx + d * 0.18, top + d * 0.04), max(0.5, d * 0.05))
    cv.rect((cx - d * 0.1, top - d * 0.09, cx + d * 0.1, top + d * 0.04), mask=handle, value=0)
    m = union(handle, cv.rect((cx - w / 2, top, cx + w / 2, top + h), max(0.5, d * 0.07)))
    _white_emblem(cv, m, size, shadow=(0, 50, 50))
    band = intersect(cv.rect((cx - w / 2, top + h * 0.38, cx + w / 2, top + h * 0.38 + max(0.8, d * 0.06))), m)
    cv.fill(band, (28, 156, 156), 0.7)
    cv.fill(cv.rect((cx - d * 0.06, top + h * 0.3, cx + d * 0.06, top + h * 0.54)), (28, 156, 156))


def emblem_favourites(cv, front, size):
    cx, cy, d = _front_centre(front)
    l, t, r, b = front
    w = d * 0.34
    x0 = r - (r - l) * 0.3
    top = t - d * 0.2
    m = cv.polygon([(x0 - w / 2, top), (x0 + w / 2, top), (x0 + w / 2, cy + d * 0.42),
                    (x0, cy + d * 0.26), (x0 - w / 2, cy + d * 0.42)])
    cv.shadow(m, size / 64, size / 48, size / 64, opacity=0.4)
    cv.fill(m, vertical_in(top, cy + d * 0.42, [(0, (240, 60, 70)), (1, (180, 20, 40))], cv.k))
    cv.fill(cv.edge(m, max(0.5, size / 64), 0), (255, 255, 255), 0.35)
    if size >= 32:
        s = cv.polygon(star_points(x0, cy - d * 0.06, w * 0.36, w * 0.15))
        cv.fill(s, (255, 230, 120))


def emblem_video(cv, front, size):
    cx, cy, d = _front_centre(front)
    m = cv.circle(cx, cy, d * 0.4)
    _white_emblem(cv, m, size, shadow=(0, 0, 0))
    tri = cv.polygon([(cx - d * 0.12, cy - d * 0.2), (cx - d * 0.12, cy + d * 0.2), (cx + d * 0.22, cy)])
    cv.fill(tri, (220, 80, 30))


def gear_mask(cv, cx, cy, r, teeth=8):
    m = cv.circle(cx, cy, r * 0.78)
    for i in range(teeth):
        a = 2 * math.pi * i / teeth
        ca, sa = math.cos(a), math.sin(a)
        w = r * 0.22
        pts = []
        for px, py in ((-w, r * 0.6), (w, r * 0.6), (w * 0.8, r * 1.02), (-w * 0.8, r * 1.02)):
            pts.append((cx + px * ca - py * sa, cy + px * sa + py * ca))
        cv.polygon(pts, m)
    cv.circle(cx, cy, r * 0.34, m, value=0)
    return m


def emblem_settings(cv, front, size):
    cx, cy, d = _front_centre(front)
    _white_emblem(cv, gear_mask(cv, cx, cy, d * 0.42), size, shadow=(20, 30, 40))


def emblem_cloud(cv, front, size):
    cx, cy, d = _front_centre(front)
    m = cv.circle(cx - d * 0.2, cy + d * 0.06, d * 0.2)
    cv.circle(cx + d * 0.05, cy - d * 0.06, d * 0.27, m)
    cv.circle(cx + d * 0.27, cy + d * 0.1, d * 0.17, m)
    cv.rect((cx - d * 0.2, cy + d * 0.06, cx + d * 0.27, cy + d * 0.27), mask=m)
    _white_emblem(cv, m, size, shadow=(0, 60, 120))


# What each library icon shows: the folder's colour and its emblem, if any.
FOLDERS = {
    "folder_yellow": ("yellow", None),
    "folder_blue": ("blue", None),
    "folder_green": ("green", None),
    "folder_red": ("red", None),
    "folder_purple": ("purple", None),
    "folder_orange": ("orange", None),
    "folder_grey": ("grey", None),
    "folder_pink": ("pink", None),
    "folder_star": ("blue", emblem_star),
    "folder_heart": ("pink", emblem_heart),
    "folder_lock": ("slate", emblem_lock),
    "folder_music": ("purple", emblem_music),
    "folder_pictures": ("yellow", emblem_pictures),
    "folder_documents": ("blue", emblem_documents),
    "folder_downloads": ("green", emblem_downloads),
    "folder_code": ("slate", emblem_code),
    "folder_archive": ("brown", emblem_archive),
    "folder_games": ("red", emblem_games),
    "folder_work": ("teal", emblem_work),
    "folder_favourites": ("yellow", emblem_favourites),
    "folder_video": ("orange", emblem_video),
    "folder_settings": ("grey", emblem_settings),
    "folder_cloud": ("sky", emblem_cloud),
}


def _supersampling(size):
    """Mask pixels per picture pixel: eight keeps the small sizes' fine edges; the large ones
    have enough pixels of their own."""
    return 8 if size <= 96 else 4


def library_icon(name, size):
    colour, emblem = FOLDERS[name]
    cv = Canvas(size, size, scale=_supersampling(size))
    front = folder(cv, 0, 0, size, colour, paper=emblem is None or size > 16, alone=True)
    if emblem:
        emblem(cv, _emblem_box(front, size), size)
    return cv.finish()


def _emblem_box(front, size):
    # Emblems sit in the middle of the front panel, a little inset from its edges.
    l, t, r, b = front
    if size <= 16:
        # At the smallest size the emblem may reach over the paper: it must stay legible.
        return (l + 2, t - 2, r - 2, b + 0.5)
    inset = size * 0.12
    return (l + inset, t + size * 0.03, r - inset, b - size * 0.03)


# --- logo -----------------------------------------------------------------------------------

LOGO_BLUE = ((66, 140, 230), (22, 70, 160))
LETTERED_Q = 24   # up to this size a drawn ring would blur: the Q is set in type instead


def logo(cv, x, y, size, alone=False):
    """The product logo: a golden folder with a blue badge bearing a Q."""
    front = folder(cv, x, y, size, "yellow", paper=size > 16, alone=alone)
    l, t, r, b = front
    if size <= 16:
        # Placed on whole pixels, with a thicker Q, so the badge stays crisp at its smallest.
        br, bx, by = 5.0, x + 10.5, y + 10.5
    else:
        br = size * 0.25
        bx, by = r - br * 1.05, b - br * 0.95
        if size <= LETTERED_Q:
            bx, by = round(bx), round(by)   # the lettered Q is centred on a whole pixel
    badge = cv.circle(bx, by, br)
    cv.shadow(badge, size / 64, size / 40, size / 40, opacity=0.45)
    # White rim around the badge separates it from the folder.
    cv.fill(cv.circle(bx, by, br + max(0.6, size / 40)), (255, 255, 255))
    cv.fill(badge, vertical_in(by - br, by + br, [(0, LOGO_BLUE[0]), (1, LOGO_BLUE[1])], cv.k))
    cv.fill(cv.edge(badge, size / 64, size / 48), (255, 255, 255), 0.35)
    if size <= LETTERED_Q:
        return bx, by   # the Q is lettered at final size by logo_image: hinting keeps it readable
    # The Q: a ring with a tail running to the lower right.
    ring_w = br * 0.26
    q = cv.ring(bx, by - br * 0.04, br * 0.6, br * 0.6 - ring_w)
    cv.line([(bx + br * 0.12, by + br * 0.18), (bx + br * 0.58, by + br * 0.62)], ring_w * 0.95, q)
    cv.fill(q, (255, 255, 255))
    return bx, by


def over_white(image):
    return over((255, 255, 255), image)


def logo_image(size):
    cv = Canvas(size, size, scale=_supersampling(size))
    bx, by = logo(cv, 0, 0, size, alone=True)
    image = cv.finish()
    if size <= 16:
        text(image, (11, 11), "Q", "bold", 9, (255, 255, 255), anchor="mm")
    elif size <= LETTERED_Q:
        text(image, (bx, by), "Q", "bold", round(size * 0.42), (255, 255, 255), anchor="mm")
    return image


# --- icon files -----------------------------------------------------------------------------

def ico_bytes(images, png_from=None):
    """An icon file holding each RGBA image as a 32-bit DIB with its AND mask, or, for images of
    png_from pixels and more, as a PNG (the shell reads those since Windows Vista)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for im in images:
        w, h = im.size
        blob = _png(im) if png_from is not None and w >= png_from else _dib(im)
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def _dib(im):
    w, h = im.size
    px = im.tobytes("raw", "BGRA", 0, -1)  # rows bottom-up, as a DIB stores them
    mask_stride = ((w + 31) // 32) * 4
    alpha = im.getchannel("A")
    mask = bytearray()
    for row in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        for col in range(w):
            if alpha.getpixel((col, row)) == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(px) + len(mask), 0, 0, 0, 0)
    return header + px + bytes(mask)


def _png(im):
    out = io.BytesIO()
    im.save(out, "PNG", optimize=True)
    return out.getvalue()
