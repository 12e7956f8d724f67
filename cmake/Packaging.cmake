# Install rules and CPack. On Windows: the program beside mdl/ and img/,
# with a short README.txt and the licences of what is compiled in, as a zip
# and as an installer. On Linux: one tree (the program under libexec, its
# data under share, a launcher in bin that starts it in its data folder, a
# desktop entry, AppStream metainfo, the icon at six sizes, a manual page)
# packed as a .tar.gz; debian/ makes the .deb of the same tree.
# `cmake --build <build> --target package` writes them to <build>/packages.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME Brindlemoor)
set(CPACK_PACKAGE_VENDOR "The Brindlemoor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "walk or fly through a walled yard in 3D")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES TRUE)
# One commit packs to the same bytes: what is staged is made with the
# commit's time (cmake/CPackOptions.cmake), and the staged files are dated
# alike and listed in name order (cmake/ReproduciblePackages.cmake).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/CPackOptions.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/ReproduciblePackages.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/ReproduciblePackages.cmake)
set(CPACK_BRINDLEMOOR_SOURCE_DIR ${CMAKE_SOURCE_DIR})
# The packages' names, for the tests that unpack them; the Linux build
# knows the zip's too.
set(BRINDLEMOOR_WINDOWS_PACKAGE_NAME Brindlemoor-${PROJECT_VERSION}-win64)
string(TOLOWER brindlemoor-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR} BRINDLEMOOR_LINUX_PACKAGE_NAME)
set(BRINDLEMOOR_WINDOWS_INSTALLER_NAME ${BRINDLEMOOR_WINDOWS_PACKAGE_NAME}-setup)
# what software centres know the program by: the project's domain reversed
set(BRINDLEMOOR_APPSTREAM_ID example.brindlemoor.Brindlemoor)
set(packaging_dir ${CMAKE_SOURCE_DIR}/packaging)
set(staged_dir ${CMAKE_BINARY_DIR}/packaging)
# the terms of the code compiled into the program, which every package carries
set(notices ${packaging_dir}/notices/fast_float.txt ${packaging_dir}/notices/stb_image.txt)

if(WIN32)
    # Explorer starts a program with its own folder as the working folder,
    # so a double-click finds mdl\ and img\ beside it.
    install(TARGETS brindlemoor RUNTIME DESTINATION .)
    install(DIRECTORY mdl img DESTINATION .)
    # Notepad before Windows 10 shows text files only with CR LF line ends.
    configure_file(${packaging_dir}/windows/README.txt.in ${staged_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
    configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${staged_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
    foreach(notice ${notices})
        get_filename_component(name ${notice} NAME)
        configure_file(${notice} ${staged_dir}/licences/${name} @ONLY NEWLINE_STYLE CRLF)
    endforeach()
    install(FILES ${staged_dir}/README.txt ${staged_dir}/LICENSE.txt DESTINATION .)
    install(DIRECTORY ${staged_dir}/licences DESTINATION .)
    # The compiler's own runtime, linked in statically: a cross build from
    # Debian ships its toolchain's terms as Debian states them.
    foreach(runtime mingw-w64-runtime:mingw-w64-x86-64-dev gcc-runtime:gcc-mingw-w64-base)
        string(REPLACE ":" ";" runtime ${runtime})
        list(GET runtime 0 name)
        list(GET runtime 1 debian_package)
        if(EXISTS /usr/share/doc/${debian_package}/copyright)
            install(FILES /usr/share/doc/${debian_package}/copyright DESTINATION licences RENAME ${name}.txt)
        endif()
    endforeach()

    # The installer, made by our own script (packaging/windows) from the
    # files CPack stages: CPack's stock one also writes a registry key of
    # the vendor's and a second shortcut. It installs to Program Files, for
    # every user of the machine.
    set(CPACK_GENERATOR ZIP NSIS64)
    set(CPACK_PACKAGE_FILE_NAME ${BRINDLEMOOR_WINDOWS_PACKAGE_NAME})
    set(CPACK_BRINDLEMOOR_INSTALLER_NAME ${BRINDLEMOOR_WINDOWS_INSTALLER_NAME})
    set(CPACK_MODULE_PATH ${packaging_dir}/windows)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY Brindlemoor)
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Brindlemoor)
    set(CPACK_NSIS_DISPLAY_NAME Brindlemoor)
    set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/app/resources/brindlemoor.ico)
    set(CPACK_NSIS_INSTALLED_ICON_NAME brindlemoor.exe)
    set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
else()
    set(data_dir ${CMAKE_INSTALL_DATADIR}/brindlemoor)
    set(program_dir ${CMAKE_INSTALL_LIBEXECDIR}/brindlemoor)
    set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/brindlemoor)
    install(TARGETS brindlemoor RUNTIME DESTINATION ${program_dir})
    install(DIRECTORY mdl img DESTINATION ${data_dir})

    # The launcher finds the rest relative to itself.
    file(RELATIVE_PATH data_from_launcher /${CMAKE_INSTALL_BINDIR} /${data_dir})
    file(RELATIVE_PATH program_from_launcher /${CMAKE_INSTALL_BINDIR} /${program_dir}/brindlemoor)
    configure_file(${packaging_dir}/linux/brindlemoor.in ${staged_dir}/brindlemoor @ONLY)
    install(PROGRAMS ${staged_dir}/brindlemoor DESTINATION ${CMAKE_INSTALL_BINDIR})

    install(FILES ${packaging_dir}/linux/brindlemoor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(DIRECTORY app/resources/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
    install(FILES ${packaging_dir}/linux/${BRINDLEMOOR_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    # The project's licence, then the notices of what is compiled in, as
    # the zip has them; the .deb has Debian's debian/copyright in its place.
    set(copyright_text "")
    foreach(part ${CMAKE_SOURCE_DIR}/LICENSE ${notices})
        file(READ ${part} text)
        string(APPEND copyright_text "${text}\n")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${part})
    endforeach()
    file(WRITE ${staged_dir}/copyright "${copyright_text}")
    install(FILES ${staged_dir}/copyright DESTINATION ${doc_dir})

    # Debian wants these compressed, without a time stamp in the header.
    find_program(GZIP_EXECUTABLE gzip REQUIRED)
    configure_file(${packaging_dir}/linux/changelog.in ${staged_dir}/changelog @ONLY)
    configure_file(${packaging_dir}/linux/brindlemoor.1.in ${staged_dir}/brindlemoor.1 @ONLY)
    foreach(page changelog brindlemoor.1)
        add_custom_command(OUTPUT ${staged_dir}/${page}.gz
            COMMAND ${GZIP_EXECUTABLE} -9n -c ${staged_dir}/${page} > ${staged_dir}/${page}.gz
            DEPENDS ${staged_dir}/${page})
    endforeach()
    add_custom_target(packaged_pages ALL DEPENDS ${staged_dir}/changelog.gz ${staged_dir}/brindlemoor.1.gz)
    install(FILES ${staged_dir}/changelog.gz DESTINATION ${doc_dir})
    install(FILES ${staged_dir}/brindlemoor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    set(CPACK_GENERATOR TGZ)
    set(CPACK_PACKAGE_FILE_NAME ${BRINDLEMOOR_LINUX_PACKAGE_NAME})
endif()

include(CPack)
