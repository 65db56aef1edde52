#!/usr/bin/env bash
# Installs the Debian packages the project needs beyond what the image ships
# (g++, CMake, GoogleTest, Google Benchmark, expat, libxml2). Run by
# `make test` and `make run`; it does nothing once they are installed. It
# needs root to install; otherwise it says what to run.
set -euo pipefail

# One package a line, with what needs it.
packages=(
  libsuitesparse-dev   # the solver's sparse factorisations
  libzstd-dev          # compressed output files
  openmpi-bin          # distributed generation: mpirun
  libopenmpi-dev       # distributed generation: the MPI library
  procps               # the distributed tests: pgrep finds the process one of them kills
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing: ${missing[*]}; as root, run: apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
