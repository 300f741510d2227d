#!/bin/sh
# Installs the Debian packages that building, testing and running ZERAN need.
# Quick and silent when everything is already there.
set -eu

PACKAGES="cmake g++ make pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libpolyclipping-dev
  xvfb xauth x11-utils imagemagick xdotool
  poppler-utils appstream shared-mime-info dpkg-dev fonts-dejavu-core
  linuxcnc-uspace"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
