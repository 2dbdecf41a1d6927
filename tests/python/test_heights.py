"""Heights above mean sea level, checked against the EGM96 grid read here
from its file without PROJ: the GTX layout is a big-endian header of four
doubles (south-west latitude and longitude, latitude and longitude steps,
degrees) and two 32-bit counts (rows, columns), then rows x columns
big-endian floats, metres, row by row from the south, each from the west."""

import os
import pathlib
import subprocess
import sys

import numpy as np
import pytest

import norvane
from conftest import NORVANE_FIELD, run_field

WMM = norvane.Model.wmm2005()


def grid_path():
    for directory in [os.environ.get("PROJ_DATA"), os.environ.get("PROJ_LIB"),
                      "/usr/share/proj"]:
        if directory and (pathlib.Path(directory) / "egm96_15.gtx").exists():
            return pathlib.Path(directory) / "egm96_15.gtx"
    pytest.fail("egm96_15.gtx not found (Debian's package proj-data)")


def undulation(lat, lon):
    """N, metres, bilinear between the four nodes around the point; the
    grid's columns close around the globe."""
    data = grid_path().read_bytes()
    lat0, lon0, dlat, dlon = np.frombuffer(data, ">f8", 4)
    rows, cols = np.frombuffer(data, ">i4", 2, offset=32)
    n = np.frombuffer(data, ">f4", rows * cols, offset=40).reshape(rows, cols)
    y = (lat - lat0) / dlat
    x = ((lon - lon0) % 360.0) / dlon
    i, j = int(np.floor(y)), int(np.floor(x))
    i = min(i, rows - 2)
    fy, fx = y - i, x - j
    j1 = (j + 1) % cols
    return ((1 - fy) * ((1 - fx) * n[i, j] + fx * n[i, j1]) +
            fy * ((1 - fx) * n[i + 1, j] + fx * n[i + 1, j1]))


# Points across the grid, between its nodes, on the seam at 180 degrees,
# beyond it, and at the poles.
POINTS = [(45.1, 10.07), (-33.9, 151.2), (27.99, 86.93), (0.0, -60.0),
          (-9.05, 179.96), (20.2, 200.3), (90.0, 0.0), (-90.0, 33.0),
          (60.0, -179.9)]


@pytest.mark.parametrize("lat, lon", POINTS)
def test_heights_above_sea_level_add_the_geoid(lat, lon):
    km = 1.5
    expected = WMM.field(lat, lon, km + undulation(lat, lon) / 1000.0, 2007)
    ours = WMM.field(lat, lon, km, 2007, height="msl")
    # A millimetre of geoid moves F by far less than this.
    for name in norvane.ELEMENTS:
        assert ours[name] == pytest.approx(expected[name], rel=1e-10,
                                           abs=1e-9), name


def test_the_tool_and_the_module_agree_on_sea_level():
    lat, lon = np.array(POINTS).T
    stdin = "".join("%r %r 2.0 2007\n" % p for p in POINTS)
    run = run_field("--digits", 17, "--height", "msl", stdin=stdin)
    assert run.status == 0, run.err
    field = WMM.field(lat, lon, 2.0, 2007, height="msl")
    ours = np.column_stack([field[n] for n in norvane.ELEMENTS])
    np.testing.assert_array_equal(ours, run.numbers())


def test_sea_level_heights_are_held_to_the_validity_above_the_ellipsoid():
    # 849.99 km above the sea is above 850 km above the ellipsoid where the
    # geoid lies above it (about +50 m over the North Atlantic).
    with pytest.raises(ValueError, match="above 850 km"):
        WMM.field(55.0, -20.0, 849.99, 2007, height="msl", strict=True)
    WMM.field(55.0, -20.0, 849.99, 2007, strict=True)


def test_a_missing_grid_is_an_os_error_with_the_tools_words():
    # PROJ looks for its grids where these name, and finds none there.
    env = dict(os.environ, PROJ_DATA="/nonexistent", PROJ_LIB="/nonexistent")
    tool = subprocess.run([NORVANE_FIELD, "--height", "msl", "0", "0", "0"],
                          env=env, capture_output=True, text=True)
    assert tool.returncode == 2 and tool.stdout == ""
    script = ("import norvane\n"
              "try:\n"
              "    norvane.Model.wmm2005().field(0, 0, height='msl')\n"
              "except OSError as e:\n"
              "    print('norvane-field: %s' % e)\n")
    module = subprocess.run([sys.executable, "-c", script], env=env,
                            capture_output=True, text=True)
    assert module.stdout == tool.stderr
    assert "egm96_15.gtx" in tool.stderr
