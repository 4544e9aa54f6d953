"""The Dask example: the chunked grid equals one direct call of kelvane.properties."""
import importlib.util
import pathlib

import numpy as np
import pytest

import kelvane

ROOT = pathlib.Path(__file__).resolve().parents[2]


def _example():
    loader_info = importlib.util.spec_from_file_location("dask_grid", ROOT / "examples" / "dask_grid.py")
    module = importlib.util.module_from_spec(loader_info)
    loader_info.loader.exec_module(module)
    return module


@pytest.mark.parametrize("fluid", ["water", "co2"])
def test_chunked_grid_equals_one_direct_call(fluid):
    dask_grid = _example()
    lim = kelvane.fluids()[fluid]
    # Uneven chunks on both axes and states refused at the edges of the range.
    T = np.linspace(lim["Tmin"] - 5, lim["Tmax"] + 5, 53)
    P = np.logspace(3, np.log10(lim["Pmax"] * 1.1), 37)
    lazy = dask_grid.grid_properties(fluid, T, P, ["rho", "h", "viscosity"], chunks=10)
    assert lazy["rho"].numblocks == (6, 4)
    direct = kelvane.properties(fluid, T=T[:, None], P=P[None, :], outputs=["rho", "h", "viscosity"])
    for name, array in lazy.items():
        chunked = array.compute()
        assert chunked.shape == (53, 37)
        assert np.array_equal(chunked, direct[name], equal_nan=True), name
    assert np.isnan(direct["rho"]).any() and not np.isnan(direct["rho"]).all()
