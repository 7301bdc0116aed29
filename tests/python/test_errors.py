"""Failures: a result code raises LaminaError with the tool's code and words and leaves the image
as it was, to the byte; arguments that cannot be given to the member are refused before it runs."""
import copy
import pickle

import numpy as np
import pytest

import lamina
from conftest import state

# (picture, Python call, the tool's words for the same call)
FAILING = [
    ("rgb", ("flip", 7), "Flip 7"),
    ("rgb", ("rotation", 0, 400, 0), "Rotation 0 400 0"),
    ("rgb", ("rotation", 0, float("nan"), 0), "Rotation 0 nan 0"),
    ("rgb", ("crop", 30, 3, 2, 1), "Crop 30 3 2 1"),
    ("rgb", ("change_color_depth", 9), "ChangeColorDepth 9"),
    ("rgb", ("fft", 0), "FFT 0"),
    ("gray", ("set_alfa_all", 3), "SetAlfaAll 3"),
    ("rgb", ("get_palette",), "GetPalette"),
    ("rgb", ("get_pixel", 37, 0), "GetPixel 37 0"),
    ("rgb", ("convolution", np.ones((3, 3), int), 0, 1, 0), "Convolution 3x3:1,1,1,1,1,1,1,1,1 0 1 0"),
    ("rgb", ("de_interlace", 5, 0), "DeInterlace 5 0"),
    ("rgb", ("mosaic", 0, 3), "Mosaic 0 3"),
    ("rgb", ("insert", lamina.Image(3, 3, 8), 0, 0), None),
    ("rgb", ("set_bitmap", "/nonexistent/rows.bin"), "SetBitmap /nonexistent/rows.bin"),
]


@pytest.mark.parametrize("picture,call,words", FAILING, ids=[c[1][0] + str(i) for i, c in
                                                               enumerate(FAILING)])
def test_failures_raise_and_leave_the_image(tool_json, pictures, picture, call, words):
    img = lamina.load(pictures[picture])
    before = state(img)
    with pytest.raises(lamina.LaminaError) as e:
        getattr(img, call[0])(*call[1:])
    assert state(img) == before
    err = e.value
    assert isinstance(err, Exception) and err.code != 0
    assert err.operation.startswith("fnIMG_")
    if words is not None:
        report = tool_json(pictures[picture], "-", *words.split())
        step = report["steps"][-1]
        assert not report["ok"] and not step["ok"]
        assert err.code == step["code"]
        assert str(err) == step["error"]


def test_the_error_travels_between_processes():
    err = lamina.LaminaError("Flip gave 1", 1, "fnIMG_Flip")
    back = pickle.loads(pickle.dumps(err))
    assert (str(back), back.code, back.operation) == ("Flip gave 1", 1, "fnIMG_Flip")


# Arguments the member cannot take: (call, exception, words in the message)
REFUSED = [
    (("flip",), TypeError, "takes 1 argument (mode), not 0"),
    (("flip", 1, 2), TypeError, "not 2"),
    (("rotation", 0, 30), TypeError, "3 arguments (size_mode, angle, background) or 5"),
    (("flip", 1.5), TypeError, "mode must be a whole number"),
    (("flip", 2 ** 40), ValueError, "mode must be from"),
    (("thresholding", 256, 0, 255), ValueError, "threshold must be from 0 to 255"),
    (("thresholding", -1, 0, 255), ValueError, "threshold"),
    (("gamma", "x1.5"), ValueError, "gamma 'x1.5' is not a number"),
    (("gamma", [1.5]), TypeError, "gamma must be a number"),
    (("set_rgb_pixel", 0, 0, (1, 2)), ValueError, "(r, g, b)"),
    (("set_rgb_pixel", 0, 0, (1, 2, 300)), ValueError, "from 0 to 255"),
    (("convolution", np.ones((3, 3)) * 0.5, 1, 1, 0), TypeError, "whole numbers"),
    (("convolution", np.ones(9, int), 1, 1, 0), ValueError, "two-dimensional"),
    (("morphological", 5, np.full((3, 3), 256), 1, 1), ValueError, "not a whole number from 0 to 255"),
    (("bit_plane_erase", [24]), ValueError, "from 0 to 23"),
    (("binary_smoothing", [0]), ValueError, "from 1 to 6"),
    (("negative", ["grey"]), ValueError, "not one of gray"),
    (("fourier", [1, 2, 3]), ValueError, "power of two"),
    (("cmyk_to_rgb", [0.1, 0.2, 0.3], 1), ValueError, "4 numbers"),
    (("arithmetic", 0, 5), TypeError, "lamina.Image"),
    (("transformation", "sideways"), ValueError, "is not one of"),
    (("set_palette", np.zeros((0, 3), int)), ValueError, "1 to 256 colours"),
]


@pytest.mark.parametrize("call,error,words", REFUSED, ids=[r[1].__name__ + "-" + r[0][0] for r in
                                                          REFUSED])
def test_arguments_are_refused_before_the_member_runs(pictures, call, error, words):
    img = lamina.load(pictures["rgb"])
    before = state(img)
    with pytest.raises(error) as e:
        getattr(img, call[0])(*call[1:])
    assert words in str(e.value)
    assert state(img) == before


@pytest.mark.parametrize("path,operation", [
    ("missing.bmp", "fnIMG_LoadBMP"), ("missing.png", "formats::LoadPNG"),
    ("missing.pgm", "fnIMG_LoadPGM"),
])
def test_files_that_cannot_be_read(tmp_path, path, operation):
    with pytest.raises(lamina.LaminaError) as e:
        lamina.load(tmp_path / path)
    assert e.value.operation == operation and e.value.code != 0


def test_a_save_that_fails_writes_nothing(tmp_path, pictures):
    img = lamina.load(pictures["rgb"])
    with pytest.raises(lamina.LaminaError):
        img.save(tmp_path / "no" / "such" / "dir.png")
    # A step that writes a file and then fails puts nothing in place.
    with pytest.raises(lamina.LaminaError):
        img.save_palette(tmp_path / "x.pal")  # a 24-bit image has no palette
    assert list(tmp_path.iterdir()) == []


def test_steps_write_their_files(tmp_path, pictures):
    img = lamina.load(pictures["rgb"])
    img.split(0, str(tmp_path / "c{}.bmp"))
    red = lamina.load(tmp_path / "c1.bmp").to_numpy()
    np.testing.assert_array_equal(red, img.to_numpy()[..., 0])
