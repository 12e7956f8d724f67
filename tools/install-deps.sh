#!/usr/bin/env bash
# Installs the Debian packages Brindlemoor needs that this machine lacks.
#   tools/install-deps.sh run      what building and running the program needs
#   tools/install-deps.sh release  that, plus what tools/release.sh builds the
#                                  packages with and the reproducibility
#                                  check compares them with
#   tools/install-deps.sh test     that, plus everything the tests,
#                                  benchmarks and fuzzing need
#   tools/install-deps.sh coverage that, plus gcovr
#   tools/install-deps.sh arm64    what the arm64 build and its tests
#                                  need alone
set -euo pipefail

run_packages=(
    cmake ninja-build g++ pkgconf
    libsdl2-dev libsoil-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev
    xvfb xauth openbox x11-utils libxtst-dev libxdamage-dev libstb-dev libfast-float-dev patch
)
# The arm64 build: Debian's cross compiler and the arm64 libraries beside
# the host's through multiarch (SOIL, which cannot be installed for two
# architectures at once, the build fetches itself); its tests run under
# qemu-user with arm64 Mesa. The arm64 .deb is built in a chroot of its own.
arm64_packages=(
    g++-aarch64-linux-gnu libsdl2-dev:arm64 libgl-dev:arm64 libglu1-mesa-dev:arm64 libx11-dev:arm64
)
arm64_test_packages=(qemu-user-static libgl1-mesa-dri:arm64 libgtest-dev:arm64 zlib1g-dev:arm64)
release_packages=(
    "${run_packages[@]}" "${arm64_packages[@]}" mmdebstrap
    build-essential dpkg-dev debhelper g++-mingw-w64-x86-64 nsis strip-nondeterminism diffoscope
)
test_packages=(
    "${release_packages[@]}"
    libgtest-dev libgmock-dev libbenchmark-dev clang-format
    apitrace libtinyobjloader-dev x11-xkb-utils libjpeg-turbo-progs zlib1g-dev
    clang libclang-rt-dev
    wine64 wine icoutils liblnk-utils
    lintian devscripts desktop-file-utils appstream unzip autopkgtest xdotool x11-apps graphviz
    "${arm64_test_packages[@]}"
)

case "${1:-test}" in
    run) wanted=("${run_packages[@]}") ;;
    release) wanted=("${release_packages[@]}") ;;
    test) wanted=("${test_packages[@]}") ;;
    coverage) wanted=("${test_packages[@]}" gcovr) ;;
    arm64) wanted=("${arm64_packages[@]}" "${arm64_test_packages[@]}") ;;
    *) echo "usage: $0 [run|release|test|coverage|arm64]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]}" == *:arm64* ]] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
    $sudo dpkg --add-architecture arm64
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
