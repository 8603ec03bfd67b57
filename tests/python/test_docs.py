"""The programs of docs/python.md run as a reader would run them, each on a fresh copy of the demo
account, printing exactly the output the page shows: the ten-line allocation on its own, the tour's
programs one after the other as one session."""
from __future__ import annotations

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path
from typing import List, Tuple

from support import SERVER, server_copy


PAGE = Path(os.environ.get("QUILLON_DOCS", Path(__file__).parents[2] / "docs")) / "python.md"


def programs() -> List[Tuple[str, str]]:
    """Each python block of the page with the text block that follows it (its output)."""
    blocks = re.findall(r"```(python|text)\n(.*?)```", PAGE.read_text(encoding="utf-8"), re.S)
    pairs = []
    for (kind, code), (next_kind, output) in zip(blocks, blocks[1:] + [("", "")]):
        if kind == "python":
            assert next_kind == "text", f"a program of {PAGE} without its output:\n{code}"
            pairs.append((code, output))
    return pairs


def run(code: str, account: object, where: Path) -> str:
    """Runs a program of the page in the folder where, on a copy of the account (the page's
    demo.db, or a database on the test server in its place)."""
    if SERVER:
        code = code.replace('"demo.db"', repr(server_copy()))
    else:
        shutil.copyfile(account, where / "demo.db")
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    done = subprocess.run([sys.executable, "-c", code], cwd=where, env=env, capture_output=True,
                          text=True, timeout=300)
    assert done.returncode == 0, done.stderr
    return done.stdout


def test_the_page_has_the_ten_line_program_and_the_tour():
    found = programs()
    assert len(found) >= 5
    ten = [line for line in found[0][0].splitlines()]
    assert len(ten) <= 10, "the first program is the ten-line one"


def test_the_ten_line_program_prints_the_chosen_batches(demo_account, tmp_path):
    code, output = programs()[0]
    assert run(code, demo_account, tmp_path) == output


def test_the_tour_prints_what_the_page_shows(demo_account, tmp_path):
    tour = programs()[1:]
    code = "\n".join(c for c, _ in tour)
    assert run(code, demo_account, tmp_path) == "".join(o for _, o in tour)
