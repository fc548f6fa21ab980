# Sourced by the scripts that run Windows programs under Wine. Gives each run
# what a classroom PC has: code page 936 (GBK), Chinese fonts, a screen, and
# drive E: mapped to a folder of the caller's choosing.
#
#   wine_session_start TEMPLATE DRIVE_E   # a fresh prefix copied from TEMPLATE
#   wine_session_end                      # ends Wine and Xvfb, removes the copy

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko prompts, nothing downloaded
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8   # code page 936; needs the generated locale
export WINEARCH=win64                        # 32-bit programs run in it as on 64-bit Windows

wine_session_dir=""
wine_xvfb_pid=""

# Makes the prefix template once per build tree; concurrent callers wait.
wine_template() {
    local template=$1
    (
        flock 9
        [ -f "$template/.ready" ] && exit 0
        rm -rf "$template" && mkdir -p "$template"
        WINEPREFIX=$template wineboot -i >/dev/null 2>&1
        WINEPREFIX=$template wineserver -w
        # Title-bar buttons need Marlett; "宋体" is rendered by WenQuanYi Zen Hei.
        cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/"
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
        WINEPREFIX=$template wine regedit /S "$(winepath_of "$reg.utf16")" >/dev/null 2>&1
        WINEPREFIX=$template wineserver -w
        rm -f "$reg" "$reg.utf16"
        touch "$template/.ready"
    ) 9>"$template.lock"
}

# Wine's name for a Linux path: drive Z: is the Linux root.
winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

wine_session_start() {
    local template=$1 drive_e=$2
    wine_template "$template"
    wine_session_dir=$(mktemp -d /tmp/verondel-wine.XXXXXX)
    export WINEPREFIX=$wine_session_dir/prefix
    cp -a --reflink=auto "$template" "$WINEPREFIX"
    ln -sfn "$(cd "$drive_e" && pwd)" "$WINEPREFIX/dosdevices/e:"

    if [ -z "${VERONDEL_USE_DISPLAY:-}" ]; then
        # A private screen; -displayfd picks a free display number.
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$wine_session_dir/display" 2>/dev/null &
        wine_xvfb_pid=$!
        local waited=0
        until [ -s "$wine_session_dir/display" ]; do
            sleep 0.1; waited=$((waited + 1))
            [ $waited -lt 100 ] || { echo "Xvfb did not start" >&2; return 1; }
        done
        export DISPLAY=:$(cat "$wine_session_dir/display")
    fi
    trap wine_session_end EXIT
}

wine_set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
}

wine_session_end() {
    [ -n "$wine_session_dir" ] || return 0
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    [ -n "$wine_xvfb_pid" ] && kill "$wine_xvfb_pid" 2>/dev/null && wait "$wine_xvfb_pid" 2>/dev/null
    rm -rf "$wine_session_dir"
    wine_session_dir=""
}
