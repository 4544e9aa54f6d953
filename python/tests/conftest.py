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


def pytest_sessionstart(session):
    # Run by ctest: the package must be this build's, not one installed elsewhere.
    expected = os.environ.get("KELVANE_PYTHON_DIR")
    if expected:
        here = pathlib.Path(kelvane.__file__).resolve().parent
        if here != (pathlib.Path(expected) / "kelvane").resolve():
            raise pytest.UsageError(f"kelvane imported from {here}, not from {expected}")


def pytest_sessionfinish(session, exitstatus):
    # A run that found no tests is a failure, never a pass nor a distinct "no tests".
    if exitstatus == pytest.ExitCode.NO_TESTS_COLLECTED:
        print("\nno tests were collected from python/tests")
        session.exitstatus = pytest.ExitCode.TESTS_FAILED
