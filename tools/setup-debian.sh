#!/usr/bin/env bash
# Installs every Debian package the build, the Wine bench and the tests need.
# Idempotent: prints nothing and changes nothing when all is present.
set -euo pipefail

packages=(
  g++-mingw-w64-i686 wine wine32:i386 xvfb openbox x11-utils xdotool socat cmake ninja-build
  googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev gcc-multilib
  g++ python3 fonts-dejavu-core locales scrot
)

missing=()
for p in "${packages[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
