#!/usr/bin/env bash
# Builds every package of the commit checked out, from a clean export of it,
# into a folder (dist/ by default) with a SHA256SUMS file: the Debian source
# package, the .deb and its debug symbols with the .buildinfo that says how
# they were built, for amd64 and for arm64, the Linux tarball for each, and
# the Windows zip and installer.
#   tools/release.sh [DIST_DIR]
# Uncommitted changes are left out. Every package is dated SOURCE_DATE_EPOCH,
# the commit's time where it is not set, so that building the same commit
# again, anywhere, gives the same bytes (tools/check-reproducible.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

dist=$(realpath -m "${1:-dist}")
tools/install-deps.sh release
commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release.sh: the working tree has uncommitted changes; building $commit as committed" >&2
fi
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct "$commit")}
# a zip holds local times
export TZ=UTC LC_ALL=C.UTF-8
jobs=${JOBS:-$(nproc)}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git archive --prefix=source/ "$commit" | tar -x -C "$work"
source="$work/source"

# Runs a step with its output in a log, shown only when the step fails.
step() {
    local name=$1
    shift
    echo "release.sh: $name"
    if ! "$@" >"$work/$name.log" 2>&1; then
        tail -n 40 "$work/$name.log" >&2
        echo "release.sh: $name failed" >&2
        exit 1
    fi
}

step debian "$source/tools/debian-package.sh" "$source" "$work/debian"
step debian-arm64 "$source/tools/debian-package.sh" --host-arch arm64 "$source" "$work/debian-arm64"

# The tarball's program is built as the .deb's is, with Debian's flags:
# hardened, and with the build folder mapped out of it (dpkg-buildflags maps
# the folder it is run in). CMake reads no CPPFLAGS. The arm64 tarball's is
# cross-built with Debian's arm64 flags.
#   linux_build FOLDER [DEBIAN_ARCH CMAKE_TOOLCHAIN_FILE]
# in a subshell of its own, so that Debian's flags reach no other build
linux_build() (
    local folder=$1 arch=${2:-} toolchain=()
    cd "$work"
    if [ -n "$arch" ]; then
        export DEB_HOST_ARCH=$arch
        toolchain=(-DCMAKE_TOOLCHAIN_FILE="$3")
    fi
    eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
    export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"
    # No build-tree run path either: the arm64 build's SOIL lies in its build
    # folder, whose name would otherwise size the program's string table.
    cmake -S "$source" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=None "${toolchain[@]}" -DCMAKE_SKIP_BUILD_RPATH=ON \
        -DBRINDLEMOOR_TESTS=OFF -DBRINDLEMOOR_BENCH=OFF -DBRINDLEMOOR_TOOLS=OFF &&
        cmake --build "$folder" -j "$jobs" --target package
)
windows_build() {
    cmake -S "$source" -B "$work/windows" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" &&
        cmake --build "$work/windows" -j "$jobs" --target package
}
step linux linux_build linux
step linux-arm64 linux_build linux-arm64 arm64 "$source/cmake/aarch64-linux-gnu.cmake"
step windows windows_build

mkdir -p "$dist"
names=()
for package in "$work"/debian/*.{dsc,orig.tar.gz,debian.tar.xz,deb,buildinfo} "$work"/debian-arm64/*.{deb,buildinfo} \
    "$work"/linux/packages/*.tar.gz "$work"/linux-arm64/packages/*.tar.gz "$work"/windows/packages/*.{zip,exe}; do
    cp "$package" "$dist/"
    names+=("$(basename "$package")")
done
(cd "$dist" && sha256sum "${names[@]}" >SHA256SUMS)
echo "The packages of $commit, in $dist:"
cat "$dist/SHA256SUMS"
