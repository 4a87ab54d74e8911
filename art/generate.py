#!/usr/bin/python3
"""Draws every picture Quorrel shows into one folder.

    generate.py OUTDIR     write all pictures (and the preview sheets) into OUTDIR
    generate.py --list     print the file names it writes, separated by semicolons

The output depends only on this code, Pillow and the DejaVu fonts: the same bytes every run.
"""
import concurrent.futures
import io
import os
import struct
import sys
import zlib

sys.dont_write_bytecode = True   # the source folder stays free of caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import manifest  # noqa: E402  (the path above must come first)


def render_all():
    """Every output file as {relative name: bytes}.

    The parts are drawn side by side in worker processes, the largest first; each part's
    output depends only on the part, so the files are the same whatever the order."""
    parts = ["icons", *sorted(manifest.SCALES, reverse=True), 100]
    files, sums = {}, {}
    workers = min(len(parts), os.cpu_count() or 1)
    try:
        pool = concurrent.futures.ProcessPoolExecutor(max_workers=workers) if workers > 1 else None
    except (OSError, NotImplementedError):   # no process semaphores here: one after the other
        pool = None
    try:
        drawn_parts = pool.map(render_part, parts) if pool else map(render_part, parts)
        for part, (drawn, part_sums) in zip(parts, drawn_parts):
            files.update(drawn)
            sums[part] = part_sums
    finally:
        if pool:
            pool.shutdown()
    files["pixel_sums.txt"] = "".join(sums[p] for p in (100, *manifest.SCALES)).encode("ascii")
    return files


def render_part(part):
    """({file: bytes}, pixel sum lines) of one part: "icons", or a scale in percent."""
    import icons
    import paint
    import preview
    import splash

    files = {}
    if part == "icons":
        icon_images = [("logo", [icons.logo_image(s) for s in manifest.PROGRAM_ICON_SIZES])]
        icon_images += [(name, [icons.library_icon(name, s) for s in manifest.LIBRARY_ICON_SIZES])
                        for name in manifest.LIBRARY]
        for name, images in icon_images:
            path = "quorrel.ico" if name == "logo" else f"library/{name}.ico"
            files[path] = icons.ico_bytes(images, png_from=manifest.PNG_ICON_SIZE)
        files["preview_icons.png"] = png(preview.icon_sheet(icon_images))
        return files, ""

    zoom = part / 100
    pictures = window_pictures(zoom)
    resource = (lambda stem: stem.upper()) if part == 100 else (lambda stem: f"{stem.upper()}_{part}")
    sums = "".join(pixel_sum(resource(stem), im) for stem, im in pictures.items())
    shown = splash.splash(zoom)
    if part == 100:
        files.update({f"{stem}.dibz": deflated_dib(im) for stem, im in pictures.items()})
        files["logo_64.bmp"] = bmp(icons.over_white(icons.logo_image(64)))
        files["splash.jpg"] = jpeg(shown, quality=92)
        files["preview.png"] = png(preview.sheet(pictures, shown))
    else:
        files.update({f"{stem}_{part}.png": png(im, optimize=True) for stem, im in pictures.items()})
        # A finer display hides more of the compression; the 96-DPI splash keeps its quality.
        files[f"splash_{part}.jpg"] = jpeg(shown, quality=SPLASH_QUALITY)
        # The About box's logo (a bitmap: the box reads it without a decoder), drawn at its size.
        files[f"logo_64_{part}.bmp"] = bmp(icons.over_white(icons.logo_image(paint.at(64, zoom))))
        files[f"preview_{part}.png"] = png(preview.sheet(pictures, shown, zoom))
    return files, sums


def pixel_sum(resource, image):
    """A line for the program's tests: the resource, its size and the CRC-32 of its pixels as
    rows of red, green, blue from the top, so a decoder can be checked against every pixel."""
    w, h = image.size
    return f"{resource} {w} {h} {zlib.crc32(image.convert('RGB').tobytes()):08x}\n"


SPLASH_QUALITY = 88


def window_pictures(zoom):
    """{stem: RGB picture} of the skins, the buttons' states and the targets at a zoom."""
    import buttons
    import skins
    import targets

    main, dialog = skins.main_skin(zoom), skins.dialog_skin(zoom)
    pictures = {"skin_main": main, "skin_dialog": dialog}
    for name in manifest.LARGE_BUTTONS:
        on_skin = name not in ("select", "clear")   # Select and Clear sit on a tab sheet
        backdrop = skins.BODY if on_skin else buttons.FACE
        for state in manifest.PRESSABLE_STATES:
            pictures[f"btn_{name}_{state}"] = buttons.large(name, state, backdrop, soft=on_skin, zoom=zoom)
    for name, x in zip(manifest.WINDOW_BUTTONS, (408, 441)):
        backdrop = buttons.crop_backdrop(main, x, 6, buttons.WINDOW, zoom)
        for state in manifest.PRESSABLE_STATES:
            pictures[f"btn_{name}_{state}"] = buttons.window(name, state, backdrop, zoom)
    for name, x in zip(manifest.LINK_BUTTONS, (258, 314, 370, 426)):
        backdrop = buttons.crop_backdrop(main, x, 44, buttons.LINK, zoom)
        for state in manifest.LINK_STATES:
            pictures[f"btn_{name}_{state}"] = buttons.link(name, state, backdrop, zoom)
    for i in range(manifest.TARGET_COUNT):
        pictures[f"target_{i}"] = targets.target(i, zoom)
    return pictures


def bmp(image):
    out = io.BytesIO()
    image.convert("RGB").save(out, "BMP")
    return out.getvalue()


def deflated_dib(image):
    """The program's own form of a 96-DPI picture: a zlib stream of a 40-byte BITMAPINFOHEADER
    (24 bits, top-down: negative height) and the rows from the top, blue-green-red, each padded
    to four bytes. Stored so, the pictures take a few pages of the program instead of a
    megabyte, and are inflated straight into the bitmap that shows them."""
    rgb = image.convert("RGB")
    w, h = rgb.size
    stride = (w * 3 + 3) & ~3
    header = struct.pack("<IiiHHIIiiII", 40, w, -h, 1, 24, 0, stride * h, 0, 0, 0, 0)
    raw = rgb.tobytes("raw", "BGR")
    pad = b"\0" * (stride - w * 3)
    rows = b"".join(raw[y * w * 3:(y + 1) * w * 3] + pad for y in range(h))
    return zlib.compress(header + rows, 9)


def png(image, optimize=False):
    out = io.BytesIO()
    image.save(out, "PNG", optimize=optimize, compress_level=9)
    return out.getvalue()


def jpeg(image, quality):
    out = io.BytesIO()
    image.save(out, "JPEG", quality=quality, subsampling=0, progressive=False, optimize=False)
    return out.getvalue()


def write(outdir, files):
    for name, data in files.items():
        path = os.path.join(outdir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        # Through a temporary name, so an interrupted run never leaves a half-written picture
        # that looks newer than the code that draws it.
        with open(path + ".part", "wb") as f:
            f.write(data)
        os.replace(path + ".part", path)


def main(argv):
    if argv == ["--list"]:
        print(";".join(manifest.outputs()))
        return 0
    if len(argv) != 1 or argv[0].startswith("-"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    files = render_all()
    missing = set(manifest.outputs()) ^ set(files)
    if missing:
        print(f"art: the drawn files and the list disagree: {sorted(missing)}", file=sys.stderr)
        return 1
    write(argv[0], files)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
