# cmake -DHEADER=<stb_image.h> -DLOOKUP=<cmake/StbImage.cmake> -DWORK_DIR=<folder> -P StbImageVersions.cmake
# Configures a project of the look-up alone against the header the build
# uses, as it is and changed: a checked version is patched, any other
# version is refused unless asked for unpatched, and a patch that does not
# fit its version stops the configure.
file(REMOVE_RECURSE ${WORK_DIR})
file(WRITE ${WORK_DIR}/project/CMakeLists.txt
    "cmake_minimum_required(VERSION 3.20)\n"
    "project(StbImageLookup NONE)\n"
    "include(${LOOKUP})\n"
    "get_target_property(folders stb_image INTERFACE_INCLUDE_DIRECTORIES)\n"
    "file(WRITE \${CMAKE_BINARY_DIR}/folders.txt \"\${folders}\")\n")
file(READ ${HEADER} original)

# configure(NAME CONTENT_VARIABLE [OPTIONS...]): configures against a header
# folder NAME holding the variable's text; sets output (as one line, however
# CMake wraps it), succeeded and folders (the include folders, joined by |)
function(configure name content)
    file(WRITE ${WORK_DIR}/${name}/stb_image.h "${${content}}")
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${WORK_DIR}/project -B ${WORK_DIR}/${name}-build
            -DSTB_IMAGE_INCLUDE_DIR=${WORK_DIR}/${name} ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    string(REGEX REPLACE "[ \n]+" " " output "${output}")
    set(folders "")
    if(result EQUAL 0)
        file(READ ${WORK_DIR}/${name}-build/folders.txt folders)
        string(REPLACE ";" "|" folders "${folders}")
    endif()
    set(output "${output}" PARENT_SCOPE)
    set(folders "${folders}" PARENT_SCOPE)
    set(succeeded FALSE PARENT_SCOPE)
    if(result EQUAL 0)
        set(succeeded TRUE PARENT_SCOPE)
    endif()
endfunction()

set(failures 0)
macro(expect what)
    if(NOT (${ARGN}))
        message(SEND_ERROR "${what}: ${output}")
        math(EXPR failures "${failures} + 1")
    endif()
endmacro()

string(REGEX MATCH "stb_image - v([0-9.]+) " line "${original}")
set(version ${CMAKE_MATCH_1})

configure(checked original)
set(copy ${WORK_DIR}/checked-build/stb-image)
expect("stb_image ${version} is compiled from a patched copy" succeeded AND folders STREQUAL "${copy}|${WORK_DIR}/checked")
set(patched "")
if(EXISTS ${copy}/stb_image.h)
    file(READ ${copy}/stb_image.h patched)
endif()
get_filename_component(patches ${LOOKUP} DIRECTORY)
execute_process(COMMAND patch --dry-run --reverse --quiet -p1 -d ${copy} -i ${patches}/stb_image-${version}-bounds.patch
    RESULT_VARIABLE unpatched OUTPUT_QUIET ERROR_QUIET)
expect("the copy is the header with the patch for ${version}" NOT patched STREQUAL original AND unpatched EQUAL 0)

string(REPLACE "stb_image - v${version} " "stb_image - v2.99 " unknown "${original}")
configure(unknown unknown)
expect("an unchecked version is refused by name" NOT succeeded AND output MATCHES "stb_image 2[.]99, which the build has no patch for")
expect("the refusal says how to go on" output MATCHES "-DBRINDLEMOOR_STB_IMAGE_UNCHECKED=ON to compile it in unpatched")
configure(unknown unknown -DBRINDLEMOOR_STB_IMAGE_UNCHECKED=ON)
expect("asked for, an unchecked version is used unpatched with a warning"
    succeeded AND folders STREQUAL "${WORK_DIR}/unknown|${WORK_DIR}/unknown" AND output MATCHES "CMake Warning.*compiled in unpatched")

string(REPLACE "stb_image - v${version} " "stb_image " unnamed "${original}")
configure(unnamed unnamed)
expect("a header without a version is refused" NOT succeeded AND output MATCHES "stb_image [(]no version given[)], which")

# a line every patch changes, as another copy of the same version may have it
string(REPLACE "z->idata+ioff,c.length" "z->idata + ioff, c.length" moved "${original}")
configure(moved moved)
expect("a patch that does not fit its version stops the configure" NOT succeeded AND output MATCHES "says it is ${version} but .* does not apply")

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} expectations failed")
endif()
