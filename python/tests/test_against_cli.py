"""Every output of the module against kelvane-cli --precise --tsv on a few hundred states
per fluid: the results print with 15 significant digits, the transport and electrical
results with 8; both must agree digit for digit."""
import concurrent.futures
import math

import numpy as np
import pytest

import kelvane

# --tsv field names and the module's names.
TSV_NAMES = {
    "P": "P", "Rho": "rho", "meltP": "melting_pressure", "satuP": "saturation_pressure",
    "satuRhov": "saturated_vapour_density", "satuRhol": "saturated_liquid_density", "U": "u", "H": "h",
    "F": "a", "G": "g", "S": "s", "Cv": "cv", "Cp": "cp", "Z": "Z", "FP": "fugacity_coefficient", "W": "w",
    "JT": "joule_thomson", "C2": "second_virial", "alpha": "alpha", "kappa": "kappa", "Visc": "viscosity",
    "Therc": "thermal_conductivity", "Dth": "thermal_diffusivity", "Eps": "dielectric_constant", "Kw": "pKw",
    "n": "refractive_index", "x": "x",
}
# Printed with 8 significant digits even with --precise.
EIGHT_DIGITS = {"Visc", "Therc", "Dth", "Eps", "Kw", "n"}
FLUIDS = ["water", "methanol", "co2"]
LIMITS = {f: kelvane.fluids()[f] for f in FLUIDS}


def _states(fluid, seed):
    """(pair, a, b) in SI mass units: single-phase states by (T, P) and (T, rho),
    wet states by (T, x) and (P, x), states by (P, h) and (P, s), a few refused ones
    among them."""
    rng = np.random.default_rng(seed)
    lim = LIMITS[fluid]
    Tmin, Tmax, Pmax = lim["Tmin"], lim["Tmax"], lim["Pmax"]
    states = []
    for _ in range(150):
        T = rng.uniform(Tmin - 5, Tmax + 5)
        P = 10 ** rng.uniform(2, math.log10(Pmax * 1.05))
        states.append(("TP", T, P))
    for _ in range(80):
        T = rng.uniform(Tmin, Tmax)
        rho = 10 ** rng.uniform(-2, math.log10(1.1 * {"water": 1100, "methanol": 950, "co2": 1300}[fluid]))
        states.append(("Trho", T, rho))
    sat = kelvane.saturation(fluid, T=np.array([Tmin + 1, (Tmin + lim["Tc"]) / 2]), outputs=["P"])["P"]
    for _ in range(40):
        states.append(("Tx", rng.uniform(Tmin, lim["Tc"] + 10), rng.uniform(-0.05, 1.05)))
    for _ in range(30):
        states.append(("Px", 10 ** rng.uniform(math.log10(sat[0]) - 0.2, math.log10(lim["Pc"]) + 0.05),
                       rng.uniform(0, 1)))
    # By pressure with enthalpy or entropy: the h and s of single-phase and wet states.
    for _ in range(25):
        T = rng.uniform(Tmin, Tmax)
        P = 10 ** rng.uniform(3, math.log10(Pmax))
        if rng.uniform() < 0.3 and T < lim["Tc"]:
            one = kelvane.properties(fluid, T=T, x=rng.uniform(0, 1), outputs=["P", "h", "s"])
        else:
            one = kelvane.properties(fluid, T=T, P=P, outputs=["P", "h", "s"])
        if not math.isnan(one["h"]):
            states.append(("Ph", float(one["P"]), float(one["h"])))
            states.append(("Ps", float(one["P"]), float(one["s"]) * rng.uniform(0.98, 1.02)))
    return states


def _cli_args(fluid, pair, a, b, molar):
    args = ["--fluid", fluid, "--tsv", "--precise", "--P-unit", "Pa", "--amount", "mol" if molar else "kg"]
    if molar:
        args += ["--rho-unit", "mol/l"]
    if pair == "TP":
        args += ["--T", repr(a), "--P", repr(b)]
    elif pair == "Trho":
        args += ["--T", repr(a), "--rho", repr(b / 1000 if molar else b)]
    elif pair == "Tx":
        args += ["--T", repr(a), "--x", repr(b)]
    elif pair == "Px":
        args += ["--P", repr(a), "--x", repr(b)]
    else:
        args += ["--P", repr(a), "--" + pair[1], repr(b)]
    return args


def _kwargs(pair, a, b):
    return {"TP": {"T": a, "P": b}, "Trho": {"T": a, "rho": b}, "Tx": {"T": a, "x": b}, "Px": {"P": a, "x": b},
            "Ph": {"P": a, "h": b}, "Ps": {"P": a, "s": b}}[pair]


def _parse(stdout):
    fields = {}
    for line in stdout.splitlines():
        name, text = line.split("\t")[:2]
        fields[name] = text
    return fields


def _number(text):
    try:
        return float(text)
    except ValueError:
        return None  # "N/A", "over Tc", "Not treat.", "N/A (background)", empty


def _run_all(cli, fluid, states, molar):
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        return list(pool.map(lambda s: cli(*_cli_args(fluid, *s, molar)), states))


def _compare(fluid, state, fields, got, molar):
    """Mismatches between the CLI's fields and the module's values of one state."""
    bad = []
    given = {"TP": ("P",), "Trho": ("rho",), "Tx": (), "Px": ("P",), "Ph": ("P",), "Ps": ("P",)}[state[0]]
    for tsv, name in list(TSV_NAMES.items()) + ([("T", "T")] if state[0] in ("Px", "Ph", "Ps") else []):
        text = fields[tsv]
        expected = _number(text)
        value = got[name]
        value = None if value is None or (isinstance(value, float) and math.isnan(value)) else value
        if expected is None:
            if value is not None and text != "":
                bad.append((tsv, text, value))
            elif value is not None and name not in ("P", "rho", "x"):
                bad.append((tsv, text, value))
            continue
        if value is None:
            bad.append((tsv, text, value))
            continue
        if name in given:
            # A given value is shown as typed (mol/l for the molar density given in mol/m3).
            shown = value / 1000 if molar and name == "rho" else value
            if not (shown == expected or (molar and math.isclose(shown, expected, rel_tol=1e-15))):
                bad.append((tsv, text, value))
            continue
        if molar and name in ("rho", "saturated_vapour_density", "saturated_liquid_density"):
            value = value / 1000  # the program shows mol/l
        if molar and name == "second_virial":
            value = value * 1000  # and l/mol
        # The temperature found for a wet state by pressure is a result: 15 digits.
        digits = 8 if tsv in EIGHT_DIGITS else 15
        if float(format(value, f".{digits - 1}e")) != expected:
            bad.append((tsv, text, value))
    return bad


@pytest.mark.parametrize("fluid", FLUIDS)
@pytest.mark.parametrize("basis", ["mass", "molar"])
def test_every_output_equals_the_programs_digits(cli, fluid, basis):
    molar = basis == "molar"
    states = _states(fluid, seed=FLUIDS.index(fluid))
    if molar:
        states = states[::4]
    runs = _run_all(cli, fluid, states, molar)
    refused = computed = 0
    mismatches = []
    for state, run in zip(states, runs):
        assert run.returncode == 0, (state, run.stderr)
        fields = _parse(run.stdout)
        pair, a, b = state
        if molar and pair == "Trho":
            b = float(repr(b / 1000)) * 1000  # the density the program reads from its mol/l
        try:
            got = kelvane.state(fluid, basis=basis, **_kwargs(pair, a, b)).to_dict()
        except kelvane.RangeError as e:
            refused += 1
            # Refused by the module exactly when the program shows no results, with its message.
            assert fields["U"] == "" and str(e) == fields["Mes"], (state, fields["Mes"])
            continue
        computed += 1
        assert "".join(got["messages"]) == fields["Mes"], state
        assert fields["U"] != "", state
        mismatches += [(state, m) for m in _compare(fluid, state, fields, got, molar)]
    assert not mismatches, (len(mismatches), mismatches[:10])
    # The draw covers both computed and refused states.
    assert computed > len(states) // 2 and refused > 0, (computed, refused)


@pytest.mark.parametrize("fluid", FLUIDS)
def test_arrays_equal_single_states(fluid):
    """properties() over the states of the comparison equals state() one by one."""
    states = [s for s in _states(fluid, seed=10 + FLUIDS.index(fluid)) if s[0] in ("TP", "Trho")]
    for pair in ("TP", "Trho"):
        chosen = [s for s in states if s[0] == pair]
        a = np.array([s[1] for s in chosen])
        b = np.array([s[2] for s in chosen])
        arrays = kelvane.properties(fluid, **_kwargs(pair, a, b))
        for i, s in enumerate(chosen):
            try:
                one = kelvane.state(fluid, **_kwargs(*s)).to_dict()
            except kelvane.RangeError as e:
                assert all(np.isnan(arrays[n][i]) for n in kelvane.OUTPUTS)
                assert arrays["message"][i] == str(e)
                continue
            for n in kelvane.OUTPUTS:
                v = arrays[n][i]
                assert (one[n] is None and np.isnan(v)) or one[n] == v, (s, n)
            assert arrays["message"][i] == "".join(one["messages"])
