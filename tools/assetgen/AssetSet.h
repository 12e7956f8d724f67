// Every image and model file the program reads, each made by its generator
// from a fixed seed, so a run writes the same bytes every time.
#pragma once

#include "Image.h"

#include <cstdint>
#include <string>
#include <vector>

class AssetSet {
public:
    // the files, relative to the program's working directory ("img/...", "mdl/...")
    static std::vector<std::string> paths();
    // the images among `paths()`, those under img/
    static std::vector<std::string> imagePaths();
    // the bytes of one of `paths()`; empty for a name that is not one of them
    static std::vector<uint8_t> generate(const std::string& path);
    // an image of `paths()` as its generator paints it, before it is encoded,
    // so its pixels can be checked without the cost of encoding; 0 x 0 for a
    // model or a name that is not one of them
    static Image paint(const std::string& path);
    // generates `path` into the folder `root`, creating img/ and mdl/ there;
    // false with a reason in `error` when the file cannot be written
    static bool write(const std::string& root, const std::string& path, std::string& error);
    // writes `bytes` to the file `target`, creating its folder; false with a
    // reason in `error` when the file cannot be written
    static bool writeFile(const std::string& target, const std::vector<uint8_t>& bytes, std::string& error);
};
