#!/usr/bin/python3
"""Draws the help window's artwork and the program icon from vector shapes.

    /usr/bin/python3 tools/make-artwork.py [--preview sheet.png] [repository folder]

Writes, under the repository (default: the folder above this script):
    app/images/1920/sub_bg.jpg          365 x 300   panel background
    app/images/1920/close_normal.png     44 x 44    close button, normal
    app/images/1920/close_hover.png      44 x 44    close button, under the mouse
    app/images/1920/close_click.png      44 x 44    close button, pressed
    app/images/4k/...                    the same at twice the size
    app/dockhint.ico                     32, 24 and 16 pixels, 32 bits a pixel

Every picture is drawn at its own size: the shapes are described in the
1920 layout's pixels, scaled by 1 or 2, rasterised at SUPER times that size
and reduced with an area filter, so the 4k set is as sharp as the 1920 set.
The output is deterministic (the dither noise comes from a seeded generator).

Needs Debian's python3-pil and the fonts of fonts-noto-core (DejaVu is used
when Noto is missing).
"""

import io
import math
import os
import random
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

SUPER = 8  # supersampling factor of the vector shapes

# The panel layout (1920 pixels; doubled for 4k).
PANEL_W, PANEL_H = 365, 300
CLOSE_X, CLOSE_SIZE = 321, 44
TITLE_CENTRE_Y = 22          # title line and close glyph share this centre
RULE_Y = 46                  # hairline under the title band

# Palette: deep blue slate with one cool accent.
TOP = (0x25, 0x34, 0x4a)
BOTTOM = (0x10, 0x17, 0x22)
SHEEN = (0x4a, 0x6e, 0x98)
ACCENT = (0x4c, 0xa6, 0xe8)
TITLE = (0xee, 0xf3, 0xf9)
MUTED = (0x8c, 0x9d, 0xb4)
RULE = (0x5a, 0x70, 0x8e)
BORDER = (0x52, 0x66, 0x82)

FONT_CANDIDATES = {
    "bold": ["/usr/share/fonts/truetype/noto/NotoSans-Bold.ttf",
             "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"],
    "regular": ["/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf",
                "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"],
    # Paragraph text of the preview sheet only: close in width to the
    # panel's own UI font.
    "body": ["/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
             "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
             "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf",
             "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"],
}


def font(weight, px):
    for path in FONT_CANDIDATES[weight]:
        if os.path.exists(path):
            return ImageFont.truetype(path, px)
    sys.exit("make-artwork: no font found for %s text (install fonts-noto-core)" % weight)


# ---------------------------------------------------------------- shapes


class Shape:
    """A coverage mask of a given size, drawn at SUPER times the size.

    Coordinates passed to the drawing methods are in output pixels (floats
    allowed); the mask is reduced to the output size by box (area) filtering.
    """

    def __init__(self, width, height):
        self.size = (width, height)
        self.big = Image.new("L", (width * SUPER, height * SUPER), 0)
        self.draw = ImageDraw.Draw(self.big)

    @staticmethod
    def _s(v):
        return v * SUPER

    def rounded_rect(self, x0, y0, x1, y1, r, fill=255):
        s = self._s
        self.draw.rounded_rectangle([s(x0), s(y0), s(x1) - 1, s(y1) - 1], radius=s(r), fill=fill)

    def rect(self, x0, y0, x1, y1, fill=255):
        s = self._s
        self.draw.rectangle([s(x0), s(y0), s(x1) - 1, s(y1) - 1], fill=fill)

    def ellipse(self, cx, cy, rx, ry, fill=255):
        s = self._s
        self.draw.ellipse([s(cx - rx), s(cy - ry), s(cx + rx) - 1, s(cy + ry) - 1], fill=fill)

    def polygon(self, points, fill=255):
        self.draw.polygon([(self._s(x), self._s(y)) for x, y in points], fill=fill)

    def capsule(self, x0, y0, x1, y1, width, fill=255):
        """A stroke from (x0, y0) to (x1, y1) with round caps."""
        r = width / 2.0
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * r, dx / length * r
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                      (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], fill)
        self.ellipse(x0, y0, r, r, fill)
        self.ellipse(x1, y1, r, r, fill)

    def ring_rounded_rect(self, x0, y0, x1, y1, r, width):
        """The outline of a rounded rectangle, drawn inside its bounds."""
        self.rounded_rect(x0, y0, x1, y1, r, 255)
        self.rounded_rect(x0 + width, y0 + width, x1 - width, y1 - width,
                          max(r - width, 0), 0)

    def mask(self):
        return self.big.resize(self.size, Image.BOX)


def scale_mask(mask, opacity):
    """The mask multiplied by opacity (0 .. 1)."""
    return mask.point(lambda v: int(v * opacity + 0.5))


def layer(size, colour, mask):
    """A straight-alpha RGBA layer of one colour shaped by a mask."""
    im = Image.new("RGBA", size, colour + (0,))
    im.putalpha(mask)
    return im


def paint(target, colour, mask, opacity=1.0):
    """Composites one colour through a mask over the RGBA target, in place."""
    if opacity != 1.0:
        mask = scale_mask(mask, opacity)
    target.alpha_composite(layer(target.size, colour, mask))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# ---------------------------------------------------------------- glyph


def dock_glyph(shape, x, y, unit):
    """A notebook standing open on its dock, in a 24 x 20 unit box at (x, y).

    unit is the size of one box unit in output pixels; with a whole unit and
    a whole (x, y) every edge falls on a pixel boundary.
    """
    u = lambda v: v * unit
    # Screen lid: an outlined rounded rectangle.
    shape.ring_rounded_rect(x + u(4), y + u(0), x + u(20), y + u(12), u(2), u(2))
    # Keyboard deck: a thin slab a little wider than the lid.
    shape.rounded_rect(x + u(2), y + u(13), x + u(22), y + u(15), u(1))
    # Dock: the wider base the notebook sits on.
    shape.rounded_rect(x + u(0), y + u(17), x + u(24), y + u(20), u(1.5))


def dock_led(shape, x, y, unit):
    """The dock's status light, a short bar drawn in the accent colour."""
    shape.rect(x + unit * 17, y + unit * 18, x + unit * 20, y + unit * 19)


# ---------------------------------------------------------------- background


def background(s):
    w, h = PANEL_W * s, PANEL_H * s
    rng = random.Random(1920 * s)

    # Base: a vertical gradient, a soft light from the upper left, a slightly
    # lighter title band and a gentle vignette; dithered to avoid banding.
    band = RULE_Y * s
    cx, cy = w * 0.18, -h * 0.25
    reach = w * 1.05
    pixels = bytearray(w * h * 3)
    i = 0
    for py in range(h):
        t = py / (h - 1)
        row = mix(TOP, BOTTOM, t ** 0.85)
        if py < band:
            row = mix(row, TITLE, 0.035 * (1 - py / band) + 0.012)
        vy = (py - h / 2) / (h / 2)
        for px in range(w):
            d = math.hypot(px - cx, py - cy) / reach
            glow = max(0.0, 1.0 - d) ** 2 * 0.22
            c = mix(row, SHEEN, glow)
            vx = (px - w / 2) / (w / 2)
            v = max(0.0, vx * vx * 0.6 + vy * vy - 0.55)
            shade = 1.0 - 0.16 * v
            for ch in range(3):
                val = c[ch] * shade + rng.random() - 0.5
                pixels[i] = min(255, max(0, int(val + 0.5)))
                i += 1
    img = Image.frombytes("RGB", (w, h), bytes(pixels)).convert("RGBA")

    # Hairline under the title band, fading out towards both ends, with a
    # darker line under it for a faint engraved look.
    rule = Shape(w, h)
    x0, x1 = 20 * s, (PANEL_W - 20) * s
    steps = 64
    for k in range(steps):
        a = x0 + (x1 - x0) * k / steps
        b = x0 + (x1 - x0) * (k + 1) / steps
        m = (k + 0.5) / steps
        fade = min(1.0, m / 0.18, (1 - m) / 0.18)
        rule.rect(a, RULE_Y * s, b, RULE_Y * s + s, fill=int(255 * fade))
    rmask = rule.mask()
    paint(img, RULE, rmask, 0.55)
    paint(img, (0, 0, 0), rmask.transform(rmask.size, Image.AFFINE, (1, 0, 0, 0, 1, -s)), 0.35)

    # Accent under the title's start.
    accent = Shape(w, h)
    accent.rect(20 * s, RULE_Y * s - s, 56 * s, RULE_Y * s + s)
    paint(img, ACCENT, accent.mask(), 0.95)

    # The product glyph at the left of the title line.
    unit = s
    gx, gy = 20 * s, (TITLE_CENTRE_Y - 10) * s
    glyph = Shape(w, h)
    dock_glyph(glyph, gx, gy, unit)
    paint(img, TITLE, glyph.mask(), 0.92)
    led = Shape(w, h)
    dock_led(led, gx, gy, unit)
    paint(img, ACCENT, led.mask())

    # Title: product name, a thin divider, and the maker in small capitals.
    draw_title(img, s, gx + 24 * unit + 10 * s)

    # One-pixel frame (two at 4k), lighter at the top edge.
    frame = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    fd = ImageDraw.Draw(frame)
    for k in range(s):
        fd.rectangle([k, k, w - 1 - k, h - 1 - k], outline=BORDER + (200,))
    top = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    ImageDraw.Draw(top).line([(s, s), (w - 1 - s, s)], fill=(0x8a, 0xa0, 0xbc, 70), width=s)
    img.alpha_composite(frame)
    img.alpha_composite(top)
    return img.convert("RGB")


def text_layer(size, xy, text, fnt, colour, opacity=1.0, tracking=0.0):
    """Text at its output size (hinted by FreeType), optionally letter-spaced.

    xy is the left end of the text and the vertical centre of its capitals.
    """
    mask = Image.new("L", size, 0)
    d = ImageDraw.Draw(mask)
    x, cy = xy
    cap = fnt.getbbox("H", anchor="ls")  # cap height above the baseline
    baseline = cy + (-cap[1]) / 2.0
    for ch in (text if tracking else [text]):
        d.text((x, baseline), ch, font=fnt, fill=255, anchor="ls")
        x += d.textlength(ch, font=fnt) + tracking
    return layer(size, colour, scale_mask(mask, opacity)), x


def draw_title(img, s, x):
    cy = TITLE_CENTRE_Y * s
    name_bold = font("bold", 15 * s)
    name_light = font("regular", 15 * s)
    maker = font("bold", 9 * s)
    part, x = text_layer(img.size, (x, cy), "Portica", name_bold, TITLE)
    img.alpha_composite(part)
    part, x = text_layer(img.size, (x + 4 * s, cy), "Dock", name_light, TITLE, 0.88)
    img.alpha_composite(part)
    # Divider and maker name.
    x += 9 * s
    div = Shape(*img.size)
    div.rect(x, cy - 6 * s, x + 1 * s, cy + 6 * s)
    paint(img, MUTED, div.mask(), 0.45)
    x += 9 * s
    part, _ = text_layer(img.size, (x, cy), "TAVRIN", maker, MUTED, 1.0, tracking=1.6 * s)
    img.alpha_composite(part)


# ---------------------------------------------------------------- close button


def close_button(s, state):
    size = CLOSE_SIZE * s
    img = Image.new("RGBA", (size, size), (255, 255, 255, 0))
    c = size / 2.0
    # The glyph sits on the title line's centre; the button is square, so
    # its centre is the cell centre.
    if state != "normal":
        back = Shape(size, size)
        back.ellipse(c, c, 14 * s, 14 * s)
        if state == "hover":
            paint(img, (0xd6, 0xe4, 0xf5), back.mask(), 0.20)
        else:
            # Pressed: a dimmer backdrop with a soft shade along its top
            # edge, as if the disc had sunk in.
            paint(img, (0xb4, 0xc6, 0xdc), back.mask(), 0.11)
            shade = Shape(size, size)
            shade.ellipse(c, c, 14 * s, 14 * s)
            shade.ellipse(c, c + 1.5 * s, 13.6 * s, 13.6 * s, fill=0)
            paint(img, (0x02, 0x05, 0x0a), shade.mask(), 0.45)
    arm = 5.0 * s
    shift = 0.5 * s if state == "click" else 0.0
    x = Shape(size, size)
    x.capsule(c - arm, c - arm + shift, c + arm, c + arm + shift, 1.7 * s)
    x.capsule(c - arm, c + arm + shift, c + arm, c - arm + shift, 1.7 * s)
    colour, opacity = {
        "normal": ((0xc4, 0xd0, 0xdf), 0.80),
        "hover": ((0xff, 0xff, 0xff), 1.00),
        "click": ((0xdc, 0xe6, 0xf2), 0.90),
    }[state]
    paint(img, colour, x.mask(), opacity)
    return img


# ---------------------------------------------------------------- icon


# Icon glyph per size, in pixels: rectangles are (left, top, right, bottom),
# right and bottom exclusive. The light is a small accent set into the dock.
ICON_GLYPHS = {
    32: {"lid": (9, 6, 23, 17), "lid_radius": 2, "lid_stroke": 2,
         "deck": (7, 18, 25, 20), "deck_radius": 1,
         "dock": (5, 21, 27, 25), "dock_radius": 1.5,
         "light": (21, 22, 24, 24)},
    24: {"lid": (7, 4, 17, 12), "lid_radius": 1.5, "lid_stroke": 2,
         "deck": (5, 13, 19, 15), "deck_radius": 0.8,
         "dock": (4, 16, 20, 19), "dock_radius": 1,
         "light": (15, 17, 17, 18)},
    16: {"lid": (4, 2, 12, 8), "lid_radius": 0.6, "lid_stroke": 1,
         "deck": (3, 9, 13, 10), "deck_radius": 0,
         "dock": (2, 11, 14, 14), "dock_radius": 0.5,
         "light": (10, 12, 12, 13)},
}


def icon_image(px):
    """The program icon at px x px: the dock glyph on a rounded blue tile."""
    img = Image.new("RGBA", (px, px), (255, 255, 255, 0))
    inset = 0 if px <= 16 else 1
    radius = {32: 7, 24: 5, 16: 3.5}[px]
    tile = Shape(px, px)
    tile.rounded_rect(inset, inset, px - inset, px - inset, radius)
    tmask = tile.mask()

    # Tile colour: a diagonal gradient from a lighter blue to deep slate.
    grad = Image.new("RGBA", (px, px))
    light, deep = (0x3d, 0x7e, 0xc0), (0x19, 0x2e, 0x4a)
    gp = grad.load()
    for yy in range(px):
        for xx in range(px):
            t = min(1.0, max(0.0, (xx * 0.35 + yy) / (px * 1.25)))
            gp[xx, yy] = tuple(int(v + 0.5) for v in mix(light, deep, t)) + (255,)
    grad.putalpha(tmask)
    img.alpha_composite(grad)

    # A faint light rim along the top of the tile.
    rim = Shape(px, px)
    rim.rounded_rect(inset, inset, px - inset, px - inset, radius)
    rim.rounded_rect(inset, inset + max(1.0, px / 24.0), px - inset, px - inset, radius, fill=0)
    paint(img, (0xff, 0xff, 0xff), rim.mask(), 0.28)

    # The glyph, laid out on each size's own pixel grid so that its edges
    # stay crisp at 16 and 24 pixels.
    g = ICON_GLYPHS[px]
    glyph = Shape(px, px)
    glyph.ring_rounded_rect(*g["lid"], g["lid_radius"], g["lid_stroke"])
    glyph.rounded_rect(*g["deck"], g["deck_radius"])
    glyph.rounded_rect(*g["dock"], g["dock_radius"])
    paint(img, (0xff, 0xff, 0xff), glyph.mask(), 0.97)
    led = Shape(px, px)
    led.rect(*g["light"])
    paint(img, (0x1e, 0x8c, 0xe6), led.mask())
    return img


def write_ico(path, images):
    """Writes 32-bit BMP icon images (BGRA with an AND mask) into one .ico."""
    entries, blobs = [], []
    for im in images:
        w, h = im.size
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        px = im.load()
        xor = bytearray()
        for yy in range(h - 1, -1, -1):
            for xx in range(w):
                r, g, b, a = px[xx, yy]
                xor += bytes((b, g, r, a))
        stride = ((w + 31) // 32) * 4
        andmask = bytearray()
        for yy in range(h - 1, -1, -1):
            row = bytearray(stride)
            for xx in range(w):
                if px[xx, yy][3] == 0:
                    row[xx // 8] |= 0x80 >> (xx % 8)
            andmask += row
        blob = header + bytes(xor) + bytes(andmask)
        entries.append((w, h, blob))
        blobs.append(blob)
    out = io.BytesIO()
    out.write(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for w, h, blob in entries:
        out.write(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset))
        offset += len(blob)
    for blob in blobs:
        out.write(blob)
    with open(path, "wb") as f:
        f.write(out.getvalue())


# ---------------------------------------------------------------- main


PARAGRAPHS = (
    (60, "When your notebook PC is docked on Portica Dock, your notebook PC's HDMI, VGA, "
         "and other display ports are disabled. You can use the display port on Portica Dock."),
    (155, "Portica Dock is compatible with specific Tavrin Notebook PC models. "
          "Please check that your notebook PC supports Portica Dock."),
)


def wrap(draw, text, fnt, width):
    lines, line = [], ""
    for word in text.split():
        trial = (line + " " + word).strip()
        if line and draw.textlength(trial, font=fnt) > width:
            lines.append(line)
            line = word
        else:
            line = trial
    return lines + [line]


def preview(root, path):
    """Lays the written files out as the panel shows them, for checking by eye:
    for each scale, the panel with the close button normal, hovered and pressed,
    and the two English paragraphs in white 16 px (32 px at 4k) text."""
    rows = []
    for folder, s in (("1920", 1), ("4k", 2)):
        base = os.path.join(root, "app", "images", folder)
        bg = Image.open(os.path.join(base, "sub_bg.jpg")).convert("RGBA")
        fnt = font("body", 16 * s)
        panels = []
        for name in ("close_normal.png", "close_hover.png", "close_click.png"):
            p = bg.copy()
            p.alpha_composite(Image.open(os.path.join(base, name)).convert("RGBA"), (CLOSE_X * s, 0))
            d = ImageDraw.Draw(p)
            for top, text in PARAGRAPHS:
                y = top * s
                for line in wrap(d, text, fnt, 325 * s):
                    d.text((20 * s, y), line, font=fnt, fill=(255, 255, 255, 255))
                    y += round(fnt.size * 1.33)
            panels.append(p)
        rows.append(panels)
    gap = 16
    width = max(sum(p.width for p in r) + gap * (len(r) + 1) for r in rows)
    height = sum(r[0].height for r in rows) + gap * (len(rows) + 1)
    sheet = Image.new("RGBA", (width, height), (0x3a, 0x6e, 0x8f, 255))
    y = gap
    for r in rows:
        x = gap
        for p in r:
            sheet.alpha_composite(p, (x, y))
            x += p.width + gap
        y += r[0].height + gap
    sheet.convert("RGB").save(path)


def main():
    args = sys.argv[1:]
    preview_path = None
    if "--preview" in args:
        k = args.index("--preview")
        preview_path = args[k + 1]
        del args[k:k + 2]
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    for folder, s in (("1920", 1), ("4k", 2)):
        out = os.path.join(root, "app", "images", folder)
        os.makedirs(out, exist_ok=True)
        background(s).save(os.path.join(out, "sub_bg.jpg"), "JPEG", quality=94,
                           subsampling=0, optimize=True)
        for state, name in (("normal", "close_normal.png"), ("hover", "close_hover.png"),
                            ("click", "close_click.png")):
            close_button(s, state).save(os.path.join(out, name), "PNG", optimize=True)
    write_ico(os.path.join(root, "app", "dockhint.ico"), [icon_image(p) for p in (32, 24, 16)])
    if preview_path:
        preview(root, preview_path)


if __name__ == "__main__":
    main()
