#!/usr/bin/env bash
# Runs one Windows test program under Wine in a fresh prefix, with drive E:
# mapped to an empty scratch folder the test fills as it likes.
#   run-in-wine.sh PROGRAM.exe [ARGS...]
# VERONDEL_WINE_TEMPLATE  the prefix template (made on first use)
# VERONDEL_DPI            screen DPI for the run (default 96)
# VERONDEL_FAKE_EXPLORER  a program to stand in for Explorer, which records its command line
set -euo pipefail
source "$(dirname "$0")/wine-session.sh"

drive_e=$(mktemp -d /tmp/verondel-drive.XXXXXX)
wine_session_start "${VERONDEL_WINE_TEMPLATE:?}" "$drive_e"
trap 'wine_session_end; rm -rf "$drive_e"' EXIT

if [ -n "${VERONDEL_FAKE_EXPLORER:-}" ]; then
    # 32-bit callers of C:\windows\explorer.exe land on one of these.
    cp "$VERONDEL_FAKE_EXPLORER" "$WINEPREFIX/drive_c/windows/explorer.exe"
    cp "$VERONDEL_FAKE_EXPLORER" "$WINEPREFIX/drive_c/windows/syswow64/explorer.exe"
fi
[ "${VERONDEL_DPI:-96}" = 96 ] || wine_set_dpi "$VERONDEL_DPI"

export VERONDEL_DRIVE_E=$drive_e
wine "$@"
