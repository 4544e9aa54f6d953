"""Thermophysical properties of water, methanol and carbon dioxide.

The same calculation as the Kelvane desktop program and ``kelvane-cli``, over numpy
arrays. Every quantity is in SI units, on a mass basis unless ``basis="molar"``:

=====================  ==============  ==================
quantity               mass basis      molar basis
=====================  ==============  ==================
T                      K               K
P, pressures           Pa              Pa
rho, densities         kg/m3           mol/m3
u, h, a, g             J/kg            J/mol
s, cv, cp              J/(kg K)        J/(mol K)
second_virial          m3/kg           m3/mol
w                      m/s             m/s
joule_thomson, kappa   K/Pa, 1/Pa      K/Pa, 1/Pa
alpha                  1/K             1/K
viscosity              Pa s            Pa s
thermal_conductivity   W/(m K)         W/(m K)
thermal_diffusivity    m2/s            m2/s
=====================  ==============  ==================

``state`` computes one state, ``properties`` arrays of states, ``saturation`` both
saturated phases, ``table`` the files of ``kelvane-cli table`` and ``fluids`` lists the
fluids with their constants, limits and formulations.
"""

import numbers

import numpy as np

from . import _engine

__version__ = _engine.version

__all__ = ["state", "properties", "saturation", "table", "fluids", "State", "RangeError", "OUTPUTS",
           "SATURATION_OUTPUTS", "__version__"]


class RangeError(ValueError):
    """A state that the formulation refuses; the message is the program's message."""


# Every output of ``properties`` and attribute of a ``State``, in the order of the
# program's fields.
OUTPUTS = tuple(_engine.output_names)
# Every output of ``saturation``.
SATURATION_OUTPUTS = tuple(_engine.saturation_names)

# The pairs that fix a state, as the engine numbers them.
_ALL_PAIRS = {("T", "P"): 0, ("T", "rho"): 1, ("P", "h"): 2, ("P", "s"): 3, ("T", "x"): 4, ("P", "x"): 5}
_PAIRS = {names: code for names, code in _ALL_PAIRS.items() if code in _engine.pairs}
_PAIR_VARIABLES = sorted({v for names in _PAIRS for v in names}, key="TPrhosx".find)
_PAIR_CHOICES = ", ".join("(" + ", ".join(names) + ")" for names in _PAIRS)

_BASES = ("mass", "molar")

# Units by basis (mass, molar), from the unit kind of each output's field.
_UNITS = dict(zip(OUTPUTS, _engine.output_units))

# The formulations behind each fluid's numbers.
_REFERENCES = {
    "water": [
        "IAPWS-IF97: W. Wagner and A. Kruse, Properties of Water and Steam (Springer, Berlin, 1998)",
        "Viscosity, thermal conductivity, dielectric constant and refractive index: the IAPWS "
        "formulations as given by W. Wagner and A. Kruse (1998)",
        "Ion product: W. L. Marshall and E. U. Franck, J. Phys. Chem. Ref. Data 10, 295 (1981)",
    ],
    "methanol": [
        "Equation of state: K. M. de Reuck and R. J. B. Craven, Methanol, International "
        "Thermodynamic Tables of the Fluid State 12 (Blackwell, 1993)",
        "Viscosity: H. W. Xiang, A. Laesecke and M. L. Huber, J. Phys. Chem. Ref. Data 35, 1597 (2006)",
        "Thermal conductivity: E. A. Sykioti, M. J. Assael, M. L. Huber and R. A. Perkins, "
        "J. Phys. Chem. Ref. Data 42, 043101 (2013)",
    ],
    "co2": [
        "Equation of state: R. Span and W. Wagner, J. Phys. Chem. Ref. Data 25, 1509 (1996)",
        "Viscosity: A. Fenghour, W. A. Wakeham and V. Vesovic, J. Phys. Chem. Ref. Data 27, 31 (1998)",
        "Thermal conductivity: V. Vesovic, W. A. Wakeham, G. A. Olchowy, J. V. Sengers, "
        "J. T. R. Watson and J. Millat, J. Phys. Chem. Ref. Data 19, 763 (1990)",
    ],
}

_FLUID_CHOICES = "water, methanol or co2 (also H2O, MeOH, CO2; any case)"


def _fluid_index(fluid):
    if not isinstance(fluid, str):
        raise TypeError(f"fluid must be a name: {_FLUID_CHOICES}, not {type(fluid).__name__}")
    index = _engine.fluid_index(fluid)
    if index < 0:
        raise ValueError(f"unknown fluid {fluid!r}: choose {_FLUID_CHOICES}")
    return index


def _molar(basis):
    if basis not in _BASES:
        raise ValueError(f"unknown basis {basis!r}: choose 'mass' or 'molar'")
    return basis == "molar"


def _threads(threads):
    if threads is None:
        return 0
    if isinstance(threads, bool) or not isinstance(threads, numbers.Integral):
        raise TypeError(f"threads must be a positive integer or None, not {threads!r}")
    if threads < 1:
        raise ValueError(f"threads must be at least 1 (or None for one per core), not {threads}")
    return int(threads)


def _wavelength(wavelength):
    if isinstance(wavelength, bool) or not isinstance(wavelength, numbers.Real):
        raise TypeError(f"wavelength must be a number (nm), not {wavelength!r}")
    return float(wavelength)


def _pair(pair):
    """The pair code and the two (name, value) items of the keyword arguments."""
    unknown = [k for k in pair if k not in _PAIR_VARIABLES]
    if unknown:
        raise TypeError(f"unexpected argument {unknown[0]!r}: a state is given by one of the pairs {_PAIR_CHOICES}")
    for names, code in _PAIRS.items():
        if set(names) == set(pair):
            return code, [(n, pair[n]) for n in names]
    given = ", ".join(sorted(pair, key=_PAIR_VARIABLES.index)) or "nothing"
    what = "an incomplete pair" if len(pair) < 2 else "an over-determined state" if len(pair) > 2 else "not a pair"
    raise ValueError(f"({given}) is {what}: give one of the pairs {_PAIR_CHOICES}")


def _as_float_array(name, value):
    if value is None or isinstance(value, (str, bytes)):
        raise TypeError(f"{name} must be a number or an array of numbers, not {value!r}")
    try:
        array = np.asarray(value)
    except Exception as e:  # ragged lists and the like
        raise ValueError(f"{name} is not an array of numbers: {e}") from None
    if array.dtype.kind not in "biuf":
        raise TypeError(f"{name} must hold real numbers, not {array.dtype}")
    return array.astype(np.float64, copy=False)


def _broadcast(items):
    arrays = [_as_float_array(n, v) for n, v in items]
    try:
        return np.broadcast_arrays(*arrays)
    except ValueError:
        shapes = " and ".join(f"{n} of shape {a.shape}" for (n, _), a in zip(items, arrays))
        raise ValueError(f"the arrays do not broadcast: {shapes}") from None


def _select(outputs, choices, what="output"):
    if outputs is None:
        return list(choices)
    if isinstance(outputs, str):
        outputs = [outputs]
    try:
        selected = list(outputs)
    except TypeError:
        raise TypeError(f"outputs must be a name or a list of names, not {outputs!r}") from None
    for name in selected:
        if not isinstance(name, str):
            raise TypeError(f"outputs must be names, not {name!r}")
        if name not in choices:
            raise ValueError(f"unknown {what} {name!r}: choose from {', '.join(choices)}")
    return selected


def _message_array(codes, shape, texts_of):
    """The message line of every state as an array of str of the given shape."""
    unique, inverse = _engine.distinct_codes(np.ravel(codes))
    lines = np.array(["".join(texts_of(int(c))) for c in unique] or [""], dtype=str)
    return lines[inverse].reshape(shape) if codes.size else np.empty(shape, dtype=str)


def properties(fluid, outputs=None, threads=None, basis="mass", wavelength=589.0, **pair):
    """Properties of many states at once.

    The pair is ``T=, P=``, ``T=, rho=``, ``P=, h=``, ``P=, s=``, ``T=, x=`` or ``P=, x=``;
    each value is a number or an array, and the two broadcast against each other. Returns a dict of float64
    arrays of the broadcast shape, one per name of ``outputs`` (default: every name of
    ``OUTPUTS``), and ``"message"``, the message line of each state as an array of str.
    A state the formulation refuses has NaN in every output and its message. The states
    are computed in C++ on ``threads`` threads (None: one per core); the numbers do not
    depend on the number of threads.
    """
    index = _fluid_index(fluid)
    molar = _molar(basis)
    selected = _select(outputs, OUTPUTS)
    nthreads = _threads(threads)
    code, items = _pair(pair)
    a, b = _broadcast(items)
    shape = a.shape
    flat_a = np.ascontiguousarray(a, dtype=np.float64).ravel()
    flat_b = np.ascontiguousarray(b, dtype=np.float64).ravel()
    arrays, codes, _ = _engine.compute(index, code, flat_a, flat_b, [OUTPUTS.index(n) for n in selected], molar,
                                       nthreads, _wavelength(wavelength))
    result = {name: array.reshape(shape) for name, array in zip(selected, arrays)}
    result["message"] = _message_array(codes, shape, _engine.message_texts)
    return result


def _phase(v, fluid_index):
    """Liquid, vapour, supercritical, gas or two-phase, from T, P, rho and saturation."""
    if not np.isnan(v["x"]):
        return "two-phase"
    info = _engine.fluids()[fluid_index]
    if v["T"] >= info["Tc"]:
        return "supercritical" if v["P"] >= info["Pc"] else "gas"
    if v["P"] >= info["Pc"]:
        return "liquid"
    rhov, rhol = v["saturated_vapour_density"], v["saturated_liquid_density"]
    if np.isnan(rhov) or np.isnan(rhol):
        return "liquid" if v["P"] > v["saturation_pressure"] else "vapour"
    if v["rho"] >= rhol:
        return "liquid"
    if v["rho"] <= rhov:
        return "vapour"
    # Between the saturated densities: a metastable state, on the side of its density.
    rhoc = info["rhoc_molar"] if v["_molar"] else info["rhoc"]
    return "metastable liquid" if v["rho"] > rhoc else "metastable vapour"


class State:
    """One state of a fluid: read-only attributes in SI units (see the module's table),
    None where the fluid or the state has no such quantity, ``messages`` (the message
    line's texts, for example a warning) and ``phase``."""

    __slots__ = ("_fluid", "_basis", "_values", "_messages", "_phase")

    def __init__(self, fluid, basis, values, messages, phase):
        object.__setattr__(self, "_fluid", fluid)
        object.__setattr__(self, "_basis", basis)
        object.__setattr__(self, "_values", values)
        object.__setattr__(self, "_messages", tuple(messages))
        object.__setattr__(self, "_phase", phase)

    def __setattr__(self, name, value):
        raise AttributeError(f"State attributes are read-only ({name})")

    def __delattr__(self, name):
        raise AttributeError(f"State attributes are read-only ({name})")

    @property
    def fluid(self):
        """The fluid's id: water, methanol or co2."""
        return self._fluid

    @property
    def basis(self):
        """'mass' or 'molar'."""
        return self._basis

    @property
    def messages(self):
        """The message line's texts (empty when the state has none)."""
        return self._messages

    @property
    def phase(self):
        """liquid, vapour, gas, supercritical, two-phase, metastable liquid or metastable vapour."""
        return self._phase

    def unit(self, name):
        """The unit of the attribute `name` in this state's basis ('' if dimensionless)."""
        if name not in _UNITS:
            raise ValueError(f"unknown quantity {name!r}: choose from {', '.join(OUTPUTS)}")
        return _UNITS[name][self._basis == "molar"]

    def to_dict(self):
        """Every quantity by name (None where there is none), phase and messages."""
        d = dict(self._values)
        d["phase"] = self._phase
        d["messages"] = list(self._messages)
        return d

    def __eq__(self, other):
        if not isinstance(other, State):
            return NotImplemented
        return self.to_dict() == other.to_dict() and (self._fluid, self._basis) == (other._fluid, other._basis)

    __hash__ = None

    def __repr__(self):
        lines = [f"<kelvane.State {self._fluid} ({self._basis} basis), {self._phase}"]
        width = max(len(n) for n in OUTPUTS)
        for name in OUTPUTS:
            v = self._values[name]
            if v is None:
                continue
            unit = self.unit(name)
            lines.append(f"  {name:<{width}} = {v:.10g}" + (f" {unit}" if unit else ""))
        for m in self._messages:
            lines.append(f"  message: {m}")
        return "\n".join(lines) + ">"


def _make_state_property(name):
    def get(self):
        return self._values[name]
    unit = _UNITS.get(name, ("", ""))
    get.__doc__ = f"{name} ({unit[0] or 'dimensionless'} on a mass basis, {unit[1] or 'dimensionless'} molar)"
    return property(get)


for _name in OUTPUTS:
    setattr(State, _name, _make_state_property(_name))
del _name


def state(fluid, basis="mass", wavelength=589.0, **pair):
    """One state: ``state("water", T=300, P=1e6)``, or ``T=, rho=``, ``P=, h=``,
    ``P=, s=``, ``T=, x=``, ``P=, x=``. Raises RangeError with the program's message when the formulation
    refuses the state; a state with a warning carries it in ``messages``."""
    index = _fluid_index(fluid)
    molar = _molar(basis)
    code, items = _pair(pair)
    values = []
    for name, value in items:
        if isinstance(value, bool) or not isinstance(value, numbers.Real):
            if isinstance(value, np.ndarray) and value.ndim == 0 and value.dtype.kind in "iuf":
                value = float(value)
            else:
                raise TypeError(f"{name} must be a real number, not {value!r} (use properties() for arrays)")
        values.append(float(value))
    arrays, codes, refused = _engine.compute(index, code, np.array([values[0]]), np.array([values[1]]),
                                             list(range(len(OUTPUTS))), molar, 1, _wavelength(wavelength))
    messages = _engine.message_texts(int(codes[0]))
    if refused[0]:
        raise RangeError("".join(messages) or "the state was not computed")
    numbers_ = {name: float(a[0]) for name, a in zip(OUTPUTS, arrays)}
    phase = _phase(dict(numbers_, _molar=molar), index)
    values_ = {name: (None if np.isnan(v) else v) for name, v in numbers_.items()}
    return State(_engine.fluids()[index]["id"], "molar" if molar else "mass", values_, messages, phase)


def saturation(fluid, T=None, P=None, outputs=None, threads=None, basis="mass", wavelength=589.0):
    """Both saturated phases at temperatures ``T`` or at pressures ``P`` (a number or an
    array). Returns a dict of float64 arrays of the input's shape, one per name of
    ``outputs`` (default: every name of ``SATURATION_OUTPUTS``: T, P, rho_vapour,
    rho_liquid, each result with the suffix _vapour and _liquid, vaporization_enthalpy
    and vaporization_entropy), and ``"message"`` (empty where there is a state)."""
    index = _fluid_index(fluid)
    molar = _molar(basis)
    if (T is None) == (P is None):
        raise ValueError("give the saturation temperature T or the saturation pressure P (one of them)")
    selected = _select(outputs, SATURATION_OUTPUTS)
    name, value = ("T", T) if T is not None else ("P", P)
    values = _as_float_array(name, value)
    shape = values.shape
    arrays, messages = _engine.saturation(index, P is not None, np.ascontiguousarray(values).ravel(), molar,
                                          _threads(threads), _wavelength(wavelength))
    result = {n: a.reshape(shape) for n, a in zip(SATURATION_OUTPUTS, arrays) if n in selected}
    result = {n: result[n] for n in selected}
    result["message"] = _message_array(messages.astype(np.uint32), shape, _engine.message_texts)
    return result


# Keyword arguments of table() and the options of "kelvane-cli table" they stand for.
_TABLE_OPTIONS = {
    "fluid": "--fluid", "T_unit": "--T-unit", "P_unit": "--P-unit", "rho_unit": "--rho-unit",
    "amount": "--amount", "visc_unit": "--visc-unit", "therc_unit": "--therc-unit",
    "wavelength": "--wavelength", "volume": "--volume", "type": "--type", "row": "--row", "col": "--col",
    "row_series": "--row-series", "col_series": "--col-series", "columns": "--columns", "file": "--file",
    "skip": "--skip", "property": "--property", "csv": "--csv", "no_title": "--no-title", "jobs": "--jobs",
}
_TABLE_FLAGS = {"volume", "csv", "no_title"}


def _option_text(name, value):
    if isinstance(value, (list, tuple)):
        if name in ("row", "col", "row_series", "col_series") and len(value) == 2 and isinstance(value[0], str):
            return f"{value[0]}={_option_text(name, value[1])}"
        return ",".join(_option_text(name, v) for v in value)
    if isinstance(value, float):
        return repr(value)
    return str(value)


def table(out=None, **options):
    """Writes the table that ``kelvane-cli table`` writes for the same options, to the
    file `out`, or returns its text when `out` is None. Options are the command's long
    options with underscores: ``fluid, T_unit, P_unit, rho_unit, amount, visc_unit,
    therc_unit, wavelength, volume, type, row, col, row_series, col_series, columns,
    file, skip, property, csv, no_title, jobs``; flags take True. An axis is
    ``"T=300,310"`` or ``("T", [300, 310])``; lists are joined by commas. Returns None
    after writing a file. Raises ValueError for bad options and RuntimeError with the
    program's message when it refuses the table or cannot write it."""
    args = []
    for name, value in options.items():
        if name not in _TABLE_OPTIONS:
            raise TypeError(f"unexpected option {name!r}: choose from {', '.join(_TABLE_OPTIONS)}")
        if name in _TABLE_FLAGS:
            if value:
                args.append(_TABLE_OPTIONS[name])
            continue
        if value is None:
            continue
        args += [_TABLE_OPTIONS[name], _option_text(name, value)]
    if out is not None and not isinstance(out, str):
        out = str(out)  # a path-like object
    args += ["--out", "-" if out is None else out]
    code, text, err = _engine.table(args)
    if code == 2:
        raise ValueError(err.strip())
    if code != 0:
        raise RuntimeError(err.strip())
    return text if out is None else None


def fluids():
    """The fluids by id: name, formula, molar_mass (kg/mol), R (J/(mol K)), Tc (K), Pc (Pa),
    rhoc (kg/m3), rhoc_molar (mol/m3), the accepted temperatures Tmin and Tmax (K), the
    triple point Ttriple (K), the highest accepted pressure Pmax (Pa) and the references
    of the formulations."""
    result = {}
    for f in _engine.fluids():
        f["references"] = list(_REFERENCES[f["id"]])
        result[f["id"]] = f
    return result
