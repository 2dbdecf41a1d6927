"""Shared pieces of the Python module's tests: norvane-field, run as the
tests of the tools run it, and the data directory of the official tables.
CTest passes both through the environment."""

import os
import subprocess

import numpy as np
import pytest

NORVANE_FIELD = os.environ.get("NORVANE_FIELD", "")
WMM_DATA_DIR = os.environ.get("NORVANE_WMM_DATA_DIR", "")


class ToolRun:
    def __init__(self, completed):
        self.status = completed.returncode
        self.out = completed.stdout
        self.err = completed.stderr

    def numbers(self):
        """The output's lines as rows of floats ('nan' included)."""
        return np.array([[float(w) for w in line.split()]
                         for line in self.out.splitlines()])


def run_field(*arguments, stdin=""):
    """norvane-field with these arguments and standard input."""
    if not NORVANE_FIELD:
        pytest.fail("NORVANE_FIELD names no norvane-field to compare with")
    return ToolRun(subprocess.run([NORVANE_FIELD, *map(str, arguments)],
                                  input=stdin, capture_output=True,
                                  text=True, check=False))


def tool_message(run):
    """The tool's last message without its "norvane-field: " prefix."""
    last = run.err.strip().splitlines()[-1]
    prefix = "norvane-field: "
    assert last.startswith(prefix), run.err
    return last[len(prefix):]


@pytest.fixture
def small_model(tmp_path):
    """A degree-2 model file of made-up coefficients, epoch 2020.0."""
    path = tmp_path / "SMALL.COF"
    path.write_text(
        "    2020.0            SMALL-2020     01/01/2020\n"
        "  1  0  -29000.0       0.0       10.0        0.0\n"
        "  1  1   -1500.0    4500.0        8.0      -25.0\n"
        "  2  0   -2500.0       0.0      -12.0        0.0\n"
        "  2  1    3000.0   -3000.0       -3.0      -20.0\n"
        "  2  2    1650.0    -700.0        2.0      -18.0\n"
        "999999999999999999999999999999999999999999999999\n")
    return path


@pytest.fixture
def small_shc(tmp_path):
    """A degree-1 SHC model of made-up coefficients, epochs 2000 to 2020."""
    path = tmp_path / "SMALL.SHC"
    path.write_text(
        "# made up for the tests\n"
        "1 1 3 2 10 2000.0 2020.0\n"
        "   2000.0  2010.0  2020.0\n"
        "1 0 -30000.0 -29800.0 -29500.0\n"
        "1 1 -2000.0 -1800.0 -1500.0\n"
        "1 -1 5000.0 4800.0 4600.0\n")
    return path
