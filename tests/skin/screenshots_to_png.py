"""Turns the skin test's screenshots (.bmp, as the Windows side can write them) into .png files
beside them and removes the .bmp files. Fails when the folder holds no screenshot at all, unless
--if-any is given (after a run of tests that may have taken none).

Usage: screenshots_to_png.py [--if-any] FOLDER"""
import pathlib
import sys

from PIL import Image

if_any = sys.argv[1:2] == ["--if-any"]
folder = pathlib.Path(sys.argv[-1])
shots = sorted(folder.glob("*.bmp"))
pngs = sorted(folder.glob("*.png"))
if not shots and not pngs:
    if if_any:
        print(f"no screenshots in {folder}")
        sys.exit(0)
    sys.exit(f"no screenshots in {folder}")
for shot in shots:
    target = shot.with_suffix(".png")
    Image.open(shot).convert("RGB").save(target)
    shot.unlink()
    print(f"{target.name}: {Image.open(target).size[0]} x {Image.open(target).size[1]}")
print(f"{len(list(folder.glob('*.png')))} screenshots in {folder}")
