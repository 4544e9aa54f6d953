"""Shared fixtures: the module of this build and the kelvane-cli next to it."""
import os
import pathlib
import subprocess

import pytest

import kelvane

ROOT = pathlib.Path(__file__).resolve().parents[2]


def _cli_path():
    path = os.environ.get("KELVANE_CLI")
    if path:
        return pathlib.Path(path)
    # Run by hand: the kelvane-cli of the build whose module was imported.
    build = pathlib.Path(kelvane.__file__).resolve().parents[2]
    return build / "src" / "cli" / "kelvane-cli"


@pytest.fixture(scope="session")
def cli():
    path = _cli_path()
    if not path.exists():
        pytest.fail(f"kelvane-cli not found at {path}; set KELVANE_CLI")

    def run(*args):
        done = subprocess.run([str(path), *args], capture_output=True, text=True, check=False)
        return done
    return run
