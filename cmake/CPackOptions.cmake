# Read by CPack for each generator in turn, before it stages the files.
#
# A package is made with one time: SOURCE_DATE_EPOCH, or the last commit's
# where that is not set, which is set here for all that CPack runs from now
# on. cmake/ReproduciblePackages.cmake dates the staged files and the
# packages with it; and strip, as it makes the Windows program that is
# shipped, writes it into the program's header, where without it it would
# write the time it was run.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    execute_process(COMMAND git -C "${CPACK_BRINDLEMOOR_SOURCE_DIR}" log -1 --format=%ct
        OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(commit_time MATCHES "^[0-9]+$")
        set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
    endif()
endif()

# The installer is named apart from the zip, whose name users and the tests
# already know.
if(CPACK_GENERATOR STREQUAL "NSIS64")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_BRINDLEMOOR_INSTALLER_NAME}")
endif()
