#!/usr/bin/env bash
# Installs the Debian packages this project needs, only those missing.
# Quick when everything is there: one dpkg-query, no apt-get at all.
#
#   scripts/setup.sh           host tools, test libraries, the browser the review
#                              page test renders with, and the powerpc cross build
#   scripts/setup.sh --host    host part only (enough to build and run kqfmt)
set -euo pipefail

host_packages=(
    cmake ninja-build make g++ clang clang-format
    libgtest-dev libbenchmark-dev
    libsqlite3-dev sqlite3 nlohmann-json3-dev
    libclang-rt-14-dev valgrind file
)
# Cross compiler and emulator for the target, GoogleTest's sources (built for
# the target by the cross build), and what building SQLite for
# the target takes (Debian's source package: apt-get source, dpkg-source,
# xz archives, tclsh for the amalgamation, the archive keyring for deb-src).
target_packages=(
    g++-powerpc-linux-gnu qemu-user googletest
    tcl xz-utils dpkg-dev debian-archive-keyring
)

# The headless browser that renders kqfmt's HTML review page in its test
# (the test is skipped where it is missing).
browser_packages=(chromium)

packages=("${host_packages[@]}")
case "${1:-}" in
    --host) ;;
    "") packages+=("${browser_packages[@]}" "${target_packages[@]}") ;;
    *) echo "usage: $0 [--host]" >&2; exit 2 ;;
esac

missing=()
for pkg in "${packages[@]}"; do
    status="$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)"
    [[ "$status" == installed ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
    echo "setup: all ${#packages[@]} packages present"
    exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=()
if ((EUID != 0)); then
    command -v sudo >/dev/null || { echo "setup: need root (or sudo) to install" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q </dev/null
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
echo "setup: done"
