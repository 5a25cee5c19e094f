#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what an installation must give: the
# SDK usable from outside (pkg-config and CMake), the desktop entry and icons, and the program
# running from the prefix with its state in the per-user data directory.
#   installed_layout.sh <build dir> <consumer source dir> <program version>
set -euo pipefail

build=$1
consumer_src=$2
program_version=$3

work=$(mktemp -d)
program_pid=
cleanup() {
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log"; fail "cmake --install"; }

pc_file=$(find "$prefix" -name camlink.pc -print -quit)
[ -n "$pc_file" ] || fail "no camlink.pc installed"
libdir=$(dirname "$(dirname "$pc_file")")
data=$prefix/share/facekeeper
for file in "$prefix/bin/facekeeper" "$prefix/bin/facekeeper-backup" \
    "$prefix/share/man/man1/facekeeper-backup.1" "$prefix/lib/systemd/system/facekeeper-backup.timer" \
    "$prefix/lib/systemd/system/facekeeper-backup.service" "$prefix/include/camlink.h" "$libdir/libcamlink.so" \
    "$libdir/libshellframe.so" "$libdir/libvizor_win.so" \
    "$libdir/cmake/camlink/camlinkConfigVersion.cmake" "$data/translations/kestrel_en.qm" \
    "$data/translations/kestrel_zh.qm" "$data/models_bit8/model_conf.json" \
    "$data/images/logo.png"; do
    [ -s "$file" ] || fail "missing or empty: ${file#"$prefix"/}"
done

# ---- desktop entry and icons ----
desktop=$prefix/share/applications/facekeeper.desktop
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$prefix/bin/$exec_name" ] || fail "Exec=$exec_name is not the installed program"
hicolor=$prefix/share/icons/hicolor
[ -s "$hicolor/scalable/apps/$icon_name.svg" ] || fail "no scalable icon $icon_name.svg"
# Width and height from a PNG's header, after its 8-byte signature and the IHDR tag.
png_size() {
    od -An -tu1 -N24 "$1" | tr -s ' \n' ' ' | awk '{
        if ($1 != 137 || $2 != 80 || $3 != 78 || $4 != 71) { print "not-png"; exit }
        printf "%dx%d\n", (($17*256+$18)*256+$19)*256+$20, (($21*256+$22)*256+$23)*256+$24 }'
}
for size in 16 22 24 32 48 64 128 256; do
    icon=$hicolor/${size}x${size}/apps/$icon_name.png
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon")"
done

# ---- the SDK from outside: pkg-config, then CMake's find_package ----
export PKG_CONFIG_LIBDIR=$libdir/pkgconfig
sdk_version=$(pkg-config --modversion camlink)
# shellcheck disable=SC2046
cc -std=c11 -Wall -Wextra -Werror $(pkg-config --cflags camlink) "$consumer_src/consumer.c" \
    $(pkg-config --libs camlink) -o "$work/pc_consumer" || fail "pkg-config build"
ran=$(LD_LIBRARY_PATH=$libdir "$work/pc_consumer") || fail "pkg-config consumer did not run"
[ "$ran" = "$sdk_version" ] || fail "library says '$ran', camlink.pc says '$sdk_version'"

if ! cmake -S "$consumer_src" -B "$work/cmake_consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_FLAGS="-Wall -Wextra -Werror" >"$work/consumer.log" 2>&1 ||
    ! cmake --build "$work/cmake_consumer" >>"$work/consumer.log" 2>&1; then
    cat "$work/consumer.log"
    fail "find_package build"
fi
loaded=$(ldd "$work/cmake_consumer/consumer")
grep -q "libcamlink.so.* => $libdir/" <<<"$loaded" ||
    fail "the CMake consumer does not load the installed library"
ran=$("$work/cmake_consumer/consumer") || fail "find_package consumer did not run"
[ "$ran" = "$sdk_version" ] || fail "find_package consumer says '$ran'"

# ---- the program: help and version with no display, touching nothing ----
program=$prefix/bin/facekeeper
quiet_env=(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$work/info_home"
    XDG_DATA_HOME="$work/info_home/data")
out=$("${quiet_env[@]}" "$program" --version) || fail "--version failed"
[ "$out" = "facekeeper $program_version" ] || fail "--version printed '$out'"
help=$("${quiet_env[@]}" "$program" --help) || fail "--help failed"
grep -q -- "--version" <<<"$help" || fail "--help lacks --version"
status=0
"${quiet_env[@]}" QT_QPA_PLATFORM=offscreen "$program" --no-such-option 2>"$work/mistake" || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with $status, not 2"
grep -q "no-such-option" "$work/mistake" || fail "the unknown option is not named"
if [ -e "$work/info_home/data/facekeeper" ] || [ -e "$prefix/bin/log" ]; then
    fail "answering the command line touched the program's state"
fi

# ---- the program started from a prefix it may not write ----
home=$work/home
mkdir -p "$home/tmp" "$home/runtime"
chmod 700 "$home/runtime"
if [ "$(id -u)" -eq 0 ]; then
    # Another user, in private IPC and network namespaces where the machine allows them: no
    # other instance in the way, no traffic.
    chmod 755 "$work"
    chown -R nobody:nogroup "$home"
    launch=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    if unshare --ipc --net true 2>/dev/null; then launch=(unshare --ipc --net "${launch[@]}"); fi
else
    chmod -R a-w "$prefix/bin"
    launch=()
fi
touch "$work/started"
"${launch[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" XDG_DATA_HOME="$home/data" \
    XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" TMPDIR="$home/tmp" \
    QT_QPA_PLATFORM=offscreen "$program" >"$work/program.out" 2>&1 &
program_pid=$!
state=$home/data/facekeeper
# Up when it has opened its log in the per-user directory and loaded the installed translations.
for _ in $(seq 1 150); do
    if compgen -G "$state/log/*.log" >/dev/null && grep -q "usrTranslator ok" "$work/program.out"
    then break; fi
    kill -0 "$program_pid" 2>/dev/null || { cat "$work/program.out"; fail "the program ended"; }
    sleep 0.2
done
compgen -G "$state/log/*.log" >/dev/null || { cat "$work/program.out"; fail "no log in $state"; }
grep -q "usrTranslator ok" "$work/program.out" || fail "the installed translations were not found"
grep -q "\"$state\"" "$work/program.out" || fail "the working directory is not $state"
kill -0 "$program_pid" 2>/dev/null || { cat "$work/program.out"; fail "the program ended"; }
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=
written=$(find "$prefix" -newer "$work/started")
[ -z "$written" ] || fail "the program wrote into its prefix: $written"
echo "installed layout OK"
