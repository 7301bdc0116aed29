"""Images as Python objects: copies, pickling, names, and threads working on separate images."""
import copy
import pickle
import threading

import numpy as np
import pytest

import lamina
from conftest import state
from test_numpy import random_array


def images_of_every_kind(pictures, tmp_path_factory):
    rng_32 = lamina.Image.from_numpy(random_array(32, None, 5, 7, 3))  # alpha must survive
    out = [lamina.load(p) for p in pictures.values()] + [rng_32, lamina.Image(),
                                                         lamina.Image(0, 0, 8)]
    for bits, levels in [(1, 2), (4, 16)]:
        out.append(lamina.Image.from_numpy(random_array(bits, levels, 3, 9, bits), bits=bits))
    return out


@pytest.fixture(scope="module")
def kinds(pictures, tmp_path_factory, data_dir):
    imgs = images_of_every_kind(pictures, tmp_path_factory)
    # A file with a short palette and its own header fields: kept as it was read.
    imgs.append(lamina.load(data_dir / "bmpsuite" / "g" / "pal8w126.bmp"))
    for i, img in enumerate(imgs):
        if i % 2:
            img.name = ["no full stop", "", "a.b.c", "ünïcode.bmp"][i % 4]
    return imgs


@pytest.fixture(scope="module")
def data_dir():
    import os
    import pathlib
    from conftest import ROOT
    return pathlib.Path(os.environ.get("LAMINA_TEST_DATA") or ROOT / "tests" / "data")


def test_pickle_round_trip_is_exact(kinds):
    for img in kinds:
        back = pickle.loads(pickle.dumps(img, protocol=pickle.HIGHEST_PROTOCOL))
        assert state(back) == state(img), img
        assert back.get_bitmap_info_header() == img.get_bitmap_info_header()
        if img.bits == 32:
            np.testing.assert_array_equal(back.to_numpy(), img.to_numpy())


@pytest.mark.parametrize("make", [copy.copy, copy.deepcopy, lambda i: i.copy()])
def test_copies_are_independent(kinds, make):
    for img in kinds:
        before = state(img)
        dup = make(img)
        assert state(dup) == before and dup is not img
        if dup.width and dup.height:
            dup.negative()
            dup.name = "changed"
            assert state(img) == before


def test_pickled_images_are_arguments_again(pictures):
    a = lamina.load(pictures["rgb"])
    b = pickle.loads(pickle.dumps(a))
    a.flip(0)
    assert a.get_different_pixels(b) > 0
    a.flip(0)
    assert a.get_different_pixels(b) == 0


def chain(img):
    img.rotation(0, 17.5, (10, 20, 30))
    img.convolution(np.array([[0, -1, 0], [-1, 5, -1], [0, -1, 0]]), 1, 1, 0)
    img.gray_scale_lineal_transform(0, 255, 30, 220, "all")
    img.scaling(0.8, 1.2, 0)
    return img.get_histogram(0)


def test_threads_on_separate_images_match_one_thread(pictures):
    source = lamina.load(pictures["png"])
    expected = []
    for k in range(8):
        img = source.copy()
        img.translation(0, k, -k, 0)
        h = chain(img)
        expected.append((img.to_bmp(), np.array(h)))
    got = [None] * 8
    start = threading.Barrier(4)

    def work(ks):
        start.wait()
        for k in ks:
            img = source.copy()  # the source is shared and only read, under its lock
            img.translation(0, k, -k, 0)
            h = chain(img)
            got[k] = (img.to_bmp(), np.array(h))

    threads = [threading.Thread(target=work, args=([k, k + 4],)) for k in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for (eb, eh), (gb, gh) in zip(expected, got):
        assert gb == eb
        np.testing.assert_array_equal(gh, eh)


def test_threads_sharing_one_image_do_not_crash():
    # One object used from several threads at once is the caller's mistake, but it must not
    # corrupt memory: every call holds the image's lock, so each sees a whole image.
    img = lamina.Image.from_numpy(np.zeros((40, 30, 3), np.uint8))
    errors = []

    def turn():
        for _ in range(30):
            img.rotation(0, 90, 0)
            a = img.to_numpy()
            assert a.shape in [(40, 30, 3), (30, 40, 3), (41, 31, 3), (31, 41, 3)] or a.ndim == 3

    def load():
        try:
            for _ in range(30):
                img.crop(0, 0, 9, 9) if img.width > 20 else img.scaling(3, 4, 0)
        except lamina.LaminaError as e:  # a crop the other thread's turn made invalid
            errors.append(e)

    threads = [threading.Thread(target=turn), threading.Thread(target=load)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert img.bits == 24


def test_repr_and_properties(pictures):
    img = lamina.load(pictures["gray"])
    assert (img.width, img.height, img.bits) == (37, 23, 8)
    assert repr(img) == "<lamina.Image 37x23, 8 bits, 'gray.bmp'>"
    assert img.get_rows() == 23 and img.get_columns() == 37
