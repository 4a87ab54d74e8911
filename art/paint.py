"""Drawing primitives shared by every picture.

Shapes are drawn as coverage masks at `scale` times the final size and averaged down, which
gives clean anti-aliased edges without relying on any renderer's own smoothing. Coordinates are
always given in 96-DPI pixels (floats allowed); pixel (i, j) covers the square [i, i+1) x [j, j+1).
A canvas with a zoom (1.25 for 125%, ...) maps them onto a picture that many times larger, so
every shape is drawn at the larger size itself, never blown up from a small bitmap. Text is
rendered at its final size too, where the font's hinting keeps small letters sharp.

Lengths that the windows' layout also scales (control edges, the picture's own size) are
rounded the way the windows round them: device = floor(v * zoom + 0.5), see `at`.
"""
import math
import os

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONTS = {
    "sans": "DejaVuSans.ttf",
    "bold": "DejaVuSans-Bold.ttf",
    "serif-bold": "DejaVuSerif-Bold.ttf",
}

_font_cache = {}


def font(face, px):
    """The named face at an em size of px pixels."""
    key = (face, px)
    if key not in _font_cache:
        path = os.path.join(FONT_DIR, FONTS[face])
        if not os.path.exists(path):
            raise SystemExit(f"art: font {path} is missing (Debian package fonts-dejavu-core)")
        _font_cache[key] = ImageFont.truetype(path, size=px)
    return _font_cache[key]


def rgba(colour, alpha=255):
    if len(colour) == 4:
        return tuple(colour)
    return (colour[0], colour[1], colour[2], alpha)


def mix(a, b, t):
    """Colour a moved the fraction t toward colour b (channel count of a)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def at(v, zoom):
    """A 96-DPI length on a display of that zoom, in whole pixels: v * dpi / 96 rounded half
    up, as the windows place and size their controls."""
    return v if zoom == 1 else int(math.floor(v * zoom + 0.5))


class Canvas:
    """A supersampled RGBA drawing surface for one picture.

    width and height are 96-DPI sizes; the picture is at(width) x at(height) pixels. Afterwards
    self.width and self.height are that picture's extent in 96-DPI units, so a shape spanning
    (0, 0, width, height) still fills it exactly."""

    def __init__(self, width, height, scale=4, background=(0, 0, 0, 0), zoom=1):
        self.zoom, self.scale = zoom, scale
        self.size = (at(width, zoom), at(height, zoom))
        self.width, self.height = (width, height) if zoom == 1 else (self.size[0] / zoom, self.size[1] / zoom)
        # Mask pixels per 96-DPI unit; the same number as before when nothing is zoomed.
        self.k = scale if zoom == 1 else scale * zoom
        self.image = Image.new("RGBA", (self.size[0] * scale, self.size[1] * scale), rgba(background))

    def snap(self, v):
        """The 96-DPI coordinate v moved to the pixel edge the windows round it to."""
        return v if self.zoom == 1 else at(v, self.zoom) / self.zoom

    def whole(self, v):
        """A thickness of v 96-DPI pixels, made whole pixels (at least one) at this zoom."""
        return v if self.zoom == 1 else max(1, at(v, self.zoom)) / self.zoom

    def unit(self, v=1):
        """The same thickness in mask pixels, for shrink and grow."""
        return round(self.whole(v) * self.k)

    @property
    def big_size(self):
        return self.image.size

    # --- masks ---------------------------------------------------------------------------
    def mask(self):
        return Image.new("L", self.big_size, 0)

    def _box(self, box):
        s = self.k
        x0, y0, x1, y1 = box
        return [round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1]

    def _pts(self, points):
        s = self.k
        return [(x * s, y * s) for x, y in points]

    def rect(self, box, radius=0, mask=None, value=255):
        m = mask if mask is not None else self.mask()
        d = ImageDraw.Draw(m)
        if radius > 0:
            d.rounded_rectangle(self._box(box), radius=radius * self.k, fill=value)
        else:
            d.rectangle(self._box(box), fill=value)
        return m

    def ellipse(self, box, mask=None, value=255):
        m = mask if mask is not None else self.mask()
        ImageDraw.Draw(m).ellipse(self._box(box), fill=value)
        return m

    def circle(self, cx, cy, r, mask=None, value=255):
        return self.ellipse((cx - r, cy - r, cx + r, cy + r), mask, value)

    def polygon(self, points, mask=None, value=255):
        m = mask if mask is not None else self.mask()
        ImageDraw.Draw(m).polygon(self._pts(points), fill=value)
        return m

    def line(self, points, width, mask=None, value=255, round_caps=True):
        """A polyline of the given width in final pixels, with round joints and caps."""
        m = mask if mask is not None else self.mask()
        d = ImageDraw.Draw(m)
        pts = self._pts(points)
        w = max(1, round(width * self.k))
        d.line(pts, fill=value, width=w, joint="curve")
        if round_caps:
            r = w / 2
            for x, y in (pts[0], pts[-1]):
                d.ellipse([x - r, y - r, x + r, y + r], fill=value)
        return m

    def arc(self, box, start, end, width, mask=None, value=255):
        m = mask if mask is not None else self.mask()
        ImageDraw.Draw(m).arc(self._box(box), start, end, fill=value, width=max(1, round(width * self.k)))
        return m

    def ring(self, cx, cy, r_out, r_in, mask=None):
        m = self.circle(cx, cy, r_out, mask)
        return self.circle(cx, cy, r_in, m, value=0)

    def text_mask(self, xy, text, face, px, anchor="la"):
        """Text as a supersampled mask (for large lettering that is part of a shape)."""
        m = self.mask()
        s = self.k
        ImageDraw.Draw(m).text((xy[0] * s, xy[1] * s), text, fill=255, font=font(face, round(px * s)), anchor=anchor)
        return m

    def shifted(self, mask, dx, dy):
        """The mask moved by (dx, dy) 96-DPI pixels; what moves in is empty."""
        s = self.k
        return _shift(mask, round(dx * s), round(dy * s))

    # --- painting -------------------------------------------------------------------------
    def fill(self, mask, paint, opacity=1.0):
        """Composite a colour or a paint (callable (size, box) -> RGBA image of the box) through
        a mask. Only the mask's bounding box is touched: outside it nothing would change."""
        box = mask.getbbox()
        if box is None:
            return
        size = (box[2] - box[0], box[3] - box[1])
        src = paint(self.big_size, box) if callable(paint) else Image.new("RGBA", size, rgba(paint))
        alpha = ImageChops.multiply(src.getchannel("A"), mask.crop(box))
        if opacity < 1.0:
            alpha = alpha.point(lambda v: int(v * opacity + 0.5))
        src.putalpha(alpha)
        self.image.alpha_composite(src, box[:2])

    def shadow(self, mask, dx, dy, blur, colour=(0, 0, 0), opacity=0.5, clip=None):
        """A blurred copy of the mask, moved by (dx, dy); only inside clip when one is given."""
        s = self.k
        m = _shift(mask, round(dx * s), round(dy * s))
        if blur > 0:
            m = _blurred(m, blur * s)
        self.fill(m if clip is None else intersect(m, clip), rgba(colour), opacity)

    def edge(self, mask, dx, dy):
        """The band of the mask that lies within (dx, dy) of its edge on that side."""
        return ImageChops.subtract(mask, self.shifted(mask, dx, dy))

    def finish(self):
        """The picture at its final size (RGBA, averaged with premultiplied alpha)."""
        small = self.image.convert("RGBa").resize(self.size, Image.Resampling.BOX)
        return small.convert("RGBA")


def _blurred(mask, radius):
    """A Gaussian blur of the mask, worked out only around its bounding box: far enough away
    (four radii) the blur of an empty area is empty."""
    box = mask.getbbox()
    if box is None:
        return mask
    margin = int(4 * radius) + 4
    w, h = mask.size
    box = (max(0, box[0] - margin), max(0, box[1] - margin), min(w, box[2] + margin), min(h, box[3] + margin))
    out = Image.new(mask.mode, mask.size, 0)
    out.paste(mask.crop(box).filter(ImageFilter.GaussianBlur(radius)), box[:2])
    return out


def _shift(mask, dx, dy):
    out = Image.new(mask.mode, mask.size, 0)
    out.paste(mask, (dx, dy))
    return out


def intersect(a, b):
    return ImageChops.multiply(a, b)


def union(a, b):
    return ImageChops.lighter(a, b)


def subtract(a, b):
    return ImageChops.subtract(a, b)


def grow(mask, px):
    """Dilate a mask by px pixels of its own resolution (a square brush)."""
    return _rank(mask, int(px), ImageChops.lighter)


def shrink(mask, px):
    """Erode a mask by px pixels; the picture's own edges count as empty."""
    return _rank(mask, int(px), ImageChops.darker)


def _rank(mask, n, pick):
    # Only the mask's bounding box, with a margin of n, can change; the large canvases of the
    # bigger scales are mostly empty around a shape.
    box = mask.getbbox()
    if box is None:
        return mask.copy()
    w, h = mask.size
    box = (max(0, box[0] - n), max(0, box[1] - n), min(w, box[2] + n), min(h, box[3] + n))
    if box != (0, 0, w, h):
        out = Image.new(mask.mode, mask.size, 0)
        out.paste(_rank(mask.crop(box), n, pick), box[:2])
        return out
    # A square brush is separable (rows, then columns), and a brush of radius a followed by one
    # of radius b is one of radius a + b when b <= a + 1: radii 1, 2, 4, ... and the rest.
    steps, total = [], 0
    while total + (total + 1) <= n:
        steps.append(total + 1)
        total += total + 1
    if n > total:
        steps.append(n - total)
    out = mask
    for dx, dy in ((1, 0), (0, 1)):
        for k in steps:
            out = pick(out, pick(_shift(out, k * dx, k * dy), _shift(out, -k * dx, -k * dy)))
    return out


def vertical(stops):
    """A paint: a vertical gradient through (t, colour) stops, t from 0 (top) to 1 (bottom)."""
    return lambda size, box: _gradient(size, box, stops, vertical=True)


def horizontal(stops):
    return lambda size, box: _gradient(size, box, stops, vertical=False)


def vertical_in(top, bottom, stops, scale):
    """A vertical gradient that spans only the rows top..bottom (final pixels)."""
    def paint(size, box):
        rows = []
        for y in range(box[1], box[3]):
            t = (y / scale - top) / max(1e-6, bottom - top)
            rows.append(_at(stops, min(1.0, max(0.0, t))))
        col = Image.new("RGBA", (1, len(rows)))
        col.putdata(rows)
        return col.resize((box[2] - box[0], box[3] - box[1]), Image.Resampling.NEAREST)
    return paint


def radial(cx, cy, r, stops, scale):
    """A radial gradient centred at (cx, cy) final pixels with radius r."""
    def paint(size, box):
        # Distance field at a quarter of the resolution, scaled up: smooth and quick enough.
        f = 4
        sw, sh = max(1, size[0] // f), max(1, size[1] // f)
        ccx, ccy, rr = cx * scale / f, cy * scale / f, r * scale / f
        dist = Image.new("L", (sw, sh))
        dist.putdata([min(255, int(((x + 0.5 - ccx) ** 2 + (y + 0.5 - ccy) ** 2) ** 0.5 / rr * 255))
                      for y in range(sh) for x in range(sw)])
        dist = dist.resize(size, Image.Resampling.BILINEAR)
        ramp = [_at(stops, i / 255) for i in range(256)]
        return Image.merge("RGBA", [dist.point([c[band] for c in ramp]) for band in range(4)]).crop(box)
    return paint


def _at(stops, t):
    if t <= stops[0][0]:
        return rgba(stops[0][1])
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            f = 0 if t1 == t0 else (t - t0) / (t1 - t0)
            return mix(rgba(c0), rgba(c1), f)
    return rgba(stops[-1][1])


def _gradient(size, box, stops, vertical):
    w, h = size
    n = h if vertical else w
    line = Image.new("RGBA", (1, n) if vertical else (n, 1))
    line.putdata([_at(stops, i / max(1, n - 1)) for i in range(n)])
    line = line.crop((0, box[1], 1, box[3]) if vertical else (box[0], 0, box[2], 1))
    return line.resize((box[2] - box[0], box[3] - box[1]), Image.Resampling.NEAREST)


# --- final-size text ------------------------------------------------------------------------

def text(image, xy, s, face, px, colour, anchor="la", shadow=None, zoom=1):
    """Draw hinted text onto a final-size RGBA image; shadow = (dx, dy, colour, opacity).

    With a zoom, the position, the em size and the shadow's offset are 96-DPI values: the text
    is set in the larger size itself, its origin on a whole pixel so the hinting stays sharp.
    The em size is rounded down: a word never grows more than its place, so what fits at
    96 DPI fits at every scale."""
    if zoom != 1:
        xy, px = (at(xy[0], zoom), at(xy[1], zoom)), int(px * zoom)
        if shadow:
            shadow = (at(shadow[0], zoom), at(shadow[1], zoom)) + tuple(shadow[2:])
    if shadow:
        dx, dy, scolour, opacity = shadow
        _text_over(image, (xy[0] + dx, xy[1] + dy), s, face, px, rgba(scolour, int(255 * opacity)), anchor)
    _text_over(image, xy, s, face, px, rgba(colour), anchor)


def _text_over(image, xy, s, face, px, colour, anchor):
    m = Image.new("L", image.size, 0)
    ImageDraw.Draw(m).text(xy, s, fill=255, font=font(face, px), anchor=anchor)
    layer = Image.new("RGBA", image.size, colour)
    layer.putalpha(ImageChops.multiply(m, Image.new("L", image.size, colour[3])))
    image.alpha_composite(layer)


def text_width(s, face, px):
    box = font(face, px).getbbox(s)
    return box[2] - box[0]


def keyed(image, key, threshold, backdrop=None):
    """An opaque RGB picture with the key colour wherever image covers less than threshold/255.

    Covered pixels are composited over the backdrop (what will lie behind them on screen), or
    keep their own colour when that is unknown; none of them may come out as the key by chance.
    """
    solid = image.getchannel("A").point(lambda a: 255 if a >= threshold else 0)
    out = Image.new("RGB", image.size, key)
    out.paste(image.convert("RGB") if backdrop is None else over(backdrop, image), (0, 0), solid)
    near = (key[0], key[1], key[2] + 1 if key[2] < 255 else key[2] - 1)
    out.paste(near, (0, 0), intersect(solid, where(out, key)))
    return out


def where(image, colour):
    """A mask: 255 where the RGB image has exactly that colour, 0 elsewhere."""
    bands = ImageChops.difference(image, Image.new("RGB", image.size, colour)).split()
    same = [band.point(lambda v: 255 if v == 0 else 0) for band in bands]
    return intersect(intersect(same[0], same[1]), same[2])


def over(background, image):
    """An opaque RGB picture: image composited over a background colour or picture."""
    base = background.convert("RGBA") if isinstance(background, Image.Image) \
        else Image.new("RGBA", image.size, rgba(background))
    base.alpha_composite(image)
    return base.convert("RGB")
