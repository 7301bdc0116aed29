"""numpy arrays in and out at every depth, checked against Pillow's reading of the library's own
BMP files and against the per-pixel accessors."""
import io
import re
import struct

import numpy as np
import pytest
from PIL import Image as PILImage

import lamina

# Odd widths cross the byte and stride boundaries of packed rows (1 and 4 bits), the 4-byte row
# padding at 8 and 24 bits, and a single column or row.
SIZES = [(1, 1), (3, 1), (1, 9), (5, 7), (23, 37), (2, 33)]
DEPTHS = [(1, 2), (4, 16), (8, 256), (24, None), (32, None)]


def random_array(bits, levels, h, w, seed):
    rng = np.random.default_rng(seed)
    if bits == 24:
        return rng.integers(0, 256, (h, w, 3), dtype=np.uint8)
    if bits == 32:
        return rng.integers(0, 256, (h, w, 4), dtype=np.uint8)
    return rng.integers(0, levels, (h, w), dtype=np.uint8)


@pytest.mark.parametrize("bits,levels", DEPTHS)
@pytest.mark.parametrize("h,w", SIZES)
def test_round_trip_and_layout(bits, levels, h, w):
    a = random_array(bits, levels, h, w, seed=h * 100 + w + bits)
    img = lamina.Image.from_numpy(a, bits=bits if bits < 24 else None)
    assert (img.width, img.height, img.bits) == (w, h, bits)
    back = img.to_numpy()
    assert back.dtype == np.uint8 and back.shape == a.shape
    np.testing.assert_array_equal(back, a)
    # Pillow decodes the library's BMP: rows from the top, RGB order, packed indices MSB first.
    seen = np.array(PILImage.open(io.BytesIO(img.to_bmp())))
    if bits == 32:
        np.testing.assert_array_equal(seen[..., :3], a[..., :3])  # Pillow drops the fourth byte
    else:
        np.testing.assert_array_equal(seen.astype(np.uint8), a)
    # The library's own accessors agree on orientation and channel order.
    for y, x in [(0, 0), (h - 1, w - 1), (h // 2, w // 3)]:
        if bits >= 24:
            assert img.get_rgb_pixel(x, y) == tuple(int(v) for v in a[y, x, :3])
        else:
            assert img.get_pixel(x, y) == a[y, x]
        if bits == 32:
            assert img.get_alfa(x, y) == a[y, x, 3]


def test_default_palettes_of_index_arrays():
    a = np.zeros((2, 3), np.uint8)
    ramp = lamina.Image.from_numpy(a).palette
    assert ramp.shape == (256, 3) and ramp[200].tolist() == [200, 200, 200]
    assert lamina.Image.from_numpy(a, bits=1).palette.tolist() == [[0, 0, 0], [255, 255, 255]]
    assert lamina.Image.from_numpy(a, bits=4).palette[:, 0].tolist() == list(range(0, 256, 17))
    given = lamina.Image.from_numpy(a, bits=1, palette=[[10, 20, 30]]).palette
    assert given.tolist() == [[10, 20, 30], [255, 255, 255]]
    assert lamina.Image(4, 4, 24).palette.shape == (0, 3)


def test_palette_assignment():
    img = lamina.Image.from_numpy(np.arange(16, dtype=np.uint8).reshape(4, 4), bits=4)
    new = np.array([[i, 255 - i, 7] for i in range(16)], np.uint8)
    img.palette = new
    np.testing.assert_array_equal(img.palette, new)
    assert img.get_rgb_pixel(3, 0) == (3, 252, 7)
    with pytest.raises(ValueError):
        img.palette = new[:3]  # the palette keeps its 16 entries
    with pytest.raises(ValueError):
        lamina.Image(2, 2, 24).palette = new


@pytest.mark.parametrize("array,bits,error", [
    (np.zeros((4, 4), np.float64), None, TypeError), (np.zeros((4, 4), np.uint16), None, TypeError),
    (np.zeros((4, 4), np.int8), None, TypeError), ([[1, 2], [3, 4]], None, TypeError),
    (np.zeros((4,), np.uint8), None, ValueError), (np.zeros((4, 4, 2), np.uint8), None, ValueError),
    (np.zeros((2, 4, 4, 3), np.uint8), None, ValueError), (np.zeros((2, 2), np.uint8), 24, ValueError),
    (np.zeros((2, 2, 3), np.uint8), 32, ValueError), (np.full((3, 5), 2, np.uint8), 1, ValueError),
    (np.full((3, 5), 16, np.uint8), 4, ValueError),
])
def test_refused_arrays(array, bits, error):
    with pytest.raises(error) as e:
        lamina.Image.from_numpy(array, bits=bits)
    assert re.search("uint8|shape|gives|indices 0 to", str(e.value))


def test_views_and_strided_arrays():
    a = np.arange(7 * 9 * 3, dtype=np.uint8).reshape(7, 9, 3)
    view = a[::2, ::-1]  # not contiguous, negative strides
    np.testing.assert_array_equal(lamina.Image.from_numpy(view).to_numpy(), view)
    # The array returned is the caller's: changing it leaves the image alone.
    img = lamina.Image.from_numpy(a)
    out = img.to_numpy()
    out[:] = 0
    np.testing.assert_array_equal(img.to_numpy(), a)


def test_sixteen_bit_images_are_not_arrays(tmp_path):
    # A 2 x 2 BMP of 16 bits (5-5-5), written by hand.
    rows = struct.pack("<HHHH", 0x7C00, 0x03E0, 0x001F, 0x7FFF)
    header = struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 16, 0, len(rows), 0, 0, 0, 0)
    (tmp_path / "x16.bmp").write_bytes(b"BM" + struct.pack("<IHHI", 62, 0, 0, 54) + header + rows)
    img = lamina.load(tmp_path / "x16.bmp")
    assert img.bits == 16
    with pytest.raises(ValueError, match="change_color_depth"):
        img.to_numpy()
