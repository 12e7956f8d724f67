# The Windows program, cross-built with mingw-w64 beside the Linux build
# (in <build>/windows), the harness's small Win32 tools, and the Wine prefix
# every case's own prefix is made from. The end-to-end cases run them under
# Wine. Sets
# BRINDLEMOOR_WINDOWS_DIR and BRINDLEMOOR_WINE_TEMPLATE when all can be made.
find_program(BRINDLEMOOR_MINGW_CXX x86_64-w64-mingw32-g++)
find_program(BRINDLEMOOR_WINE wine)
find_program(BRINDLEMOOR_WINEBOOT wineboot)
find_program(BRINDLEMOOR_WINESERVER wineserver)
if(NOT BRINDLEMOOR_MINGW_CXX OR NOT BRINDLEMOOR_WINE OR NOT BRINDLEMOOR_WINEBOOT OR NOT BRINDLEMOOR_WINESERVER)
    message(STATUS "Windows cases skipped: they need g++-mingw-w64-x86-64 and wine (tools/install-deps.sh test)")
    return()
endif()

include(ExternalProject)
set(BRINDLEMOOR_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(windows_program
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${BRINDLEMOOR_WINDOWS_DIR}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
        -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
        # the decoder the Linux build checked, on both hosts
        -DSTB_IMAGE_INCLUDE_DIR=${STB_IMAGE_INCLUDE_DIR}
        -DBRINDLEMOOR_STB_IMAGE_UNCHECKED=${BRINDLEMOOR_STB_IMAGE_UNCHECKED}
    # the cross build's own rules decide what is out of date
    BUILD_ALWAYS TRUE
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${BRINDLEMOOR_WINDOWS_DIR}/brindlemoor.exe)

# The harness's own small Win32 tools: windowreport asks Windows about a
# window, exitcode gives the exit code Windows reports for a program.
set(windows_tools)
foreach(tool WindowReport ExitCode)
    string(TOLOWER ${tool} name)
    set(source ${CMAKE_SOURCE_DIR}/harness/windows/${tool}.cpp)
    add_custom_command(OUTPUT ${BRINDLEMOOR_WINDOWS_DIR}/${name}.exe
        COMMAND ${BRINDLEMOOR_MINGW_CXX} -std=c++17 -O2 -Wall -Wextra -static
            -o ${BRINDLEMOOR_WINDOWS_DIR}/${name}.exe ${source} -lshell32
        DEPENDS ${source}
        COMMENT "Building ${name}.exe with mingw-w64")
    list(APPEND windows_tools ${BRINDLEMOOR_WINDOWS_DIR}/${name}.exe)
endforeach()
add_custom_target(windows_tools DEPENDS ${windows_tools})

# Preparing a prefix takes some ten seconds, so the build does it once; no
# display is needed. It has a home of its own, to which Wine links the
# prefix's document folders: the user's is none of a test's business. The
# server writes the registry as it ends, so the step waits for that too.
set(BRINDLEMOOR_WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine-prefix)
set(fresh_prefix ${BRINDLEMOOR_WINE_TEMPLATE}.new)
set(wine_environment WINEPREFIX=${fresh_prefix} HOME=${BRINDLEMOOR_WINE_TEMPLATE}-home WINEDEBUG=-all
    "WINEDLLOVERRIDES=mscoree,mshtml=")
add_custom_command(OUTPUT ${BRINDLEMOOR_WINE_TEMPLATE}/system.reg
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${fresh_prefix} ${BRINDLEMOOR_WINE_TEMPLATE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BRINDLEMOOR_WINE_TEMPLATE}-home
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY ${wine_environment} ${BRINDLEMOOR_WINEBOOT} --init
    COMMAND ${CMAKE_COMMAND} -E env ${wine_environment} ${BRINDLEMOOR_WINESERVER} -w
    COMMAND ${CMAKE_COMMAND} -E rename ${fresh_prefix} ${BRINDLEMOOR_WINE_TEMPLATE}
    COMMENT "Preparing the Wine prefix the Windows cases start from")
add_custom_target(wine_prefix DEPENDS ${BRINDLEMOOR_WINE_TEMPLATE}/system.reg)
