# Read by CPack for each generator in turn: the installer is named apart
# from the zip, whose name users and the tests already know.
if(CPACK_GENERATOR STREQUAL "NSIS64")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_BRINDLEMOOR_INSTALLER_NAME}")
endif()
