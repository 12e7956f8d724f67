# Cross-compiles the Linux program for 64-bit ARM (Raspberry Pi OS 64-bit,
# Debian and Ubuntu arm64) from Debian amd64, with Debian's cross compiler
# (g++-aarch64-linux-gnu) and the arm64 libraries installed through
# multiarch (tools/install-deps.sh arm64):
#   cmake -S . -B build-arm64 -G Ninja \
#       -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
# SOIL, which cannot be installed for two architectures at once, is
# unpacked into the build folder (cmake/Soil.cmake).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# The tests and anything else built here run under qemu-user, over the
# arm64 libraries beside the host's.
find_program(BRINDLEMOOR_QEMU_AARCH64 NAMES qemu-aarch64-static qemu-aarch64)
if(BRINDLEMOOR_QEMU_AARCH64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${BRINDLEMOOR_QEMU_AARCH64})
endif()
