# Shared settings of the set-up scripts. Sourced, never run.
# shellcheck shell=bash

REPO_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
FB_HOME=/usr/lib/x86_64-linux-gnu/firebird/3.0
FB_SERVER_BIN=/usr/sbin/firebird
FB_SECURITY_SQL=/usr/share/firebird/3.0/security.sql
SYSDBA_PASSWORD=lanternix

# The Debian packages the project needs to build, test and run.
DEBIAN_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev
    firebird-dev libfbclient2 firebird3.0-server firebird3.0-utils
    libxlsxwriter-dev python3-openpyxl
    googletest libgtest-dev libgmock-dev
    clang libclang-rt-14-dev
    xvfb xauth imagemagick fonts-dejavu-core fonts-dejavu-extra xdotool
    qt6-translations-l10n
    librsvg2-bin desktop-file-utils dpkg-dev x11-utils
)

log() { printf '[corvelo] %s\n' "$*" >&2; }
die() { printf '[corvelo] error: %s\n' "$*" >&2; exit 1; }
