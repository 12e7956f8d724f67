# The arm64 program and the unit tests that need no display, cross-built
# beside the Linux build (in <build>/arm64) with Debian's aarch64 compiler
# over the arm64 libraries installed through multiarch, and run under
# qemu-user (cmake/aarch64-linux-gnu.cmake). Their cases join this build's
# under the label arm64; tests/e2e runs the program on a virtual display
# with arm64 Mesa. Only what those cases need is built, without debug
# information or sanitizers, which would only slow the emulator. Sets
# BRINDLEMOOR_ARM64_DIR and BRINDLEMOOR_ARM64_EMULATOR when all can be made.
set(arm64_libraries /usr/lib/aarch64-linux-gnu)
find_program(BRINDLEMOOR_AARCH64_CXX aarch64-linux-gnu-g++)
find_program(BRINDLEMOOR_QEMU_AARCH64 NAMES qemu-aarch64-static qemu-aarch64)
set(arm64_missing "")
foreach(part cmake/SDL2/sdl2-config.cmake libGL.so libGLU.so libX11.so libz.so libgtest.a dri/swrast_dri.so)
    if(NOT EXISTS ${arm64_libraries}/${part})
        list(APPEND arm64_missing ${arm64_libraries}/${part})
    endif()
endforeach()
# SOIL is fetched for the cross build (cmake/TargetSoil.cmake): apt must
# know the architecture.
execute_process(COMMAND apt-cache show libsoil1:arm64 RESULT_VARIABLE no_arm64_soil OUTPUT_QUIET ERROR_QUIET)
if(NOT BRINDLEMOOR_AARCH64_CXX OR NOT BRINDLEMOOR_QEMU_AARCH64 OR arm64_missing OR no_arm64_soil)
    message(STATUS "arm64 cases skipped: they need g++-aarch64-linux-gnu, qemu-user-static and the arm64 "
        "libraries (tools/install-deps.sh arm64); missing: "
        "${BRINDLEMOOR_AARCH64_CXX} ${BRINDLEMOOR_QEMU_AARCH64} ${arm64_missing}")
    return()
endif()

include(ExternalProject)
set(BRINDLEMOOR_ARM64_DIR ${CMAKE_BINARY_DIR}/arm64)
set(BRINDLEMOOR_ARM64_EMULATOR ${BRINDLEMOOR_QEMU_AARCH64})
set(arm64_flags "-O2 -DNDEBUG")
ExternalProject_Add(arm64_build
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${BRINDLEMOOR_ARM64_DIR}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/aarch64-linux-gnu.cmake
        -DCMAKE_BUILD_TYPE=RelWithDebInfo
        -DCMAKE_C_FLAGS_RELWITHDEBINFO=${arm64_flags}
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO=${arm64_flags}
        -DBRINDLEMOOR_TESTS=ON -DBRINDLEMOOR_BENCH=OFF -DBRINDLEMOOR_TOOLS=OFF
        -DBRINDLEMOOR_CROSS_LABEL=arm64
        # the decoder the Linux build checked, on both architectures
        -DSTB_IMAGE_INCLUDE_DIR=${STB_IMAGE_INCLUDE_DIR}
        -DBRINDLEMOOR_STB_IMAGE_UNCHECKED=${BRINDLEMOOR_STB_IMAGE_UNCHECKED}
    # the cross build's own rules decide what is out of date
    BUILD_ALWAYS TRUE
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${BRINDLEMOOR_ARM64_DIR}/brindlemoor)

# Its cases, found by CTest in its own folder as it reads this one's.
set(arm64_cases ${CMAKE_BINARY_DIR}/arm64-cases.cmake)
file(WRITE ${arm64_cases} "subdirs(\"${BRINDLEMOOR_ARM64_DIR}\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${arm64_cases})
