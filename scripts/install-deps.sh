#!/usr/bin/env bash
# Installs the Debian packages Kelvane needs to build, run and test, when missing.
# Safe to run any number of times.
set -euo pipefail

# The last line is for the Debian package and its check (scripts/package-check.sh):
# dpkg-shlibdeps, file, appstreamcli and desktop-file-validate.
# Qt Charts needs the Qt OpenGL development files, which its Debian package does not
# pull in. The fourth line is the Python module, its tests and examples.
packages=(cmake g++ make pkg-config qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          pybind11-dev python3-dev python3-numpy python3-pytest python3-dask python3-matplotlib
          dpkg-dev file appstream desktop-file-utils)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
