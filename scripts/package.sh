#!/usr/bin/env bash
# Builds the Debian packages on a fresh Debian machine, installing what is
# missing first, and writes them into OUTDIR:
#   tavlin_<version>_<arch>.deb            the program, stripped
#   tavlin-dbgsym_<version>_<arch>.ddeb    its debug information, by build ID
#
#   scripts/package.sh OUTDIR
#
# The release configuration with debug information is built in build-package/
# (or the folder TAVLIN_PACKAGE_BUILD names).
set -euo pipefail
if [[ $# -ne 1 || $1 == -* ]]; then
  sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
mkdir -p "$1"
out=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${TAVLIN_PACKAGE_BUILD:-build-package}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVLIN_TESTS=OFF \
    -DTAVLIN_BENCH=OFF -DTAVLIN_DEBIAN_PACKAGE=ON -DCMAKE_INSTALL_PREFIX=/opt/tavlin >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/tavlin_*.deb "$build"/tavlin-dbgsym_*.ddeb
(cd "$build" && cpack -G DEB >/dev/null)
cp "$build"/tavlin_*.deb "$build"/tavlin-dbgsym_*.ddeb "$out"/
for package in "$out"/tavlin_*.deb "$out"/tavlin-dbgsym_*.ddeb; do
  echo "package: $package ($(du -k "$package" | cut -f1) KiB)"
done
