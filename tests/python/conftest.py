"""What the package's tests share: the scale-1 demo account made once by the build's `quillon
init-db` ($QUILLON_COMMAND), copies of it for tests that write, and sessions on it whose dialogs
close at once unless a call brings dialog lines. The package is the source tree's (PYTHONPATH)
and the library the build's ($QUILLON_LIBRARY).

With $QUILLON_TEST_SERVER set (the server half of the suite) the accounts are databases on the
run's test server instead, copied from its template by scripts/test-server.sh."""
from __future__ import annotations

import os
import shutil
import subprocess
from pathlib import Path
from typing import Iterator

import pytest

import quillon
from support import SERVER, Account, server_copy

@pytest.fixture(scope="session")
def demo_account(tmp_path_factory: pytest.TempPathFactory) -> Account:
    if SERVER:
        return server_copy()
    path = tmp_path_factory.mktemp("account") / "demo.db"
    subprocess.run([os.environ["QUILLON_COMMAND"], "init-db", "--db", str(path), "--scale", "1",
                    "--force"], check=True, stdout=subprocess.DEVNULL)
    return path


@pytest.fixture
def account(demo_account: Account, tmp_path: Path) -> Account:
    """A copy of the demo account of the test's own."""
    if SERVER:
        return server_copy()
    copy = tmp_path / "demo.db"
    shutil.copyfile(demo_account, copy)
    return copy


@pytest.fixture
def session(demo_account: Account) -> Iterator[quillon.Session]:
    with quillon.connect(demo_account, user="demo", date="2026-12-05", dialogs="none") as s:
        yield s
