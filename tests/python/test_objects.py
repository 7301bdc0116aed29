"""Images as Python objects: copies, pickling, names, and threads working on separate images."""
import copy
import pickle
import threading

import numpy as np
import pytest

import lamina
from conftest import state
from test_numpy import random_array


@pytest.fixture(scope="module")
def kinds(pictures, data_dir):
    """Every depth, the default image, an empty one, a 32-bit image whose alpha must survive, and
    a file with a short palette and header fields of its own; half of them renamed."""
    imgs = [lamina.load(p) for p in pictures.values()] + [lamina.Image(), lamina.Image(0, 0, 8)]
    imgs += [lamina.Image.from_numpy(random_array(b, n, 3, 9, b), bits=b if b < 24 else None)
             for b, n in [(1, 2), (4, 16), (32, None)]]
    imgs.append(lamina.load(data_dir / "bmpsuite" / "g" / "pal8w126.bmp"))
    for i, img in enumerate(imgs):
        if i % 2:
            img.name = ["no full stop", "", "a.b.c", "ünïcode.bmp"][i % 4]
    return imgs


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


def test_threads_sharing_one_image_see_whole_images():
    # Sharing one object between threads is the caller's mistake, but each call holds the image's
    # lock: every read sees a whole image, never a block another thread has just freed.
    img = lamina.Image.from_numpy(np.zeros((40, 30, 3), np.uint8))
    shapes = set()

    def turn():
        for _ in range(40):
            img.rotation(0, 90, 0)

    def read():
        for _ in range(40):
            shapes.add(img.to_numpy().shape)

    threads = [threading.Thread(target=f) for f in (turn, read, turn)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert shapes <= {(40, 30, 3), (30, 40, 3), (31, 41, 3), (41, 31, 3), (42, 32, 3), (32, 42, 3)}
