"""Writes the type stubs of lamina._lamina from the module itself: the Image methods come from
the operation registry, so the stubs list exactly what the built module has.

    python3 stubgen.py OUT.pyi      (with the built package importable)
"""
import sys

import lamina
from lamina import _lamina

HEAD = '''# Written by python/tools/stubgen.py from the built module; do not edit.
import os
from typing import Any, Optional, Sequence, Union, overload

import numpy
from numpy.typing import ArrayLike

PathLike = Union[str, "os.PathLike[str]"]

class LaminaError(Exception):
    message: str
    code: int
    operation: str
    def __init__(self, message: str, code: int = ..., operation: str = ...) -> None: ...

unavailable: dict[str, str]
_operations: list[dict[str, Any]]

def load(path: PathLike) -> Image: ...
def _process_file(input: str, output: str, steps: list, stem: str) -> tuple: ...

class Image:
    @overload
    def __init__(self) -> None: ...
    @overload
    def __init__(self, width: int, height: int, bits: int) -> None: ...
    @property
    def width(self) -> int: ...
    @property
    def height(self) -> int: ...
    @property
    def bits(self) -> int: ...
    @property
    def name(self) -> str: ...
    @name.setter
    def name(self, value: str) -> None: ...
    @property
    def palette(self) -> numpy.ndarray: ...
    @palette.setter
    def palette(self, value: ArrayLike) -> None: ...
    def to_numpy(self) -> numpy.ndarray: ...
    @staticmethod
    def from_numpy(array: numpy.ndarray, bits: Optional[int] = None,
                   palette: Optional[ArrayLike] = None) -> Image: ...
    def to_bmp(self) -> bytes: ...
    @staticmethod
    def from_bmp(data: bytes) -> Image: ...
    def save(self, path: PathLike, quality: Optional[int] = None) -> None: ...
    def copy(self) -> Image: ...
    def __copy__(self) -> Image: ...
    def __deepcopy__(self, memo: Any) -> Image: ...
'''

RETURNS = {"code": "None", "nothing": "None", "value": "Any", "measures": "Any"}


def method_stub(op):
    forms = op["forms"]
    lines = []
    for form in forms:
        if len(forms) > 1:
            lines.append("    @overload")
        params = "".join(", %s: %s" % (a["name"], a["python_type"]) for a in form["args"])
        summary = form["summary"].replace('"""', "'''").replace("\\", "\\\\")
        lines.append("    def %s(self%s) -> %s:" % (op["name"], params, RETURNS[form["returns"]]))
        lines.append('        """%s"""' % summary if summary else "        ...")
    return "\n".join(lines)


def main(out):
    text = HEAD + "\n".join(method_stub(op) for op in _lamina._operations) + "\n"
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main(sys.argv[1])
