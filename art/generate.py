#!/usr/bin/python3
"""Draws every picture Quorrel shows into one folder.

    generate.py OUTDIR     write all pictures (and preview.png) into OUTDIR
    generate.py --list     print the file names it writes, separated by semicolons

The output depends only on this code, Pillow and the DejaVu fonts: the same bytes every run.
"""
import io
import os
import sys

sys.dont_write_bytecode = True   # the source folder stays free of caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import manifest  # noqa: E402  (the path above must come first)


def render_all():
    """Every output file as {relative name: bytes}."""
    import buttons
    import icons
    import preview
    import skins
    import splash
    import targets

    files = {}
    main, dialog = skins.main_skin(), skins.dialog_skin()
    files["skin_main.bmp"] = bmp(main)
    files["skin_dialog.bmp"] = bmp(dialog)

    pictures = {}
    for name in manifest.LARGE_BUTTONS:
        on_skin = name not in ("select", "clear")   # Select and Clear sit on a tab sheet
        backdrop = skins.BODY if on_skin else buttons.FACE
        for state in manifest.PRESSABLE_STATES:
            pictures[f"btn_{name}_{state}.bmp"] = buttons.large(name, state, backdrop, soft=on_skin)
    for name, x in zip(manifest.WINDOW_BUTTONS, (408, 441)):
        backdrop = buttons.crop_backdrop(main, x, 6, buttons.WINDOW)
        for state in manifest.PRESSABLE_STATES:
            pictures[f"btn_{name}_{state}.bmp"] = buttons.window(name, state, backdrop)
    for name, x in zip(manifest.LINK_BUTTONS, (258, 314, 370, 426)):
        backdrop = buttons.crop_backdrop(main, x, 44, buttons.LINK)
        for state in manifest.LINK_STATES:
            pictures[f"btn_{name}_{state}.bmp"] = buttons.link(name, state, backdrop)
    for i in range(manifest.TARGET_COUNT):
        pictures[f"target_{i}.bmp"] = targets.target(i)
    pictures["logo_64.bmp"] = icons.over_white(icons.logo_image(64))
    files.update({name: bmp(im) for name, im in pictures.items()})

    shown = splash.splash()
    out = io.BytesIO()
    shown.save(out, "JPEG", quality=92, subsampling=0, progressive=False, optimize=False)
    files["splash.jpg"] = out.getvalue()

    files["quorrel.ico"] = icons.ico_bytes([icons.logo_image(s) for s in icons.ICON_SIZES])
    for name in manifest.LIBRARY:
        files[f"library/{name}.ico"] = icons.ico_bytes([icons.library_icon(name, s) for s in icons.ICON_SIZES])

    files["preview.png"] = png(preview.sheet(main, dialog, pictures, shown))
    return files


def bmp(image):
    out = io.BytesIO()
    image.convert("RGB").save(out, "BMP")
    return out.getvalue()


def png(image):
    out = io.BytesIO()
    image.save(out, "PNG", optimize=False, compress_level=9)
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
