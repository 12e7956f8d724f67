# stb_image, the decoder every image file goes through on every host: an
# interface target named `stb_image` that puts its one header folder on the
# path. Debian's libstb-dev serves both the native and the cross build, as
# the header is plain C, the same for every target; only that folder joins
# the path, never the host's /usr/include. Elsewhere, name the folder that
# holds stb_image.h with -DSTB_IMAGE_INCLUDE_DIR=...
#
# No stb_image is safe as it is: a crafted file makes Debian 12's 2.27 read
# and write past its tables, and Debian 13's 2.30 copy an empty PNG data
# chunk to a null pointer and decode a JPEG whose tables are corrupt. The
# build compiles a copy of the header with the checks of the patch made for
# its version, cmake/stb_image-<version>-bounds.patch, each proven by
# fuzzing the program's decoder. A version without one is refused, as
# nothing says a crafted file cannot reach past its buffers; with
# -DBRINDLEMOOR_STB_IMAGE_UNCHECKED=ON it is used as it is, with a warning.
option(BRINDLEMOOR_STB_IMAGE_UNCHECKED "Use an stb_image version without a checked bounds patch as it is" OFF)
set(stb_image_checked_versions 2.27 2.30)

find_path(STB_IMAGE_INCLUDE_DIR stb_image.h
    PATHS /usr/include/stb
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT STB_IMAGE_INCLUDE_DIR)
    message(FATAL_ERROR "stb_image not found: install libstb-dev (tools/install-deps.sh does) "
        "or pass -DSTB_IMAGE_INCLUDE_DIR=<folder of stb_image.h>")
endif()
set(stb_image_header ${STB_IMAGE_INCLUDE_DIR}/stb_image.h)
file(STRINGS ${stb_image_header} stb_image_version LIMIT_COUNT 1 REGEX "stb_image - v[0-9]+\\.[0-9]+")
string(REGEX REPLACE ".*stb_image - v([0-9]+\\.[0-9]+).*" "\\1" stb_image_version "${stb_image_version}")
if(NOT stb_image_version)
    set(stb_image_version "(no version given)")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${stb_image_header})
set(stb_image_dir ${STB_IMAGE_INCLUDE_DIR})
if(stb_image_version IN_LIST stb_image_checked_versions)
    set(stb_image_patch ${CMAKE_CURRENT_LIST_DIR}/stb_image-${stb_image_version}-bounds.patch)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${stb_image_patch})
    set(stb_image_dir ${CMAKE_BINARY_DIR}/stb-image)
    file(MAKE_DIRECTORY ${stb_image_dir})
    configure_file(${stb_image_header} ${stb_image_dir}/stb_image.h COPYONLY)
    find_program(PATCH_EXECUTABLE patch REQUIRED)
    execute_process(COMMAND ${PATCH_EXECUTABLE} --quiet --forward -p1 -d ${stb_image_dir} -i ${stb_image_patch}
        RESULT_VARIABLE patched)
    if(NOT patched EQUAL 0)
        message(FATAL_ERROR "${stb_image_header} says it is ${stb_image_version} but ${stb_image_patch} "
            "does not apply to it")
    endif()
else()
    string(JOIN " and " checked ${stb_image_checked_versions})
    string(JOIN " or " either ${stb_image_checked_versions})
    string(CONCAT unchecked "${stb_image_header} is stb_image ${stb_image_version}, which the build "
        "has no patch for, as it has not been checked against it (only against ${checked}): every image the "
        "program loads is untrusted, and nothing shows that this decoder keeps a crafted file inside "
        "its buffers.")
    if(NOT BRINDLEMOOR_STB_IMAGE_UNCHECKED)
        message(FATAL_ERROR "${unchecked} Point -DSTB_IMAGE_INCLUDE_DIR at the folder of stb_image "
            "${either} (libstb-dev of Debian 12 or 13), or, once the decoder built with this one has "
            "been fuzzed (tools/fuzz.sh -DBRINDLEMOOR_STB_IMAGE_UNCHECKED=ON), pass -DBRINDLEMOOR_STB_IMAGE_UNCHECKED=ON to "
            "compile it in unpatched.")
    endif()
    message(WARNING "${unchecked} It is compiled in unpatched, as -DBRINDLEMOOR_STB_IMAGE_UNCHECKED=ON asks.")
endif()
add_library(stb_image INTERFACE)
# the patched copy first; stb_image_write.h, for the tests, from beside the original
target_include_directories(stb_image SYSTEM INTERFACE ${stb_image_dir} ${STB_IMAGE_INCLUDE_DIR})
