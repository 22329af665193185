#!/usr/bin/env python3
"""Draw the Tintaro LE application icon: the Windows .ico of the resource
script and the PNGs that the desktop's icon theme gets.

The icon is an eyedropper lying diagonally (tip bottom-left, rubber bulb
top-right) with a coloured drop under the tip.  It is built from simple
distance-field shapes in a unit square, supersampled for smooth alpha, with a
separately tuned parameter set for 16x16 so the small size stays crisp; the
larger sizes scale the 32x32 design.

The .ico holds two 32-bit BGRA images (16x16 and 32x32) with straight alpha
and a 1-bpp AND mask; each PNG is one 8-bit RGBA image (16, 32, 48 and 256
pixels).  The output is deterministic.

Regenerate:  python3 res/make_icon.py [--ico FILE] [--png-dir DIR]
(defaults: tintaro.ico next to this script, and dist/icons/ beside res/,
which gets tintaro-16.png, tintaro-32.png, tintaro-48.png, tintaro-256.png)
"""
import argparse
import math
import os
import struct
import zlib

OUTLINE = (24, 27, 33, 255)
GLASS = (214, 234, 246, 255)
SHINE = (255, 255, 255, 255)
LIQUID = (226, 32, 48, 255)
COLLAR = (160, 170, 182, 255)
BULB = (64, 70, 82, 255)
BULB_SHINE = (122, 130, 144, 255)

# Geometry per size, in unit coordinates (0..1, y down).  Lengths along the
# pipette axis are measured from the tip.
PARAMS = {
    32: dict(tip=(0.185, 0.65), end=(0.90, 0.05), ow=1.0 / 32,
             tip_r=(0.03, 0.06), tip_len=0.16, tube_r=0.08, tube_len=0.55,
             collar=(0.58, 0.10, 0.045), bulb=(0.63, 0.085, 0.77, 0.12),
             liquid=0.23, drop=(0.165, 0.865, 0.072, 0.09), drop_ow=1 / 32,
             bulb_shine=(0.71, 0.05, 0.81, 0.06, 0.02), shine=True, crisp=False),
    # 16x16 is laid out in pixel units on an exact 45-degree axis placed
    # between pixel centres, so tube and outline form even staircases.
    16: {k: (tuple(x / 16 for x in v) if isinstance(v, tuple) else
             v / 16 if isinstance(v, float) else v) for k, v in dict(
        tip=(3.0, 11.5), end=(14.0, 0.5), ow=0.75,
        tip_r=(0.2, 0.72), tip_len=2.0, tube_r=0.72, tube_len=9.0,
        collar=(9.9, 1.4, 0.6), bulb=(10.9, 1.6, 11.9, 2.3),
        liquid=4.24, drop=(2.5, 15.0, 1.45, 2.0), drop_ow=0.0,
        bulb_shine=(11.4, 1.0, 12.4, 1.0, 0.45), shine=False, crisp=True).items()},
}
PARAMS[48] = PARAMS[256] = PARAMS[32]

ICO_SIZES = (16, 32)
PNG_SIZES = (16, 32, 48, 256)
# Four samples a side still give 17 levels of edge alpha, plenty where one
# pixel is a 256th of the icon, at a quarter of the time.
SAMPLES = {256: 4}


def cone(ax, ay, bx, by, ra, rb, steps=24):
    """Signed distance to a capsule whose radius goes linearly from ra to rb,
    as a function of the point; the discs it is made of are laid out once."""
    discs = []
    for i in range(steps + 1):
        t = i / steps
        discs.append((ax + (bx - ax) * t, ay + (by - ay) * t, ra + (rb - ra) * t))
    return lambda px, py: min(math.hypot(px - cx, py - cy) - r for cx, cy, r in discs)


def capsule(px, py, ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - dx * t, py - ay - dy * t) - r


def build_layers(p):
    """Return (distance function, colour) pairs painted back to front."""
    tx, ty = p['tip']
    ux, uy = p['end'][0] - tx, p['end'][1] - ty
    n = math.hypot(ux, uy)
    ux, uy = ux / n, uy / n
    nx, ny = uy, -ux                       # normal pointing up-left
    at = lambda s, q=0.0: (tx + ux * s + nx * q, ty + uy * s + ny * q)
    ow = p['ow']
    r0, r1 = p['tip_r']
    a, b, c = at(0), at(p['tip_len']), at(p['tube_len'])
    tip = cone(*a, *b, r0, r1)
    tube = lambda x, y: min(tip(x, y),
                            capsule(x, y, *b, *c, p['tube_r']))
    along = lambda x, y: (x - tx) * ux + (y - ty) * uy
    cs, cq, cr = p['collar']
    c0, c1 = at(cs, -cq), at(cs, cq)
    collar = lambda x, y: capsule(x, y, *c0, *c1, cr)
    bs0, br0, bs1, br1 = p['bulb']
    b0, b1 = at(bs0), at(bs1)
    bulb = cone(*b0, *b1, br0, br1)
    dx, dy, dr, dh = p['drop']
    drop = cone(dx, dy, dx, dy - dh, dr, 0.012)
    layers = [
        (lambda x, y: tube(x, y) - ow, OUTLINE),
        (tube, GLASS),
        (lambda x, y: max(tube(x, y), along(x, y) - p['liquid']), LIQUID),
    ]
    if p['shine']:
        s0, s1 = at(p['tip_len'] + 0.03, p['tube_r'] * 0.45), at(p['tube_len'] - 0.03, p['tube_r'] * 0.45)
        layers.append((lambda x, y: capsule(x, y, *s0, *s1, 0.012), SHINE))
    hs0, hq0, hs1, hq1, hr = p['bulb_shine']
    h0, h1 = at(hs0, hq0), at(hs1, hq1)
    # The collar goes on after the bulb so it reads as a ring around its neck.
    layers += [
        (lambda x, y: bulb(x, y) - ow, OUTLINE),
        (bulb, BULB),
        (lambda x, y: capsule(x, y, *h0, *h1, hr), BULB_SHINE),
        (lambda x, y: collar(x, y) - ow, OUTLINE),
        (collar, COLLAR),
        (lambda x, y: drop(x, y) - p['drop_ow'], OUTLINE),
        (drop, LIQUID),
    ]
    if p['shine']:
        layers.append((lambda x, y: math.hypot(x - dx + 0.025, y - dy + 0.02) - 0.018, SHINE))
    return layers


def composite(layers, x, y):
    """Paint the layers at one point; return premultiplied (r, g, b, a)."""
    r = g = bl = al = 0.0
    for dist, (cr, cg, cb, ca) in layers:
        if dist(x, y) < 0:
            k = ca / 255.0
            r, g, bl = cr * k + r * (1 - k), cg * k + g * (1 - k), cb * k + bl * (1 - k)
            al = k + al * (1 - k)
    return r, g, bl, al


def render(size, ss=8):
    """Supersample the layers; return rows of straight-alpha (r, g, b, a).

    With the size's 'crisp' setting each pixel instead takes the colour most
    of its samples agree on and is either opaque (at least 40% covered, so
    thin outlines survive) or transparent; tiny sizes stay sharp instead of
    turning into a blur of mixed colours.

    Every distance function changes by at most the distance moved, so a pixel
    whose centre lies farther than half its diagonal from every edge has the
    same layers under all its samples: its colour is worked out once.
    """
    p = PARAMS[size]
    layers = build_layers(p)
    reach = 0.7072 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            cx, cy = (px + 0.5) / size, (py + 0.5) / size
            uniform = all(abs(dist(cx, cy)) > reach for dist, _ in layers)
            same = composite(layers, cx, cy) if uniform else None
            acc, votes = [0.0, 0.0, 0.0, 0.0], {}
            for sy in range(ss):
                for sx in range(ss):
                    if same is None:
                        x, y = (px + (sx + 0.5) / ss) / size, (py + (sy + 0.5) / ss) / size
                        r, g, bl, al = composite(layers, x, y)
                    else:
                        r, g, bl, al = same
                    acc[0] += r; acc[1] += g; acc[2] += bl; acc[3] += al
                    if al > 0:
                        key = (round(r / al), round(g / al), round(bl / al))
                        votes[key] = votes.get(key, 0) + 1
            alpha = acc[3] / (ss * ss)
            if alpha < (0.4 if p['crisp'] else 0.5 / 255):
                row.append((0, 0, 0, 0))
            elif p['crisp']:
                row.append(max(votes.items(), key=lambda kv: (kv[1], kv[0]))[0] + (255,))
            else:
                row.append(tuple(min(255, int(round(v / acc[3]))) for v in acc[:3])
                           + (int(round(alpha * 255)),))
        rows.append(row)
    return rows


def dib(size, rows):
    """BITMAPINFOHEADER + bottom-up BGRA pixels + 1-bpp AND mask."""
    mask_stride = ((size + 31) // 32) * 4
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    head = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return head + xor + bytes(mask)


def png(rows):
    """An 8-bit RGBA PNG, rows unfiltered, at a fixed compression level."""
    size = len(rows)
    raw = b''.join(b'\0' + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


def ico(images):
    data = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, rows in images:
        img = dib(size, rows)
        data += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for size, rows in images:
        data += dib(size, rows)
    return bytes(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description='Draw the application icon.')
    parser.add_argument('--ico', default=os.path.join(here, 'tintaro.ico'))
    parser.add_argument('--png-dir', default=os.path.join(here, os.pardir, 'dist', 'icons'))
    args = parser.parse_args()
    rows = {size: render(size, SAMPLES.get(size, 8)) for size in sorted(set(ICO_SIZES + PNG_SIZES))}
    with open(args.ico, 'wb') as f:
        f.write(ico([(size, rows[size]) for size in ICO_SIZES]))
    os.makedirs(args.png_dir, exist_ok=True)
    for size in PNG_SIZES:
        with open(os.path.join(args.png_dir, 'tintaro-%d.png' % size), 'wb') as f:
            f.write(png(rows[size]))


if __name__ == '__main__':
    main()
