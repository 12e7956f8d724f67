# docs/architecture.svg is the drawing of docs/architecture.dot as it is
# now: the picture names the SHA-256 of the source it was drawn from
# (tools/architecture-diagram.sh says why a digest and not the bytes of a
# fresh drawing), and it is a whole SVG document.
#   cmake -DROOT=<repository> -P ArchitectureDiagram.cmake
cmake_minimum_required(VERSION 3.20)
file(SHA256 ${ROOT}/docs/architecture.dot digest)
file(READ ${ROOT}/docs/architecture.svg picture)
string(FIND "${picture}" "<!-- drawn from docs/architecture.dot, sha256 ${digest} -->" drawnFrom)
if(drawnFrom EQUAL -1)
    message(FATAL_ERROR "docs/architecture.svg was not drawn from the docs/architecture.dot there is now: "
        "run tools/architecture-diagram.sh and commit both")
endif()
if(NOT picture MATCHES "<svg [^>]*>.*</svg>\n*$")
    message(FATAL_ERROR "docs/architecture.svg is not a whole SVG document")
endif()
