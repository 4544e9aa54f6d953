#!/usr/bin/env python3
"""Properties over a large (T, P) grid with Dask: kelvane.properties runs on each chunk
of the grid, in parallel on the workers of whatever scheduler Dask uses. Without a
cluster that is the local threaded scheduler; with one, connect a client first and the
same code runs there unchanged (kelvane must be importable on the workers):

    from dask.distributed import Client
    client = Client("tcp://scheduler:8786")

Run from the build tree:

    PYTHONPATH=build/python /usr/bin/python3 examples/dask_grid.py [--fluid co2] [--size 2000]
"""
import argparse

import dask.array as da
import numpy as np

import kelvane


def grid_properties(fluid, T, P, outputs, chunks=250, threads_per_chunk=1):
    """The properties `outputs` of `fluid` on the grid T (rows) x P (columns) as Dask
    arrays of shape (len(T), len(P)), computed chunk by chunk by kelvane.properties.
    Each chunk uses `threads_per_chunk` threads, so that Dask's own parallelism over the
    chunks does not oversubscribe the cores. Nothing is computed until .compute()."""
    Tg = da.from_array(np.asarray(T, dtype=float)[:, None], chunks=(chunks, 1))
    Pg = da.from_array(np.asarray(P, dtype=float)[None, :], chunks=(1, chunks))

    def one(name):
        def block(t, p):
            return kelvane.properties(fluid, T=t, P=p, outputs=[name], threads=threads_per_chunk)[name]
        return da.map_blocks(block, Tg, Pg, dtype=np.float64, chunks=(Tg.chunks[0], Pg.chunks[1]))

    return {name: one(name) for name in outputs}


def main():
    parser = argparse.ArgumentParser(description="Properties on a (T, P) grid with Dask")
    parser.add_argument("--fluid", default="co2")
    parser.add_argument("--size", type=int, default=1000, help="temperatures and pressures per axis")
    parser.add_argument("--chunks", type=int, default=250)
    args = parser.parse_args()
    lim = kelvane.fluids()[args.fluid]
    T = np.linspace(lim["Tmin"], lim["Tmax"], args.size)
    P = np.logspace(4, np.log10(lim["Pmax"]), args.size)
    lazy = grid_properties(args.fluid, T, P, ["rho", "cp"], chunks=args.chunks)
    rho, cp = da.compute(lazy["rho"], lazy["cp"])
    ok = ~np.isnan(rho)
    print(f"{args.fluid}: {rho.size} states in {len(lazy['rho'].chunks[0]) * len(lazy['rho'].chunks[1])} chunks, "
          f"{ok.sum()} computed; rho {np.nanmin(rho):.6g} .. {np.nanmax(rho):.6g} kg/m3, "
          f"cp {np.nanmin(cp):.6g} .. {np.nanmax(cp):.6g} J/(kg K)")


if __name__ == "__main__":
    main()
