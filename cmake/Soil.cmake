# SOIL, the image library every texture is loaded with: an imported target
# named `soil`. Linux always uses Debian's libsoil.
find_path(SOIL_INCLUDE_DIR SOIL.h PATH_SUFFIXES SOIL)
find_library(SOIL_LIBRARY NAMES SOIL soil)
if(NOT SOIL_INCLUDE_DIR OR NOT SOIL_LIBRARY)
    message(FATAL_ERROR "SOIL not found: install libsoil-dev (tools/install-deps.sh does)")
endif()
add_library(soil UNKNOWN IMPORTED)
set_target_properties(soil PROPERTIES
    IMPORTED_LOCATION "${SOIL_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${SOIL_INCLUDE_DIR}")
