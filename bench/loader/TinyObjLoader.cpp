// tinyobjloader compiled here, from its header, with the same compiler and
// optimisation as the program's loader, so the comparison is of the two
// parsers and not of two builds.
#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>
