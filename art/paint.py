"""Drawing primitives shared by every picture.

Shapes are drawn as coverage masks at `scale` times the final size and averaged down, which
gives clean anti-aliased edges without relying on any renderer's own smoothing. Coordinates are
always given in final pixels (floats allowed); pixel (i, j) covers the square [i, i+1) x [j, j+1).
Text is the exception: it is rendered at its final size, where the font's hinting keeps small
letters sharp.
"""
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


class Canvas:
    """A supersampled RGBA drawing surface for one picture."""

    def __init__(self, width, height, scale=4, background=(0, 0, 0, 0)):
        self.width, self.height, self.scale = width, height, scale
        self.image = Image.new("RGBA", (width * scale, height * scale), rgba(background))

    @property
    def big_size(self):
        return self.image.size

    # --- masks ---------------------------------------------------------------------------
    def mask(self):
        return Image.new("L", self.big_size, 0)

    def _box(self, box):
        s = self.scale
        x0, y0, x1, y1 = box
        return [round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1]

    def _pts(self, points):
        s = self.scale
        return [(x * s, y * s) for x, y in points]

    def rect(self, box, radius=0, mask=None, value=255):
        m = mask if mask is not None else self.mask()
        d = ImageDraw.Draw(m)
        if radius > 0:
            d.rounded_rectangle(self._box(box), radius=radius * self.scale, fill=value)
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
        w = max(1, round(width * self.scale))
        d.line(pts, fill=value, width=w, joint="curve")
        if round_caps:
            r = w / 2
            for x, y in (pts[0], pts[-1]):
                d.ellipse([x - r, y - r, x + r, y + r], fill=value)
        return m

    def arc(self, box, start, end, width, mask=None, value=255):
        m = mask if mask is not None else self.mask()
        ImageDraw.Draw(m).arc(self._box(box), start, end, fill=value, width=max(1, round(width * self.scale)))
        return m

    def ring(self, cx, cy, r_out, r_in, mask=None):
        m = self.circle(cx, cy, r_out, mask)
        return self.circle(cx, cy, r_in, m, value=0)

    def text_mask(self, xy, text, face, px, anchor="la"):
        """Text as a supersampled mask (for large lettering that is part of a shape)."""
        m = self.mask()
        s = self.scale
        ImageDraw.Draw(m).text((xy[0] * s, xy[1] * s), text, fill=255, font=font(face, px * s), anchor=anchor)
        return m

    def shifted(self, mask, dx, dy):
        """The mask moved by (dx, dy) final pixels; what moves in is empty."""
        s = self.scale
        return _shift(mask, round(dx * s), round(dy * s))

    # --- painting -------------------------------------------------------------------------
    def fill(self, mask, paint, opacity=1.0):
        """Composite a colour or a paint (callable size -> RGBA image) through a mask."""
        src = paint(self.big_size) if callable(paint) else Image.new("RGBA", self.big_size, rgba(paint))
        alpha = ImageChops.multiply(src.getchannel("A"), mask)
        if opacity < 1.0:
            alpha = alpha.point(lambda v: int(v * opacity + 0.5))
        src.putalpha(alpha)
        self.image.alpha_composite(src)

    def shadow(self, mask, dx, dy, blur, colour=(0, 0, 0), opacity=0.5):
        s = self.scale
        m = _shift(mask, round(dx * s), round(dy * s))
        if blur > 0:
            m = m.filter(ImageFilter.GaussianBlur(blur * s))
        self.fill(m, rgba(colour), opacity)

    def edge(self, mask, dx, dy):
        """The band of the mask that lies within (dx, dy) of its edge on that side."""
        return ImageChops.subtract(mask, self.shifted(mask, dx, dy))

    def finish(self):
        """The picture at its final size (RGBA, averaged with premultiplied alpha)."""
        small = self.image.convert("RGBa").resize((self.width, self.height), Image.Resampling.BOX)
        return small.convert("RGBA")


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
    return lambda size: _gradient(size, stops, vertical=True)


def horizontal(stops):
    return lambda size: _gradient(size, stops, vertical=False)


def vertical_in(top, bottom, stops, scale):
    """A vertical gradient that spans only the rows top..bottom (final pixels)."""
    def paint(size):
        h = size[1]
        rows = []
        for y in range(h):
            t = (y / scale - top) / max(1e-6, bottom - top)
            rows.append(_at(stops, min(1.0, max(0.0, t))))
        col = Image.new("RGBA", (1, h))
        col.putdata(rows)
        return col.resize(size, Image.Resampling.NEAREST)
    return paint


def radial(cx, cy, r, stops, scale):
    """A radial gradient centred at (cx, cy) final pixels with radius r."""
    def paint(size):
        # Distance field at a quarter of the resolution, scaled up: smooth and quick enough.
        f = 4
        sw, sh = max(1, size[0] // f), max(1, size[1] // f)
        ccx, ccy, rr = cx * scale / f, cy * scale / f, r * scale / f
        dist = Image.new("L", (sw, sh))
        dist.putdata([min(255, int(((x + 0.5 - ccx) ** 2 + (y + 0.5 - ccy) ** 2) ** 0.5 / rr * 255))
                      for y in range(sh) for x in range(sw)])
        dist = dist.resize(size, Image.Resampling.BILINEAR)
        ramp = [_at(stops, i / 255) for i in range(256)]
        return Image.merge("RGBA", [dist.point([c[band] for c in ramp]) for band in range(4)])
    return paint


def _at(stops, t):
    if t <= stops[0][0]:
        return rgba(stops[0][1])
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            f = 0 if t1 == t0 else (t - t0) / (t1 - t0)
            return mix(rgba(c0), rgba(c1), f)
    return rgba(stops[-1][1])


def _gradient(size, stops, vertical):
    w, h = size
    n = h if vertical else w
    line = Image.new("RGBA", (1, n) if vertical else (n, 1))
    line.putdata([_at(stops, i / max(1, n - 1)) for i in range(n)])
    return line.resize(size, Image.Resampling.NEAREST)


# --- final-size text ------------------------------------------------------------------------

def text(image, xy, s, face, px, colour, anchor="la", shadow=None):
    """Draw hinted text onto a final-size RGBA image; shadow = (dx, dy, colour, opacity)."""
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
    px, sp = out.load(), solid.load()
    for y in range(out.size[1]):
        for x in range(out.size[0]):
            if sp[x, y] and px[x, y] == key:
                px[x, y] = near
    return out


def over(background, image):
    """An opaque RGB picture: image composited over a background colour or picture."""
    base = background.convert("RGBA") if isinstance(background, Image.Image) \
        else Image.new("RGBA", image.size, rgba(background))
    base.alpha_composite(image)
    return base.convert("RGB")
