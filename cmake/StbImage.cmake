# stb_image, the decoder every image file goes through on every host: an
# interface target named `stb_image` that puts its one header folder on the
# path. Debian's libstb-dev serves both the native and the cross build, as
# the header is plain C, the same for every target; only that folder joins
# the path, never the host's /usr/include. Elsewhere, name the folder that
# holds stb_image.h with -DSTB_IMAGE_INCLUDE_DIR=...
#
# Debian 12's copy is version 2.27, which a crafted file can make read and
# write past its tables: the build compiles a copy of it with the bounds
# checks of cmake/stb_image-2.27-bounds.patch. Later versions check those
# places themselves and are used as they are.
find_path(STB_IMAGE_INCLUDE_DIR stb_image.h
    PATHS /usr/include/stb
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT STB_IMAGE_INCLUDE_DIR)
    message(FATAL_ERROR "stb_image not found: install libstb-dev (tools/install-deps.sh does) "
        "or pass -DSTB_IMAGE_INCLUDE_DIR=<folder of stb_image.h>")
endif()
set(stb_image_header ${STB_IMAGE_INCLUDE_DIR}/stb_image.h)
set(stb_image_patch ${CMAKE_CURRENT_LIST_DIR}/stb_image-2.27-bounds.patch)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${stb_image_header} ${stb_image_patch})
file(STRINGS ${stb_image_header} stb_image_version LIMIT_COUNT 1 REGEX "stb_image - v[0-9.]+")
set(stb_image_dir ${STB_IMAGE_INCLUDE_DIR})
if(stb_image_version MATCHES "v2\\.27 ")
    set(stb_image_dir ${CMAKE_BINARY_DIR}/stb-image)
    file(MAKE_DIRECTORY ${stb_image_dir})
    configure_file(${stb_image_header} ${stb_image_dir}/stb_image.h COPYONLY)
    find_program(PATCH_EXECUTABLE patch REQUIRED)
    execute_process(COMMAND ${PATCH_EXECUTABLE} --quiet --forward -p1 -d ${stb_image_dir} -i ${stb_image_patch}
        RESULT_VARIABLE patched)
    if(NOT patched EQUAL 0)
        message(FATAL_ERROR "${stb_image_header} says it is 2.27 but ${stb_image_patch} does not apply to it")
    endif()
elseif(NOT stb_image_version MATCHES "v2\\.(2[89]|[3-9][0-9])")
    message(FATAL_ERROR "${stb_image_header} is older than 2.27: install libstb-dev from Debian 12 or later")
endif()
add_library(stb_image INTERFACE)
# the patched copy first; stb_image_write.h, for the tests, from beside the original
target_include_directories(stb_image SYSTEM INTERFACE ${stb_image_dir} ${STB_IMAGE_INCLUDE_DIR})
