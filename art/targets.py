"""The eight 36 x 36 pictures of the disguise targets, on white, in the targets' index order
(drawn larger for a zoom: 45 x 45 at 125%, ...)."""
import math

from icons import gear_mask
from paint import Canvas, intersect, over, shrink, union, vertical_in

SIZE = 36
WHITE = (255, 255, 255)


def _lit(cv, mask, top, bottom, y0, y1, rim=None, shadow=True):
    """Fill a shape with a top-lit gradient, a soft shadow to the lower right and a rim."""
    if shadow:
        cv.shadow(mask, 0.6, 1.0, 0.9, opacity=0.35)
    if rim:
        cv.fill(mask, rim)
        inner = shrink(mask, cv.unit())
    else:
        inner = mask
    cv.fill(inner, vertical_in(y0, y1, [(0, top), (1, bottom)], cv.k))
    cv.fill(cv.edge(inner, 0, 0.8), WHITE, 0.45)
    return inner


def _globe(cv, cx, cy, r):
    disc = cv.circle(cx, cy, r)
    cv.shadow(disc, 0.6, 1.0, 0.9, opacity=0.35)
    cv.fill(disc, (22, 84, 170))
    inner = shrink(disc, cv.unit())
    cv.fill(inner, vertical_in(cy - r, cy + r, [(0, (120, 190, 250)), (1, (30, 110, 200))], cv.k))
    # Land masses: a few soft blobs in green, clipped to the sphere.
    land = cv.ellipse((cx - r * 0.75, cy - r * 0.6, cx - r * 0.05, cy + r * 0.15))
    cv.ellipse((cx - r * 0.35, cy + r * 0.05, cx + r * 0.15, cy + r * 0.85), land)
    cv.ellipse((cx + r * 0.2, cy - r * 0.75, cx + r * 0.8, cy - r * 0.15), land)
    cv.fill(intersect(land, inner), vertical_in(cy - r, cy + r, [(0, (140, 214, 100)), (1, (50, 150, 60))], cv.k))
    grid = cv.mask()
    lw = max(0.5, r * 0.07)
    cv.arc((cx - r * 0.45, cy - r, cx + r * 0.45, cy + r), 0, 360, lw, grid)
    cv.rect((cx - lw / 2, cy - r, cx + lw / 2, cy + r), mask=grid)
    cv.rect((cx - r, cy - lw / 2, cx + r, cy + lw / 2), mask=grid)
    for k in (-0.5, 0.5):
        half = r * math.sqrt(1 - k * k)
        cv.rect((cx - half, cy + k * r - lw / 2, cx + half, cy + k * r + lw / 2), mask=grid)
    cv.fill(intersect(grid, inner), WHITE, 0.45)
    # A highlight toward the light.
    glare = intersect(cv.circle(cx - r * 0.35, cy - r * 0.4, r * 0.45), inner)
    cv.fill(glare, WHITE, 0.22)
    return disc


def _monitor(cv, box, stand=True):
    l, t, r, b = box
    frame = cv.rect(box, 1.6)
    _lit(cv, frame, (214, 220, 230), (150, 158, 172), t, b, rim=(86, 92, 104))
    screen_box = (l + 2, t + 2, r - 2, b - 3 if (b - t) > 12 else b - 2)
    screen = cv.rect(screen_box)
    cv.fill(screen, vertical_in(screen_box[1], screen_box[3], [(0, (90, 170, 240)), (1, (24, 80, 170))], cv.k))
    glare = intersect(cv.polygon([(l, t), (l + (r - l) * 0.55, t), (l + (r - l) * 0.2, b), (l, b)]), screen)
    cv.fill(glare, WHITE, 0.16)
    if stand:
        cx = (l + r) / 2
        neck = cv.polygon([(cx - 2.5, b), (cx + 2.5, b), (cx + 3.5, b + 2.5), (cx - 3.5, b + 2.5)])
        base = cv.rect((cx - (r - l) * 0.3, b + 2.2, cx + (r - l) * 0.3, b + 4), 1)
        _lit(cv, union(neck, base), (200, 206, 216), (120, 128, 140), b, b + 4, rim=(86, 92, 104))
    return screen_box


def web_page(cv):
    page = cv.rect((3, 4, 29, 29), 2)
    cv.shadow(page, 0.6, 1.0, 0.9, opacity=0.35)
    cv.fill(page, (120, 130, 146))
    inner = shrink(page, cv.unit())
    cv.fill(inner, (252, 252, 252))
    bar = intersect(cv.rect((3, 4, 29, 10)), inner)
    cv.fill(bar, vertical_in(4, 10, [(0, (96, 160, 236)), (1, (36, 96, 190))], cv.k))
    dots = cv.circle(6.5, 7, 1)
    cv.circle(9.5, 7, 1, dots)
    cv.circle(12.5, 7, 1, dots)
    cv.fill(dots, WHITE, 0.85)
    lines = cv.mask()
    for i, right in enumerate((24, 20, 22, 15)):
        cv.rect((6, 13 + i * 3.4, right, 14.6 + i * 3.4), mask=lines)
    cv.fill(lines, (170, 180, 196))
    cv.fill(cv.rect((6, 13, 13, 19.6)), (110, 180, 240))
    _globe(cv, 25, 25, 9)


def recycle_bin(cv):
    body = cv.polygon([(8.5, 10.5), (27.5, 10.5), (25.5, 33), (10.5, 33)])
    inner = _lit(cv, body, (230, 236, 244), (160, 172, 190), 10, 33, rim=(92, 104, 124))
    ribs = cv.mask()
    for x0, x1 in ((12.5, 13.5), (17.5, 17.5), (22.5, 21.5)):
        cv.line([(x0, 13.5), (x1, 30.5)], 1.2, ribs)
    cv.fill(intersect(ribs, inner), (110, 124, 146), 0.8)
    # The recycling mark: three arrows chasing each other round a triangle.
    mark = cv.mask()
    cx, cy, r = 18, 22.5, 6.6
    corners = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a))) for a in (-90, 30, 150)]
    for k in range(3):
        (x0, y0), (x1, y1) = corners[k], corners[(k + 1) % 3]
        dx, dy = x1 - x0, y1 - y0
        at = lambda f: (x0 + dx * f, y0 + dy * f)
        cv.line([at(0.12), at(0.58)], 1.7, mark)
        length = math.hypot(dx, dy)
        nx, ny = -dy / length * 2.1, dx / length * 2.1
        bx, by = at(0.5)
        cv.polygon([at(0.86), (bx + nx, by + ny), (bx - nx, by - ny)], mark)
    cv.fill(mark, (40, 160, 70))
    lid = cv.rect((6, 6.5, 30, 11), 1.5)
    cv.rect((14, 3.5, 22, 7.5), 1.2, mask=lid)
    cv.rect((16, 5, 20, 7), mask=lid, value=0)
    _lit(cv, lid, (244, 248, 252), (176, 188, 204), 3.5, 11, rim=(92, 104, 124))


def control_panel(cv):
    panel = cv.rect((3, 4, 27, 28), 2.5)
    _lit(cv, panel, (246, 248, 252), (200, 208, 222), 4, 28, rim=(104, 114, 134))
    for i, (x, knob_y, colour) in enumerate(((8.5, 18, (230, 70, 60)), (15, 10.5, (60, 170, 80)),
                                             (21.5, 15, (50, 120, 220)))):
        track = cv.rect((x - 0.8, 8, x + 0.8, 24.5), 0.8)
        cv.fill(track, (120, 128, 146))
        knob = cv.rect((x - 2.8, knob_y - 1.8, x + 2.8, knob_y + 1.8), 1)
        _lit(cv, knob, colour, tuple(int(c * 0.65) for c in colour), knob_y - 1.8, knob_y + 1.8,
             rim=tuple(int(c * 0.5) for c in colour))
    cv.fill(cv.circle(26.5, 26.5, 3.2), (236, 240, 246))   # seen through the gear's hub
    gear = gear_mask(cv, 26.5, 26.5, 8.2)
    _lit(cv, gear, (150, 170, 200), (60, 80, 120), 18, 35, rim=(40, 52, 80))


def task_scheduler(cv):
    page = cv.rect((3, 6, 27, 31), 2)
    _lit(cv, page, (255, 255, 255), (230, 234, 240), 6, 31, rim=(120, 128, 142))
    head = intersect(cv.rect((3, 6, 27, 12)), shrink(page, cv.unit()))
    cv.fill(head, vertical_in(6, 12, [(0, (246, 96, 84)), (1, (196, 40, 40))], cv.k))
    rings = cv.rect((8, 3.5, 10, 8.5), 1)
    cv.rect((20, 3.5, 22, 8.5), 1, mask=rings)
    _lit(cv, rings, (230, 232, 236), (130, 136, 148), 3, 9, rim=(80, 86, 98), shadow=False)
    cells = cv.mask()
    for row in range(4):
        for col in range(5):
            x, y = 5.5 + col * 4.2, 14 + row * 4
            cv.rect((x, y, x + 2.8, y + 2.6), mask=cells)
    cv.fill(cells, (196, 204, 218))
    cv.fill(cv.rect((9.7, 18, 12.5, 20.6)), (230, 80, 70))
    # A clock in front of the page.
    cx, cy, r = 25.5, 25.5, 8.5
    face = cv.circle(cx, cy, r)
    _lit(cv, face, (80, 150, 230), (28, 84, 170), cy - r, cy + r, rim=(20, 60, 130))
    dial = cv.circle(cx, cy, r - 1.8)
    cv.fill(dial, vertical_in(cy - r, cy + r, [(0, (255, 255, 255)), (1, (226, 232, 242))], cv.k))
    hands = cv.line([(cx, cy), (cx, cy - 5)], 1.3)
    cv.line([(cx, cy), (cx + 3.6, cy + 1.2)], 1.3, hands)
    cv.fill(hands, (40, 48, 64))
    cv.fill(cv.circle(cx, cy, 0.9), (220, 50, 40))


def _printed_sheet(cv, box, first_line, ink):
    """A sheet of paper with three lines of print, the last one short."""
    l, t, r, b = box
    _lit(cv, cv.rect(box, 0.8), (255, 255, 255), (234, 237, 242), t, b, rim=(150, 156, 168))
    lines = cv.mask()
    for i in range(3):
        y = first_line + i * 2.5
        cv.rect((l + 2.5, y, r - 2.5 - (6 if i == 2 else 0), y + 1), mask=lines)
    cv.fill(lines, ink)


def printer(cv):
    _printed_sheet(cv, (9, 3, 27, 16), 6, (150, 170, 200))
    body = cv.rect((3, 13, 33, 27), 3)
    _lit(cv, body, (226, 230, 238), (130, 138, 154), 13, 27, rim=(70, 78, 92))
    slot = cv.rect((7, 21, 29, 23.4), 1)
    cv.fill(slot, (50, 56, 68))
    cv.fill(cv.circle(28, 17, 1.2), (60, 210, 90))
    cv.fill(cv.circle(24.5, 17, 1.2), (120, 130, 146))
    _printed_sheet(cv, (8, 22.5, 28, 33), 25, (70, 80, 96))


def network_places(cv):
    _globe(cv, 21, 14, 11.5)
    _monitor(cv, (2, 18, 20, 30), stand=True)


def network_connections(cv):
    # Two computers joined by a cable, its joint lit green: the link is up.
    cable = cv.line([(10, 20), (10, 27), (17, 27)], 1.6)
    cv.fill(cable, (70, 80, 96))
    _monitor(cv, (1, 2, 20, 15.5), stand=True)
    _monitor(cv, (16, 15, 35, 28.5), stand=True)
    dot = cv.circle(10, 27, 2.3)
    _lit(cv, dot, (150, 250, 150), (30, 160, 60), 24.7, 29.3, rim=(20, 100, 40))


def my_computer(cv):
    screen = _monitor(cv, (3, 3, 33, 25), stand=True)
    l, t, r, b = screen
    # A tiny desktop on the screen: a task bar and two icons.
    cv.fill(cv.rect((l, b - 2.2, r, b)), (20, 50, 110), 0.9)
    cv.fill(cv.rect((l + 0.6, b - 1.7, l + 4.5, b - 0.5), 0.4), (90, 200, 90))
    icons = cv.rect((l + 2, t + 2, l + 5, t + 5), 0.5)
    cv.rect((l + 2, t + 7, l + 5, t + 10), 0.5, mask=icons)
    cv.fill(icons, (255, 214, 100))
    keyboard = cv.polygon([(7, 31), (29, 31), (31, 34.5), (5, 34.5)])
    _lit(cv, keyboard, (236, 240, 246), (170, 178, 192), 31, 34.5, rim=(96, 104, 118))


TARGETS = [web_page, recycle_bin, control_panel, task_scheduler, printer, network_places,
           network_connections, my_computer]


def target(index, zoom=1):
    cv = Canvas(SIZE, SIZE, scale=8, zoom=zoom)
    TARGETS[index](cv)
    return over(WHITE, cv.finish())

