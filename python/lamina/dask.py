"""A chain of operations over many image files on Dask: one file per task, each worker reading and
writing its own files, with the same outputs byte for byte as `lamina batch`.

    import lamina.dask
    summary = lamina.dask.process("photos/*.png", [("flip", 1), ("color_to_gray", 0)], "out")
    print(summary.done, summary.failed)

With client=None the chain runs on Dask's local threaded scheduler (the operations release the
interpreter lock, so threads run in parallel); give a distributed.Client to run on its workers.
"""
import dataclasses
import glob
import os
from typing import Any, List, Optional, Sequence, Tuple, Union

from . import _lamina


@dataclasses.dataclass
class Summary:
    """What process() did: done lists (input, output) pairs written, failed (input, reason) pairs
    in the words of `lamina batch`; measures maps an input to [(step, result), ...] for the steps
    that measured something."""

    done: List[Tuple[str, str]]
    failed: List[Tuple[str, str]]
    measures: dict

    def __repr__(self):
        return "Summary(%d done, %d failed)" % (len(self.done), len(self.failed))


def _methods():
    return {op["name"]: op for op in _lamina._operations}


def _check(steps):
    """Refuses a chain before any work, as the batch tool does: unknown operations, counts that
    fit no form, and files written under the same name for every input."""
    methods = _methods()
    chain = []
    for i, step in enumerate(steps, 1):
        if isinstance(step, str):
            step = (step,)
        name, args = step[0], tuple(step[1:])
        if name not in methods:
            raise ValueError("step %d: %r is not an operation of lamina.Image" % (i, name))
        forms = [f for f in methods[name]["forms"] if len(f["args"]) == len(args)]
        if not forms:
            counts = " or ".join(str(len(f["args"])) for f in methods[name]["forms"])
            raise TypeError("step %d: %s takes %s arguments, not %d" % (i, name, counts, len(args)))
        for a, v in zip(forms[0]["args"], args):
            if a["kind"] in ("output file", "output files") and "{name}" not in str(v):
                raise ValueError(
                    "step %d: %s writes %s for every file; put {name} in it (the input's name "
                    "without its extension)" % (i, name, v))
        chain.append((name, args))
    return chain


def _output(path, outdir, ext):
    base = os.path.basename(path)
    stem = os.path.splitext(base)[0]
    return os.path.join(outdir, stem + ext if ext else base), stem


def _one(path, chain, outdir, ext):
    """One task: the whole chain on one file, on whichever worker runs it."""
    output, stem = _output(path, outdir, ext)
    try:
        ok, error, measures = _lamina._process_file(path, output, list(chain), stem)
    except (TypeError, ValueError, _lamina.LaminaError) as e:
        # An argument of this file's own (a second image named after it) that cannot be read
        # fails this file only, as in the batch tool.
        return path, output, False, str(e), []
    return path, output, ok, error, measures


def process(pattern_or_paths: Union[str, Sequence[Union[str, "os.PathLike[str]"]]],
            steps: Sequence[Tuple[Any, ...]], outdir: Union[str, "os.PathLike[str]"],
            client: Optional[Any] = None, ext: Optional[str] = None,
            workers: Optional[int] = None) -> Summary:
    """Runs steps [(method, arg, ...), ...] on every file and writes each result to outdir under
    its own name (its extension changed to ext when given), as `lamina batch 'PATTERN' OUTDIR
    ...` does. A pattern is expanded with glob in sorted order. Texts in the arguments may hold
    {name}, the input's name without its extension. A file that fails is reported in the
    summary and the others go on; nothing is written for it.

    client: a distributed.Client to run on; None runs on the local threaded scheduler with
    `workers` threads (the number of cores when None)."""
    import dask.bag

    if isinstance(pattern_or_paths, (str, os.PathLike)):
        paths = sorted(glob.glob(os.fspath(pattern_or_paths)))
        if not paths:
            raise FileNotFoundError("no file matches %s" % os.fspath(pattern_or_paths))
    else:
        paths = [os.fspath(p) for p in pattern_or_paths]
    chain = _check(steps)
    if ext and not ext.startswith("."):
        ext = "." + ext
    outdir = os.fspath(outdir)
    os.makedirs(outdir, exist_ok=True)
    if not paths:
        return Summary([], [], {})

    # One partition per file: one image per task, so a slow file holds up no other.
    bag = dask.bag.from_sequence(paths, npartitions=len(paths))
    results = bag.map(_one, chain, outdir, ext)
    if client is not None:
        rows = client.compute(results).result()
    else:
        rows = results.compute(scheduler="threads", num_workers=workers)
    done, failed, measures = [], [], {}
    for path, output, ok, error, measured in rows:
        if ok:
            done.append((path, output))
            if measured:
                measures[path] = measured
        else:
            failed.append((path, error))
    return Summary(done, failed, measures)
