#!/usr/bin/env bash
# Runs one Windows test program under Wine in a fresh prefix, with drive E:
# mapped to an empty scratch folder the test fills as it likes.
#   run-in-wine.sh PROGRAM.exe [ARGS...]
# VERONDEL_WINE_TEMPLATE  the prefix template (made on first use)
# VERONDEL_WINE_ARCH      the program's architecture, i686 or x86_64 (see wine-session.sh)
# VERONDEL_DPI            screen DPI for the run (default 96)
# VERONDEL_PREPARE_DRIVE  a command run with the drive's Linux folder before Wine starts
#                         (files made there appear far faster than through Wine)
# VERONDEL_DESKTOP        a folder put first on the Linux PATH that Wine starts with: its
#                         xdg-open stands in for the Linux desktop's (by default there is none)
set -euo pipefail
source "$(dirname "$0")/wine-session.sh"

drive_e=$(mktemp -d /tmp/verondel-drive.XXXXXX)
wine_session_start "${VERONDEL_WINE_TEMPLATE:?}" "$drive_e"
trap 'wine_session_end; rm -rf "$drive_e"' EXIT

[ -z "${VERONDEL_PREPARE_DRIVE:-}" ] || $VERONDEL_PREPARE_DRIVE "$drive_e"
[ "${VERONDEL_DPI:-96}" = 96 ] || wine_set_dpi "$VERONDEL_DPI"

export VERONDEL_DRIVE_E=$drive_e
[ -z "${VERONDEL_DESKTOP:-}" ] || export PATH="$VERONDEL_DESKTOP:$PATH"
# Wine's own messages come in the console's code page, GBK; the tests' are ASCII.
set +e
wine "$@" 2>&1 | iconv -f GBK -t UTF-8 -c
code=${PIPESTATUS[0]}
set -e
wine_explain_exit "$(basename "$1")" "$code" || true
exit "$code"
