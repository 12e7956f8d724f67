#!/usr/bin/env bash
# Builds the Debian source package and the .deb, with its debug symbols, as
# a distribution builds them: dpkg-buildpackage -us -uc on a copy of the
# source with its upstream tarball beside it (debian/rules turns the tests
# off). The copy holds the files git tracks or would track where SOURCE_DIR
# is a checkout, and every file but those .gitignore names where it is an
# exported tree, so no build folder reaches the tarball.
#   tools/debian-package.sh [--host-arch ARCH] SOURCE_DIR OUT_DIR
# With --host-arch (arm64), the .deb and its debug symbols for that
# architecture are cross-built instead, binary only, as Debian cross-builds:
# dpkg-buildpackage -a ARCH -Pcross,nocheck in a clean chroot of this
# machine's release, made by mmdebstrap with the build dependencies of
# that architecture. A chroot, because not every library can be installed
# for two architectures at once (SOIL cannot).
# The upstream tarball's entries are all dated SOURCE_DATE_EPOCH, from
# debian/changelog where it is not set (as dpkg-buildpackage takes it), and
# owned by root, so the same tree gives the same bytes.
set -euo pipefail

host_arch=""
if [ "${1:-}" = --host-arch ] && [ $# -ge 2 ]; then
    host_arch=$2
    shift 2
fi
if [ $# -ne 2 ]; then
    echo "usage: $0 [--host-arch ARCH] SOURCE_DIR OUT_DIR" >&2
    exit 2
fi
source_dir=$(realpath "$1")
out_dir=$(realpath -m "$2")
changelog="$source_dir/debian/changelog"
version=$(dpkg-parsechangelog -l "$changelog" -S Version)
upstream_version=${version%-*}
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$changelog" -S Timestamp)}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree_name=brindlemoor-$upstream_version
tree="$work/$tree_name"
mkdir "$tree"
if [ "$(git -C "$source_dir" rev-parse --show-toplevel 2>/dev/null)" = "$source_dir" ]; then
    # a tracked file deleted in the working tree is left out
    git -C "$source_dir" ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do
            if [ -e "$source_dir/$file" ] || [ -L "$source_dir/$file" ]; then
                printf '%s\0' "$file"
            fi
        done | tar -C "$source_dir" --null -T - -cf - | tar -C "$tree" -xf -
else
    # an exported tree may have been built in: what .gitignore keeps out of
    # a checkout (build folders, output, editors' files) stays out here too
    tar -C "$source_dir" --exclude='./build*' --exclude=./out --exclude=./dist --exclude='*.swp' \
        -cf - . | tar -C "$tree" -xf -
fi

if [ -z "$host_arch" ]; then
    # Upstream releases hold no debian/: the Debian packaging travels beside
    # them in the source package's own tarball.
    tar -C "$work" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
        --mode=u+rw,go-w,a+rX --format=gnu --exclude="$tree_name/debian" -cf - "$tree_name" |
        gzip -9n >"$work/brindlemoor_$upstream_version.orig.tar.gz"
    (cd "$tree" && dpkg-buildpackage -us -uc -j"${JOBS:-$(nproc)}")
else
    # A binary-only build: no source package, so no upstream tarball.
    # The chroot's packages come from this machine's own sources, so that
    # both builds of one commit see the same versions. The build runs in
    # /build, the same folder every time.
    build_arch=$(dpkg --print-architecture)
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    sources=/etc/apt/sources.list.d/debian.sources
    [ -e "$sources" ] || sources=/etc/apt/sources.list
    mkdir "$work/out"
    in_chroot="cd /build/$tree_name && SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH DEB_BUILD_OPTIONS=parallel=${JOBS:-$(nproc)}"
    mmdebstrap --quiet --variant=buildd --architectures="$build_arch,$host_arch" \
        --include="crossbuild-essential-$host_arch" \
        --customize-hook="mkdir -p \"\$1/build\"" \
        --customize-hook="copy-in $tree /build" \
        --customize-hook="chroot \"\$1\" apt-get build-dep -y -qq --no-install-recommends -a $host_arch -Pcross,nocheck /build/$tree_name >/dev/null" \
        --customize-hook="chroot \"\$1\" sh -c '$in_chroot dpkg-buildpackage -a $host_arch -Pcross,nocheck -B -us -uc'" \
        --customize-hook="chroot \"\$1\" sh -c 'mkdir /build/out && mv /build/brindlemoor*_$host_arch.* /build/out'" \
        --customize-hook="sync-out /build/out $work/out" \
        "$codename" /dev/null "$sources" </dev/null
    mv "$work"/out/* "$work"/
fi

mkdir -p "$out_dir"
find "$work" -maxdepth 1 -type f -name 'brindlemoor*' -exec mv -f {} "$out_dir" \;
echo "Debian packages of $version in $out_dir"
