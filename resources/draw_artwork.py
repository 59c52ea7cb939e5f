#!/usr/bin/env python3
"""Draws the installer's artwork (logo, feature icons, header band, app icon).

Run from anywhere: python3 resources/draw_artwork.py
Needs ImageMagick 6 (convert) and the DejaVu Sans fonts.
"""

import math
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
FONT_BOOK = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

# Palette
BLUE = "#1D5FB4"
BLUE_MID = "#1B79B9"
TEAL = "#11A397"
TEAL_DEEP = "#0C7F86"
HEADER_LEFT = "#103E72"
HEADER_RIGHT = "#0E8C8F"
INK = "#1C4A86"        # outline colour of the feature icons
TINT = "#E3F1F8"       # soft fill inside the feature icons
SLATE = "#1E2A38"      # word mark
SLATE_SOFT = "#5A6B7D"  # tagline


def run(args):
    subprocess.run(["convert"] + [str(a) for a in args], check=True)


def measure(path):
    out = subprocess.run(["identify", "-format", "%w %h", path],
                         check=True, capture_output=True, text=True).stdout
    w, h = out.split()
    return int(w), int(h)


# --------------------------------------------------------------------------
# Layer helpers. Every shape is drawn as a white-on-black mask, then a solid
# colour or a gradient is cut out by it; this keeps gradients and knock-outs
# (holes punched through what is already drawn) simple and exact.

def solid(color):
    return ("solid", color)


def linear(c1, c2, angle, box=None):
    """Gradient from c1 to c2; angle 90 runs left to right, 135 top-left to
    bottom-right. box=(x, y, w, h) limits the ramp to that area."""
    return ("linear", c1, c2, angle, box)


def paint_args(W, H, paint):
    if paint[0] == "solid":
        return ["(", "-size", f"{W}x{H}", f"xc:{paint[1]}", ")"]
    _, c1, c2, angle, box = paint
    if box is None:
        return ["(", "-size", f"{W}x{H}", "-define", f"gradient:angle={angle}",
                f"gradient:{c1}-{c2}", ")"]
    x, y, w, h = [int(round(v)) for v in box]
    return ["(", "-size", f"{W}x{H}", f"xc:{c2}",
            "(", "-size", f"{w}x{h}", "-define", f"gradient:angle={angle}",
            f"gradient:{c1}-{c2}", ")",
            "-geometry", f"+{x}+{y}", "-compose", "Over", "-composite", "+geometry", ")"]


def layer(W, H, mvg, paint, opacity=1.0, op="Over", mask_extra=None):
    """Arguments that composite one shape onto the image on the stack."""
    args = ["("] + paint_args(W, H, paint)
    args += ["(", "-size", f"{W}x{H}", "xc:black", "-fill", "white",
             "-stroke", "none", "-draw", mvg]
    if mask_extra:
        args += mask_extra
    args += [")", "-alpha", "off", "-compose", "CopyOpacity", "-composite"]
    if opacity < 1.0:
        args += ["-channel", "A", "-evaluate", "multiply", f"{opacity:.3f}",
                 "+channel"]
    args += [")", "-compose", op, "-composite"]
    return args


class Picture:
    """An image drawn at `ss` times its size in design units, then reduced
    with a box filter so every edge gets exact area coverage."""

    def __init__(self, w, h, ss=4, scale=1.0, background="none"):
        self.w, self.h, self.ss = w, h, ss
        self.s = ss * scale
        self.W, self.H = w * ss, h * ss
        self.args = ["-size", f"{self.W}x{self.H}", f"xc:{background}"]

    def _mvg(self, body):
        return f"scale {self.s:.4f},{self.s:.4f} {body}"

    def _box(self, box):
        if box is None:
            return None
        return tuple(v * self.s for v in box)

    def fill(self, body, paint, opacity=1.0):
        if paint[0] == "linear":
            paint = paint[:4] + (self._box(paint[4]),)
        self.args += layer(self.W, self.H, self._mvg(body), paint, opacity)

    def cut(self, body):
        self.args += layer(self.W, self.H, self._mvg(body), solid("white"),
                           op="DstOut")

    def image(self, path, x, y):
        """Composite a prepared picture (already at final size x ss)."""
        self.args += [path, "-geometry", f"+{int(x * self.s)}+{int(y * self.s)}",
                      "-compose", "Over", "-composite", "+geometry"]

    def save(self, path, extra=()):
        args = list(self.args)
        if self.ss != 1:
            args += ["-filter", "Box", "-resize", f"{self.w}x{self.h}!"]
        args += ["+repage"] + list(extra)
        args += ["-define", "png:color-type=6", "-strip", f"PNG32:{path}"]
        run(args)


# --------------------------------------------------------------------------
# Drawing vocabulary in MVG

def stroke(width, color="white", cap="round", join="round"):
    return (f"fill none stroke {color} stroke-width {width} "
            f"stroke-linecap {cap} stroke-linejoin {join} ")


def nostroke():
    return "stroke none fill white "


def pts(points):
    return " ".join(f"{x:.3f},{y:.3f}" for x, y in points)


def rrect(x0, y0, x1, y1, r):
    return f"roundrectangle {x0:.3f},{y0:.3f} {x1:.3f},{y1:.3f} {r:.3f},{r:.3f} "


def circle(cx, cy, r):
    return f"circle {cx:.3f},{cy:.3f} {cx + r:.3f},{cy:.3f} "


def ellipse(cx, cy, rx, ry):
    return f"ellipse {cx:.3f},{cy:.3f} {rx:.3f},{ry:.3f} 0,360 "


def sparkle(cx, cy, r, pinch=0.16):
    """Four-pointed star with concave sides."""
    k = r * pinch
    return (f"path 'M {cx:.3f},{cy - r:.3f} "
            f"Q {cx + k:.3f},{cy - k:.3f} {cx + r:.3f},{cy:.3f} "
            f"Q {cx + k:.3f},{cy + k:.3f} {cx:.3f},{cy + r:.3f} "
            f"Q {cx - k:.3f},{cy + k:.3f} {cx - r:.3f},{cy:.3f} "
            f"Q {cx - k:.3f},{cy - k:.3f} {cx:.3f},{cy - r:.3f} Z' ")


def rounded_polygon(points, r):
    """Closed path through `points` with every corner rounded by radius r."""
    n = len(points)
    d = []
    for i in range(n):
        px, py = points[i - 1]
        cx, cy = points[i]
        nx, ny = points[(i + 1) % n]
        v1 = (px - cx, py - cy)
        v2 = (nx - cx, ny - cy)
        l1 = (v1[0] ** 2 + v1[1] ** 2) ** 0.5
        l2 = (v2[0] ** 2 + v2[1] ** 2) ** 0.5
        u1 = (v1[0] / l1, v1[1] / l1)
        u2 = (v2[0] / l2, v2[1] / l2)
        cosang = max(-1.0, min(1.0, u1[0] * u2[0] + u1[1] * u2[1]))
        half = math.acos(cosang) / 2
        t = min(r / math.tan(half), l1 / 2, l2 / 2)
        a = (cx + u1[0] * t, cy + u1[1] * t)
        b = (cx + u2[0] * t, cy + u2[1] * t)
        d.append(("L" if d else "M") + f" {a[0]:.3f},{a[1]:.3f}")
        d.append(f"Q {cx:.3f},{cy:.3f} {b[0]:.3f},{b[1]:.3f}")
    return "path '" + " ".join(d) + " Z' "



def rotate_points(points, angle_deg, cx, cy):
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    return [(cx + (x - cx) * ca - (y - cy) * sa,
             cy + (x - cx) * sa + (y - cy) * ca) for x, y in points]


def placed(ox, oy, k, body):
    return (f"push graphic-context translate {ox:.3f},{oy:.3f} "
            f"scale {k:.5f},{k:.5f} {body} pop graphic-context ")


# --------------------------------------------------------------------------
# The mark: a roof line over a house whose window is a spark of light.
# Design box 256 x 256.

class MarkStyle:
    def __init__(self, roof, roof_width, gap, walls, bottom, spark, pinch):
        self.roof, self.roof_width, self.gap = roof, roof_width, gap
        self.walls, self.bottom = walls, bottom
        self.spark, self.pinch = spark, pinch


FULL = MarkStyle(roof=[(20, 122), (128, 28), (236, 122)], roof_width=34,
                 gap=18, walls=(58, 198), bottom=238, spark=44, pinch=0.16)
# For icons of 24 px and less, laid on the 16 px grid (16 units a pixel):
# a 45 degree roof two pixels wide, a one pixel gap and a fatter spark.
SMALL = MarkStyle(roof=[(36, 132), (128, 40), (220, 132)], roof_width=32,
                  gap=17, walls=(64, 192), bottom=226, spark=36, pinch=0.38)


def house_points(st):
    (x0, y0), (x1, y1) = st.roof[0], st.roof[1]
    slope = (y0 - y1) / (x1 - x0)
    cos_t = math.cos(math.atan(slope))
    apex = y1 + (st.roof_width / 2 + st.gap) / cos_t
    left, right = st.walls
    eave = apex + slope * (128 - left)
    return [(128, apex), (right, eave), (right, st.bottom),
            (left, st.bottom), (left, eave)]


def draw_mark(pic, ox, oy, size, on_tile=False, st=FULL):
    """The mark in a size x size box at (ox, oy). on_tile draws it white for
    the coloured app icon tile and returns the spark for the caller to fill
    with the tile's own gradient."""
    k = size / 256.0
    box = (ox, oy, size, size)
    roof = stroke(st.roof_width) + "polyline " + pts(st.roof)
    body = nostroke() + rounded_polygon(house_points(st), 12)
    eave_y = house_points(st)[1][1]
    spark = nostroke() + sparkle(128, (eave_y + st.bottom) / 2 + 3,
                                 st.spark, st.pinch)
    if on_tile:
        pic.fill(placed(ox, oy, k, roof), solid("white"))
        pic.fill(placed(ox, oy, k, body), solid("white"))
    else:
        pic.fill(placed(ox, oy, k, roof), linear(BLUE, BLUE_MID, 90, box))
        pic.fill(placed(ox, oy, k, body), linear(BLUE_MID, TEAL, 160, box))
        pic.cut(placed(ox, oy, k, spark))
    return spark


# --------------------------------------------------------------------------

def draw_logo(tmp):
    W, H = 1146, 318
    ss = 2
    pic = Picture(W, H, ss=ss)
    mark = 270
    draw_mark(pic, 10, (H - mark) / 2, mark)

    word = os.path.join(tmp, "word.png")
    run(["-background", "none", "-fill", SLATE, "-font", FONT_BOLD,
         "-pointsize", 184 * ss, "-kerning", -5 * ss, "label:Lumivar",
         "-trim", "+repage", word])
    ww, wh = measure(word)
    tag = os.path.join(tmp, "tag.png")
    run(["-background", "none", "-fill", SLATE_SOFT, "-font", FONT_BOOK,
         "-pointsize", 48 * ss, "-kerning", 2 * ss,
         "label:Gestão imobiliária", "-trim", "+repage", tag])
    th = measure(tag)[1]

    x = 320
    gap = 30 * ss
    block = wh + gap + th
    y = (H * ss - block) / 2
    pic.image(word, x, y / ss)
    pic.image(tag, x + 6, (y + wh + gap) / ss)
    # centre what was drawn, since the window centres the whole picture
    pic.save(os.path.join(HERE, "logo.png"),
             ["-trim", "+repage", "-background", "none", "-gravity", "center",
              "-extent", f"{W}x{H}"])


# --------------------------------------------------------------------------
# Feature icons, 64 x 64: outlines in INK 4 px wide with round joins over a
# TINT fill, one TEAL accent each.  Accents that overlap an outline get a
# transparent moat so the two stay apart at this size.

LINE = 4


def icon_property(pic):
    # roof line over a house, as in the mark
    pic.fill(stroke(LINE) + "polyline 6,30 32,8 58,30", solid(INK))
    body = [(32, 17), (50, 32), (50, 55), (14, 55), (14, 32)]
    pic.fill(nostroke() + "polygon " + pts(body), solid(TINT))
    pic.fill(stroke(LINE) + "polygon " + pts(body), solid(INK))
    # key
    pic.fill(nostroke() + circle(24, 43, 6), solid(TEAL))
    pic.cut(nostroke() + circle(24, 43, 2.2))
    pic.fill(stroke(4, cap="butt") + "line 29,43 43,43", solid(TEAL))
    pic.fill(stroke(3, cap="butt") + "line 41.5,43 41.5,48.5", solid(TEAL))
    pic.fill(stroke(3, cap="butt") + "line 36.5,43 36.5,47.5", solid(TEAL))


def icon_sales(pic):
    def place(points):
        return [(x - 2, y - 2) for x, y in rotate_points(points, 45, 32, 32)]

    shape = rounded_polygon(place([(3, 32), (15, 19), (53, 19), (53, 45),
                                   (15, 45)]), 3)
    pic.fill(nostroke() + shape, solid(TINT))
    pic.fill(stroke(LINE) + shape, solid(INK))
    (hx, hy), (bx, by) = place([(17, 32), (53, 32)])
    pic.fill(stroke(3) + circle(hx, hy, 3), solid(INK))
    # "sold" badge over the end of the tag
    pic.cut(nostroke() + circle(bx, by, 16))
    pic.fill(nostroke() + circle(bx, by, 12.5), solid(TEAL))
    pic.fill(stroke(3.5) + f"polyline {bx - 5.5},{by + 0.5} {bx - 1.5},{by + 4.5} "
             f"{bx + 5.5},{by - 3.5}", solid("white"))


def icon_finance(pic):
    note = rrect(6, 12, 50, 40, 4)
    pic.fill(nostroke() + note, solid(TINT))
    pic.fill(stroke(LINE) + note, solid(INK))
    pic.fill(stroke(3) + circle(28, 26, 5.5), solid(INK))
    pic.fill(nostroke() + circle(13.5, 19.5, 2) + circle(42.5, 32.5, 2), solid(INK))
    # coin
    cx, cy = 44, 45
    pic.cut(nostroke() + circle(cx, cy, 17))
    pic.fill(nostroke() + circle(cx, cy, 13.5), solid(TEAL))
    s_curve = (f"path 'M {cx + 4.2},{cy - 4.6} "
               f"C {cx + 3},{cy - 7.2} {cx - 5},{cy - 7.2} {cx - 5},{cy - 3.4} "
               f"C {cx - 5},{cy + 0.2} {cx + 5},{cy - 0.6} {cx + 5},{cy + 3.3} "
               f"C {cx + 5},{cy + 7.2} {cx - 3.4},{cy + 7.2} {cx - 4.6},{cy + 4.4}' ")
    pic.fill(stroke(2.8) + s_curve, solid("white"))
    pic.fill(stroke(2.4) + f"line {cx},{cy - 10} {cx},{cy - 7.5} "
             f"line {cx},{cy + 7.5} {cx},{cy + 10}", solid("white"))


def icon_analytics(pic):
    bars = [(13, 38, 23, 55), (27, 30, 37, 55), (41, 22, 51, 55)]
    for x0, y0, x1, y1 in bars:
        r = rrect(x0, y0, x1, y1, 2)
        pic.fill(nostroke() + r, solid(TINT))
        pic.fill(stroke(3.5) + r, solid(INK))
    pic.fill(stroke(LINE) + "line 6,58 58,58", solid(INK))
    trend = "polyline 8,31 21,18 31,24 49,7"
    pic.cut(stroke(11) + trend)
    pic.fill(stroke(LINE) + trend, solid(TEAL))
    pic.fill(nostroke() + "polygon 53,3 51,14 42,5", solid(TEAL))
    pic.fill(stroke(2) + "polygon 53,3 51,14 42,5", solid(TEAL))


def icon_reports(pic):
    page = [(12, 5), (40, 5), (52, 17), (52, 59), (12, 59)]
    shape = rounded_polygon(page, 2.5)
    pic.fill(nostroke() + shape, solid(TINT))
    pic.fill(stroke(LINE) + shape, solid(INK))
    pic.fill(stroke(LINE) + "polyline 39,6 39,18 51,18", solid(INK))
    pic.fill(stroke(3.5) + "line 20,18 31,18 line 20,27 44,27", solid(INK))
    # pie chart with one slice pulled out
    cx, cy, r = 28, 45, 8.5
    pic.fill(nostroke() + f"path 'M {cx},{cy} L {cx},{cy - r} "
             f"A {r},{r} 0 1,0 {cx + r},{cy} Z' ", solid(TEAL))
    ox, oy = cx + 2, cy - 2
    pic.fill(nostroke() + f"path 'M {ox},{oy} L {ox},{oy - r} "
             f"A {r},{r} 0 0,1 {ox + r},{oy} Z' ", solid(TEAL_DEEP))
    pic.fill(stroke(3.5) + "line 41,40 44,40 line 41,48 44,48", solid(INK))


FEATURES = [icon_property, icon_sales, icon_finance, icon_analytics,
            icon_reports]


def draw_features():
    for n, draw in enumerate(FEATURES, 1):
        pic = Picture(64, 64, ss=4)
        draw(pic)
        pic.save(os.path.join(HERE, f"feature{n}.png"))


# --------------------------------------------------------------------------
# Header band.  Only its top-left corner is seen at 96 DPI (about 684 x 57),
# more of it at higher DPI, so the decoration begins inside that corner and
# every shape runs on past any edge it may be cut at.

def roof_band(ax, ay, H, slope=0.87):
    """A roof line from apex (ax, ay) whose legs run past the bottom edge."""
    far = (H + 40 - ay) / slope
    return (f"{ax - far:.1f},{ay + far * slope:.1f} {ax},{ay} "
            f"{ax + far:.1f},{ay + far * slope:.1f}")


def draw_header():
    W, H = 1216, 218
    pic = Picture(W, H, ss=2)
    pic.fill(f"rectangle 0,0 {W},{H} ", linear(HEADER_LEFT, HEADER_RIGHT, 90))
    for cx, cy, r, a in [(1130, -40, 240, 0.05), (860, 150, 120, 0.04)]:
        pic.fill(nostroke() + circle(cx, cy, r), solid("white"), a)
    # translucent roofs overlapping like a row of houses
    for ax, ay, a in [(560, 12, 0.06), (668, 32, 0.05), (860, 6, 0.05),
                      (1040, 26, 0.05), (1190, 10, 0.05)]:
        pic.fill(nostroke() + "polygon " + roof_band(ax, ay, H), solid("white"), a)
    for ax, ay, a in [(560, 12, 0.34), (560, 28, 0.16), (860, 6, 0.18)]:
        pic.fill(stroke(3) + "polyline " + roof_band(ax, ay, H), solid("white"), a)
    pic.fill(nostroke() + sparkle(560, 44, 8), solid("white"), 0.85)
    pic.save(os.path.join(HERE, "header.png"))


# --------------------------------------------------------------------------
# Application icon: the mark in white on a rounded gradient tile.

ICON_SIZES = [256, 128, 64, 48, 40, 32, 24, 20, 16]


def draw_icon_image(size, path):
    ss = 4 if size >= 64 else 8
    pic = Picture(size, size, ss=ss, scale=size / 256.0)
    if size <= 24:
        tile, (x, y, box), st = rrect(0, 0, 256, 256, 48), (0, 0, 256), SMALL
    else:
        tile, (x, y, box), st = rrect(6, 6, 250, 250, 56), (34, 34, 188), FULL
    pic.fill(nostroke() + tile, linear(BLUE, TEAL, 135))
    spark = draw_mark(pic, x, y, box, on_tile=True, st=st)
    pic.fill(placed(x, y, box / 256.0, spark), linear(BLUE, TEAL, 135))
    pic.save(path)


def draw_icon(tmp):
    files = []
    for size in ICON_SIZES:
        path = os.path.join(tmp, f"icon{size}.png")
        draw_icon_image(size, path)
        files.append(path)
    # PNG compression for the 256 px image only; the others stay bitmaps
    run(files + [os.path.join(HERE, "app.ico")])


def main():
    with tempfile.TemporaryDirectory() as tmp:
        draw_logo(tmp)
        draw_features()
        draw_header()
        draw_icon(tmp)


if __name__ == "__main__":
    main()
