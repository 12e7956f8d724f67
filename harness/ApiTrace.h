// The OpenGL call stream of a program recorded with apitrace, read back
// through `apitrace dump` so tests can check calls, order and arguments.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ApiTrace {

struct Call {
    unsigned long number = 0;
    std::string name;
    // each argument's value as the dump prints it: "0", "GL_PROJECTION", "{1, 0, 0}"
    std::vector<std::string> arguments;
    // every number in the arguments, lists flattened, in order
    std::vector<double> numbers() const;
};

// The calls the program made, without the ones apitrace adds itself.
std::vector<Call> read(const std::filesystem::path& traceFile);
// Index of the first call named `name` at or after `from`; calls.size() if none.
size_t indexOf(const std::vector<Call>& calls, const std::string& name, size_t from = 0);

} // namespace ApiTrace
