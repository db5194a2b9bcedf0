# Sourced: the environment every Wine run of the project uses, and helpers to
# prepare it. Code page 936 comes from the locale; the prefix is private.
# VESKAR_ARCH picks the Wine: x86_64 (the system's, the default) or i686
# (the 32-bit one tools/setup-wine32.sh prepares, with a prefix of its own).
VESKAR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VESKAR_WINE32_HOME=${VESKAR_WINE32_HOME:-${XDG_CACHE_HOME:-$HOME/.cache}/veskar/wine32}
export VESKAR_ARCH=${VESKAR_ARCH:-x86_64}
export VESKAR_WINE_EMULATED=
case $VESKAR_ARCH in
    x86_64)
        VESKAR_MAIN_PREFIX=$VESKAR_ROOT/build/wineprefix
        VESKAR_MINGW=x86_64-w64-mingw32
        export WINEARCH=win64 ;;
    i686)
        VESKAR_MAIN_PREFIX=$VESKAR_ROOT/build/wineprefix-i686
        VESKAR_MINGW=i686-w64-mingw32
        export WINEARCH=win32
        # Its wine comes first; wineserver stays the system's, which serves
        # 32-bit clients too.
        case ":$PATH:" in *":$VESKAR_WINE32_HOME/bin:"*) ;; *) export PATH=$VESKAR_WINE32_HOME/bin:$PATH ;; esac
        # Set when qemu runs it (see setup-wine32.sh).
        VESKAR_WINE_EMULATED=$(grep -q 'mode=qemu' "$VESKAR_WINE32_HOME/ready" 2>/dev/null && echo 1) ;;
    *)
        echo "wine-env: VESKAR_ARCH must be x86_64 or i686, not '$VESKAR_ARCH'" >&2
        return 1 ;;
esac
export WINEPREFIX=${VESKAR_WINEPREFIX:-$VESKAR_MAIN_PREFIX}
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="

# Fails with the way out when the chosen Wine cannot run.
veskar_ensure_wine() {
    [ "$VESKAR_ARCH" = i686 ] || return 0
    [ -f "$VESKAR_WINE32_HOME/ready" ] && return 0
    echo "wine-env: the 32-bit Wine is not set up in $VESKAR_WINE32_HOME; tools/setup.sh --wine32 fetches it (make test does)" >&2
    return 1
}

# Starts Xvfb when there is no display; sets VESKAR_XVFB_PID when it did.
veskar_ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local n
    for n in $(seq 91 120); do
        [ -e /tmp/.X$n-lock ] && continue
        Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        VESKAR_XVFB_PID=$!
        export DISPLAY=:$n
        for _ in $(seq 50); do
            [ -e /tmp/.X11-unix/X$n ] && return 0
            sleep 0.1
        done
    done
    echo "wine-env: could not start Xvfb" >&2
    return 1
}

# Creates the prefix once. Managed=N: without a window manager Wine otherwise
# waits about two seconds whenever a top-level window comes or goes.
veskar_ensure_prefix() {
    [ -f "$WINEPREFIX/.veskar-ready" ] && { veskar_prefix_fonts; return; }
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wine wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # 宋体 is drawn with an installed CJK font, and reported under its own name.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 宋体 /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    wineserver -w
    veskar_prefix_fonts || return 1
    touch "$WINEPREFIX/.veskar-ready"
}

# Wine draws the minimise, maximise and close glyphs of the title bars it
# paints with Marlett. This Wine never loads the copy in its own data folder
# (fonts-wine), so title bars show the letters "0", "1" and "r" instead; a
# copy among the prefix's fonts is found. Without one, the session fails.
veskar_prefix_fonts() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts marlett=/usr/share/wine/fonts/marlett.ttf
    [ -f "$fonts/marlett.ttf" ] || { mkdir -p "$fonts" && cp "$marlett" "$fonts/" 2>/dev/null; } || {
        echo "wine-env: no Marlett for the title bars' glyphs: $marlett is missing (apt-get install fonts-wine)" >&2
        return 1
    }
}

# Builds the desktop keeper of with-wine.sh into the prefix.
veskar_ensure_keeper() {
    local exe=$WINEPREFIX/keepdesktop.exe src=$VESKAR_ROOT/tools/keepdesktop.c
    [ "$exe" -nt "$src" ] || "$VESKAR_MINGW-gcc-posix" -O2 -s -mwindows -o "$exe" "$src"
}

# Makes <prefix> a copy of the project's ready prefix unless it is ready
# itself: a prefix of its own keeps a run's registrations from every other
# run, and copying is much faster than creating one.
veskar_copy_prefix() {
    local prefix=$1 main_prefix=$WINEPREFIX
    if [ ! -f "$prefix/.veskar-ready" ] && [ -f "$main_prefix/.veskar-ready" ]; then
        rm -rf "$prefix"
        cp -a "$main_prefix" "$prefix"
    fi
}

# Prints the path of the built file <build>/<path>, or fails.
veskar_find_built() {
    [ -f "$1/$2" ] || { echo "$(basename "$0"): $1/$2 not found (build it first)" >&2; return 1; }
    echo "$1/$2"
}
