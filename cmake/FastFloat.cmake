# fast_float, the header-only exact decimal-to-binary conversion the OBJ
# loader's number reading uses: an interface target named `fast_float`.
# Debian's libfast-float-dev serves the native build. It is packaged for the
# host only, and the host's /usr/include must never be on a cross compiler's
# path, so a cross build sees just that one header folder through a link in
# the build tree (it is plain C++, the same for every target).
if(CMAKE_CROSSCOMPILING)
    find_path(FAST_FLOAT_HOST_DIR fast_float/fast_float.h
        PATHS /usr/include /usr/local/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT FAST_FLOAT_HOST_DIR)
        message(FATAL_ERROR "fast_float not found: install libfast-float-dev (tools/install-deps.sh does)")
    endif()
    set(fast_float_dir ${CMAKE_BINARY_DIR}/host-headers)
    file(MAKE_DIRECTORY ${fast_float_dir})
    file(CREATE_LINK ${FAST_FLOAT_HOST_DIR}/fast_float ${fast_float_dir}/fast_float SYMBOLIC)
    add_library(fast_float INTERFACE)
    target_include_directories(fast_float SYSTEM INTERFACE ${fast_float_dir})
else()
    find_package(FastFloat CONFIG)
    if(NOT FastFloat_FOUND)
        message(FATAL_ERROR "fast_float not found: install libfast-float-dev (tools/install-deps.sh does)")
    endif()
    add_library(fast_float INTERFACE)
    target_link_libraries(fast_float INTERFACE FastFloat::fast_float)
endif()
