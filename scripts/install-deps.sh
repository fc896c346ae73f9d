#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when missing
# (fonts-liberation: fonts as wide as the ones the screens were drawn with;
# postgresql: the server of the throwaway cluster the tests run on;
# clang-format: the layout check of scripts/test.sh; qt6-tools-dev: Qt
# Designer's plugin headers, without which the Designer plugin is left out).
# --fuzz adds clang and its libFuzzer runtime, which only scripts/fuzz.sh uses;
# --package what only scripts/package.sh uses (man pages, dependencies, lint).
set -euo pipefail
packages=(build-essential cmake ninja-build libsqlite3-dev libgtest-dev qt6-base-dev
          qt6-tools-dev libpq-dev postgresql clang-format
          xvfb xauth fonts-liberation)
if [ "${1:-}" = "--fuzz" ]; then packages+=(clang libclang-rt-14-dev); fi
if [ "${1:-}" = "--package" ]; then packages+=(help2man lintian dpkg-dev fakeroot ccache); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
