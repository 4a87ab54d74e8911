"""Turns the skin test's screenshots (.bmp, as the Windows side can write them) into .png files
beside them and removes the .bmp files. Fails when the folder holds no screenshot at all."""
import pathlib
import sys

from PIL import Image

folder = pathlib.Path(sys.argv[1])
shots = sorted(folder.glob("*.bmp"))
pngs = sorted(folder.glob("*.png"))
if not shots and not pngs:
    sys.exit(f"no screenshots in {folder}")
for shot in shots:
    target = shot.with_suffix(".png")
    Image.open(shot).convert("RGB").save(target)
    shot.unlink()
    print(f"{target.name}: {Image.open(target).size[0]} x {Image.open(target).size[1]}")
print(f"{len(list(folder.glob('*.png')))} screenshots in {folder}")
