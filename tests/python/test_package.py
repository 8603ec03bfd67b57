"""The package as a user meets it: every public name documented, type hints shipped, the library
found where the environment says (and a clear error when it is not there or is not the library),
the version it reports."""
from __future__ import annotations

import ctypes.util
import inspect
import os
import re
import subprocess
import sys
from pathlib import Path

import quillon


def test_every_public_name_has_a_docstring():
    undocumented = []
    for name in quillon.__all__:
        value = getattr(quillon, name)
        if isinstance(value, quillon.Special):
            continue  # the special values are documented where they are defined
        if not inspect.getdoc(value):
            undocumented.append(name)
        if inspect.isclass(value):
            for member, attribute in vars(value).items():
                if member.startswith("_") or member in ("status", "number", "text"):
                    continue
                if callable(attribute) or isinstance(attribute, property):
                    if not inspect.getdoc(attribute):
                        undocumented.append(f"{name}.{member}")
    assert undocumented == []
    assert quillon.__doc__ and "docs/python.md" in quillon.__doc__


def test_type_hints_are_shipped():
    assert (Path(quillon.__file__).parent / "py.typed").exists()
    hints = inspect.signature(quillon.connect)
    assert hints.return_annotation in ("Session", quillon.Session)


def test_the_library_is_the_one_the_environment_names():
    assert quillon.library_path() == os.environ["QUILLON_LIBRARY"]
    assert re.fullmatch(r"\d+\.\d+ \(commit ([0-9a-f]{12}|unknown)\)", quillon.version())


def import_with_library(library: str) -> subprocess.CompletedProcess:
    env = dict(os.environ, QUILLON_LIBRARY=library)
    return subprocess.run([sys.executable, "-c", "import quillon\n"
                           "try:\n    quillon.version()\n"
                           "except quillon.LibraryNotFoundError as e:\n"
                           "    print(isinstance(e, ImportError), e)\n"],
                          env=env, capture_output=True, text=True, timeout=60)


def test_a_missing_library_is_a_clear_error(tmp_path):
    done = import_with_library(str(tmp_path / "libquillon.so.1"))
    assert done.returncode == 0, done.stderr
    assert done.stdout.startswith("True cannot load libquillon.so.1 (set QUILLON_LIBRARY to its "
                                  "path)")


def test_a_library_without_the_c_interface_is_refused():
    # Any shared library that is not this one: the C library will do.
    other = ctypes.util.find_library("c")
    assert other
    done = import_with_library(other)
    assert f"True {other} is older than this package: it lacks quillon_version" in done.stdout


def test_make_install_puts_the_package_where_the_interpreter_looks_for_its_prefix():
    # For every prefix the interpreter searches (/usr and /usr/local on Debian, its own), the
    # folder make install uses is one it imports from with no path set.
    env = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    searched = subprocess.run([sys.executable, "-c", "import sys; print('\\n'.join(sys.path))"],
                              env=env, capture_output=True, text=True, check=True).stdout.split()
    site_dir = Path(os.environ.get("QUILLON_SOURCE", Path(__file__).parents[2])) / "python" / \
        "site_dir.py"
    checked = 0
    for prefix in {"/usr", "/usr/local", sys.prefix}:
        under = [p for p in searched if p.startswith(prefix.rstrip("/") + "/lib")]
        if not under:
            continue
        folder = subprocess.run([sys.executable, str(site_dir), prefix], capture_output=True,
                                text=True, check=True).stdout.strip()
        assert os.path.join(prefix, folder) in under, (prefix, folder)
        checked += 1
    assert checked >= 1
