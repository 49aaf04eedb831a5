#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine; does nothing when all is there.
set -euo pipefail
pkgs=(cmake g++ make pkg-config qt6-base-dev libqt6sql6-sqlite libqt6svg6 qt6-translations-l10n
      qt6-qpa-plugins fonts-dejavu-core libsqlite3-dev libxcb1-dev
      libpulse-dev libsndfile1-dev  # the audio server's client library, the sound files' decoder
      pulseaudio pulseaudio-utils)  # the sound check's audio output: a null sink
if [ "${1:-}" = "--dev" ]; then
  # Only for making the media, looking at screenshots and the start-up benchmark; the build does not need them.
  pkgs+=(sox libsox-fmt-mp3 imagemagick xvfb xauth)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
