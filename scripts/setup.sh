#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, test and run, when missing.
# Sourced by run.sh and test.sh; quick when everything is already there.

vorblin_packages=(
  build-essential cmake ninja-build pkg-config
  # the check that the includes point down the layers
  python3
  # a locale with a decimal comma, made by a test
  locales
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libsdl2-mixer-dev
  fonts-liberation fonts-wine fonts-dejavu-core
  clang libclang-rt-14-dev
  sox
  # the translations: the template from the sources, the compiled catalogues, their checks
  gettext
  # the icon's renderings, made at build time
  librsvg2-bin
  # the installed game's checks: a display, the menu entry, metadata, man page, .deb
  xvfb xdotool desktop-file-utils appstream man-db dpkg-dev
  # the .deb as Debian would judge it: lintian, and hardening-check (in devscripts)
  lintian devscripts
  # windows under a window manager, and beside a Wayland compositor
  xauth openbox x11-utils weston qt6-wayland
  # and under the window managers of GNOME, KDE (with the title bars of its Breeze style) and
  # Xfce, each with a session bus of its own
  mutter kwin-x11 kwin-style-breeze xfwm4 dbus-daemon
  # the shared hall of fame over a real network share
  openssh-server sshfs
  # and over SMB, as offices share folders: a private Samba server mounted through FUSE
  samba smbclient smbnetfs
)

vorblin_install_missing() {
  local missing=()
  local pkg
  for pkg in "${vorblin_packages[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
