"""Lamina image processing from Python.

    import lamina
    img = lamina.load("photo.png")        # BMP, PNG, JPEG, PGM, RAW
    img.color_to_gray(0)                  # every operation is a method, changing the image
    counts = img.get_histogram(0)         # measuring operations return what they measure
    pixels = img.to_numpy()               # rows from the top; (h, w, 3) RGB at 24 bits
    img.save("gray.png")

A failed operation raises lamina.LaminaError (with .code and .operation) and leaves the image
as it was. lamina.dask.process() runs a chain over many files on a Dask cluster.
"""
from ._lamina import Image, LaminaError, load, unavailable, _operations

__all__ = ["Image", "LaminaError", "load", "operations", "unavailable"]


def operations():
    """The operations as methods of Image: a list of dicts with the method's name and its forms
    (member, arguments with their Python types, what it returns), from the library's registry."""
    return [dict(op) for op in _operations]
