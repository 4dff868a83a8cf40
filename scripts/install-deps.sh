#!/usr/bin/env bash
# Installs what the build, the tests and the examples need on Debian 12, and nothing
# that is already there. Run as root (or with sudo).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config ccache
  qt6-base-dev libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-ipaexfont proj-bin
  python3-ezdxf locales xvfb xauth imagemagick poppler-utils gdb libxcb1-dev
  clang libclang-rt-14-dev
  x11-utils openbox
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The locale tests run the programs under a locale whose decimal separator is a comma.
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating the locale de_DE.UTF-8"
  if [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null; then
    $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  else
    $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
  fi
fi
