#!/usr/bin/env bash
# Prepares the 32-bit Wine that the i686 tests run under, without changing
# the system (no foreign architecture, no package installed, no binfmt entry):
# Debian's wine32:i386 of the installed Wine's version and its i386 libraries
# are fetched through a private apt configuration and unpacked into a cache
# outside the build tree, so that make clean keeps it. Where the kernel
# cannot run 32-bit code, qemu's user-mode emulator runs that Wine instead.
# A stamp makes every later run a quick check that fetches nothing.
#
# Leaves <cache>/bin/wine, the session's wine for VESKAR_ARCH=i686.
# VESKAR_WINE32_MODE=qemu forces emulation (to try that path on a machine
# whose kernel runs 32-bit code).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
home=$VESKAR_WINE32_HOME
root=$home/root
mirror=http://deb.debian.org
keyring=/usr/share/keyrings/debian-archive-keyring.gpg

say() { echo "setup-wine32: $*"; }
fail() {
    echo "setup-wine32: $*" >&2
    echo "setup-wine32: the i686 tests cannot run without it; nothing was changed on the system." >&2
    exit 1
}

mkdir -p "$home"
# Two builds on one machine may set up at the same moment.
exec 9>"$home/.lock"
flock 9

wine_version=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null) ||
    fail "the system's wine64 is not installed (tools/setup.sh installs it)"

# A static i386 program that exits with 42 tells whether the kernel runs
# 32-bit code (CONFIG_IA32_EMULATION); the same program checks qemu.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '.globl _start\n_start:\n\tmovl $1, %%eax\n\tmovl $42, %%ebx\n\tint $0x80\n' >"$probe/exit42.s"
as --32 -o "$probe/exit42.o" "$probe/exit42.s" && ld -m elf_i386 -o "$probe/exit42" "$probe/exit42.o" ||
    fail "cannot assemble the i386 probe (as and ld come with binutils)"
runs_i386() { "$@" "$probe/exit42" >/dev/null 2>&1; [ $? -eq 42 ]; }

mode=${VESKAR_WINE32_MODE:-}
if [ -z "$mode" ]; then
    if ! runs_i386; then
        mode=qemu why="this kernel does not run 32-bit code"
    elif [ ! -e /lib/ld-linux.so.2 ]; then
        # Wine's loader names the host's 32-bit dynamic loader as its
        # interpreter; installing libc6-i386 would change the system.
        mode=qemu why="the kernel runs 32-bit code, but /lib/ld-linux.so.2 (libc6-i386) is missing"
    else
        mode=native why="the kernel runs 32-bit code"
    fi
else
    why="VESKAR_WINE32_MODE=$mode"
fi
case $mode in native|qemu) ;; *) fail "VESKAR_WINE32_MODE must be native or qemu, not '$mode'" ;; esac

want="wine=$wine_version mode=$mode"
if [ -f "$home/ready" ] && [ "$(cat "$home/ready")" = "$want" ]; then
    say "32-bit Wine $wine_version ready ($mode) in $home"
    exit 0
fi
rm -f "$home/ready"
say "preparing 32-bit Wine $wine_version in $home, $mode: $why"

# apt-get with a configuration of our own: its own lists, cache and an empty
# status file (so every dependency is resolved, none taken as installed), the
# given architecture as the only one, and only the given sources.
apt_private() {  # <name> <architecture> <sources.list lines> -- apt-get arguments
    local dir=$home/apt/$1 arch=$2 sources=$3
    shift 4
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial" "$dir/empty.d"
    : >"$dir/status"
    printf '%s\n' "$sources" >"$dir/sources.list"
    cat >"$dir/apt.conf" <<EOF
APT::Architecture "$arch";
APT::Architectures { "$arch"; };
APT::Sandbox::User "$(id -un)";
Acquire::Languages "none";
Acquire::Retries "3";
APT::Update::Error-Mode "any";
Dir::State "$dir";
Dir::State::Lists "$dir/lists";
Dir::State::status "$dir/status";
Dir::Cache "$dir/cache";
Dir::Etc::SourceList "$dir/sources.list";
Dir::Etc::SourceParts "$dir/empty.d";
Dir::Etc::Preferences "$dir/preferences";
Dir::Etc::PreferencesParts "$dir/empty.d";
EOF
    LC_ALL=C APT_CONFIG=$dir/apt.conf apt-get -q "$@"
}

unreachable() {
    fail "could not fetch $1 from the Debian archive ($mirror; see $home/apt.log).
The 32-bit Wine is fetched once (about 140 MB, and 63 MB of qemu where the kernel
needs it) into $home: connect this machine to the network and run make test again,
or copy that folder from a machine of the same kind that has it."
}

fetch_wine() {
    local main="deb [signed-by=$keyring] $mirror/debian" list pkgs
    list="$main bookworm main
$main bookworm-updates main
deb [signed-by=$keyring] $mirror/debian-security bookworm-security main"
    apt_private i386 i386 "$list" -- update >"$home/apt.log" 2>&1 || unreachable "the i386 package lists"
    # The same Wine as the system's 64-bit one, so that the system's
    # wineserver speaks its protocol; the X libraries are the extensions
    # Wine opens at run time (recommended by libwine, not required).
    pkgs=$(apt_private i386 i386 "$list" -- -s install --no-install-recommends \
               "wine32=$wine_version" "libwine=$wine_version" libxrender1 libxrandr2 libxi6 \
               libxcursor1 libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1 2>>"$home/apt.log" |
           awk '/^Inst /{ v = $3; sub(/^\(/, "", v); print $2 "=" v }') ||
        fail "no wine32:i386 $wine_version in the Debian archive to match the system's wine64 (see $home/apt.log)"
    [ -n "$pkgs" ] || fail "apt resolved no packages for wine32:i386 $wine_version (see $home/apt.log)"

    rm -rf "$home/debs" "$root.new"
    mkdir -p "$home/debs" "$root.new"
    # shellcheck disable=SC2086
    (cd "$home/debs" && apt_private i386 i386 "$list" -- download $pkgs >>"$home/apt.log" 2>&1) ||
        unreachable "wine32:i386 $wine_version and its libraries"
    say "fetched $(ls "$home/debs" | wc -l) packages, $(du -sm "$home/debs" | cut -f1) MB; unpacking"
    for deb in "$home/debs"/*.deb; do
        dpkg-deb -x "$deb" "$root.new"
    done

    # What libwine's installation script would do: Wine's zlib1.dll is the
    # MinGW one, copied in with the signature of a Wine builtin DLL.
    local m in
    for m in i686:i386 x86_64:x86_64; do
        in=$root.new/usr/${m%%:*}-w64-mingw32/lib/zlib1.dll
        { head -c 64 "$in"; printf 'Wine builtin DLL'; head -c 16 /dev/zero; tail -c +97 "$in"; } \
            >"$root.new/usr/lib/i386-linux-gnu/wine/${m##*:}-windows/zlib1.dll"
    done
    # Under qemu (-L) the root's font folder would hide the host's, and with
    # it the CJK font; natively the 32-bit fontconfig reads the host's anyway.
    rm -rf "$root.new/usr/share/fonts" "$root.new/usr/share/doc" "$root.new/usr/share/man"

    echo "$wine_version" >"$root.new/.veskar-wine"
    rm -rf "$root" "$home/debs"
    mv "$root.new" "$root"
}

fetch_qemu() {
    # Debian 12's own qemu-user (7.2) crashes Wine's processes; 10 works.
    local list="deb [signed-by=$keyring] $mirror/debian bookworm-backports main"
    apt_private qemu amd64 "$list" -- update >"$home/apt.log" 2>&1 || unreachable "the bookworm-backports package list"
    rm -rf "$home/qemu-debs"
    mkdir -p "$home/qemu-debs"
    (cd "$home/qemu-debs" && apt_private qemu amd64 "$list" -- download qemu-user/bookworm-backports >>"$home/apt.log" 2>&1) ||
        unreachable "qemu-user from bookworm-backports"
    dpkg-deb --fsys-tarfile "$home"/qemu-debs/qemu-user_*.deb | tar -xO ./usr/bin/qemu-i386 >"$home/qemu-i386.new"
    chmod +x "$home/qemu-i386.new"
    rm -rf "$home/qemu-debs"
    mv "$home/qemu-i386.new" "$home/qemu-i386"
}

start=$(date +%s)
[ "$(cat "$root/.veskar-wine" 2>/dev/null)" = "$wine_version" ] || fetch_wine

loader=$root/usr/lib/wine/wine
if [ "$mode" = qemu ]; then
    version=$("$home/qemu-i386" --version 2>/dev/null | sed -n '1s/.*version \([0-9]*\)\..*/\1/p') || true
    [ "${version:-0}" -ge 10 ] 2>/dev/null || fetch_qemu
    runs_i386 "$home/qemu-i386" ||
        fail "$why, and qemu-i386 ($home/qemu-i386) does not run the i386 probe either.
Use a kernel with CONFIG_IA32_EMULATION=y, or a machine where qemu's user-mode emulation works."
    # Wine starts every process (itself included, once) through the loader
    # of its own folder named like its argv[0]: this script, given to qemu
    # as argv[0], so that each one runs under qemu again.
    cat >"$root/usr/lib/wine/wine-qemu" <<EOF
#!/bin/sh
exec "$home/qemu-i386" -L "$root" -0 "\$0" "$loader" "\$@"
EOF
    chmod +x "$root/usr/lib/wine/wine-qemu"
    loader=$root/usr/lib/wine/wine-qemu
fi

mkdir -p "$home/bin"
cat >"$home/bin/wine" <<EOF
#!/bin/sh
# Debian's 32-bit Wine $wine_version from $root ($mode).
# The system's 64-bit wineserver serves 32-bit clients of the same version.
export LD_LIBRARY_PATH="$root/usr/lib/i386-linux-gnu:$root/lib/i386-linux-gnu"
export WINESERVER=/usr/lib/wine/wineserver64
exec "$loader" "\$@"
EOF
chmod +x "$home/bin/wine"

got=$("$home/bin/wine" --version 2>&1) ||
    fail "the unpacked 32-bit Wine does not start ($mode): $got"
rm -rf "$home/apt"
echo "$want" >"$home/ready"
say "$got ready ($mode) in $(( $(date +%s) - start )) s; $(du -sm "$home" | cut -f1) MB in $home"
