"""The Earth's main magnetic field on numpy arrays.

The field model of the norvane command-line tools: the compiled-in WMM-2005
or any model file the tools read, evaluated in C++ over whole arrays with
the interpreter's lock released, giving the same numbers as norvane-field.

    >>> import norvane
    >>> model = norvane.Model.wmm2005()
    >>> f = model.field(45.0, [0.0, 90.0], alt=0.0, year=2006.0)
    >>> f.D          # declination, degrees, one per longitude

Angles are in degrees (latitudes geodetic, longitudes east positive),
heights in km, intensities in nT, years decimal.  See docs/python.md.
"""

import collections
import datetime as _datetime
import os
import warnings

import numpy as np

from ._core import _Model, current_year

__all__ = ["Model", "Field", "Poles", "Validity", "ValidityWarning",
           "ELEMENTS", "RATES", "UNCERTAINTIES", "decimal_year",
           "current_year"]

#: The elements, in the order norvane-field prints them: X Y Z F H in nT
#: (north, east, down, total, horizontal), D I in degrees.
ELEMENTS = ("X", "Y", "Z", "F", "H", "D", "I")
#: Their rates of change, per year (nT/year, degrees/year).
RATES = tuple("d" + name for name in ELEMENTS)

#: The elements' 1-sigma uncertainties, in the elements' order (nT, degrees).
UNCERTAINTIES = tuple("s" + name for name in ELEMENTS)

#: The magnetic poles of one year: each pole (latitude, longitude) in
#: degrees, geodetic for the dip poles (None where not found) and
#: geocentric for the centred dipole's; the dipole moment in A m^2.
Poles = collections.namedtuple(
    "Poles", "year north_dip south_dip north_geomagnetic south_geomagnetic "
    "dipole_moment")

#: Where a model is valid: decimal years and heights above the ellipsoid, km.
Validity = collections.namedtuple("Validity",
                                  "first_year last_year lowest_km highest_km")


class ValidityWarning(UserWarning):
    """Points lay outside the model's validity; they still have results."""


class Field:
    """The elements at the points, one array of the inputs' shape each.

    Attributes X Y Z F H D I (and dX .. dI when asked for rates); a name
    also works as a key (``field["D"]``).  ``names`` lists the names in
    order, ``as_dict()`` gives them as a dict.  For grids, ``lat`` and
    ``lon`` hold the grid's latitudes and longitudes and every element is
    a 2-D array indexed [latitude, longitude].
    """

    def __init__(self, names, values, **coordinates):
        self.names = tuple(names)
        self._values = dict(zip(self.names, values))
        self.__dict__.update(self._values)
        self.__dict__.update(coordinates)

    def __getitem__(self, name):
        return self._values[name]

    def __iter__(self):
        return iter(self.names)

    def __len__(self):
        return len(self.names)

    def as_dict(self):
        """The elements as a dict of arrays, in order."""
        return dict(self._values)

    def __repr__(self):
        shape = np.shape(self._values[self.names[0]])
        return "Field(%s, shape=%s)" % (" ".join(self.names), shape)


def _utc_naive(value):
    """A datetime as a naive UTC one; naive ones are taken as UTC."""
    if isinstance(value, _datetime.datetime) and value.tzinfo is not None:
        value = value.astimezone(_datetime.timezone.utc).replace(tzinfo=None)
    return value


def decimal_year(year):
    """Decimal years of dates and times, as the tools count them.

    A time t in year Y is Y + (t - start of Y) / (length of Y), UTC, so a
    date yyyy-mm-dd gives what norvane-field gives for it.

    year: decimal years (numbers or arrays), numpy.datetime64 values or
    arrays, or datetime.date / datetime.datetime values or sequences of
    them (naive ones are UTC).  NaT gives NaN.
    Returns a float64 array (0-d for a scalar).
    """
    if isinstance(year, (_datetime.date, np.datetime64)):
        year = [year]
        scalar = True
    else:
        scalar = False
    values = np.asarray(year)
    if values.dtype == object:
        values = np.array([np.datetime64(_utc_naive(v), "us")
                           if isinstance(v, _datetime.date) else v
                           for v in values.ravel()]).reshape(values.shape)
    elif values.dtype.kind in "US":
        raise TypeError("year: give decimal years, numpy.datetime64 or "
                        "datetime values, not text")
    if np.issubdtype(values.dtype, np.datetime64):
        t = values.astype("datetime64[us]")
        whole = t.astype("datetime64[Y]")
        start = whole.astype("datetime64[us]")
        end = (whole + 1).astype("datetime64[us]")
        with np.errstate(invalid="ignore"):
            years = (whole.astype(np.int64) + 1970.0 + (t - start) / (end - start))
        years = np.where(np.isnat(t), np.nan, years)
    else:
        years = values.astype(np.float64)
    return years[0] if scalar else years


class Model:
    """A main-field model, ready to evaluate.

    Model(path) reads a model file as norvane-field --model does (OSError
    if it cannot be read, ValueError with the tools' message if it is not a
    valid model); Model.wmm2005() is the compiled-in WMM-2005.
    """

    def __init__(self, path):
        self._core = _Model(os.fspath(path))

    @classmethod
    def wmm2005(cls):
        """The compiled-in WMM-2005, as norvane-field without --model."""
        model = cls.__new__(cls)
        model._core = _Model.wmm2005()
        return model

    @property
    def name(self):
        """The model's name, e.g. "WMM-2025"."""
        return self._core.name

    @property
    def epoch(self):
        """The decimal year the coefficients refer to."""
        return self._core.epoch

    @property
    def degree(self):
        """The highest degree and order."""
        return self._core.degree

    @property
    def validity(self):
        """The span of years and heights the model is issued for."""
        return Validity(*self._core.validity)

    @property
    def default_year(self):
        """The year of year=None: now for model files, 2006.0 for WMM-2005."""
        return 2006.0 if self._core.compiled_in else current_year()

    def __repr__(self):
        return "norvane.Model(%s, degree %d, epoch %s)" % (
            self.name, self.degree, self.epoch)

    def field(self, lat, lon, alt=0.0, year=None, *, rates=False,
              height="ellipsoid", strict=False, threads=None):
        """The field at points, broadcast over all four inputs.

        lat: geodetic latitude, degrees, -90 to 90.
        lon: longitude, degrees, east positive.
        alt: height, km, above the WGS-84 ellipsoid, or with height="msl"
            above mean sea level (the EGM96 geoid).
        year: decimal year, numpy.datetime64 or datetime (see
            decimal_year); None for default_year.
        rates: also give dX .. dI, per year.
        strict: points outside the validity raise ValueError instead of
            a ValidityWarning.
        threads: how many threads share out the points, 1 to 1024; None
            for the machine's hardware threads.  The results are the same
            for any number; large arrays gain from several.
        Returns a Field whose arrays have the broadcast shape.  A point
        that is not valid input raises ValueError naming its index.
        """
        years = decimal_year(self.default_year if year is None else year)
        arrays = np.broadcast_arrays(*(np.asarray(a, dtype=np.float64)
                                       for a in (lat, lon, alt, years)))
        shape = arrays[0].shape
        flat = [np.ascontiguousarray(a).reshape(-1) for a in arrays]
        values, failed, error, outside = self._core.points(
            *flat, rates=rates, strict=strict, height=height,
            threads=threads)
        self._report(failed, error, outside, shape)
        names = ELEMENTS + (RATES if rates else ())
        return Field(names, [v.reshape(shape) for v in values])

    def grid(self, lat0, lat1, dlat, lon0, lon1, dlon, *, alt=0.0,
             year=None, rates=False, height="ellipsoid", strict=False,
             threads=None):
        """The field on a grid, as norvane-field --grid evaluates it.

        Latitudes lat0, lat0 + dlat, ... lat1 and longitudes lon0, ... lon1,
        degrees, both ends included; alt, year, rates, height, strict and
        threads as for field (year a single value).  Returns a Field with 1-D arrays
        lat and lon and 2-D elements [latitude, longitude].
        """
        years = decimal_year(self.default_year if year is None else year)
        if np.ndim(years) != 0:
            raise ValueError("grid: year must be a single value")
        lat, lon, (values, failed, error, outside) = self._core.grid(
            float(lat0), float(lat1), float(dlat), float(lon0), float(lon1),
            float(dlon), alt=float(alt), year=float(years), rates=rates,
            strict=strict, height=height, threads=threads)
        self._report(failed, error, outside, (len(lat), len(lon)))
        names = ELEMENTS + (RATES if rates else ())
        return Field(names, list(values), lat=lat, lon=lon)

    def uncertainty(self, lat, lon, alt=0.0, year=None, *,
                    height="ellipsoid", strict=False):
        """The model's 1-sigma uncertainty at points, as norvane-field
        --uncertainty gives it: sX sY sZ sF sH in nT, sD sI in degrees, sD
        from the point's H (up to 180 where H vanishes).  Arguments as for
        field.  Raises ValueError for a model without a published error
        model (the compiled-in WMM-2005, WMM-2010, the IGRF).
        """
        field = self.field(lat, lon, alt, year, height=height, strict=strict)
        shape = np.shape(field.H)
        values = self._core.uncertainties(
            np.ascontiguousarray(field.H, dtype=np.float64).reshape(-1))
        return Field(UNCERTAINTIES, [v.reshape(shape) for v in values])

    def poles(self, year=None, alt=0.0):
        """The magnetic poles of one year at height alt (km above the
        ellipsoid), as norvane-field --poles finds them: a Poles tuple.
        A dip pole the search does not find is None.
        """
        years = decimal_year(self.default_year if year is None else year)
        if np.ndim(years) != 0:
            raise ValueError("poles: year must be a single value")
        return Poles(float(years), *self._core.poles(float(years),
                                                     float(alt)))

    @staticmethod
    def _report(failed, error, outside, shape):
        """Raises for a point that stopped the evaluation, or warns of
        points outside the validity."""
        if failed >= 0:
            index = np.unravel_index(failed, shape) if shape else ()
            raise ValueError("point %s: %s" % (tuple(int(i) for i in index),
                                               error))
        if outside:
            warnings.warn(outside, ValidityWarning, stacklevel=3)
