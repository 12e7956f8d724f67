# Run by CPack for every package, once the files are staged and again once
# the package is made (CPACK_PRE_BUILD_SCRIPTS, CPACK_POST_BUILD_SCRIPTS), so
# that one commit packs to the same bytes wherever and whenever it is built.
# Left alone, the packages would keep the time each file was built or
# copied, the order in which the file system happens to list a folder, and
# in the tarball's gzip header the time it was packed. The time they get is
# SOURCE_DATE_EPOCH, which cmake/CPackOptions.cmake sets to the last
# commit's before the files are staged where it is not set.
if(NOT CMAKE_HOST_UNIX)
    return()
endif()
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(NOT epoch MATCHES "^[0-9]+$")
    message(STATUS "No SOURCE_DATE_EPOCH and no commit: the package keeps the times of this build")
    return()
endif()

# a macro, so that an OUTPUT_VARIABLE lands in the caller's scope
macro(run_or_fail what)
    execute_process(${ARGN} RESULT_VARIABLE failure)
    if(failure)
        message(FATAL_ERROR "cannot ${what}: ${failure}")
    endif()
endmacro()

set(staged "${CPACK_TEMPORARY_DIRECTORY}")
if(NOT DEFINED CPACK_PACKAGE_FILES)
    run_or_fail("date the staged files"
        COMMAND find "${staged}" -exec touch --no-dereference --date=@${epoch} {} +)
    if(CPACK_GENERATOR STREQUAL "NSIS64")
        # The uninstaller's lists of what to remove, which CPack writes in
        # the file system's order: files, then folders deepest first.
        run_or_fail("list the staged files"
            COMMAND find "${staged}" -mindepth 1 -printf "%y %P\\n" OUTPUT_VARIABLE entries)
        string(REPLACE "/" "\\" entries "${entries}")
        string(REGEX MATCHALL "f [^\n]+" files "${entries}")
        string(REGEX MATCHALL "d [^\n]+" folders "${entries}")
        list(SORT files)
        list(SORT folders ORDER DESCENDING)
        set(CPACK_NSIS_DELETE_FILES "")
        foreach(entry ${files})
            string(SUBSTRING "${entry}" 2 -1 path)
            string(APPEND CPACK_NSIS_DELETE_FILES "  Delete \"$INSTDIR\\${path}\"\n")
        endforeach()
        set(CPACK_NSIS_DELETE_DIRECTORIES "")
        foreach(entry ${folders})
            string(SUBSTRING "${entry}" 2 -1 path)
            string(APPEND CPACK_NSIS_DELETE_DIRECTORIES "  RMDir \"$INSTDIR\\${path}\"\n")
        endforeach()
    endif()
    return()
endif()

foreach(package ${CPACK_PACKAGE_FILES})
    if(package MATCHES "\\.zip$")
        # Debian's tool for this, as debhelper runs it on every .deb: members
        # in name order, each dated alike.
        run_or_fail("normalise ${package}" COMMAND strip-nondeterminism --timestamp ${epoch} "${package}")
    elseif(package MATCHES "\\.tar\\.gz$")
        # Packed again from the same staged tree, as GNU tar orders it.
        get_filename_component(top "${staged}" NAME)
        get_filename_component(parent "${staged}" DIRECTORY)
        run_or_fail("pack ${package} again"
            COMMAND tar -C "${parent}" --sort=name --mtime=@${epoch} --owner=0 --group=0 --numeric-owner
                --mode=u+rw,go-w,a+rX --format=gnu -cf - "${top}"
            COMMAND gzip -9n
            OUTPUT_FILE "${package}")
    endif()
endforeach()
