#!/usr/bin/env bash
# Builds the Debian packages from the tree, installs both into a fresh Debian 12 system (a
# chroot made by debootstrap from this machine's apt mirror), runs the two programs there and
# removes the packages, which must leave none of their files behind.
#   debian_package.sh <source dir> <work dir> <version>
# The debootstrap tarball and the downloaded .debs are kept in $FACEKEEPER_DEB_CACHE
# (default /var/cache/facekeeper-package-test), outside any build tree, so a repeat is quick.
set -euo pipefail

src=$(realpath "$1")
mkdir -p "$2"
work=$(realpath "$2")
version=$3
cache=${FACEKEEPER_DEB_CACHE:-/var/cache/facekeeper-package-test}
suite=bookworm
root=$work/chroot
mounted=()

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
cleanup() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
    rm -rf "$root"
}
trap cleanup EXIT
step() { echo "== $(date +%T) $*"; }

[ "$(id -u)" = 0 ] || fail "needs root (debootstrap, chroot)"
command -v debootstrap >/dev/null || fail "debootstrap is not installed (scripts/setup)"

# ---- the machine's mirror: the first URI of a source that carries the suite ----
mirror=$(awk -v suite="$suite" '
    /^URIs:/ { uri = $2 } /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite && uri != "") { print uri; exit } }
    /^deb / { for (i = 2; i <= NF; i++) if ($i ~ /^(https?|file):/) { u = $i; if ($(i+1) == suite) { print u; exit } } }
' $(ls /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list 2>/dev/null))
[ -n "$mirror" ] || fail "no apt source for $suite in /etc/apt/sources.list*"
step "mirror $mirror"

# ---- the packages ----
build=$work/build
step "building the packages"
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DFACEKEEPER_PACKAGE_ONLY=ON -DCMAKE_C_COMPILER_LAUNCHER=ccache \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >"$work/configure.log" || { cat "$work/configure.log"; fail configure; }
cmake --build "$build" -j2 >"$work/build.log" 2>&1 || { tail -50 "$work/build.log"; fail build; }
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail cpack; }
program_deb=$build/facekeeper_${version}_amd64.deb
dev_deb=$build/libcamlink-dev_${version}_amd64.deb
[ -s "$program_deb" ] || fail "no $(basename "$program_deb")"
[ -s "$dev_deb" ] || fail "no $(basename "$dev_deb")"
depends=$(dpkg-deb -f "$program_deb" Depends)
echo "facekeeper depends on: $depends"
for lib in libc6 libqt5widgets5 libcurl4 libsodium23; do
    [[ $depends == *"$lib"* ]] || fail "the computed dependencies lack $lib"
done
contents=$(dpkg-deb -c "$program_deb")
for file in ./usr/bin/facekeeper ./usr/bin/facekeeper-backup facekeeper-backup.timer \
    facekeeper-backup.service man1/facekeeper-backup.1 applications/facekeeper.desktop \
    translations/kestrel_zh.qm libcamlink.so; do
    grep -q -- "$file" <<<"$contents" || fail "facekeeper package lacks $file"
done
dev_contents=$(dpkg-deb -c "$dev_deb")
for file in include/camlink.h pkgconfig/camlink.pc cmake/camlink/camlinkConfig.cmake; do
    grep -q -- "$file" <<<"$dev_contents" || fail "libcamlink-dev lacks $file"
done

# ---- a fresh Debian 12 ----
mkdir -p "$cache/archives/partial"
tarball=$cache/debootstrap-$suite.tgz
if [ ! -s "$tarball" ]; then
    step "downloading the base system once (kept in $tarball)"
    debootstrap --variant=minbase --make-tarball="$tarball.part" "$suite" "$work/tarball-root" "$mirror" \
        >"$work/debootstrap.log" 2>&1 || { tail -20 "$work/debootstrap.log"; fail "debootstrap --make-tarball"; }
    mv "$tarball.part" "$tarball"
    rm -rf "$work/tarball-root"
fi
step "unpacking the base system"
rm -rf "$root"
debootstrap --variant=minbase --unpack-tarball="$tarball" "$suite" "$root" "$mirror" \
    >"$work/debootstrap.log" 2>&1 || { tail -20 "$work/debootstrap.log"; fail debootstrap; }
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --bind "$cache/archives" "$root/var/cache/apt/archives" && mounted+=("$root/var/cache/apt/archives")
rm -f "$root"/etc/apt/sources.list
cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/" 2>/dev/null || true
cp /etc/apt/sources.list "$root/etc/apt/" 2>/dev/null || true
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$program_deb" "$dev_deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

step "installing both packages"
in_root apt-get update -qq >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get update"; }
in_root apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$program_deb")" \
    "/tmp/$(basename "$dev_deb")" >>"$work/apt.log" 2>&1 || { tail -30 "$work/apt.log"; fail "apt-get install"; }

step "running the programs"
in_root facekeeper --version | grep -q "$version" || fail "facekeeper --version"
in_root facekeeper-backup --help | grep -q "restore" || fail "facekeeper-backup --help"
in_root facekeeper-backup --version | grep -q "$version" || fail "facekeeper-backup --version"

step "removing them"
files=$(in_root dpkg-query -L facekeeper libcamlink-dev)
in_root apt-get purge -y -qq facekeeper libcamlink-dev >>"$work/apt.log" 2>&1 || fail "apt-get purge"
left=0
while IFS= read -r path; do
    [ -n "$path" ] && [ "$path" != "/." ] || continue
    if [ -e "$root$path" ] && [ ! -d "$root$path" ]; then
        echo "left behind: $path" >&2
        left=1
    fi
done <<<"$files"
# Directories the packages made are gone too, unless another package of the system owns them.
for path in /usr/share/facekeeper /usr/share/doc/facekeeper-backup /usr/include/camlink.h \
    /usr/lib/x86_64-linux-gnu/cmake/camlink; do
    [ ! -e "$root$path" ] || { echo "left behind: $path" >&2; left=1; }
done
[ "$left" = 0 ] || fail "files left after removal"
step "done: installed, ran and removed without a trace"
