#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need.
# Idempotent: apt runs only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6opengl6-dev libgl-dev
  qt6-translations-l10n  # Qt's own Russian texts for the standard dialogs
  libavformat-dev libavcodec-dev libavutil-dev libswresample-dev
  libopenmpt-dev libcdio-dev libcdio-paranoia-dev libiso9660-dev
  libsdl2-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  ffmpeg sox xvfb xauth x11-apps xdotool imagemagick dbus dbus-x11 fonts-dejavu-core
  python3 python3-pyftpdlib python3-mutagen openmpt123
  python3-dbus python3-gi  # the desktop services of the tray tests
  trayer dunst  # a real X11 tray and notification server, to try the tray by hand
  libnautilus-extension-dev nautilus desktop-file-utils xdg-utils  # the file-manager modules
  libcaja-extension-dev libnemo-extension-dev caja nemo  # and the other file managers' modules
  appstream shared-mime-info libglib2.0-bin file dpkg-dev playerctl  # install, package, MPRIS checks
  audacious  # a peer player for the library benchmark
  mpv  # a peer player for the playing benchmark
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
