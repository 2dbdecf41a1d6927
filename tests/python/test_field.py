"""norvane.Model.field and grid: shapes, years, errors and validity, and
the same numbers as norvane-field."""

import datetime
import warnings

import numpy as np
import pytest

import norvane
from conftest import run_field, tool_message

WMM = norvane.Model.wmm2005()


@pytest.mark.parametrize("lat, lon, alt, year, shape", [
    (45.0, 10.0, 0.0, 2006.0, ()),
    ([10.0, 20.0, 30.0], 0.0, 0.0, 2006.0, (3,)),
    (np.zeros((3, 1)), np.zeros(4), 0.0, 2006.0, (3, 4)),
    (0.0, 0.0, np.zeros((2, 1, 1)), np.full(5, 2007.0), (2, 1, 5)),
    (np.zeros((0,)), 0.0, 0.0, 2006.0, (0,)),
])
def test_results_take_the_broadcast_shape(lat, lon, alt, year, shape):
    field = WMM.field(lat, lon, alt, year, rates=True)
    assert field.names == norvane.ELEMENTS + norvane.RATES
    for name in field:
        assert np.shape(field[name]) == shape, name


def test_every_point_is_its_own_evaluation():
    lat = np.array([[-30.0, 0.0], [45.0, 89.0]])
    lon = np.array([[170.0, -60.0], [10.0, 240.0]])
    together = WMM.field(lat, lon, 3.0, 2008.5)
    for index in np.ndindex(lat.shape):
        alone = WMM.field(lat[index], lon[index], 3.0, 2008.5)
        for name in norvane.ELEMENTS:
            assert together[name][index] == alone[name]


def test_mismatched_shapes_are_refused():
    with pytest.raises(ValueError):
        WMM.field(np.zeros(3), np.zeros(4))


# Dates and times, as decimal years worked out by hand: 2020 has 366 days,
# the 1st of July is day 183, so 182 days have passed.
@pytest.mark.parametrize("year, expected", [
    (np.datetime64("2020-07-01"), 2020 + 182 / 366),
    (datetime.date(2020, 7, 1), 2020 + 182 / 366),
    (datetime.datetime(2021, 1, 1, 12), 2021 + 0.5 / 365),
    (datetime.datetime(2021, 1, 1, 13,
                       tzinfo=datetime.timezone(datetime.timedelta(hours=1))),
     2021 + 0.5 / 365),
    (np.datetime64("2019-12-31T18:00"), 2019 + 364.75 / 365),
    (2007.25, 2007.25),
])
def test_dates_are_decimal_years(year, expected):
    assert norvane.decimal_year(year) == pytest.approx(expected, abs=1e-12)


def test_a_date_gives_what_the_tool_gives_for_it():
    run = run_field("--digits", 17, 45, 10, 0, "2008-03-15")
    ours = WMM.field(45, 10, 0, np.datetime64("2008-03-15"))
    assert [ours[n] for n in norvane.ELEMENTS] == list(run.numbers()[0])


def test_arrays_of_dates_broadcast():
    dates = np.array(["2006-01-01", "2007-01-01"], dtype="datetime64[D]")
    field = WMM.field(0.0, 0.0, 0.0, dates)
    assert field.F.shape == (2,)
    assert field.F[1] == WMM.field(0.0, 0.0, 0.0, 2007.0).F


def test_no_year_is_the_tools_default(small_model):
    assert WMM.default_year == 2006.0
    assert WMM.field(0, 0).F == WMM.field(0, 0, 0, 2006.0).F
    now = norvane.current_year()
    model = norvane.Model(small_model)
    assert now <= model.default_year <= now + 1e-3


@pytest.mark.parametrize("arguments, message", [
    ((91.0, 0.0), "point (): LAT is outside [-90, 90]"),
    (([0.0, np.nan], 0.0), "point (1,): LAT is outside [-90, 90]"),
    ((0.0, [[0.0, np.inf]]), "point (0, 1): LON is not finite"),
    ((0.0, 0.0, np.nan), "point (): ALT is not finite"),
    ((0.0, 0.0, 0.0, np.datetime64("NaT")), "point (): YEAR is not finite"),
])
def test_bad_points_raise_with_their_index(arguments, message):
    with pytest.raises(ValueError) as raised:
        WMM.field(*arguments)
    assert str(raised.value) == message


def test_bad_words_raise():
    with pytest.raises(ValueError, match="height 'sea' is neither"):
        WMM.field(0, 0, height="sea")
    with pytest.raises(TypeError):
        WMM.field(0, 0, 0, "2020-01-01")
    with pytest.raises(ValueError, match="the steps must be positive"):
        WMM.grid(0, 10, 0, 0, 10, 1)


def test_model_files_raise_the_tools_messages(tmp_path, small_model):
    missing = tmp_path / "missing.COF"
    bad = tmp_path / "BAD.COF"
    bad.write_text(small_model.read_text().replace("  2  1 ", "  2  2 "))
    for path, error in [(missing, OSError), (bad, ValueError)]:
        run = run_field("--model", path, 0, 0, 0, 2020)
        assert run.status == 2
        with pytest.raises(error) as raised:
            norvane.Model(path)
        assert str(raised.value) == tool_message(run)


def test_points_outside_the_validity_warn_as_the_tool_counts():
    points = "0 0 0 2011\n0 0 900 2004\n0 0 0 2006\n"
    run = run_field(stdin=points)
    with pytest.warns(norvane.ValidityWarning) as caught:
        field = WMM.field(0, 0, [0, 900, 0], [2011, 2004, 2006])
    assert str(caught[0].message) == tool_message(run)
    assert np.isfinite(field.F).all()


def test_strict_refuses_points_outside_the_validity():
    run = run_field("--strict", stdin="0 0 900 2011\n")
    with pytest.raises(ValueError) as raised:
        WMM.field(0, 0, [0, 900], [2006, 2011], strict=True)
    assert str(raised.value) == "point (1,): " + \
        tool_message(run).split(": ", 1)[1]
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        WMM.field(0, 0, 0, 2006, strict=True)


def columns(field, names):
    return np.column_stack([np.ravel(field[n]) for n in names])


@pytest.mark.parametrize("model_of", ["compiled", "file", "shc"])
def test_points_give_the_tools_numbers(model_of, small_model, small_shc):
    rng = np.random.default_rng(27)
    lat = rng.uniform(-90, 90, 200)
    lat[:3] = [90.0, -90.0, 0.0]
    lon = rng.uniform(-360, 360, 200)
    alt = rng.uniform(-1, 850, 200)
    year = rng.uniform(2005, 2010, 200) + (15 if model_of == "file" else 0)
    if model_of == "shc":  # both intervals, and their ends
        year = rng.uniform(2000, 2020, 200)
        year[:3] = [2000.0, 2010.0, 2020.0]
    arguments = ["--digits", 17, "--rates"]
    if model_of == "compiled":
        model = WMM
    else:
        path = small_model if model_of == "file" else small_shc
        model = norvane.Model(path)
        arguments += ["--model", path]
    stdin = "".join("%r %r %r %r\n" % p for p in zip(lat, lon, alt, year))
    run = run_field(*arguments, stdin=stdin)
    assert run.status == 0, run.err
    ours = columns(model.field(lat, lon, alt, year, rates=True),
                   norvane.ELEMENTS + norvane.RATES)
    np.testing.assert_array_equal(ours, run.numbers())


@pytest.mark.parametrize("height", ["ellipsoid", "msl"])
def test_grids_give_the_tools_numbers(height):
    grid = (-90, 90, 22.5, -180, 180, 40)
    run = run_field("--digits", 17, "--rates", "--height", height,
                    "--grid", *grid, "--alt", 12.5, "--year", 2009.5)
    assert run.status == 0, run.err
    field = WMM.grid(*grid, alt=12.5, year=2009.5, rates=True, height=height)
    assert field.D.shape == (len(field.lat), len(field.lon)) == (9, 10)
    lat, lon = np.meshgrid(field.lat, field.lon, indexing="ij")
    ours = np.column_stack([lat.ravel(), lon.ravel(),
                            columns(field, norvane.ELEMENTS + norvane.RATES)])
    np.testing.assert_array_equal(ours, run.numbers())


def test_the_model_describes_itself(small_model):
    model = norvane.Model(small_model)
    assert (model.name, model.epoch, model.degree) == ("SMALL-2020", 2020.0, 2)
    assert model.validity == (2020.0, 2025.0, -1.0, 850.0)
    assert (WMM.name, WMM.degree) == ("WMM-2005", 12)


def outcome(call):
    """The results, or the error, and the warnings of a call."""
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        try:
            result = call()
        except ValueError as e:
            result = str(e)
    return result, [str(w.message) for w in caught]


def test_any_number_of_threads_gives_the_same_outcome():
    # Enough points for many pieces; some outside the validity before a bad
    # one far into the array, which stops the run as one thread meets it.
    rng = np.random.default_rng(26)
    lat = rng.uniform(-90, 90, 5000)
    lon = rng.uniform(-180, 180, 5000)
    year = rng.uniform(2004, 2011, 5000)
    bad = lat.copy()
    bad[3210] = 91.0
    calls = [
        lambda n: WMM.field(lat, lon, 100.0, year, rates=True, threads=n),
        lambda n: WMM.field(bad, lon, 0.0, year, threads=n),
        lambda n: WMM.field(lat, lon, 0.0, year, strict=True, threads=n),
        lambda n: WMM.grid(-90, 90, 1.5, -180, 180, 2, year=2011, threads=n),
        lambda n: WMM.grid(-90, 90, 0.25, 0, 0, 1, alt=900, threads=n),
    ]
    for call in calls:
        one, warned = outcome(lambda: call(1))
        for threads in (2, 7, None):
            many, warned_many = outcome(lambda: call(threads))
            assert warned_many == warned
            if isinstance(one, str):
                assert many == one
            else:
                for name in one.names:
                    np.testing.assert_array_equal(many[name], one[name])


@pytest.mark.parametrize("threads", [0, -1, 1025])
def test_bad_numbers_of_threads_raise(threads):
    with pytest.raises(ValueError, match="is not a whole number from 1 to"):
        WMM.field(0, 0, threads=threads)
    with pytest.raises(ValueError, match="is not a whole number from 1 to"):
        WMM.grid(0, 1, 1, 0, 1, 1, threads=threads)
    with pytest.raises(TypeError):
        WMM.field(0, 0, threads="2")
