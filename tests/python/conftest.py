"""Shared pieces of the Python module's tests: the built `lamina` tool to compare with, and test
pictures written by Pillow (an independent writer) at every depth."""
import json
import os
import pathlib
import subprocess

import numpy as np
import pytest
from PIL import Image as PILImage

import lamina

ROOT = pathlib.Path(__file__).resolve().parents[2]


def tool_path():
    path = os.environ.get("LAMINA_TOOL") or str(ROOT / "build" / "lamina")
    assert os.path.exists(path), "the lamina tool is not built: " + path
    return path


@pytest.fixture(scope="session")
def data_dir():
    return pathlib.Path(os.environ.get("LAMINA_TEST_DATA") or ROOT / "tests" / "data")


@pytest.fixture(scope="session")
def tool():
    """Runs the tool; returns (exit status, stdout)."""
    path = tool_path()

    def run(*words):
        p = subprocess.run([path, *map(str, words)], capture_output=True, text=True)
        return p.returncode, p.stdout, p.stderr

    return run


@pytest.fixture(scope="session")
def tool_json(tool):
    """`lamina run --json IN OUT words...` as its parsed report."""

    def run(inp, out, *words):
        status, out_text, err = tool("run", "--json", inp, out, *words)
        assert out_text, err
        return json.loads(out_text)

    return run


def colourful(height, width, seed=1):
    """A picture with gradients, flat areas and noise: what the operations see in photos."""
    rng = np.random.default_rng(seed)
    y, x = np.mgrid[0:height, 0:width]
    rgb = np.stack([(x * 255 // max(1, width - 1)), (y * 255 // max(1, height - 1)),
                    ((x + y) * 7) % 256], axis=-1).astype(np.uint8)
    rgb[height // 3: height // 2, width // 4: width // 2] = (200, 40, 90)
    noise = rng.integers(0, 2, size=rgb.shape, dtype=np.uint8) * 9
    return rgb + np.minimum(noise, 255 - rgb)


@pytest.fixture(scope="session")
def pictures(tmp_path_factory):
    """BMP files written by Pillow: 'rgb' 24 bits 37 x 23, 'gray' 8 bits 37 x 23 with a gray
    palette, 'bw' 1 bit, 'png' the 24-bit picture as PNG; returns {name: path}."""
    d = tmp_path_factory.mktemp("pictures")
    rgb = colourful(23, 37)
    files = {}
    files["rgb"] = d / "rgb.bmp"
    PILImage.fromarray(rgb, "RGB").save(files["rgb"])
    gray = PILImage.fromarray(rgb, "RGB").convert("L")
    files["gray"] = d / "gray.bmp"
    gray.save(files["gray"])
    files["bw"] = d / "bw.bmp"
    gray.convert("1").save(files["bw"])
    files["png"] = d / "rgb.png"
    PILImage.fromarray(rgb, "RGB").save(files["png"])
    return {k: str(v) for k, v in files.items()}


def state(img):
    """Everything an image is: its block as a BMP file, and its name."""
    return img.to_bmp(), img.name


def pytest_configure(config):
    # Debian's tornado under distributed warns about its own event-loop calls.
    config.addinivalue_line("filterwarnings", "ignore::DeprecationWarning:tornado.*")
