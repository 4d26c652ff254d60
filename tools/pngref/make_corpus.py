#!/usr/bin/python3
"""Writes the PNG conformance corpus (tests/shared/Graphics/png/) with two independent
encoders, Pillow and ImageMagick, covering every colour type and bit depth of
non-interlaced PNG, every filter type and split IDAT data. Run once; the
output is committed together with the reference pixels from pngref."""
import os
import random
import struct
import subprocess
import sys
import zlib

from PIL import Image

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), '..', '..', 'tests', 'shared', 'Graphics', 'png')
os.makedirs(OUT, exist_ok=True)
rng = random.Random(1234)


def rgba_pattern(w, h):
    """Gradients, hard edges and noise, with every alpha from 0 to 255."""
    im = Image.new('RGBA', (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            r = (x * 255) // max(1, w - 1)
            g = (y * 255) // max(1, h - 1)
            b = rng.randrange(256) if (x // 4 + y // 3) % 3 == 0 else (x ^ y) & 255
            a = (x * 37 + y * 11) & 255
            if (x + y) % 7 == 0:
                a = 255
            if (x * y) % 11 == 5:
                a = 0
            px[x, y] = (r, g, b, a)
    return im


def save_pillow(im, name, **kw):
    im.save(os.path.join(OUT, name), **kw)


def magick(src, name, *args):
    subprocess.run(['convert', src, *args, '-define', 'png:exclude-chunk=date,time',
                    os.path.join(OUT, name)], check=True)


base = rgba_pattern(37, 19)
wide = rgba_pattern(61, 23)

# Pillow
save_pillow(base.convert('1'), 'pil-grey1.png')
save_pillow(base.convert('L'), 'pil-grey8.png')
save_pillow(base.convert('L').point(lambda v: v * 257, 'I').convert('I;16'), 'pil-grey16.png')
save_pillow(base.convert('RGB'), 'pil-rgb8.png')
save_pillow(base, 'pil-rgba8.png')
save_pillow(base.convert('LA'), 'pil-ga8.png')
for bits, colours in ((1, 2), (2, 4), (4, 16), (8, 200)):
    p = base.convert('RGB').quantize(colours)
    save_pillow(p, 'pil-pal%d.png' % bits, bits=bits)
save_pillow(wide, 'pil-rgba8-wide.png', optimize=True)

# ImageMagick, from a 16-bit-deep source so 16-bit outputs carry low bytes
src = os.path.join(OUT, '_src.png')
wide.save(src)
src16 = os.path.join(OUT, '_src16.miff')
subprocess.run(['convert', src, '-depth', '16', '-evaluate', 'add', '37', src16], check=True)
for depth in (1, 2, 4, 8, 16):
    magick(src16, 'im-grey%d.png' % depth, '-colorspace', 'Gray', '-alpha', 'off', '-depth', str(depth),
           '-define', 'png:bit-depth=%d' % depth, '-define', 'png:color-type=0')
for depth in (8, 16):
    magick(src16, 'im-rgb%d.png' % depth, '-alpha', 'off', '-depth', str(depth),
           '-define', 'png:bit-depth=%d' % depth, '-define', 'png:color-type=2')
    magick(src16, 'im-ga%d.png' % depth, '-colorspace', 'Gray', '-depth', str(depth),
           '-define', 'png:bit-depth=%d' % depth, '-define', 'png:color-type=4')
    magick(src16, 'im-rgba%d.png' % depth, '-depth', str(depth),
           '-define', 'png:bit-depth=%d' % depth, '-define', 'png:color-type=6')
# 1- and 2-bit palettes come from Pillow; ImageMagick will not write them.
for depth, colours in ((4, 13), (8, 180)):
    magick(src, 'im-pal%d.png' % depth, '-alpha', 'off', '-colors', str(colours),
           '-define', 'png:bit-depth=%d' % depth, '-define', 'png:color-type=3')
for f in range(5):
    magick(src, 'im-rgba8-filter%d.png' % f, '-define', 'png:compression-filter=%d' % f,
           '-define', 'png:color-type=6')
    magick(src16, 'im-rgb16-filter%d.png' % f, '-alpha', 'off', '-depth', '16',
           '-define', 'png:compression-filter=%d' % f, '-define', 'png:color-type=2')
    magick(src16, 'im-grey2-filter%d.png' % f, '-colorspace', 'Gray', '-alpha', 'off', '-depth', '2',
           '-define', 'png:bit-depth=2', '-define', 'png:color-type=0',
           '-define', 'png:compression-filter=%d' % f)
os.remove(src)
os.remove(src16)


def split_idat(name, out_name, parts):
    """Rewrites a file with its image data spread over several IDAT chunks."""
    data = open(os.path.join(OUT, name), 'rb').read()
    pos, chunks, idat = 8, [], b''
    while pos < len(data):
        n, = struct.unpack('>I', data[pos:pos + 4])
        t = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + n]
        if t == b'IDAT':
            if not idat:
                chunks.append(('IDAT', None))
            idat += body
        else:
            chunks.append((t.decode('latin-1'), body))
        pos += 12 + n
    out = bytearray(data[:8])

    def put(t, body):
        out.extend(struct.pack('>I', len(body)) + t.encode('latin-1') + body)
        out.extend(struct.pack('>I', zlib.crc32(t.encode('latin-1') + body) & 0xffffffff))
    for t, body in chunks:
        if body is None:
            step = max(1, len(idat) // parts)
            for i in range(0, len(idat), step):
                put('IDAT', idat[i:i + step])
            put('IDAT', b'')
        else:
            put(t, body)
    open(os.path.join(OUT, out_name), 'wb').write(bytes(out))


split_idat('pil-rgba8-wide.png', 'split-rgba8.png', 5)
split_idat('im-pal4.png', 'split-pal4.png', 3)
