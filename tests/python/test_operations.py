"""Operations from every family run through the module and through the `lamina` tool on the same
file: the images written and the results measured must agree to the byte. Each case gives the
tool's words and the same call in Python values (tuples for colours, arrays for kernels, images
for second images), so the conversions are checked against the tool's own reading of its words."""
import ast
import math
import os
import re

import numpy as np
import pytest

import lamina

K3 = np.array([[1, 2, 1], [2, 4, 2], [1, 2, 1]])
SECOND = object()  # stands for the second picture, an Image in Python and a file for the tool
SELF = object()    # the image itself

# (family, picture, tool words, Python calls)
CASES = [
    ("image object", "rgb", "InitializeRGB #123456 SetRGBPixel 3 4 #ff8000",
     [("initialize_rgb", (0x12, 0x34, 0x56)), ("set_rgb_pixel", 3, 4, (255, 128, 0))]),
    ("pixels", "gray", "SetPixel 0 0 200 SetPixel 36 22 7",
     [("set_pixel", 0, 0, 200), ("set_pixel", 36, 22, 7)]),
    ("pixels", "rgb", "ChangeColorDepth 4 SetAlfaAll 77 SetAlfa 1 2 9",
     [("change_color_depth", 4), ("set_alfa_all", 77), ("set_alfa", 1, 2, 9)]),
    ("palettes", "gray", "ChangeColorDepth 1 SetPalette #000000,#ff0000,#00ff00",
     [("change_color_depth", 1), ("set_palette", [[0, 0, 0], [255, 0, 0], [0, 255, 0]])]),
    ("palettes", "gray", "PseudoColor", [("pseudo_color",)]),
    ("depth", "rgb", "ColorToGray 0 ChangeColorDepth 2", [("color_to_gray", 0),
                                                          ("change_color_depth", 2)]),
    ("intensity", "gray", "EqualizeHistogram 0 0", [("equalize_histogram", 0, 0)]),
    ("intensity", "rgb", "GrayScaleLinealTransform 10 200 0 255 red,green",
     [("gray_scale_lineal_transform", 10, 200, 0, 255, ["red", "green"])]),
    ("intensity", "rgb", "Negative gray,blue", [("negative", ("gray", "blue"))]),
    ("intensity", "gray", "BitPlaneErase 0-3,7", [("bit_plane_erase", [0, 1, 2, 3, 7])]),
    ("intensity", "rgb", "NonLinearContrast 0 5 0.8", [("non_linear_contrast", 0, 5, 0.8)]),
    ("intensity", "gray", "Thresholding 128 0 255", [("thresholding", 128, 0, 255)]),
    ("geometry", "rgb", "Rotation 0 30 #000040", [("rotation", 0, 30, (0, 0, 64))]),
    ("geometry", "rgb", "Rotation 1 10 20 -35.5 255", [("rotation", 1, 10.0, 20, -35.5, 255)]),
    ("geometry", "rgb", "Scaling 0.5 0.75 0", [("scaling", 0.5, 0.75, 0)]),
    ("geometry", "bw", "Crop 2 3 20 17", [("crop", 2, 3, 20, 17)]),
    ("geometry", "rgb", "Translation 0 5 -3 #102030", [("translation", 0, 5, -3, "#102030")]),
    ("geometry", "gray", "Undulation 3 8 0 #000000", [("undulation", 3, 8, 0, 0)]),
    ("geometry", "rgb", "Mosaic 4 3 Flip 1", [("mosaic", 4, 3), ("flip", 1)]),
    ("geometry", "rgb", "Transformation transpose", [("transformation", "transpose")]),
    ("combination", "rgb", "Arithmetic 0 {second}", [("arithmetic", 0, SECOND)]),
    ("combination", "rgb", "Logic 1 self", [("logic", 1, SELF)]),
    ("combination", "rgb", "Interlace 0 self {second}", [("interlace", 0, SELF, SECOND)]),
    ("neighbourhood", "gray", "Convolution 3x3:1,2,1,2,4,2,1,2,1 16 1 0",
     [("convolution", K3, 16, 1, 0)]),
    ("neighbourhood", "gray", "ChangeColorDepth 2 Morphological 5 3x3:0,0,0,0,0,0,0,0,0 1 1",
     [("change_color_depth", 2), ("morphological", 5, np.zeros((3, 3), np.uint8), 1, 1)]),
    ("neighbourhood", "bw", "BinarySmoothing 1,3,6", [("binary_smoothing", [1, 3, 6])]),
    ("neighbourhood", "rgb", "RegionGrowing 10 10 1 0 40 255",
     [("region_growing", 10, 10, 1, 0, 40, 255)]),
]

# Measurements: (picture, tool words, Python call)
MEASURES = [
    ("rgb", "GetHistogram 0", ("get_histogram", 0)),
    ("gray", "GetInfoHistogram", ("get_info_histogram",)),
    ("rgb", "AverageImg", ("average_img",)),
    ("gray", "FindThreshold 0", ("find_threshold", 0)),
    ("gray", "FindThreshold 2", ("find_threshold", 2)),
    ("rgb", "GetPixel 3 4", ("get_pixel", 3, 4)),
    ("rgb", "GetRGBPixel 36 22", ("get_rgb_pixel", 36, 22)),
    ("gray", "GetPalette", ("get_palette",)),
    ("gray", "GetPaletteIndex #808080", ("get_palette_index", (128, 128, 128))),
    ("rgb", "RGBToHSV #ff8000 1", ("rgb_to_hsv", (255, 128, 0), 1)),
    ("rgb", "LABToRGB 50,20,-30 1", ("lab_to_rgb", (50, 20, -30), 1)),
    ("rgb", "CMYKToRGB 0.1,0.2,0.3,0.4 1", ("cmyk_to_rgb", [0.1, 0.2, 0.3, 0.4], 1)),
    ("rgb", "GetDifferentPixels {second}", ("get_different_pixels", SECOND)),
    ("rgb", "GetBitmapInfoHeader", ("get_bitmap_info_header",)),
    ("rgb", "Fourier 1,1,1,1,0,0,0,0", ("fourier", [1, 1, 1, 1, 0, 0, 0, 0])),
    ("rgb", "TransfPixel 0.5 0.25", ("transf_pixel", 0.5, 0.25)),
    ("rgb", "GetSizeBitmapAlineado 37 5 4", ("get_size_bitmap_alineado", 37, 5, 4)),
]


def python_args(args, img, second):
    return [img if a is SELF else second if a is SECOND else a for a in args]


def run_python(pictures, picture, calls, second_path):
    img = lamina.load(pictures[picture])
    second = lamina.load(second_path)
    results = [getattr(img, c[0])(*python_args(c[1:], img, second)) for c in calls]
    return img, results


@pytest.fixture(scope="module")
def second_path(tmp_path_factory, pictures):
    # The same size as the pictures, different pixels.
    img = lamina.load(pictures["rgb"])
    img.flip(0)
    path = str(tmp_path_factory.mktemp("second") / "second.bmp")
    img.save(path)
    return path


def test_every_family_is_sampled():
    families = {f["family"] for op in lamina.operations() for f in op["forms"]}
    sampled = {"Image object", "Pixels and alpha", "Palettes", "Depth and gray",
               "Histograms and point operations", "Geometry and distortion", "Combination",
               "Neighbourhood", "Colour models", "Protected and private"}
    # Display draws to a screen, files are the load and save tests, and the transform needs a
    # square picture of a power of two (test_errors covers its refusal).
    assert families - sampled == {"Display and monitors", "Files and exchange", "Frequency"}


@pytest.mark.parametrize("family,picture,words,calls", CASES,
                         ids=[c[2].split()[0] + "-" + c[1] for c in CASES])
def test_images_match_the_tool(tool, tmp_path, pictures, second_path, family, picture, words,
                               calls):
    expected = tmp_path / "tool.bmp"
    status, _, err = tool("run", pictures[picture], expected,
                          *words.replace("{second}", second_path).split())
    assert status == 0, err
    img, results = run_python(pictures, picture, calls, second_path)
    assert all(r is None for r in results)
    got = tmp_path / "python.bmp"
    img.save(got)
    assert got.read_bytes() == expected.read_bytes()


def as_tool_value(v):
    """A Python result in the tool's JSON form: colours as #rrggbb, arrays as lists."""
    if isinstance(v, tuple) and len(v) == 3 and all(isinstance(c, int) for c in v):
        return "#%02x%02x%02x" % v
    if isinstance(v, np.ndarray):
        if v.ndim == 2:
            return ["#%02x%02x%02x" % tuple(int(c) for c in row) for row in v]
        return v.tolist()
    return v


def same_number(a, b):
    # The tool prints 9 significant digits (integers whole); JSON has no nan.
    if isinstance(b, str):
        return str(a) == b or (math.isnan(a) and b == "nan")
    if isinstance(a, int):
        return a == b
    return float("%.9g" % a) == b


@pytest.mark.parametrize("picture,words,call", MEASURES, ids=[m[1].split()[0] for m in MEASURES])
def test_measures_match_the_tool(tool_json, pictures, second_path, picture, words, call):
    report = tool_json(pictures[picture], "-", *words.replace("{second}", second_path).split())
    assert report["ok"], report
    expected = list(report["steps"][-1]["results"].values())
    img, (result,) = run_python(pictures, picture, [call], second_path)
    got = list(result) if isinstance(result, tuple) and hasattr(result, "_fields") else [result]
    assert len(got) == len(expected)
    for g, e in zip(got, expected):
        g = as_tool_value(g)
        if isinstance(g, list):
            assert len(g) == len(e) and all(
                x == y if isinstance(x, str) else same_number(x, y) for x, y in zip(g, e))
        elif isinstance(g, str):
            assert g == e
        else:
            assert same_number(g, e), (g, e)


@pytest.mark.parametrize("call,kind", [
    (("get_pixel", 1, 1), int), (("find_threshold", 0), int), (("get_levels",), int),
    (("transf_pixel", 0.5, 0.5), float), (("rgb_to_hsv", (10, 20, 30), 1), float),
])
def test_result_types_are_stable(pictures, call, kind):
    # Whole-number results are ints even when they are 0, real ones floats even when whole.
    img = lamina.load(pictures["rgb"])
    result = getattr(img, call[0])(*call[1:])
    values = list(result) if isinstance(result, tuple) else [result]
    assert all(isinstance(v, kind) for v in values[-1:]), values


def test_histogram_is_an_array_per_column(pictures):
    img = lamina.load(pictures["gray"])
    h = img.get_histogram(0)
    assert h._fields == ("i", "r", "g", "b")
    assert h.i.dtype == np.int64 and h.i.shape == (256,)
    # An independent count of the gray levels: the image's indices through its palette.
    levels = img.palette[img.to_numpy()][..., 0]
    np.testing.assert_array_equal(h.i, np.bincount(levels.ravel(), minlength=256))
    assert np.array(h).shape == (4, 256)


def test_keywords_pick_arguments_by_name(pictures):
    a = lamina.load(pictures["rgb"])
    b = lamina.load(pictures["rgb"])
    a.rotation(0, 30, (0, 0, 64))
    b.rotation(background=(0, 0, 64), size_mode=0, angle=30)
    assert a.to_bmp() == b.to_bmp()
    with pytest.raises(TypeError, match="rotation"):
        b.rotation(0, 30, colour=0)


def test_every_operation_of_the_tool_is_a_method(tool):
    # The tool's own listing, in its names; the module makes one method per name in snake case.
    status, listing, _ = tool("ops")
    names = set(re.findall(r"^  ([A-Z][A-Za-z]+)", listing, re.M))
    assert status == 0 and len(names) > 100

    def snake(name):
        return re.sub(r"(?<=[a-z0-9])(?=[A-Z])|(?<=[A-Z])(?=[A-Z][a-z])", "_", name).lower()

    missing = {snake(n) for n in names} - set(dir(lamina.Image))
    assert missing == set(lamina.unavailable)
    # The type stubs written at build time are Python and name every method.
    stub = ast.parse(open(os.path.join(os.path.dirname(lamina.__file__), "_lamina.pyi")).read())
    image = next(n for n in stub.body if isinstance(n, ast.ClassDef) and n.name == "Image")
    stubbed = {f.name for f in image.body if isinstance(f, ast.FunctionDef)}
    for op in lamina.operations():
        assert getattr(lamina.Image, op["name"]).__doc__.startswith(op["name"] + "(")
        assert op["name"] in stubbed
