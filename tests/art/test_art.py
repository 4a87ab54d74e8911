#!/usr/bin/python3
"""Checks of the generated artwork: files, sizes and bit depths, key colours where the window
code relies on them, icon contents, and that two runs give the same bytes."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
ART = os.path.join(HERE, "..", "..", "art")
sys.path.insert(0, ART)

import manifest  # noqa: E402
from PIL import Image  # noqa: E402

OLIVE = (128, 128, 0)
MAGENTA = (255, 0, 255)
BODY = (222, 222, 222)

SIZES = {"skin_main.bmp": (491, 342), "skin_dialog.bmp": (491, 342), "logo_64.bmp": (64, 64)}
SIZES.update({f"target_{i}.bmp": (36, 36) for i in range(manifest.TARGET_COUNT)})
for _name in manifest.LARGE_BUTTONS:
    SIZES.update({f"btn_{_name}_{s}.bmp": (108, 38) for s in manifest.PRESSABLE_STATES})
for _name in manifest.WINDOW_BUTTONS:
    SIZES.update({f"btn_{_name}_{s}.bmp": (31, 27) for s in manifest.PRESSABLE_STATES})
for _name in manifest.LINK_BUTTONS:
    SIZES.update({f"btn_{_name}_{s}.bmp": (48, 41) for s in manifest.LINK_STATES})

runs = []   # two output folders, filled once for all tests


def setUpModule():
    for seed in ("1", "2"):
        folder = tempfile.TemporaryDirectory(prefix="quorrel-art-")
        runs.append(folder)
        # Different hash seeds: any dependence on set or dict ordering would show as a difference.
        env = dict(os.environ, PYTHONHASHSEED=seed)
        subprocess.run([sys.executable, "-B", os.path.join(ART, "generate.py"), folder.name], check=True, env=env)


def tearDownModule():
    for folder in runs:
        folder.cleanup()


def path(name, run=0):
    return os.path.join(runs[run].name, name)


def read(name, run=0):
    with open(path(name, run), "rb") as f:
        return f.read()


def rgb(name):
    with Image.open(path(name)) as im:
        return im.convert("RGB")


def bmp_header(data):
    """(width, height, bits per pixel, compression) of a Windows bitmap file."""
    if data[:2] != b"BM":
        raise AssertionError("not a bitmap file")
    size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if size < 40 or planes != 1:
        raise AssertionError("unexpected bitmap header")
    return width, height, bits, compression


def outside(image, key, start_points):
    """Key-coloured pixels reachable from the start points through key-coloured pixels."""
    px, (w, h) = image.load(), image.size
    seen, todo = set(), [p for p in start_points if px[p] == key]
    while todo:
        x, y = todo.pop()
        if (x, y) in seen:
            continue
        seen.add((x, y))
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < w and 0 <= ny < h and (nx, ny) not in seen and px[nx, ny] == key:
                todo.append((nx, ny))
    return seen


def border(size):
    w, h = size
    return [(x, y) for x in range(w) for y in (0, h - 1)] + [(x, y) for y in range(h) for x in (0, w - 1)]


def key_pixels(image, key):
    px, (w, h) = image.load(), image.size
    return {(x, y) for y in range(h) for x in range(w) if px[x, y] == key}


def mean(image, box):
    region = list(image.crop(box).getdata())
    return tuple(sum(c[i] for c in region) / len(region) for i in range(3))


class FilesTest(unittest.TestCase):
    def test_every_listed_file_and_nothing_else(self):
        written = set()
        for root, _, names in os.walk(runs[0].name):
            written |= {os.path.relpath(os.path.join(root, n), runs[0].name).replace(os.sep, "/") for n in names}
        self.assertEqual(written, set(manifest.outputs()))

    def test_bitmaps_have_their_exact_size_and_24_bits(self):
        for name, (w, h) in SIZES.items():
            with self.subTest(name=name):
                # Positive height: bottom-up rows, which every reader of 24-bit bitmaps takes.
                self.assertEqual(bmp_header(read(name)), (w, h, 24, 0))

    def test_splash_is_a_baseline_jpeg(self):
        data = read("splash.jpg")
        self.assertEqual(data[:2], b"\xff\xd8")
        sof = data.find(b"\xff\xc0")
        self.assertGreater(sof, 0, "no baseline frame header")
        self.assertEqual(data.find(b"\xff\xc2"), -1, "progressive frame header")
        height, width = struct.unpack_from(">HH", data, sof + 5)
        self.assertEqual((width, height), (400, 250))


class ButtonsTest(unittest.TestCase):
    def buttons(self):
        return [n for n in SIZES if n.startswith("btn_")]

    def test_olive_at_the_corners_and_nowhere_inside_the_shape(self):
        for name in self.buttons():
            with self.subTest(name=name):
                im = rgb(name)
                w, h = im.size
                for corner in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
                    self.assertEqual(im.getpixel(corner), OLIVE, corner)
                # Olive that cannot be reached from the edge would punch a hole in the button.
                holes = key_pixels(im, OLIVE) - outside(im, OLIVE, border(im.size))
                self.assertEqual(holes, set())

    def test_edges_are_not_blended_toward_olive(self):
        # An edge mixed with olive turns yellowish: red and green well above blue, and close.
        for name in self.buttons():
            with self.subTest(name=name):
                im = rgb(name)
                px, (w, h) = im.load(), im.size
                for x, y in key_pixels(im, OLIVE):
                    for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                        if 0 <= nx < w and 0 <= ny < h and px[nx, ny] != OLIVE:
                            r, g, b = px[nx, ny]
                            self.assertFalse(r - b > 40 and g - b > 40 and abs(r - g) < 30,
                                             f"olive fringe at {(nx, ny)}: {(r, g, b)}")

    def test_states_read_dark_green_and_light_green(self):
        names = [(n, (108, 38)) for n in manifest.LARGE_BUTTONS] + [(n, (31, 27)) for n in manifest.WINDOW_BUTTONS]
        for name, (w, h) in names:
            with self.subTest(name=name):
                # A band just inside the left edge: the button's face, clear of its word or sign.
                box = (4, h // 2 - 3, 7, h // 2 + 3)
                up, hot, down = (mean(rgb(f"btn_{name}_{s}.bmp"), box) for s in ("up", "hot", "down"))
                self.assertLess(sum(up) / 3, 90)
                self.assertGreater(hot[1], hot[0] + 40)
                self.assertGreater(hot[1], hot[2] + 40)
                self.assertGreater(down[1], down[2] + 10)
                self.assertGreater(sum(down), sum(hot) + 150)

    def test_the_link_buttons_light_up_green_when_hot(self):
        for name in manifest.LINK_BUTTONS:
            with self.subTest(name=name):
                up, hot = (mean(rgb(f"btn_{name}_{s}.bmp"), (3, 3, 8, 38)) for s in ("up", "hot"))
                self.assertGreater(up[2], up[1])       # at rest the banner's blue shows through
                self.assertGreater(hot[1], hot[2] + 40)


class SkinsTest(unittest.TestCase):
    def test_key_and_outline(self):
        for name in ("skin_main.bmp", "skin_dialog.bmp"):
            with self.subTest(name=name):
                im = rgb(name)
                w, h = im.size
                for corner in ((0, h - 1), (0, 0), (w - 1, 0), (w - 1, h - 1)):
                    self.assertEqual(im.getpixel(corner), MAGENTA, corner)
                holes = key_pixels(im, MAGENTA) - outside(im, MAGENTA, border(im.size))
                self.assertEqual(holes, set(), "magenta inside the outline becomes a hole in the window")
                # The window is cut one opaque run per row: a rounded outline, no notches.
                px = im.load()
                for y in range(h):
                    row = [px[x, y] != MAGENTA for x in range(w)]
                    runs_in_row = sum(1 for x in range(w) if row[x] and (x == 0 or not row[x - 1]))
                    self.assertLessEqual(runs_in_row, 1, f"row {y}")

    def assert_flat_body(self, im, box):
        colours = set(im.crop(box).getdata())
        self.assertEqual(colours, {BODY}, box)

    def test_main_body_is_flat_grey_under_the_controls(self):
        im = rgb("skin_main.bmp")
        self.assert_flat_body(im, (12, 92, 12 + 353, 92 + 219))     # tree
        self.assert_flat_body(im, (15, 314, 15 + 129, 314 + 17))    # check box
        self.assert_flat_body(im, (368, 192, 368 + 108, 310))       # large buttons

    def test_main_banner_holds_the_top_buttons(self):
        im = rgb("skin_main.bmp")
        for box in ((408, 6, 472, 33), (258, 44, 474, 85)):
            r, g, b = mean(im, box)
            self.assertGreater(b, r + 60, box)
            self.assertLess(r + g + b, 400, box)

    def test_dialog_body_and_size(self):
        im = rgb("skin_dialog.bmp")
        self.assert_flat_body(im, (261, 293, 261 + 2 * 108 + 1, 293 + 38))   # OK and Cancel
        self.assert_flat_body(im, (16, 308, 16 + 129, 310 + 17))             # check box, both dialogs
        self.assert_flat_body(im, (16, 60, 470, 285))                        # page control
        # The dialogs' client areas are 487 x 341: nothing of the outline may lie beyond.
        px = im.load()
        beyond = [(x, y) for y in range(342) for x in range(487, 491)] + [(x, 341) for x in range(491)]
        self.assertEqual({px[p] for p in beyond}, {MAGENTA})

    def test_window_buttons_sit_on_the_same_colours_in_every_window(self):
        # One set of minimise and close pictures serves all three windows.
        main, dialog = rgb("skin_main.bmp"), rgb("skin_dialog.bmp")
        for dx in (0, 2):   # the disguise dialog places them two pixels further right
            for y in range(6, 33):
                for x in range(408, 472):
                    a, b = main.getpixel((x, y)), dialog.getpixel((x + dx, y))
                    self.assertLessEqual(max(abs(a[i] - b[i]) for i in range(3)), 3, (x, y, dx))


def ico_entries(data):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if (reserved, kind) != (0, 1):
        raise AssertionError("not an icon file")
    entries = []
    for i in range(count):
        w, h, _, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        entries.append((w or 256, h or 256, bits, data[offset:offset + size]))
    return entries


class IconsTest(unittest.TestCase):
    def icon_files(self):
        return ["quorrel.ico"] + [f"library/{n}.ico" for n in manifest.LIBRARY]

    def test_library_offers_at_least_sixteen_icons(self):
        self.assertGreaterEqual(len(manifest.LIBRARY), 16)

    def test_icons_hold_16_32_48_with_alpha_and_matching_masks(self):
        for name in self.icon_files():
            with self.subTest(name=name):
                entries = ico_entries(read(name))
                self.assertEqual(sorted(e[0] for e in entries if e[2] == 32), [16, 32, 48])
                for w, h, bits, blob in entries:
                    hsize, bw, bh, planes, bbits = struct.unpack_from("<IiiHH", blob, 0)
                    self.assertEqual((hsize, bw, bh, planes, bbits), (40, w, 2 * h, 1, bits))
                    stride = ((w + 31) // 32) * 4
                    self.assertEqual(len(blob), 40 + w * h * 4 + stride * h)
                    pixels, mask = blob[40:40 + w * h * 4], blob[40 + w * h * 4:]
                    alphas = pixels[3::4]
                    for i, a in enumerate(alphas):
                        row, col = divmod(i, w)
                        transparent = bool(mask[row * stride + col // 8] & (0x80 >> (col % 8)))
                        self.assertEqual(transparent, a == 0, (w, row, col))
                    # A picture with a shape: much of it opaque, its corners (nearly) clear.
                    self.assertGreater(sum(1 for a in alphas if a == 255), w * h // 3)
                    corners = (alphas[0], alphas[w - 1], alphas[-w], alphas[-1])
                    self.assertLess(max(corners), 128, corners)

    def test_library_icons_differ_from_each_other(self):
        seen = {}
        for name in manifest.LIBRARY:
            with open(path(f"library/{name}.ico"), "rb") as f:
                seen.setdefault(ico_entries(f.read())[1][3], []).append(name)
        self.assertEqual([names for names in seen.values() if len(names) > 1], [])


class TargetsTest(unittest.TestCase):
    def test_targets_are_drawn_on_white_and_distinct(self):
        seen = set()
        for i in range(manifest.TARGET_COUNT):
            with self.subTest(target=i):
                im = rgb(f"target_{i}.bmp")
                self.assertEqual(im.getpixel((0, 0)), (255, 255, 255))
                drawn = sum(1 for p in im.getdata() if p != (255, 255, 255))
                self.assertGreater(drawn, 36 * 36 // 4)
                seen.add(im.tobytes())
        self.assertEqual(len(seen), manifest.TARGET_COUNT)


class MaskTest(unittest.TestCase):
    def test_grow_and_shrink_match_a_square_rank_filter(self):
        # The painter's fast erosion and dilation, against Pillow's direct (slow) filters.
        import random

        from PIL import ImageDraw, ImageFilter
        from paint import grow, shrink
        rnd = random.Random(7)
        mask = Image.new("L", (61, 47), 0)
        draw = ImageDraw.Draw(mask)
        for _ in range(14):
            x0, y0 = rnd.randint(-10, 55), rnd.randint(-10, 40)
            draw.ellipse((x0, y0, x0 + rnd.randint(3, 30), y0 + rnd.randint(3, 30)), fill=rnd.randint(40, 255))
        for n in range(1, 12):
            with self.subTest(radius=n):
                padded = Image.new("L", (61 + 2 * n, 47 + 2 * n), 0)
                padded.paste(mask, (n, n))
                window = (n, n, n + 61, n + 47)
                expect_in = padded.filter(ImageFilter.MinFilter(2 * n + 1)).crop(window)
                expect_out = padded.filter(ImageFilter.MaxFilter(2 * n + 1)).crop(window)
                self.assertEqual(shrink(mask, n).tobytes(), expect_in.tobytes())
                self.assertEqual(grow(mask, n).tobytes(), expect_out.tobytes())


    def test_keyed_pictures_keep_the_key_for_uncovered_pixels_only(self):
        from paint import keyed
        image = Image.new("RGBA", (4, 1))
        image.putdata([(10, 20, 30, 0), (128, 128, 0, 255), (0, 0, 0, 100), (0, 0, 0, 200)])
        out = keyed(image, OLIVE, 128, (200, 200, 200))
        self.assertEqual(out.getpixel((0, 0)), OLIVE)           # uncovered
        self.assertNotEqual(out.getpixel((1, 0)), OLIVE)        # drawn in the key's colour
        self.assertLessEqual(max(abs(a - b) for a, b in zip(out.getpixel((1, 0)), OLIVE)), 1)
        self.assertEqual(out.getpixel((2, 0)), OLIVE)           # under the threshold
        self.assertEqual(out.getpixel((3, 0)), (43, 43, 43))   # blended with the backdrop


class IconFileTest(unittest.TestCase):
    def test_written_icons_read_back_as_drawn(self):
        # Pillow's own reader is the judge: rows bottom-up, colours in BGRA order, alpha kept.
        from icons import ico_bytes
        import io
        images = []
        for size in (16, 32, 48):
            im = Image.new("RGBA", (size, size), (0, 0, 0, 0))
            im.paste((200, 30, 60, 255), (0, 0, size, size // 4))      # opaque band at the top
            im.paste((20, 180, 90, 128), (size // 2, size // 2, size, size))
            images.append(im)
        with Image.open(io.BytesIO(ico_bytes(images))) as icon:
            for im in images:
                with self.subTest(size=im.size):
                    icon.size = im.size
                    self.assertEqual(icon.convert("RGBA").tobytes(), im.tobytes())


class DeterminismTest(unittest.TestCase):
    def test_two_runs_give_identical_bytes(self):
        for name in manifest.outputs():
            with self.subTest(name=name):
                self.assertEqual(read(name, 0), read(name, 1))


if __name__ == "__main__":
    unittest.main(verbosity=1)
