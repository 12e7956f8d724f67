# Debian's libsoil for the architecture a Linux cross build is for. Its
# files lie outside the architecture's own library folder, so it is not
# installed beside the host's (installing one architecture's removes the
# other's). Where dpkg has it for that architecture, as in a cross-build
# chroot, it is found as usual; elsewhere its two packages are fetched with
# apt-get (the architecture must be known to apt: tools/install-deps.sh
# arm64 adds it) and unpacked into the build folder once. Sets SOIL_LIBRARY
# and SOIL_INCLUDE_DIR to what was unpacked.
execute_process(COMMAND ${CMAKE_C_COMPILER} -dumpmachine
    OUTPUT_VARIABLE target_triplet OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND dpkg-architecture -t ${target_triplet} -qDEB_HOST_ARCH
    OUTPUT_VARIABLE target_architecture OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT target_architecture)
    message(FATAL_ERROR "No SOIL for ${target_triplet}: pass -DSOIL_INCLUDE_DIR=<folder of SOIL.h> "
        "-DSOIL_LIBRARY=<SOIL library built for it>")
endif()
execute_process(COMMAND dpkg-query -W -f=\${Status} libsoil-dev:${target_architecture}
    OUTPUT_VARIABLE soil_status ERROR_QUIET)
if(soil_status MATCHES "install ok installed")
    return()
endif()

set(soil_root ${CMAKE_BINARY_DIR}/soil-${target_architecture})
if(NOT EXISTS ${soil_root}/usr/lib/libSOIL.so)
    message(STATUS "Fetching Debian's libsoil for ${target_architecture} into ${soil_root}")
    file(REMOVE_RECURSE ${soil_root})
    file(MAKE_DIRECTORY ${soil_root}/packages)
    execute_process(COMMAND apt-get download libsoil1:${target_architecture} libsoil-dev:${target_architecture}
        WORKING_DIRECTORY ${soil_root}/packages RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE apt_errors)
    file(GLOB soil_packages ${soil_root}/packages/*.deb)
    list(LENGTH soil_packages soil_package_count)
    if(failed OR NOT soil_package_count EQUAL 2)
        message(FATAL_ERROR "cannot fetch libsoil1 and libsoil-dev for ${target_architecture}: ${apt_errors}"
            "(tools/install-deps.sh arm64 adds the architecture to apt)")
    endif()
    foreach(package ${soil_packages})
        execute_process(COMMAND dpkg-deb -x ${package} ${soil_root} RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "cannot unpack ${package}")
        endif()
    endforeach()
endif()
set(SOIL_INCLUDE_DIR ${soil_root}/usr/include/SOIL CACHE PATH "Folder of SOIL.h" FORCE)
set(SOIL_LIBRARY ${soil_root}/usr/lib/libSOIL.so CACHE FILEPATH "SOIL library" FORCE)
