"""The module's interface: states and their attributes, arrays and their shapes, refused
states, threads, bases, saturation, tables, fluids and the errors of bad arguments."""
import math
import pathlib
import re

import numpy as np
import pytest

import kelvane

ROOT = pathlib.Path(__file__).resolve().parents[2]


# --- state() -------------------------------------------------------------------------

def test_state_of_liquid_water_in_si_mass_units():
    s = kelvane.state("water", T=300, P=1e6)
    # IAPWS-IF97 region 1 check value at 300 K, 3 MPa: v = 0.00100215168 m3/kg; at 1 MPa
    # the density is a little lower, and the enthalpy about 113 kJ/kg.
    assert 996.5 < s.rho < 997.5
    assert 112e3 < s.h < 115e3
    assert s.T == 300 and s.P == 1e6
    assert s.phase == "liquid" and s.messages == ()
    assert s.fluid == "water" and s.basis == "mass"
    # Identities among the results, in J/kg.
    assert math.isclose(s.h, s.u + s.P / s.rho, rel_tol=1e-12)
    assert math.isclose(s.g, s.h - s.T * s.s, rel_tol=1e-9, abs_tol=1e-6)
    assert math.isclose(s.thermal_diffusivity, s.thermal_conductivity / (s.rho * s.cp), rel_tol=1e-7)


def test_if97_check_value_through_the_module():
    # IAPWS-IF97 Table 5: T = 300 K, P = 3 MPa: v = 0.100215168e-2 m3/kg,
    # h = 0.115331273e3 kJ/kg, s = 0.392294792 kJ/(kg K), w = 0.150773921e4 m/s. The
    # program's molar mass (18.015257 g/mol) and gas constant give the mass basis a
    # factor 1 + 6e-7 from the release's specific gas constant (W its square root).
    s = kelvane.state("water", T=300, P=3e6)
    assert math.isclose(1 / s.rho, 0.100215168e-2, rel_tol=2e-6)
    assert math.isclose(s.h, 0.115331273e6, rel_tol=2e-6)
    assert math.isclose(s.s, 0.392294792e3, rel_tol=2e-6)
    assert math.isclose(s.w, 0.150773921e4, rel_tol=1e-6)
    molar = kelvane.state("water", T=300, P=3e6, basis="molar")
    M = kelvane.fluids()["water"]["molar_mass"]
    assert math.isclose(molar.h / M, s.h, rel_tol=1e-14)


@pytest.mark.parametrize("name", ["water", "WATER", "H2O", "h2o"])
def test_fluid_names_in_any_case(name):
    assert kelvane.state(name, T=300, P=1e5).fluid == "water"


@pytest.mark.parametrize("name,fid", [("methanol", "methanol"), ("MeOH", "methanol"), ("meoh", "methanol"),
                                      ("CO2", "co2"), ("co2", "co2")])
def test_other_fluid_names(name, fid):
    assert kelvane.state(name, T=300, P=1e5).fluid == fid


def test_quantities_a_fluid_lacks_are_none():
    # Methanol has neither a dielectric constant nor an ion product nor a refractive index.
    m = kelvane.state("methanol", T=300, P=1e5)
    assert m.dielectric_constant is None and m.pKw is None and m.refractive_index is None
    assert m.viscosity is not None and m.x is None
    w = kelvane.state("water", T=300, P=1e5)
    assert w.pKw is not None and w.melting_pressure is None  # "Not treat." for water


def test_state_is_read_only_and_has_to_dict_and_repr():
    s = kelvane.state("co2", T=320, P=8e6)
    with pytest.raises(AttributeError):
        s.rho = 1
    with pytest.raises(AttributeError):
        s.new_attribute = 1
    d = s.to_dict()
    assert set(d) == set(kelvane.OUTPUTS) | {"phase", "messages"}
    assert d["rho"] == s.rho and d["phase"] == "supercritical"
    text = repr(s)
    assert text.startswith("<kelvane.State co2 (mass basis), supercritical")
    assert re.search(r"\n  rho +=.* kg/m3\n", text)
    assert "dielectric_constant" not in text  # None is left out
    assert s == kelvane.state("CO2", T=320, P=8e6) and s != kelvane.state("co2", T=321, P=8e6)


def test_every_output_has_a_unit_in_both_bases():
    s = kelvane.state("water", T=300, P=1e5)
    m = kelvane.state("water", T=300, P=1e5, basis="molar")
    for name in kelvane.OUTPUTS:
        assert isinstance(s.unit(name), str) and isinstance(m.unit(name), str)
    assert s.unit("h") == "J/kg" and m.unit("h") == "J/mol" and m.unit("rho") == "mol/m3"
    with pytest.raises(ValueError, match="choose from"):
        s.unit("enthalpy")


def test_the_unit_of_every_output_in_each_basis():
    units = {
        "T": ("K", "K"), "P": ("Pa", "Pa"), "rho": ("kg/m3", "mol/m3"),
        "melting_pressure": ("Pa", "Pa"), "saturation_pressure": ("Pa", "Pa"),
        "saturated_vapour_density": ("kg/m3", "mol/m3"), "saturated_liquid_density": ("kg/m3", "mol/m3"),
        "u": ("J/kg", "J/mol"), "h": ("J/kg", "J/mol"), "a": ("J/kg", "J/mol"), "g": ("J/kg", "J/mol"),
        "s": ("J/(kg K)", "J/(mol K)"), "cv": ("J/(kg K)", "J/(mol K)"), "cp": ("J/(kg K)", "J/(mol K)"),
        "Z": ("", ""), "fugacity_coefficient": ("", ""), "w": ("m/s", "m/s"),
        "joule_thomson": ("K/Pa", "K/Pa"), "second_virial": ("m3/kg", "m3/mol"), "alpha": ("1/K", "1/K"),
        "kappa": ("1/Pa", "1/Pa"), "viscosity": ("Pa s", "Pa s"), "thermal_conductivity": ("W/(m K)", "W/(m K)"),
        "thermal_diffusivity": ("m2/s", "m2/s"), "dielectric_constant": ("", ""), "pKw": ("", ""),
        "refractive_index": ("", ""), "x": ("", ""),
    }
    assert set(units) == set(kelvane.OUTPUTS)
    s = kelvane.state("water", T=300, P=1e5)
    m = kelvane.state("water", T=300, P=1e5, basis="molar")
    for name, (mass, molar) in units.items():
        assert (s.unit(name), m.unit(name)) == (mass, molar), name
        doc = getattr(kelvane.State, name).__doc__
        assert doc == f"{name} ({mass or 'dimensionless'} on a mass basis, {molar or 'dimensionless'} molar)"


def test_refused_state_raises_range_error_with_the_programs_message():
    with pytest.raises(kelvane.RangeError, match="Not applied to the range less than 273.15 K.") as e:
        kelvane.state("water", T=270, P=1e5)
    assert isinstance(e.value, ValueError)
    with pytest.raises(kelvane.RangeError, match="more than 100 MPa"):
        kelvane.state("water", T=300, P=2e8)
    with pytest.raises(kelvane.RangeError, match="Suppose to freeze"):
        kelvane.state("co2", T=220, P=7e8)
    with pytest.raises(kelvane.RangeError, match="between 0 and 1"):
        kelvane.state("water", T=400, x=1.5)


def test_metastable_state_is_returned_with_its_warning():
    sat = kelvane.saturation("water", T=400)
    rhov = float(sat["rho_vapour"])
    s = kelvane.state("water", T=400, rho=1.02 * rhov)  # just inside the coexistence range
    assert s.messages == ("rho may be in the co-existence region (meta-stable?);",)
    assert s.phase == "metastable vapour"
    assert s.cp is not None


def test_phase_names():
    assert kelvane.state("water", T=400, P=1e5).phase == "vapour"
    assert kelvane.state("water", T=700, P=1e5).phase == "gas"
    assert kelvane.state("water", T=700, P=3e7).phase == "supercritical"
    assert kelvane.state("water", T=600, P=3e7).phase == "liquid"
    wet = kelvane.state("water", T=400, x=0.25)
    assert wet.phase == "two-phase" and wet.x == 0.25
    assert wet.cp is None and wet.viscosity is None  # no meaning for a mixture


def test_wet_state_by_pressure_lies_between_the_phases():
    sat = kelvane.saturation("methanol", P=1e5)
    s = kelvane.state("methanol", P=1e5, x=0.5)
    assert s.P == 1e5 and math.isclose(s.T, float(sat["T"]), rel_tol=1e-12)
    hv, hl = float(sat["h_vapour"]), float(sat["h_liquid"])
    assert math.isclose(s.h, (hv + hl) / 2, rel_tol=1e-12)
    assert math.isclose(float(sat["vaporization_enthalpy"]), hv - hl, rel_tol=1e-9)


def test_state_from_density_returns_the_state_of_that_pressure():
    a = kelvane.state("co2", T=280, P=5e6)
    b = kelvane.state("co2", T=280, rho=a.rho)
    assert b.rho == a.rho
    assert math.isclose(b.P, a.P, rel_tol=1e-9)
    assert math.isclose(b.h, a.h, rel_tol=1e-9)


def test_state_accepts_numpy_scalars_and_refuses_arrays():
    assert kelvane.state("water", T=np.float64(300), P=np.int64(100000)).T == 300
    with pytest.raises(TypeError, match="properties"):
        kelvane.state("water", T=[300, 310], P=1e5)


# --- bases ---------------------------------------------------------------------------

@pytest.mark.parametrize("fluid", ["water", "methanol", "co2"])
def test_mass_and_molar_bases(fluid):
    M = kelvane.fluids()[fluid]["molar_mass"]
    mass = kelvane.state(fluid, T=290, P=2e6)
    molar = kelvane.state(fluid, T=290, P=2e6, basis="molar")
    for name in ("rho", "saturated_liquid_density"):
        assert math.isclose(getattr(molar, name) * M, getattr(mass, name), rel_tol=1e-14)
    for name in ("u", "h", "a", "g", "s", "cv", "cp"):
        assert math.isclose(getattr(molar, name) / M, getattr(mass, name), rel_tol=1e-14), name
    assert math.isclose(molar.second_virial / M, mass.second_virial, rel_tol=1e-14)
    for name in ("T", "P", "Z", "w", "joule_thomson", "alpha", "kappa", "viscosity", "fugacity_coefficient"):
        assert getattr(molar, name) == getattr(mass, name), name
    # A molar density in gives the state of the same mass density.
    again = kelvane.state(fluid, T=290, rho=molar.rho, basis="molar")
    assert math.isclose(again.P, 2e6, rel_tol=1e-9)


# --- properties() --------------------------------------------------------------------

def test_properties_broadcast_to_the_common_shape():
    T = np.linspace(300, 500, 4)[:, None]
    P = np.array([1e5, 1e6, 1e7])
    r = kelvane.properties("water", T=T, P=P, outputs=["rho", "h"])
    assert set(r) == {"rho", "h", "message"}
    assert r["rho"].shape == (4, 3) and r["rho"].dtype == np.float64
    assert r["message"].shape == (4, 3) and r["message"].dtype.kind == "U"
    for i in range(4):
        for j in range(3):
            assert r["h"][i, j] == kelvane.state("water", T=T[i, 0], P=P[j]).h


def test_properties_of_scalars_and_of_empty_and_3d_arrays():
    r = kelvane.properties("co2", T=300, P=5e6)
    assert r["rho"].shape == () and set(r) == set(kelvane.OUTPUTS) | {"message"}
    assert float(r["rho"]) == kelvane.state("co2", T=300, P=5e6).rho
    empty = kelvane.properties("co2", T=np.array([]), P=5e6, outputs="rho")
    assert empty["rho"].shape == (0,) and empty["message"].shape == (0,)
    cube = kelvane.properties("methanol", T=np.full((2, 3, 4), 300.0), P=np.arange(1, 5) * 1e5, outputs="cp")
    assert cube["cp"].shape == (2, 3, 4)
    assert np.all(cube["cp"][1, 2] == cube["cp"][0, 0])
    # A non-contiguous view and integer input.
    T = np.linspace(300, 400, 20)[::3]
    assert np.array_equal(kelvane.properties("water", T=T, P=10**6, outputs="h")["h"],
                          kelvane.properties("water", T=T.copy(), P=1e6, outputs="h")["h"])


def test_refused_states_are_nan_with_their_messages():
    r = kelvane.properties("water", T=[250, 300, 300, 2400], P=[1e5, 1e5, 2e8, 1e5])
    for name in kelvane.OUTPUTS:
        assert np.isnan(r[name][[0, 2, 3]]).all(), name
    assert not np.isnan(r["rho"][1])
    assert list(r["message"]) == ["Not applied to the range less than 273.15 K.", "",
                                  "Not applied to the range more than 100 MPa.",
                                  "Not applied to the range more than 2273.15 K."]


def test_not_a_number_in_is_refused_not_hanging():
    for fluid in ("water", "methanol", "co2"):
        r = kelvane.properties(fluid, T=[np.nan, 300, np.inf], P=[1e6, np.nan, 1e6], outputs=["rho"])
        assert np.isnan(r["rho"]).all() and all(m != "" for m in r["message"]), fluid
        with pytest.raises(kelvane.RangeError):
            kelvane.state(fluid, T=float("nan"), P=1e6)


@pytest.mark.parametrize("fluid", ["water", "methanol", "co2"])
def test_results_do_not_depend_on_the_number_of_threads(fluid):
    rng = np.random.default_rng(7)
    lim = kelvane.fluids()[fluid]
    T = rng.uniform(lim["Tmin"] - 10, lim["Tmax"], 3000)
    P = 10 ** rng.uniform(3, np.log10(lim["Pmax"]), 3000)
    one = kelvane.properties(fluid, T=T, P=P, threads=1)
    for threads in (2, 3, 8, None):
        other = kelvane.properties(fluid, T=T, P=P, threads=threads)
        for name in kelvane.OUTPUTS:
            assert np.array_equal(one[name], other[name], equal_nan=True), (threads, name)
        assert np.array_equal(one["message"], other["message"])
    # Also for wet states, whose saturation is solved per state.
    Tx = rng.uniform(lim["Tmin"], lim["Tc"], 500)
    a = kelvane.properties(fluid, T=Tx, x=0.3, threads=1)
    b = kelvane.properties(fluid, T=Tx, x=0.3, threads=4)
    assert all(np.array_equal(a[n], b[n], equal_nan=True) for n in kelvane.OUTPUTS)


# --- bad arguments -------------------------------------------------------------------

def test_unknown_fluid_names_the_choices():
    with pytest.raises(ValueError, match="water, methanol or co2"):
        kelvane.state("nitrogen", T=300, P=1e5)
    with pytest.raises(TypeError, match="water, methanol or co2"):
        kelvane.properties(0, T=300, P=1e5)


def test_incomplete_and_over_determined_pairs_name_the_pairs():
    with pytest.raises(ValueError, match=r"incomplete.*\(T, P\), \(T, rho\)"):
        kelvane.state("water", T=300)
    with pytest.raises(ValueError, match="over-determined"):
        kelvane.state("water", T=300, P=1e5, rho=1)
    with pytest.raises(ValueError, match="not a pair"):
        kelvane.properties("water", P=1e5, rho=1)
    with pytest.raises(ValueError, match="incomplete"):
        kelvane.properties("water")
    with pytest.raises(TypeError, match="unexpected argument 'Q'"):
        kelvane.state("water", T=300, Q=1)


def test_unknown_output_basis_and_threads():
    with pytest.raises(ValueError, match="unknown output 'density'.*rho"):
        kelvane.properties("water", T=300, P=1e5, outputs=["density"])
    with pytest.raises(ValueError, match="'mass' or 'molar'"):
        kelvane.properties("water", T=300, P=1e5, basis="kg")
    with pytest.raises(ValueError, match="at least 1"):
        kelvane.properties("water", T=300, P=1e5, threads=0)
    with pytest.raises(TypeError):
        kelvane.properties("water", T=300, P=1e5, threads=1.5)
    with pytest.raises(TypeError):
        kelvane.properties("water", T=300, P=1e5, wavelength="red")


def test_arrays_that_do_not_broadcast_and_values_that_are_not_numbers():
    with pytest.raises(ValueError, match=r"do not broadcast: T of shape \(3,\) and P of shape \(4,\)"):
        kelvane.properties("water", T=np.ones(3), P=np.ones(4))
    with pytest.raises(TypeError, match="T must"):
        kelvane.properties("water", T="300", P=1e5)
    with pytest.raises(TypeError):
        kelvane.properties("water", T=None, P=1e5)
    with pytest.raises(TypeError):
        kelvane.properties("water", T=[1 + 2j], P=1e5)


# --- saturation() --------------------------------------------------------------------

def test_saturation_by_temperature_and_by_pressure_agree():
    T = np.array([300.0, 400.0, 500.0, 700.0, 200.0])
    by_t = kelvane.saturation("water", T=T)
    assert by_t["P"].shape == (5,) and set(by_t) == set(kelvane.SATURATION_OUTPUTS) | {"message"}
    assert np.isnan(by_t["P"][3:]).all() and by_t["message"][3] == "over Tc" and by_t["message"][4] != ""
    assert list(by_t["message"][:3]) == ["", "", ""]
    by_p = kelvane.saturation("water", P=by_t["P"][:3], outputs=["T", "rho_liquid"])
    assert set(by_p) == {"T", "rho_liquid", "message"}
    assert np.allclose(by_p["T"], T[:3], rtol=1e-12)
    # The IF97 saturation equation gives 0.353658941e-2 MPa at 300 K (Table 35); the
    # program's equilibrium of equal Gibbs energies of regions 1 and 2 lies within 1e-4.
    assert math.isclose(by_t["P"][0], 3536.58941, rel_tol=1e-4)
    # Gibbs energies of the phases are equal; the vapour is the lighter phase.
    assert np.allclose(by_t["g_vapour"][:3], by_t["g_liquid"][:3], rtol=1e-9)
    assert (by_t["rho_vapour"][:3] < by_t["rho_liquid"][:3]).all()


def test_saturation_bad_arguments():
    with pytest.raises(ValueError, match="one of them"):
        kelvane.saturation("co2", T=250, P=1e6)
    with pytest.raises(ValueError, match="one of them"):
        kelvane.saturation("co2")
    with pytest.raises(ValueError, match="unknown output 'cp'.*cp_vapour"):
        kelvane.saturation("co2", T=250, outputs="cp")


# --- table() -------------------------------------------------------------------------

def test_table_writes_the_file_of_kelvane_cli(cli, tmp_path):
    options = ["--fluid", "co2", "--row", "T=250,300,350", "--col-series", "P=1,2,3", "--property", "Cp",
               "--amount", "kg"]
    cli_file, py_file = tmp_path / "cli.txt", tmp_path / "py.txt"
    run = cli("table", *options, "--out", str(cli_file))
    assert run.returncode == 0, run.stderr
    assert kelvane.table(py_file, fluid="co2", row="T=250,300,350", col_series=("P", [1, 2, 3]),
                         property="Cp", amount="kg") is None
    assert py_file.read_bytes() == cli_file.read_bytes()
    # The list type, as text.
    run = cli("table", "--type", "list", "--fluid", "water", "--row", "T=300,400", "--col", "P=0.1,1",
              "--property", "H,S,W", "--out", "-")
    text = kelvane.table(type="list", fluid="water", row=("T", [300, 400]), col="P=0.1,1", property=["H", "S", "W"])
    assert text == run.stdout and text.count("\n") >= 4


def test_table_errors():
    with pytest.raises(TypeError, match="unexpected option 'rows'.*row"):
        kelvane.table(rows="T=300")
    with pytest.raises(ValueError, match="unknown table type"):
        kelvane.table(type="III", row="T=300", col="P=1", property="Cp")
    with pytest.raises(RuntimeError):
        kelvane.table("/nonexistent-folder/t.txt", row="T=300", col="P=1", property="Cp")


# --- fluids() and the version --------------------------------------------------------

def test_fluids_constants_limits_and_references():
    f = kelvane.fluids()
    assert list(f) == ["water", "methanol", "co2"]
    assert f["water"]["Tc"] == 647.096 and f["water"]["Pc"] == 22.064e6 and f["water"]["rhoc"] == 322
    assert f["co2"]["Ttriple"] == 216.592 and f["methanol"]["Pmax"] == 8e8
    assert math.isclose(f["methanol"]["molar_mass"], 0.03204216)
    for info in f.values():
        assert info["Tmin"] < info["Tc"] < info["Tmax"] and info["references"]
    assert any("Span" in r for r in f["co2"]["references"])


def test_version_is_the_projects():
    cmake = (ROOT / "CMakeLists.txt").read_text()
    version = re.search(r"project\(Kelvane VERSION ([0-9.]+)", cmake).group(1)
    assert kelvane.__version__ == version


# --- (P, h) and (P, s) ---------------------------------------------------------------

@pytest.mark.parametrize("basis", ["mass", "molar"])
def test_states_by_pressure_and_enthalpy_or_entropy(basis):
    for fluid, T, P in (("water", 500.0, 5e6), ("methanol", 400.0, 2e6), ("co2", 320.0, 1e7)):
        a = kelvane.state(fluid, T=T, P=P, basis=basis)
        by_h = kelvane.state(fluid, P=P, h=a.h, basis=basis)
        by_s = kelvane.state(fluid, P=P, s=a.s, basis=basis)
        assert by_h.P == P and by_s.P == P
        assert math.isclose(by_h.T, T, rel_tol=1e-9) and math.isclose(by_s.T, T, rel_tol=1e-9), fluid
        assert math.isclose(by_h.rho, a.rho, rel_tol=1e-8)


def test_isobar_through_the_two_phase_region():
    sat = kelvane.saturation("water", P=1e6)
    hl, hv = float(sat["h_liquid"]), float(sat["h_vapour"])
    h = np.linspace(hl - 2e5, hv + 2e5, 41)
    r = kelvane.properties("water", P=1e6, h=h, outputs=["T", "x", "h"])
    wet = (h > hl) & (h < hv)
    assert np.allclose(r["x"][wet], (h[wet] - hl) / (hv - hl), rtol=1e-9, atol=1e-12)
    assert np.isnan(r["x"][~wet & ((h < hl - 1) | (h > hv + 1))]).all()
    assert np.all(np.diff(r["T"]) >= 0)  # T never falls with h on an isobar
    assert np.allclose(r["T"][wet], float(sat["T"]), rtol=1e-12)
    assert np.allclose(r["h"], h, rtol=1e-9)
    with pytest.raises(kelvane.RangeError):
        kelvane.state("water", P=1e6, h=1e9)  # far above the highest accepted temperature


def test_message_codes_map_to_their_lines_in_one_pass():
    from kelvane import _engine
    unique, index = _engine.distinct_codes(np.array([5, 5, 7, 5, 9, 7, 0], dtype=np.uint32))
    assert list(unique) == [5, 7, 9, 0]
    assert list(index) == [0, 0, 1, 0, 2, 1, 3]
    assert list(unique[index]) == [5, 5, 7, 5, 9, 7, 0]
    unique, index = _engine.distinct_codes(np.array([], dtype=np.uint32))
    assert unique.size == 0 and index.size == 0
    # A grid with refused and accepted states keeps each state's own message.
    r = kelvane.properties("water", T=np.array([200.0, 300.0, 200.0, 300.0]), P=1e5)
    assert r["message"][0] == r["message"][2] != "" and r["message"][1] == r["message"][3] == ""
