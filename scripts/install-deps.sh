#!/usr/bin/env bash
# Installs every Debian package that building, testing, benchmarking, packaging
# and the demo need. Quiet and quick when everything is already there; runs
# apt-get update only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev libxcb1-dev
  mdbtools mdbtools-dev libgumbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang
  xvfb xauth xdotool x11-utils
  openbox icewm tint2 xfwm4 dbus-daemon matchbox-window-manager
  fonts-dejavu-core
  lintian man-db file
)

updated=""
install_missing() {
  local p status missing=()
  for p in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0

  echo "install-deps: installing ${missing[*]}" >&2
  local sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  if [[ -z "$updated" ]]; then
    $sudo apt-get update -qq
    updated=1
  fi
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

install_missing "${packages[@]}"

# libFuzzer and the sanitizers' run-time libraries come in a package named
# for clang's major version (libclang-rt-14-dev for clang 14): the one that
# matches the clang just installed.
clang_major=$(clang -dumpversion | cut -d. -f1)
install_missing "libclang-rt-${clang_major}-dev"
