#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need, only those missing.
set -euo pipefail

packages=(
  cmake make g++ g++-mingw-w64-x86-64-posix googletest libgtest-dev libbenchmark-dev
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick fonts-wqy-microhei locales
  clang libclang-rt-14-dev python3
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" </dev/null
fi
