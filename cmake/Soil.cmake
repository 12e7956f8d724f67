# SOIL, the image library that makes every decoded image a texture, as a
# target named `soil`.
#  - Linux: Debian's libsoil, always.
#  - Windows: the SOIL the builder has, found on the prefix path (MSYS2,
#    vcpkg) or named with -DSOIL_INCLUDE_DIR=<folder of SOIL.h> and
#    -DSOIL_LIBRARY=<its library>.
#  - A cross build for Windows without one (Debian packages none) builds our
#    stand-in, platform/win32/soil-standin, on GLU.
#  - A cross build for another Linux: Debian's libsoil of that architecture,
#    where it is installed (a cross-build chroot); beside the host's it
#    cannot be, as its files are not in an architecture's own folder, so
#    elsewhere its packages are fetched with apt-get and unpacked into the
#    build folder (cmake/TargetSoil.cmake).
if(CMAKE_CROSSCOMPILING AND NOT WIN32 AND NOT SOIL_LIBRARY)
    include(${CMAKE_CURRENT_LIST_DIR}/TargetSoil.cmake)
endif()
find_path(SOIL_INCLUDE_DIR SOIL.h PATH_SUFFIXES SOIL)
find_library(SOIL_LIBRARY NAMES SOIL soil)

# The stand-in without SOIL's entry points: the Windows build wraps it as
# `soil`; the Linux tests hold it against the real SOIL.
function(brindlemoor_add_soil_standin_loader)
    set(standin_dir ${CMAKE_SOURCE_DIR}/platform/win32/soil-standin)
    add_library(soil_standin_loader STATIC
        ${standin_dir}/SoilImage.cpp
        ${standin_dir}/SoilStandIn.cpp)
    target_include_directories(soil_standin_loader PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(soil_standin_loader PRIVATE ${warning_flags})
    target_link_libraries(soil_standin_loader PUBLIC OpenGL::GL OpenGL::GLU)
endfunction()

if(SOIL_INCLUDE_DIR AND SOIL_LIBRARY)
    add_library(soil UNKNOWN IMPORTED)
    set_target_properties(soil PROPERTIES
        IMPORTED_LOCATION "${SOIL_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${SOIL_INCLUDE_DIR}")
    if(WIN32)
        # SOIL for Windows is usually a static library: it brings no GL of its own.
        set_property(TARGET soil PROPERTY INTERFACE_LINK_LIBRARIES OpenGL::GL)
    elseif(BRINDLEMOOR_TESTS AND NOT CMAKE_CROSSCOMPILING)
        brindlemoor_add_soil_standin_loader()
    endif()
elseif(WIN32 AND CMAKE_CROSSCOMPILING)
    message(STATUS "No SOIL for Windows: building the stand-in (platform/win32/soil-standin)")
    brindlemoor_add_soil_standin_loader()
    add_library(soil STATIC ${CMAKE_SOURCE_DIR}/platform/win32/soil-standin/SOIL.cpp)
    target_include_directories(soil PUBLIC ${CMAKE_SOURCE_DIR}/platform/win32/soil-standin)
    target_compile_options(soil PRIVATE ${warning_flags})
    target_link_libraries(soil PUBLIC soil_standin_loader)
elseif(WIN32)
    message(FATAL_ERROR "SOIL not found: pass -DSOIL_INCLUDE_DIR=<folder of SOIL.h> "
        "-DSOIL_LIBRARY=<SOIL library>, or put it on CMAKE_PREFIX_PATH (MSYS2, vcpkg)")
else()
    message(FATAL_ERROR "SOIL not found: install libsoil-dev (tools/install-deps.sh does)")
endif()
