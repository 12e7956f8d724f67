#include "harness/ApiTrace.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Splits "a = 1, b = {2, 3}, c = GL_X" at the commas outside braces and
// keeps the text right of each " = ".
std::vector<std::string> splitArguments(const std::string& text)
{
    std::vector<std::string> values;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ',';
        if (c == '{' || c == '(') {
            ++depth;
        } else if (c == '}' || c == ')') {
            --depth;
        } else if (c == ',' && depth == 0) {
            std::string argument = text.substr(start, i - start);
            const size_t equals = argument.find(" = ");
            if (equals != std::string::npos) {
                argument = argument.substr(equals + 3);
            }
            const size_t first = argument.find_first_not_of(' ');
            if (first != std::string::npos) {
                values.push_back(argument.substr(first));
            }
            start = i + 1;
        }
    }
    return values;
}

bool parseLine(const std::string& line, ApiTrace::Call& call)
{
    char* afterNumber = nullptr;
    call.number = std::strtoul(line.c_str(), &afterNumber, 10);
    if (afterNumber == line.c_str() || *afterNumber != ' ') {
        return false;
    }
    const size_t nameStart = static_cast<size_t>(afterNumber - line.c_str()) + 1;
    const size_t open = line.find('(', nameStart);
    if (open == std::string::npos) {
        return false;
    }
    // the argument list ends at the parenthesis that closes the first one
    int depth = 0;
    size_t close = open;
    for (; close < line.size(); ++close) {
        if (line[close] == '(') {
            ++depth;
        } else if (line[close] == ')' && --depth == 0) {
            break;
        }
    }
    if (line.find("// fake", close) != std::string::npos) {
        return false;
    }
    call.name = line.substr(nameStart, open - nameStart);
    call.arguments = splitArguments(line.substr(open + 1, close - open - 1));
    return true;
}

} // namespace

std::vector<double> ApiTrace::Call::numbers() const
{
    // Whole numeric arguments and the elements of lists; enum names such as
    // GL_LIGHT0 are not numbers even when they end in digits.
    std::vector<double> result;
    auto addIfNumber = [&result](const std::string& text) {
        // "&5" is an output parameter's value, "{1, 2}" a list
        const size_t first = text.find_first_not_of(" {&");
        if (first == std::string::npos) {
            return;
        }
        const char* start = text.c_str() + first;
        char* end = nullptr;
        const double value = std::strtod(start, &end);
        if (end != start &&
            text.find_first_not_of(" }", static_cast<size_t>(end - text.c_str())) == std::string::npos) {
            result.push_back(value);
        }
    };
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument.front() == '{') {
            size_t start = 1;
            for (size_t comma = argument.find(',', start);; comma = argument.find(',', start)) {
                addIfNumber(
                    argument.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
                if (comma == std::string::npos) {
                    break;
                }
                start = comma + 1;
            }
        } else {
            addIfNumber(argument);
        }
    }
    return result;
}

std::vector<ApiTrace::Call> ApiTrace::read(const std::filesystem::path& traceFile)
{
    std::vector<Call> calls;
    const std::string command = "apitrace dump --color=never '" + traceFile.string() + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> dump(popen(command.c_str(), "r"), pclose);
    if (!dump) {
        return calls;
    }
    std::string line;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, dump.get()) != nullptr) {
        line += buffer;
        if (line.empty() || line.back() != '\n') {
            continue;
        }
        line.pop_back();
        Call call;
        if (parseLine(line, call)) {
            calls.push_back(std::move(call));
        }
        line.clear();
    }
    return calls;
}

size_t ApiTrace::indexOf(const std::vector<Call>& calls, const std::string& name, size_t from)
{
    for (size_t i = from; i < calls.size(); ++i) {
        if (calls[i].name == name) {
            return i;
        }
    }
    return calls.size();
}
