# stb_image, the decoder every image file goes through on every host: an
# interface target named `stb_image` that puts its one header folder on the
# path. Debian's libstb-dev serves both the native and the cross build, as
# the header is plain C, the same for every target; only that folder joins
# the path, never the host's /usr/include. Elsewhere, name the folder that
# holds stb_image.h with -DSTB_IMAGE_INCLUDE_DIR=...
find_path(STB_IMAGE_INCLUDE_DIR stb_image.h
    PATHS /usr/include/stb
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT STB_IMAGE_INCLUDE_DIR)
    message(FATAL_ERROR "stb_image not found: install libstb-dev (tools/install-deps.sh does) "
        "or pass -DSTB_IMAGE_INCLUDE_DIR=<folder of stb_image.h>")
endif()
add_library(stb_image INTERFACE)
target_include_directories(stb_image SYSTEM INTERFACE ${STB_IMAGE_INCLUDE_DIR})
