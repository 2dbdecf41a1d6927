"""norvane.Model.poles and uncertainty: the numbers norvane-field prints
for --poles and --uncertainty, and the same refusals."""

import numpy as np
import pytest

import norvane
from conftest import run_field


@pytest.fixture
def named_model(tmp_path):
    """A degree-2 model of made-up coefficients under a name that has a
    published error model."""
    path = tmp_path / "NAMED.COF"
    path.write_text(
        "2025.0 WMM-2025 11/13/2024\n"
        "1 0 -29500.0 0.0 12.5 0.0\n"
        "1 1 -1400.0 4500.0 9.5 -21.5\n"
        "2 0 -2550.0 0.0 -11.5 0.0\n"
        "2 1 2950.0 -3100.0 -5.5 -27.5\n"
        "2 2 1650.0 -800.0 2.5 -12.5\n"
        + "9" * 48 + "\n")
    return path


def test_poles_are_the_tools(named_model):
    run = run_field("--model", named_model, "--poles", "--year",
                    "2025:2030:5", "--alt", 10)
    assert run.status == 0, run.err
    printed = {}
    for line in run.out.splitlines():
        words = line.split()
        printed[(float(words[0]), words[1])] = [float(w) for w in words[2:]]
    model = norvane.Model(named_model)
    for year in (2025.0, 2030.0):
        poles = model.poles(year, alt=10)
        assert poles.year == year
        for label in ("north-dip", "south-dip", "north-geomagnetic",
                      "south-geomagnetic"):
            ours = getattr(poles, label.replace("-", "_"))
            np.testing.assert_allclose(ours, printed[(year, label)],
                                       atol=5e-7)
        np.testing.assert_allclose(poles.dipole_moment,
                                   printed[(year, "dipole-moment")],
                                   rtol=1e-5)


def test_uncertainty_is_the_tools(named_model):
    lat = np.array([0.0, 45.0, 89.0, -70.0])
    lon = np.array([0.0, -100.0, 150.0, 140.0])
    stdin = "".join("%r %r 0 2026\n" % p for p in zip(lat, lon))
    run = run_field("--digits", 17, "--uncertainty", "--model", named_model,
                    stdin=stdin)
    assert run.status == 0, run.err
    sigma = norvane.Model(named_model).uncertainty(lat, lon, 0.0, 2026.0)
    assert sigma.names == norvane.UNCERTAINTIES
    ours = np.column_stack([sigma[n] for n in sigma.names])
    np.testing.assert_array_equal(ours, run.numbers()[:, 7:])


def test_uncertainty_needs_a_published_error_model(small_shc):
    for model in (norvane.Model.wmm2005(), norvane.Model(small_shc)):
        with pytest.raises(ValueError, match="has no published error model"):
            model.uncertainty(0.0, 0.0, 0.0, 2010.0)
