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
# The test program is told, in VERONDEL_HOST_OPENERS, which of the Linux desktop's openers
# Wine's winebrowser would find on this host (none on a fresh Debian), and has its changes
# made on the Linux side run by this script (ChangeOutsideWine, tests/windows/test_drive.h).
set -euo pipefail
source "$(dirname "$0")/wine-session.sh"

drive_e=$(mktemp -d /tmp/verondel-drive.XXXXXX)
wine_session_start "${VERONDEL_WINE_TEMPLATE:?}" "$drive_e"
trap 'wine_session_end; rm -rf "$drive_e" "$drive_e".*' EXIT

[ -z "${VERONDEL_PREPARE_DRIVE:-}" ] || $VERONDEL_PREPARE_DRIVE "$drive_e"
[ "${VERONDEL_DPI:-96}" = 96 ] || wine_set_dpi "$VERONDEL_DPI"

export VERONDEL_DRIVE_E=$drive_e
[ -z "${VERONDEL_DESKTOP:-}" ] || export PATH="$VERONDEL_DESKTOP:$PATH"

# The openers winebrowser tries, looked for here: the test program itself never starts a
# Linux program (see below).
openers=()
for opener in xdg-open /usr/bin/open firefox konqueror mozilla opera dillo; do
    command -v "$opener" >/dev/null && openers+=("$opener")
done
export VERONDEL_HOST_OPENERS="${openers[*]}"

# Changes on the Linux side of the drive, asked for by the test program: it writes a shell
# command to $drive_e.command, and this loop runs it in the drive's folder and leaves its
# exit status in $drive_e.done. A test program that started /bin/sh itself, under Wine's
# 32-bit loader, no longer had its clicks reach the programs it started afterwards; this
# way no Wine process of the tests starts a Linux program, on either architecture.
run_changes_outside_wine() {
    while :; do
        if [ -e "$drive_e.command" ]; then
            mv -f "$drive_e.command" "$drive_e.running"
            local status=0
            (cd "$drive_e" && exec sh "$drive_e.running") </dev/null || status=$?
            echo "$status" > "$drive_e.done.new" && mv -f "$drive_e.done.new" "$drive_e.done"
        fi
        sleep 0.05
    done
}
run_changes_outside_wine & changes_runner=$!
trap 'kill $changes_runner 2>/dev/null; wine_session_end; rm -rf "$drive_e" "$drive_e".*' EXIT
# Wine's own messages come in the console's code page, GBK; the tests' are ASCII.
set +e
wine "$@" 2>&1 | iconv -f GBK -t UTF-8 -c
code=${PIPESTATUS[0]}
set -e
wine_explain_exit "$(basename "$1")" "$code" || true
exit "$code"
