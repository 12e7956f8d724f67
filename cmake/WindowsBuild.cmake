# The Windows program, cross-built with mingw-w64 beside the Linux build
# (in <build>/windows), and the small Win32 tool through which the harness
# asks Windows about a window. The end-to-end cases run both under Wine.
# Sets BRINDLEMOOR_WINDOWS_DIR when both can be built.
find_program(BRINDLEMOOR_MINGW_CXX x86_64-w64-mingw32-g++)
find_program(BRINDLEMOOR_WINE wine)
if(NOT BRINDLEMOOR_MINGW_CXX OR NOT BRINDLEMOOR_WINE)
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
    # the cross build's own rules decide what is out of date
    BUILD_ALWAYS TRUE
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${BRINDLEMOOR_WINDOWS_DIR}/brindlemoor.exe)

set(report_source ${CMAKE_SOURCE_DIR}/harness/windows/WindowReport.cpp)
add_custom_command(OUTPUT ${BRINDLEMOOR_WINDOWS_DIR}/windowreport.exe
    COMMAND ${BRINDLEMOOR_MINGW_CXX} -std=c++17 -O2 -Wall -Wextra -static
        -o ${BRINDLEMOOR_WINDOWS_DIR}/windowreport.exe ${report_source}
    DEPENDS ${report_source}
    COMMENT "Building windowreport.exe with mingw-w64")
add_custom_target(windows_report DEPENDS ${BRINDLEMOOR_WINDOWS_DIR}/windowreport.exe)
