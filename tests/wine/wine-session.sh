# Sourced by the scripts that run Windows programs under Wine. Gives each run
# what a classroom PC has: code page 936 (GBK), Chinese fonts, a screen, and
# drive E: mapped to a folder of the caller's choosing.
#
#   wine_session_start TEMPLATE DRIVE_E   # a fresh prefix copied from TEMPLATE
#   wine_session_end                      # ends Wine and Xvfb, removes the copy
#
# VERONDEL_WINE_ARCH names the programs' architecture: i686 (the default) runs
# them with Debian's wine, x86_64 with Wine's 64-bit loader called directly,
# which is what hosts that cannot execute 32-bit programs need.

export WINEDEBUG=-all,err+module             # quiet, but say why a program cannot load
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko prompts, nothing downloaded
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8   # code page 936; needs the generated locale
export WINEARCH=win64                        # 32-bit programs run in it as on 64-bit Windows

wine_session_dir=""
wine_xvfb_pid=""
wine_template_wait_seconds=${VERONDEL_WINE_LOCK_WAIT:-600}

wine_fail() { echo "wine-session: $*" >&2; return 1; }

if [ "${VERONDEL_WINE_ARCH:-i686}" = x86_64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    PATH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/loader64:$PATH"
fi

# What the session needs from Debian, each command with its package.
wine_check_tools() {
    local missing=() tool package
    for tool in wine:wine wineserver:wine Xvfb:xvfb import:imagemagick iconv:libc-bin flock:util-linux; do
        package=${tool#*:} tool=${tool%%:*}
        command -v "$tool" >/dev/null || missing+=("$tool (package $package)")
    done
    if [ "${VERONDEL_WINE_ARCH:-i686}" = x86_64 ] && [ ! -x /usr/lib/wine/wine64 ]; then
        missing+=("/usr/lib/wine/wine64 (package wine64)")
    fi
    [ ${#missing[@]} -eq 0 ] || wine_fail "missing ${missing[*]}; run ./dev install"
}

# Makes the prefix template once per build tree; concurrent callers wait, but
# not for ever. Nothing started inside may inherit the lock's descriptor:
# wineboot leaves services running that would hold the lock after we are gone.
wine_template() {
    local template=$1 lock=$1.lock
    (
        if ! flock -w "$wine_template_wait_seconds" 9; then
            wine_fail "waited ${wine_template_wait_seconds} s for the Wine template lock $lock, held by:"
            lslocks -rn -o PID,BLOCKER,PATH | awk -F'[ ]' -v lock="$lock" '$2 == "" && $3 == lock { print $1 }' |
                xargs -r ps -o pid=,args= -p >&2
            echo "End that process, or remove $template and its lock, and try again" >&2
            exit 1
        fi
        [ -f "$template/.ready" ] && exit 0
        wine_make_template "$template" 9>&-
    ) 9>"$lock"
}

wine_make_template() {
    local template=$1 log=$1.log
    rm -rf "$template" && mkdir -p "$template"
    echo "Making the Wine prefix $template (once per build tree)"
    if ! WINEPREFIX=$template wineboot -i >"$log" 2>&1 || ! WINEPREFIX=$template wineserver -w ||
       [ ! -f "$template/system.reg" ]; then
        wine_fail "Wine could not make the prefix $template. Wine said:"
        tail -n 20 "$log" >&2
        if grep -q 'Exec format error' "$log"; then
            echo "This host cannot execute 32-bit programs: run the tests through ./dev, which" \
                 "then uses the 64-bit build, or set VERONDEL_WINE_ARCH=x86_64." >&2
        fi
        return 1
    fi
    # Title-bar buttons need Marlett; "宋体" is rendered by WenQuanYi Zen Hei.
    cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/" ||
        { wine_fail "no Marlett font: install the package fonts-wine"; return 1; }
    local reg; reg=$(mktemp --suffix=.reg)
    cat > "$reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"宋体"="WenQuanYi Zen Hei"
"SimSun"="WenQuanYi Zen Hei"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
REG
    iconv -f UTF-8 -t UTF-16 "$reg" > "$reg.utf16"   # regedit reads UTF-16 with a mark
    WINEPREFIX=$template wine regedit /S "$(winepath_of "$reg.utf16")" >>"$log" 2>&1 &&
        WINEPREFIX=$template wineserver -w ||
        { wine_fail "Wine could not run regedit in $template; see $log"; return 1; }
    rm -f "$reg" "$reg.utf16"
    touch "$template/.ready"
}

# Wine's name for a Linux path: drive Z: is the Linux root.
winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

wine_session_start() {
    local template=$1 drive_e=$2
    wine_check_tools || return 1
    wine_template "$template" || return 1
    wine_session_dir=$(mktemp -d /tmp/verondel-wine.XXXXXX)
    trap wine_session_end EXIT
    export WINEPREFIX=$wine_session_dir/prefix
    cp -a --reflink=auto "$template" "$WINEPREFIX"
    ln -sfn "$(cd "$drive_e" && pwd)" "$WINEPREFIX/dosdevices/e:"

    if [ -z "${VERONDEL_USE_DISPLAY:-}" ]; then
        # A private screen; -displayfd picks a free display number.
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$wine_session_dir/display" \
             2>"$wine_session_dir/xvfb.log" &
        wine_xvfb_pid=$!
        local waited=0
        until [ -s "$wine_session_dir/display" ]; do
            sleep 0.1; waited=$((waited + 1))
            if [ $waited -ge 100 ] || ! kill -0 "$wine_xvfb_pid" 2>/dev/null; then
                wine_fail "Xvfb did not start a screen within 10 s. It said:"
                tail -n 20 "$wine_session_dir/xvfb.log" >&2
                return 1
            fi
        done
        export DISPLAY=:$(cat "$wine_session_dir/display")
    fi
}

wine_set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null &&
        wineserver -w || wine_fail "Wine could not set the screen to $1 dpi"
}

# Explains an exit code of "wine PROGRAM" that is not the program's own verdict.
wine_explain_exit() {
    local program=$1 code=$2
    case $code in
        0|1) ;;   # the program ran: passed, or reported its own failures
        126|127)
            wine_fail "Wine could not start $program (exit $code); its message is above. Exit 126 with" \
                      "\"Exec format error\" means this host cannot execute that loader (32-bit)" ;;
        *)
            wine_fail "$program ended with exit code $code under Wine: it crashed or could not" \
                      "start; Wine's own message, if any, is above" ;;
    esac
}

wine_session_end() {
    [ -n "$wine_session_dir" ] || return 0
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    [ -n "$wine_xvfb_pid" ] && kill "$wine_xvfb_pid" 2>/dev/null && wait "$wine_xvfb_pid" 2>/dev/null
    rm -rf "$wine_session_dir"
    wine_session_dir=""
}
