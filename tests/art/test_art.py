#!/usr/bin/python3
"""Checks of the generated artwork at every display scale: files, sizes and bit depths, key
colours where the window code relies on them, icon contents, and that two runs give the same
bytes."""
import math
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
ART = os.path.join(HERE, "..", "..", "art")
sys.path.insert(0, ART)

import manifest  # noqa: E402
from PIL import Image  # noqa: E402

OLIVE = (128, 128, 0)
MAGENTA = (255, 0, 255)
BODY = (222, 222, 222)

SCALES = (100,) + manifest.SCALES


def at(v, percent):
    """A 96-DPI length at a scale, rounded half up as the windows round it."""
    return (v * percent + 50) // 100


def picture(stem, percent):
    """The file of a window picture at a scale: the 96-DPI set is .dibz, the others .png."""
    return f"{stem}.dibz" if percent == 100 else f"{stem}_{percent}.png"


# The 96-DPI size of every window picture, by stem.
STEM_SIZES = {"skin_main": (491, 342), "skin_dialog": (491, 342)}
STEM_SIZES.update({f"target_{i}": (36, 36) for i in range(manifest.TARGET_COUNT)})
for _name in manifest.LARGE_BUTTONS:
    STEM_SIZES.update({f"btn_{_name}_{s}": (108, 38) for s in manifest.PRESSABLE_STATES})
for _name in manifest.WINDOW_BUTTONS:
    STEM_SIZES.update({f"btn_{_name}_{s}": (31, 27) for s in manifest.PRESSABLE_STATES})
for _name in manifest.LINK_BUTTONS:
    STEM_SIZES.update({f"btn_{_name}_{s}": (48, 41) for s in manifest.LINK_STATES})
# Every window picture of every scale, with its size there.
SIZES = {picture(stem, p): (at(w, p), at(h, p)) for p in SCALES for stem, (w, h) in STEM_SIZES.items()}
SIZES["logo_64.bmp"] = (64, 64)
SIZES.update({f"logo_64_{p}.bmp": (at(64, p), at(64, p)) for p in manifest.SCALES})

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
    if name.endswith(".dibz"):
        return dibz_image(read(name))
    with Image.open(path(name)) as im:
        return im.convert("RGB")


def dibz_header(data):
    """(width, height, bits per pixel, compression, colours) of a deflated bitmap's header."""
    raw = zlib.decompress(data)
    size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", raw, 0)
    colours = struct.unpack_from("<I", raw, 32)[0]
    if size != 40 or planes != 1:
        raise AssertionError("unexpected bitmap header")
    return width, height, bits, compression, colours


def dibz_image(data):
    """The picture of a deflated bitmap: its rows are top-down, blue-green-red, padded to four."""
    raw = zlib.decompress(data)
    width, height = struct.unpack_from("<ii", raw, 4)
    height = -height
    stride = (width * 3 + 3) & ~3
    if len(raw) != 40 + stride * height:
        raise AssertionError(f"{len(raw)} bytes for {width} x {height} pixels")
    rows = b"".join(raw[40 + y * stride:40 + y * stride + width * 3] for y in range(height))
    return Image.frombytes("RGB", (width, height), rows, "raw", "BGR")


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


def png_chunks(data):
    """The chunk types of a PNG file, in order."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise AssertionError("not a PNG file")
    types, at_ = [], 8
    while at_ < len(data):
        length, kind = struct.unpack_from(">I4s", data, at_)
        types.append(kind.decode("ascii"))
        at_ += 12 + length
    return types


class FilesTest(unittest.TestCase):
    def test_every_listed_file_and_nothing_else(self):
        written = set()
        for root, _, names in os.walk(runs[0].name):
            written |= {os.path.relpath(os.path.join(root, n), runs[0].name).replace(os.sep, "/") for n in names}
        self.assertEqual(written, set(manifest.outputs()))

    def test_pictures_have_their_exact_size_and_24_bits(self):
        for name, (w, h) in SIZES.items():
            with self.subTest(name=name):
                data = read(name)
                if name.endswith(".dibz"):
                    # Negative height: top-down rows, the program's own layout; no colour table.
                    self.assertEqual(dibz_header(data), (w, -h, 24, 0, 0))
                    continue
                if name.endswith(".bmp"):
                    # Positive height: bottom-up rows, which every reader of 24-bit bitmaps takes.
                    self.assertEqual(bmp_header(data), (w, h, 24, 0))
                    continue
                # Eight bits of red, green and blue, no palette, no alpha; and nothing that would
                # let a decoder correct colours (gamma, profile, intent): the key must arrive exact.
                self.assertEqual(struct.unpack_from(">IIBB", data, 16), (w, h, 8, 2))
                self.assertEqual(set(png_chunks(data)) & {"gAMA", "iCCP", "sRGB", "cHRM", "PLTE"}, set())

    def test_splashes_are_baseline_jpegs_of_their_scale(self):
        for percent in SCALES:
            name = "splash.jpg" if percent == 100 else f"splash_{percent}.jpg"
            with self.subTest(name=name):
                data = read(name)
                self.assertEqual(data[:2], b"\xff\xd8")
                sof = data.find(b"\xff\xc0")
                self.assertGreater(sof, 0, "no baseline frame header")
                self.assertEqual(data.find(b"\xff\xc2"), -1, "progressive frame header")
                height, width = struct.unpack_from(">HH", data, sof + 5)
                self.assertEqual((width, height), (at(400, percent), at(250, percent)))

    def test_pixel_sums_list_every_window_picture(self):
        import zlib
        lines = read("pixel_sums.txt").decode("ascii").splitlines()
        expected = {}
        for p in SCALES:
            for stem in STEM_SIZES:
                resource = stem.upper() if p == 100 else f"{stem.upper()}_{p}"
                expected[resource] = picture(stem, p)
        self.assertEqual(sorted(line.split()[0] for line in lines), sorted(expected))
        for line in lines[::9]:   # a sample: the sums are what the program's test compares with
            resource, w, h, crc = line.split()
            with self.subTest(resource=resource):
                im = rgb(expected[resource])
                self.assertEqual((int(w), int(h)), im.size)
                self.assertEqual(int(crc, 16), zlib.crc32(im.tobytes()))


def buttons(percent):
    return [picture(stem, percent) for stem in STEM_SIZES if stem.startswith("btn_")]


class ButtonsTest(unittest.TestCase):
    def test_olive_at_the_corners_and_nowhere_inside_the_shape(self):
        for name in buttons(100) + [b for p in manifest.SCALES for b in buttons(p)]:
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
        for name in buttons(100) + [b for p in manifest.SCALES for b in buttons(p)]:
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
        for percent in SCALES:
            for name, (w, h) in names:
                with self.subTest(name=name, percent=percent):
                    # A band just inside the left edge: the button's face, clear of its word or sign.
                    box = tuple(at(v, percent) for v in (4, h // 2 - 3, 7, h // 2 + 3))
                    up, hot, down = (mean(rgb(picture(f"btn_{name}_{s}", percent)), box) for s in ("up", "hot", "down"))
                    self.assertLess(sum(up) / 3, 90)
                    self.assertGreater(hot[1], hot[0] + 40)
                    self.assertGreater(hot[1], hot[2] + 40)
                    self.assertGreater(down[1], down[2] + 10)
                    self.assertGreater(sum(down), sum(hot) + 150)

    def test_the_link_buttons_light_up_green_when_hot(self):
        for percent in SCALES:
            for name in manifest.LINK_BUTTONS:
                with self.subTest(name=name, percent=percent):
                    box = tuple(at(v, percent) for v in (3, 3, 8, 38))
                    up, hot = (mean(rgb(picture(f"btn_{name}_{s}", percent)), box) for s in ("up", "hot"))
                    self.assertGreater(up[2], up[1])       # at rest the banner's blue shows through
                    self.assertGreater(hot[1], hot[2] + 40)

    def test_words_stay_centred_and_grow_with_the_scale(self):
        # The white word of a dark button: its ink centred on the face at every scale (within a
        # pixel and a half) and as wide as at 96 DPI times the scale (the em size rounded down).
        widths = {}
        for percent in SCALES:
            for name in manifest.LARGE_BUTTONS:
                with self.subTest(name=name, percent=percent):
                    im = rgb(picture(f"btn_{name}_up", percent))
                    w, h = im.size
                    ink = Image.new("L", im.size)
                    ink.putdata([255 if min(c) > 235 else 0 for c in im.getdata()])
                    left, top, right, bottom = ink.getbbox()
                    face = (at(1, percent) + w - at(2, percent)) / 2
                    self.assertLessEqual(abs((left + right) / 2 - face), 1.5, (left, right, face))
                    widths[name, percent] = right - left
        for (name, percent), width in widths.items():
            with self.subTest(name=name, percent=percent):
                # Hinting narrows the small sizes a little more than the large ones.
                self.assertLessEqual(width, widths[name, 100] * percent / 100 * 1.06 + 2)
                self.assertGreaterEqual(width, widths[name, 100] * (percent - 15) / 100 - 2)


def skin(name, percent):
    return rgb(picture(name, percent))


class SkinsTest(unittest.TestCase):
    def test_key_and_outline(self):
        for percent in SCALES:
            for name in ("skin_main", "skin_dialog"):
                with self.subTest(name=name, percent=percent):
                    im = skin(name, percent)
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

    def test_corners_are_round_at_every_scale(self):
        # The cut at the top-left corner follows a circle of the outline's radius (14 pixels
        # times the scale): row by row, the key reaches where the circle leaves a pixel's
        # centre uncovered, within three quarters of a pixel. A blown-up corner steps in blocks.
        for percent in SCALES:
            with self.subTest(percent=percent):
                im = skin("skin_main", percent)
                px = im.load()
                r = 14 * percent / 100
                for y in range(int(r)):
                    x = 0
                    while px[x, y] == MAGENTA:
                        x += 1
                    expected = r - math.sqrt(r * r - (r - y - 0.5) ** 2)
                    self.assertAlmostEqual(x, expected, delta=0.75, msg=f"row {y}")

    def assert_flat_body(self, im, box, percent):
        colours = set(im.crop(tuple(at(v, percent) for v in box)).getdata())
        self.assertEqual(colours, {BODY}, box)

    def test_main_body_is_flat_grey_under_the_controls(self):
        for percent in SCALES:
            with self.subTest(percent=percent):
                im = skin("skin_main", percent)
                self.assert_flat_body(im, (12, 92, 12 + 353, 92 + 219), percent)     # tree
                self.assert_flat_body(im, (15, 314, 15 + 129, 314 + 17), percent)    # check box
                self.assert_flat_body(im, (368, 192, 368 + 108, 310), percent)       # large buttons

    def test_main_banner_holds_the_top_buttons(self):
        for percent in SCALES:
            with self.subTest(percent=percent):
                im = skin("skin_main", percent)
                for box in ((408, 6, 472, 33), (258, 44, 474, 85)):
                    r, g, b = mean(im, tuple(at(v, percent) for v in box))
                    self.assertGreater(b, r + 60, box)
                    self.assertLess(r + g + b, 400, box)

    def test_dialog_body_and_size(self):
        for percent in SCALES:
            with self.subTest(percent=percent):
                im = skin("skin_dialog", percent)
                self.assert_flat_body(im, (261, 293, 261 + 2 * 108 + 1, 293 + 38), percent)   # OK and Cancel
                self.assert_flat_body(im, (16, 308, 16 + 129, 310 + 17), percent)             # check box
                self.assert_flat_body(im, (16, 60, 470, 285), percent)                        # page control
                # The dialogs' client areas are 487 x 341: nothing of the outline may lie beyond.
                w, h = im.size
                px = im.load()
                right, bottom = at(487, percent), at(341, percent)
                beyond = [(x, y) for y in range(h) for x in range(right, w)]
                beyond += [(x, y) for y in range(bottom, h) for x in range(w)]
                self.assertEqual({px[p] for p in beyond}, {MAGENTA})

    def test_window_buttons_sit_on_the_same_colours_in_every_window(self):
        # One set of minimise and close pictures serves all three windows.
        for percent in SCALES:
            with self.subTest(percent=percent):
                main, dialog = skin("skin_main", percent), skin("skin_dialog", percent)
                for dx in (0, 2):   # the disguise dialog places them two pixels further right
                    shift = at(408 + dx, percent) - at(408, percent)
                    for y in range(at(6, percent), at(33, percent)):
                        for x in range(at(408, percent), at(472, percent)):
                            a, b = main.getpixel((x, y)), dialog.getpixel((x + shift, y))
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
        return [("quorrel.ico", manifest.PROGRAM_ICON_SIZES)] + \
            [(f"library/{n}.ico", manifest.LIBRARY_ICON_SIZES) for n in manifest.LIBRARY]

    def test_library_offers_at_least_sixteen_icons(self):
        self.assertGreaterEqual(len(manifest.LIBRARY), 16)

    def test_icons_hold_every_size_with_alpha_and_matching_masks(self):
        import io
        for name, sizes in self.icon_files():
            with self.subTest(name=name):
                entries = ico_entries(read(name))
                self.assertEqual([e[0] for e in entries], list(sizes))
                for w, h, bits, blob in entries:
                    self.assertEqual((h, bits), (w, 32))
                    if w >= manifest.PNG_ICON_SIZE:
                        # Stored as the shell stores its largest images: a PNG with alpha.
                        with Image.open(io.BytesIO(blob)) as im:
                            self.assertEqual((im.format, im.mode, im.size), ("PNG", "RGBA", (w, w)))
                            alphas = im.getchannel("A").tobytes()
                    else:
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
        for index, size in enumerate(manifest.LIBRARY_ICON_SIZES):
            seen = {}
            for name in manifest.LIBRARY:
                seen.setdefault(ico_entries(read(f"library/{name}.ico"))[index][3], []).append(name)
            self.assertEqual([names for names in seen.values() if len(names) > 1], [], size)


class TargetsTest(unittest.TestCase):
    def test_targets_are_drawn_on_white_and_distinct(self):
        for percent in SCALES:
            seen = set()
            for i in range(manifest.TARGET_COUNT):
                with self.subTest(target=i, percent=percent):
                    im = rgb(picture(f"target_{i}", percent))
                    self.assertEqual(im.getpixel((0, 0)), (255, 255, 255))
                    drawn = sum(1 for p in im.getdata() if p != (255, 255, 255))
                    self.assertGreater(drawn, im.size[0] * im.size[1] // 4)
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
