#!/usr/bin/env bash
# Installs the Debian packages the project needs, when they are missing.
# As root it runs apt-get; otherwise it prints the command to run.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  googletest libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  xvfb xauth x11-utils imagemagick
  # The Python module (pybind11 over the C library) and its tests.
  pybind11-dev python3-dev python3-pytest
  # Packaging and its checks (scripts/package.sh); dpkg-dev gives dpkg-shlibdeps.
  dpkg-dev file lintian desktop-file-utils appstream
  # Network serial ports are tested against ser2net on the loopback address.
  ser2net
  # The Ansible collection is tested with ansible-playbook.
  ansible-core
  # Japanese glyphs for the adjustment window's messages (screenshots, GUI tests).
  fonts-ipafont-gothic
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing packages. Please run:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
