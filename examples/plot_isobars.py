#!/usr/bin/env python3
"""The isobaric heat capacity of carbon dioxide along isobars near the critical point,
and the density on the same isobars, with matplotlib: the figure of docs/python.md.

    PYTHONPATH=build/python /usr/bin/python3 examples/plot_isobars.py docs/python_co2_isobars.png
"""
import sys

import matplotlib
matplotlib.use("Agg")  # no display needed
import matplotlib.pyplot as plt
import numpy as np

import kelvane

T = np.linspace(280, 360, 801)
pressures = np.array([6, 7, 7.3773, 8, 10, 12]) * 1e6   # Pa; 7.3773 MPa is Pc
r = kelvane.properties("co2", T=T[:, None], P=pressures[None, :], outputs=["cp", "rho"])
sat = kelvane.saturation("co2", T=T[T < 304.1282], outputs=["P", "rho_vapour", "rho_liquid"])

fig, (ax1, ax2) = plt.subplots(1, 2, figsize=(10, 4.2))
for k, P in enumerate(pressures):
    label = f"{P / 1e6:g} MPa"
    ax1.plot(T, r["cp"][:, k] / 1e3, label=label)
    ax2.plot(T, r["rho"][:, k], label=label)
ax2.plot(T[T < 304.1282], sat["rho_liquid"], "k--", lw=0.8, label="saturation")
ax2.plot(T[T < 304.1282], sat["rho_vapour"], "k--", lw=0.8)
ax1.set(xlabel="T (K)", ylabel="cp (kJ/(kg K))", yscale="log", title="CO2: isobaric heat capacity")
ax2.set(xlabel="T (K)", ylabel="rho (kg/m3)", title="CO2: density")
ax1.legend(fontsize=8)
ax2.legend(fontsize=8)
fig.tight_layout()
fig.savefig(sys.argv[1] if len(sys.argv) > 1 else "co2_isobars.png", dpi=100)
