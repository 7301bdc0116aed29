#!/usr/bin/env python3
"""Makes the PNG and JPEG files of this folder with ImageMagick (convert) and Pillow, once, and
what each writer's own decoder reads back from them, the references the tests compare against:

    NAME.ppm          the colours, from the top row down
    NAME.alpha.pgm    the alpha channel, for the files Lamina maps to 32 bits

and manifest.txt: `name depth tolerance result`, the Lamina image each file becomes (its depth),
how many levels the colours may differ from the reference (JPEG decoders may round differently),
and the load result (0, or the code a file must be refused with). The picture is a 48 x 40 crop of
../jpeg/testorig.ppm with a diagonal alpha ramp. 16-bit samples are read at 16 bits and rounded to
8 (round(v * 255 / 65535)), gamma is not applied.
"""
import os
import struct
import subprocess

from PIL import Image

here = os.path.dirname(os.path.abspath(__file__))
W, H = 48, 40


def path(name):
    return os.path.join(here, name)


def im(*args):
    subprocess.run(["convert", *args], check=True)


def im_decode(name, alpha):
    raw = subprocess.run(["convert", path(name), "-set", "colorspace", "sRGB", "-endian", "MSB",
                          "-depth", "16", "rgba:-"], check=True, capture_output=True).stdout
    v = struct.unpack(">%dH" % (len(raw) // 2), raw)
    b = bytes((2 * x * 255 + 65535) // 131070 for x in v)
    rgb = bytes(c for i in range(0, len(b), 4) for c in b[i:i + 3])
    a = bytes(b[i + 3] for i in range(0, len(b), 4))
    return rgb, (a if alpha else None)


def pil_decode(name, alpha):
    img = Image.open(path(name))
    rgba = img.convert("RGBA")
    return rgba.convert("RGB").tobytes(), (rgba.getchannel("A").tobytes() if alpha else None)


def write_refs(name, rgb, a):
    base = path(name)
    with open(base + ".ppm", "wb") as f:
        f.write(b"P6 %d %d 255\n" % (W, H) + rgb)
    if a is not None:
        with open(base + ".alpha.pgm", "wb") as f:
            f.write(b"P5 %d %d 255\n" % (W, H) + a)


def main():
    src = Image.open(path("../jpeg/testorig.ppm")).crop((90, 50, 90 + W, 50 + H)).convert("RGB")
    src.save(path("source.ppm"))
    alpha = Image.new("L", (W, H))
    alpha.putdata([(x * 255 // (W - 1) + y * 3) % 256 for y in range(H) for x in range(W)])
    alpha.save(path("alpha.pgm"))
    rgba = src.copy()
    rgba.putalpha(alpha)

    rows = []  # (name, depth, tolerance, result, decoder)
    # ImageMagick
    im(path("source.ppm"), "PNG24:" + path("im_rgb.png"))
    rows.append(("im_rgb.png", 24, 0, 0, im_decode))
    im(path("source.ppm"), path("alpha.pgm"), "-alpha", "off", "-compose", "CopyOpacity",
       "-composite", "-interlace", "PNG", "PNG32:" + path("im_rgba_interlaced.png"))
    rows.append(("im_rgba_interlaced.png", 32, 0, 0, im_decode))
    im(path("source.ppm"), "+dither", "-colors", "16", "-define", "png:bit-depth=4",
       "PNG8:" + path("im_pal4.png"))
    rows.append(("im_pal4.png", 4, 0, 0, im_decode))
    im(path("source.ppm"), "-colorspace", "Gray", "-depth", "16", "-interlace", "PNG",
       "-define", "png:color-type=0", path("im_gray16_interlaced.png"))
    rows.append(("im_gray16_interlaced.png", 8, 0, 0, im_decode))
    im(path("source.ppm"), "-depth", "16", "PNG48:" + path("im_rgb16.png"))
    rows.append(("im_rgb16.png", 24, 0, 0, im_decode))
    im(path("source.ppm"), "-quality", "85", path("im_baseline.jpg"))
    rows.append(("im_baseline.jpg", 24, 3, 0, pil_decode))
    im(path("source.ppm"), "-quality", "80", "-interlace", "JPEG", path("im_progressive.jpg"))
    rows.append(("im_progressive.jpg", 24, 3, 0, pil_decode))
    im(path("source.ppm"), "-colorspace", "Gray", "-quality", "90", path("im_gray.jpg"))
    rows.append(("im_gray.jpg", 8, 3, 0, pil_decode))
    im(path("source.ppm"), "-colorspace", "CMYK", "-quality", "90", path("im_cmyk.jpg"))
    rows.append(("im_cmyk.jpg", 0, 0, 5, None))
    # Pillow
    src.quantize(200).save(path("pil_pal8.png"))
    rows.append(("pil_pal8.png", 8, 0, 0, pil_decode))
    src.quantize(4).save(path("pil_pal2.png"), bits=2)
    rows.append(("pil_pal2.png", 4, 0, 0, pil_decode))
    src.convert("1").save(path("pil_gray1.png"))
    rows.append(("pil_gray1.png", 8, 0, 0, pil_decode))
    Image.merge("LA", (src.convert("L"), alpha)).save(path("pil_gray_alpha.png"))
    rows.append(("pil_gray_alpha.png", 32, 0, 0, pil_decode))
    rgba.save(path("pil_rgba.png"))
    rows.append(("pil_rgba.png", 32, 0, 0, pil_decode))
    src.save(path("pil_q75.jpg"), quality=75)
    rows.append(("pil_q75.jpg", 24, 3, 0, pil_decode))
    src.save(path("pil_444_progressive.jpg"), quality=90, subsampling=0, progressive=True)
    rows.append(("pil_444_progressive.jpg", 24, 3, 0, pil_decode))
    src.convert("L").save(path("pil_gray.jpg"), quality=90)
    rows.append(("pil_gray.jpg", 8, 3, 0, pil_decode))

    with open(path("manifest.txt"), "w") as f:
        for name, depth, tolerance, result, decode in rows:
            f.write("%s %d %d %d\n" % (name, depth, tolerance, result))
            if decode is not None:
                rgb, a = decode(name, depth == 32)
                write_refs(name, rgb, a)


if __name__ == "__main__":
    main()
