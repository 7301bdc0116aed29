#!/usr/bin/python3
"""A tour of the Python module, runnable as it stands:

    scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
    PYTHONPATH=build/python /usr/bin/python3 examples/python_tour.py [OUTDIR]

It draws its own picture with numpy, runs a few operations, measures, catches an error, and
processes a small collection of files with Dask. Everything is written to OUTDIR (a temporary
folder when not given).
"""
import os
import sys
import tempfile

import numpy as np

import lamina
import lamina.dask

out = sys.argv[1] if len(sys.argv) > 1 else tempfile.mkdtemp(prefix="lamina-tour-")
os.makedirs(out, exist_ok=True)

# A picture from numpy: rows from the top, RGB. 24 bits.
y, x = np.mgrid[0:192, 0:256]
rgb = np.stack([x, y * 4 // 3, 255 - x], axis=-1).astype(np.uint8)
rgb[60:130, 80:180] = (250, 200, 40)
img = lamina.Image.from_numpy(rgb)
img.save(os.path.join(out, "tour.png"))
print("made", img)

# Load it back, chain operations (each changes the image in place), save.
img = lamina.load(os.path.join(out, "tour.png"))
img.rotation(0, 20, (0, 0, 64))          # size mode, angle, background colour (r, g, b)
img.color_to_gray(0)
img.equalize_histogram(0, 0)
img.save(os.path.join(out, "tour-gray.png"))
print("turned, gray and equalized:", img.width, "x", img.height)

# Measuring operations return what they measure.
hist = img.get_histogram(0)              # four arrays of 256 counts: i, r, g, b
print("most frequent level:", int(np.argmax(hist.i)))
print("threshold:", img.find_threshold(0))
print("mean:", img.average_img())

# Kernels are arrays; the result comes back to numpy.
sharpen = np.array([[0, -1, 0], [-1, 5, -1], [0, -1, 0]])
img.convolution(sharpen, 1, 1, 0)        # kernel, divisor, mapping (clip), border
print("pixels:", img.to_numpy().shape, img.to_numpy().dtype)

# A failure raises LaminaError and leaves the image as it was.
try:
    img.flip(7)
except lamina.LaminaError as e:
    print("refused:", e, "| code", e.code, "| member", e.operation)

# Every operation's documentation is its docstring.
print(lamina.Image.flip.__doc__.splitlines()[0])

# A collection on Dask: the same chain over every file, one file per task.
src = os.path.join(out, "collection")
os.makedirs(src, exist_ok=True)
for i in range(8):
    lamina.Image.from_numpy(np.roll(rgb, i * 20, axis=1)).save(os.path.join(src, "p%d.png" % i))
summary = lamina.dask.process(os.path.join(src, "*.png"), [("flip", 1), ("color_to_gray", 0)],
                              os.path.join(out, "processed"))
print("dask:", summary)
print("written to", out)
