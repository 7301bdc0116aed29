"""lamina.dask.process against `lamina batch`: the same chain over the same files gives the same
bytes, on a local cluster of two worker processes and on the local threaded scheduler."""
import glob
import json
import os

import numpy as np
import pytest
from PIL import Image as PILImage

import lamina
import lamina.dask
from conftest import colourful

STEPS = [("flip", 1), ("color_to_gray", 0), ("rotation", 0, 15.5, (0, 0, 64)),
         ("gray_scale_lineal_transform", 20, 220, 0, 255, "all")]
WORDS = ["Flip", "1", "ColorToGray", "0", "Rotation", "0", "15.5", "#000040",
         "GrayScaleLinealTransform", "20", "220", "0", "255", "all"]


@pytest.fixture(scope="module")
def collection(tmp_path_factory):
    """40 PNG files of different sizes written by Pillow, and one that is not a PNG."""
    d = tmp_path_factory.mktemp("collection")
    for i in range(40):
        rgb = colourful(20 + i % 7, 31 + i % 5, seed=i)
        PILImage.fromarray(rgb, "RGB").save(d / ("p%02d.png" % i))
    (d / "p99.png").write_bytes(b"\x89PNG\r\n\x1a\n this is not the rest of a PNG file")
    return d


def batch(tool, pattern, outdir, *words):
    status, out, err = tool("batch", "--json", pattern, outdir, *words)
    report = json.loads(out)
    return {r["input"]: r for r in report["results"]}


def compare_with_batch(summary, expected, outdir_tool):
    assert len(summary.done) == len([r for r in expected.values() if r["ok"]])
    for inp, out in summary.done:
        want = expected[inp]
        assert want["ok"]
        with open(out, "rb") as got, open(want["output"], "rb") as ref:
            assert got.read() == ref.read(), inp
    for inp, reason in summary.failed:
        assert not expected[inp]["ok"]
        assert reason == expected[inp]["error"]


def test_on_a_local_cluster_of_two_processes(tool, collection, tmp_path):
    distributed = pytest.importorskip("distributed")  # installed by scripts/setup.sh
    pattern = str(collection / "*.png")
    expected = batch(tool, pattern, tmp_path / "tool", *WORDS)
    with distributed.LocalCluster(n_workers=2, processes=True, threads_per_worker=1,
                                  dashboard_address=None, silence_logs=40) as cluster, \
            distributed.Client(cluster) as client:
        summary = lamina.dask.process(pattern, STEPS, tmp_path / "dask", client=client)
        # The tasks really ran in the workers' processes, not here.
        pids = set(client.run(os.getpid).values())
        assert len(pids) == 2 and os.getpid() not in pids
    assert len(summary.done) == 40
    assert [p for p, _ in summary.failed] == [str(collection / "p99.png")]
    assert "cannot read" in summary.failed[0][1]
    compare_with_batch(summary, expected, tmp_path / "tool")
    assert sorted(os.listdir(tmp_path / "dask")) == sorted(
        os.path.basename(p) for p, r in expected.items() if r["ok"])


def test_on_the_threaded_scheduler_with_measures_and_files(tool, collection, tmp_path):
    paths = sorted(glob.glob(str(collection / "p0*.png")))  # 10 files
    second = lamina.load(paths[0])  # an image argument travels to every task
    steps = [("arithmetic", 0, second), ("average_img",), ("split", 0, str(tmp_path / "d" / "{name}-{}.bmp")),
             ("save_bmp", str(tmp_path / "d" / "{name}-copy.bmp"))]
    words = ["Arithmetic", "0", paths[0], "AverageImg", "Split", "0",
             str(tmp_path / "t" / "{name}-{}.bmp"), "SaveBMP", str(tmp_path / "t" / "{name}-copy.bmp")]
    os.makedirs(tmp_path / "t")
    expected = batch(tool, str(collection / "p0*.png"), tmp_path / "tool", "--ext", ".bmp", *words)
    summary = lamina.dask.process(paths, steps, tmp_path / "d", ext="bmp", workers=2)
    assert not summary.failed and len(summary.done) == 10
    compare_with_batch(summary, expected, tmp_path / "tool")
    for p in paths:
        stem = os.path.basename(p)[:-4]
        for suffix in ["-1.bmp", "-2.bmp", "-3.bmp", "-copy.bmp"]:
            assert (tmp_path / "d" / (stem + suffix)).read_bytes() == \
                (tmp_path / "t" / (stem + suffix)).read_bytes()
        (step, mean), = [m for m in summary.measures[p] if m[0].startswith("AverageImg")]
        tool_mean = expected[p]["measures"][0]["results"]
        assert mean.mean_value == tool_mean["mean value"]
        assert "#%02x%02x%02x" % mean.mean_colour == tool_mean["mean colour"]


def test_a_file_whose_own_argument_cannot_be_read(collection, tmp_path):
    # The second image is named after each input; only p00 has one.
    lamina.load(collection / "p00.png").save(tmp_path / "p00-mask.bmp")
    steps = [("logic", 0, str(tmp_path / "{name}-mask.bmp"))]
    summary = lamina.dask.process([collection / "p00.png", collection / "p01.png"], steps,
                                  tmp_path / "out")
    assert [p for p, _ in summary.done] == [str(collection / "p00.png")]
    assert "p01-mask.bmp" in summary.failed[0][1] and "cannot be read" in summary.failed[0][1]


@pytest.mark.parametrize("steps,error", [
    ([("flipp", 1)], ValueError),
    ([("flip", 1, 2)], TypeError),
    ([("save_bmp", "/tmp/same-for-all.bmp")], ValueError),
])
def test_chains_are_checked_before_any_work(collection, tmp_path, steps, error):
    with pytest.raises(error):
        lamina.dask.process(str(collection / "*.png"), steps, tmp_path / "out")
    assert not (tmp_path / "out").exists()


def test_a_pattern_that_matches_nothing(tmp_path):
    with pytest.raises(FileNotFoundError):
        lamina.dask.process(str(tmp_path / "*.png"), [("flip", 0)], tmp_path / "out")
