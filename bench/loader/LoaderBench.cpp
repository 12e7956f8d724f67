// OBJ loading throughput: the program's loader beside tinyobjloader, both
// producing the same per-corner arrays (position, texture coordinate,
// normal and ordinal of every triangle corner) from the same generated
// file of about a million triangles, single-threaded, and beside the floor:
// reading the file and finding its line ends, which every loader must do.
// Also the literal reading of the rules (a string copy per line, atof per
// number) for scale, and the loader's peak memory. Figures only; nothing
// passes or fails.
#include "geometry/Model.h"
#include "harness/LiteralObjLoader.h"
#include "harness/TempDirectory.h"

#include <benchmark/benchmark.h>
#include <tiny_obj_loader.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {
// grid vertices along each side: 707 x 707 cells, two triangles each,
// 999 698 triangles
constexpr int gridSide = 708;
constexpr double megabyte = 1024.0 * 1024.0;
// each measured load runs at least this long in total (seconds)
constexpr double minimumTime = 3.0;

const char* const ownName = "ObjLoad/brindlemoor";
const char* const tinyName = "ObjLoad/tinyobjloader";
const char* const literalName = "ObjLoad/literal rules";
const char* const floorName = "ObjLoad/read + memchr floor";

std::string objPath;
size_t objBytes = 0;
std::map<std::string, double> fastestSeconds;

struct Corners {
    std::vector<float> vertices;
    std::vector<float> texCoords;
    std::vector<float> normals;
    std::vector<int16_t> indices;
};

// A wavy height field as an exporter writes it: six decimals, one shared
// index for position, texture coordinate and normal of each grid point.
void writeGridObj(const std::string& path)
{
    std::ofstream file(path, std::ios::binary);
    std::string chunk;
    char line[160];
    const auto height = [](int i, int j) { return 0.3 * std::sin(i * 0.05) * std::cos(j * 0.07); };
    for (int j = 0; j < gridSide; ++j) {
        for (int i = 0; i < gridSide; ++i) {
            std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\n", i * 0.01, height(i, j), j * -0.01);
            chunk += line;
        }
    }
    for (int j = 0; j < gridSide; ++j) {
        for (int i = 0; i < gridSide; ++i) {
            std::snprintf(line, sizeof line, "vt %.6f %.6f\n", i / double(gridSide - 1),
                          j / double(gridSide - 1));
            chunk += line;
        }
    }
    for (int j = 0; j < gridSide; ++j) {
        for (int i = 0; i < gridSide; ++i) {
            const double dx = height(i + 1, j) - height(i - 1, j);
            const double dz = height(i, j + 1) - height(i, j - 1);
            const double length = std::sqrt(dx * dx + 4e-4 + dz * dz);
            std::snprintf(line, sizeof line, "vn %.6f %.6f %.6f\n", -dx / length, 0.02 / length, dz / length);
            chunk += line;
        }
        file << chunk;
        chunk.clear();
    }
    for (int j = 0; j + 1 < gridSide; ++j) {
        for (int i = 0; i + 1 < gridSide; ++i) {
            const int a = j * gridSide + i + 1;
            const int b = a + 1;
            const int c = a + gridSide;
            const int d = c + 1;
            std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d\nf %d/%d/%d %d/%d/%d %d/%d/%d\n",
                          a, a, a, b, b, b, d, d, d, a, a, a, d, d, d, c, c, c);
            chunk += line;
        }
        file << chunk;
        chunk.clear();
    }
}

Corners loadWithTinyObj(const std::string& path)
{
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warnings;
    std::string errors;
    Corners corners;
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warnings, &errors, path.c_str(), nullptr, true)) {
        std::fprintf(stderr, "tinyobjloader: %s\n", errors.c_str());
        return corners;
    }
    size_t count = 0;
    for (const tinyobj::shape_t& shape : shapes) {
        count += shape.mesh.indices.size();
    }
    corners.vertices.reserve(3 * count);
    corners.texCoords.reserve(2 * count);
    corners.normals.reserve(3 * count);
    corners.indices.reserve(count);
    for (const tinyobj::shape_t& shape : shapes) {
        for (const tinyobj::index_t& index : shape.mesh.indices) {
            const size_t v = 3 * static_cast<size_t>(index.vertex_index);
            const size_t t = 2 * static_cast<size_t>(index.texcoord_index);
            const size_t n = 3 * static_cast<size_t>(index.normal_index);
            corners.vertices.insert(corners.vertices.end(),
                                    {attrib.vertices[v], attrib.vertices[v + 1], attrib.vertices[v + 2]});
            corners.texCoords.insert(corners.texCoords.end(), {attrib.texcoords[t], attrib.texcoords[t + 1]});
            corners.normals.insert(corners.normals.end(),
                                   {attrib.normals[n], attrib.normals[n + 1], attrib.normals[n + 2]});
            corners.indices.push_back(static_cast<int16_t>(corners.indices.size()));
        }
    }
    return corners;
}

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Times each iteration itself as well, to compare the fastest ones: the
// machine is shared, and the fastest run is the least disturbed.
template <typename Load>
void measure(benchmark::State& state, const char* name, Load load)
{
    double& fastest = fastestSeconds.emplace(name, std::numeric_limits<double>::infinity()).first->second;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        load();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        fastest = std::min(fastest, took.count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * objBytes));
}

void loadWithModel(benchmark::State& state)
{
    measure(state, ownName, [] {
        Model model;
        benchmark::DoNotOptimize(model.loadModel(objPath.c_str()));
        benchmark::DoNotOptimize(model.getVertices().data());
    });
}

void loadWithTinyObjBench(benchmark::State& state)
{
    measure(state, tinyName, [] {
        Corners corners = loadWithTinyObj(objPath);
        benchmark::DoNotOptimize(corners.vertices.data());
    });
}

// The file read whole into memory and every line end found in it: what a
// loader that takes the file at once cannot do without.
void readAndFindLines(benchmark::State& state)
{
    measure(state, floorName, [] {
        std::vector<char> text(objBytes);
        const int fd = open(objPath.c_str(), O_RDONLY | O_CLOEXEC);
        size_t got = 0;
        for (ssize_t step = 1; got < text.size() && step > 0; got += static_cast<size_t>(step)) {
            step = read(fd, text.data() + got, text.size() - got);
        }
        close(fd);
        size_t lines = 0;
        const char* p = text.data();
        const char* const end = p + got;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) !=
               nullptr) {
            ++lines;
            ++p;
        }
        benchmark::DoNotOptimize(lines);
    });
}

void loadWithLiteralRules(benchmark::State& state)
{
    measure(state, literalName, [] {
        LiteralObjLoader literal;
        benchmark::DoNotOptimize(literal.load(readFile(objPath)));
        benchmark::DoNotOptimize(literal.vertices.data());
    });
}

double megabytesPerSecond(const char* name)
{
    const auto found = fastestSeconds.find(name);
    return found == fastestSeconds.end() ? 0.0 : objBytes / megabyte / found->second;
}

template <typename Array>
size_t arrayBytes(const Array& array)
{
    return array.size() * sizeof(typename Array::value_type);
}

void reportAgreement()
{
    Model model;
    model.loadModel(objPath.c_str());
    const Corners tiny = loadWithTinyObj(objPath);
    const auto differing = [](const auto& a, const std::vector<float>& b) {
        size_t count = a.size() == b.size() ? 0 : std::max(a.size(), b.size());
        for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
            count += a[i] != b[i];
        }
        return count;
    };
    const size_t floats =
        model.getVertices().size() + model.getTexCoords().size() + model.getNormals().size();
    const size_t different = differing(model.getVertices(), tiny.vertices) +
                             differing(model.getTexCoords(), tiny.texCoords) +
                             differing(model.getNormals(), tiny.normals);
    std::printf(
        "per-corner arrays: %d corners; tinyobjloader's differ from the loader's (atof's) in %zu of %zu "
        "floats, indices %s\n",
        model.getVertexCount(), different, floats,
        std::equal(model.getIndices().begin(), model.getIndices().end(), tiny.indices.begin(),
                   tiny.indices.end())
            ? "identical"
            : "different");
}

// A field of /proc/self/status in bytes: VmRSS, the memory the process
// holds now, or VmHWM, the most it has held since the peak was last reset.
double statusBytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stod(line.substr(field.size() + 1)) * 1024.0;
        }
    }
    return 0.0;
}

// Resident memory, not bytes asked for: the loader reserves room it judges
// the file to need, which costs nothing until written, and reads the file
// mapped, whose pages count while it is.
void reportPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
    const double before = statusBytes("VmRSS");
    Model model;
    model.loadModel(objPath.c_str());
    const double peak = statusBytes("VmHWM") - before;
    const double finalBytes = double(arrayBytes(model.getVertices()) + arrayBytes(model.getTexCoords()) +
                                     arrayBytes(model.getNormals()) + arrayBytes(model.getIndices()));
    const double bound = 2 * finalBytes + double(objBytes);
    std::printf(
        "loader peak resident memory %.1f MB: final arrays %.1f MB, file %.1f MB, bound (2 x arrays + "
        "file) %.1f MB, %s\n",
        peak / megabyte, finalBytes / megabyte, objBytes / megabyte, bound / megabyte,
        peak <= bound ? "within it" : "OVER IT");
}
}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // the generated file, about 100 MB, goes with the folder on any return
    // from main
    const TempDirectory folder;
    objPath = folder.pathOf("grid.obj");
    writeGridObj(objPath);
    objBytes = static_cast<size_t>(std::filesystem::file_size(objPath));
    std::printf("generated %s: %.1f MB, %d triangles\n", objPath.c_str(), objBytes / megabyte,
                2 * (gridSide - 1) * (gridSide - 1));

    for (const auto& [name, function] :
         {std::make_pair(ownName, &loadWithModel), std::make_pair(tinyName, &loadWithTinyObjBench),
          std::make_pair(floorName, &readAndFindLines), std::make_pair(literalName, &loadWithLiteralRules)}) {
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->MinTime(minimumTime);
    }
    benchmark::RunSpecifiedBenchmarks();

    const double own = megabytesPerSecond(ownName);
    const double tiny = megabytesPerSecond(tinyName);
    const double floor = megabytesPerSecond(floorName);
    const double literal = megabytesPerSecond(literalName);
    std::printf("\nfastest iteration of each, single thread, flattening included:\n");
    std::printf("  brindlemoor loader    %8.1f MB/s\n", own);
    for (const auto& [name, speed] :
         {std::make_pair("tinyobjloader      ", tiny), std::make_pair("read + memchr floor", floor),
          std::make_pair("literal rules      ", literal)}) {
        if (speed > 0.0) {
            std::printf("  %s   %8.1f MB/s  loader is %.2f x this\n", name, speed, own / speed);
        }
    }
    reportAgreement();
    reportPeakMemory();
    benchmark::Shutdown();
    return 0;
}
