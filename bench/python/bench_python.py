#!/usr/bin/python3
"""Benchmarks of the Python module, run by hand from the repository:

    PYTHONPATH=build/python /usr/bin/python3 bench/python/bench_python.py [--files 200]

1. The binding's cost per call on an 8 x 8 image (timeit, best of 5 runs).
2. lamina.dask.process over FILES 1-megapixel PNG files on a local cluster of 1 and then 2
   worker processes (one thread each), with the chain flip 1, color_to_gray 0, and the same with
   no operation at all (read and write only), to show how much of the time the PNG files take;
   and one process doing the chain file by file with the time split into reading, operations and
   writing.
"""
import argparse
import os
import shutil
import tempfile
import time
import timeit

import numpy as np

import lamina
import lamina.dask

CHAIN = [("flip", 1), ("color_to_gray", 0)]


def per_call():
    img = lamina.Image.from_numpy(np.zeros((8, 8), np.uint8))
    rgb = lamina.Image(8, 8, 24)
    cases = [("img.flip(1)", img), ("img.get_pixel(3, 4)", img), ("img.width", img),
             ("img.negative()", img), ("img.set_rgb_pixel(1, 1, (1, 2, 3))", rgb),
             ("img.get_histogram(0)", img)]
    print("Per call on an 8 x 8 image (best of 5 x 100000 calls):")
    for stmt, image in cases:
        n = 100000
        best = min(timeit.repeat(stmt, globals={"img": image}, number=n, repeat=5)) / n
        print("  %-40s %6.2f us" % (stmt, best * 1e6))


def make_files(folder, count, side):
    from PIL import Image as PILImage
    rng = np.random.default_rng(7)
    y, x = np.mgrid[0:side, 0:side]
    base = np.stack([x * 255 // side, y * 255 // side, (x ^ y) & 255], -1).astype(np.uint8)
    for i in range(count):
        noise = rng.integers(0, 12, base.shape, dtype=np.uint8)
        img = np.roll(base, i * 13, axis=1) // 2 + noise
        PILImage.fromarray(img, "RGB").save(os.path.join(folder, "f%04d.png" % i), compress_level=6)


def on_cluster(pattern, outdir, steps, workers):
    import distributed
    with distributed.LocalCluster(n_workers=workers, processes=True, threads_per_worker=1,
                                  dashboard_address=None, silence_logs=40) as cluster, \
            distributed.Client(cluster) as client:
        client.run(lambda: __import__("lamina"))  # the workers import the module before timing
        start = time.perf_counter()
        summary = lamina.dask.process(pattern, steps, outdir, client=client)
        elapsed = time.perf_counter() - start
    assert not summary.failed, summary.failed[:3]
    return elapsed


def split_in_one_process(paths, outdir):
    load = ops = save = 0.0
    for p in paths:
        t0 = time.perf_counter()
        img = lamina.load(p)
        t1 = time.perf_counter()
        for name, *args in CHAIN:
            getattr(img, name)(*args)
        t2 = time.perf_counter()
        img.save(os.path.join(outdir, os.path.basename(p)))
        t3 = time.perf_counter()
        load, ops, save = load + t1 - t0, ops + t2 - t1, save + t3 - t2
    total = load + ops + save
    n = len(paths)
    print("One process, file by file: %.1f ms a file: reading %.1f ms (%.0f%%), operations %.1f ms "
          "(%.0f%%), writing %.1f ms (%.0f%%)" % (
              total / n * 1e3, load / n * 1e3, 100 * load / total, ops / n * 1e3,
              100 * ops / total, save / n * 1e3, 100 * save / total))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--files", type=int, default=200)
    parser.add_argument("--side", type=int, default=1024, help="the pictures' side in pixels")
    parser.add_argument("--skip-dask", action="store_true")
    a = parser.parse_args()
    per_call()
    if a.skip_dask:
        return
    work = tempfile.mkdtemp(prefix="lamina-bench-")
    try:
        src = os.path.join(work, "in")
        os.makedirs(src)
        t = time.perf_counter()
        make_files(src, a.files, a.side)
        print("\n%d PNG files of %d x %d written in %.1f s (%d cores here)" % (
            a.files, a.side, a.side, time.perf_counter() - t, os.cpu_count()))
        pattern = os.path.join(src, "*.png")
        split_in_one_process(sorted(os.listdir(src))[:20] and
                             [os.path.join(src, f) for f in sorted(os.listdir(src))[:20]],
                             tempfile.mkdtemp(dir=work))
        results = {}
        for steps, label in [(CHAIN, "flip 1, color_to_gray 0"), ([], "read and write only")]:
            for workers in (1, 2):
                out = tempfile.mkdtemp(dir=work)
                s = on_cluster(pattern, out, steps, workers)
                results[(label, workers)] = s
                print("dask, %d worker%s, %-26s %6.1f s  %5.1f files/s" % (
                    workers, " " if workers == 1 else "s", label + ":", s, a.files / s))
        for label in ["flip 1, color_to_gray 0", "read and write only"]:
            print("scaling 1 -> 2 workers (%s): x%.2f" % (
                label, results[(label, 1)] / results[(label, 2)]))
        share = results[("read and write only", 1)] / results[("flip 1, color_to_gray 0", 1)]
        print("one worker reading and writing only takes %.0f%% of the chain's time (runs on a "
              "machine shared with other work vary by some tens of percent)" % (100 * share))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
