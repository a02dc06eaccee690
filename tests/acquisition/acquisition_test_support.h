#pragma once
// Shared by the acquisition tests: running the Python references beside them and reading
// whole files.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace acqtest {

inline int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline bool HasProgram(const std::string& name) {
    return Shell("command -v " + name + " >/dev/null 2>&1") == 0;
}

// python3 with a script of this folder and its arguments; its exit status.
inline int RunReference(const std::string& script, const std::string& arguments,
                        const std::string& output = "/dev/null") {
    return Shell("python3 " KX9_ACQUISITION_TEST_DIR "/" + script + " " + arguments + " >" +
                 output + " 2>&1");
}

inline std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

inline std::string Bytes(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace acqtest

#define SKIP_WITHOUT(program)          \
    if (!acqtest::HasProgram(program)) \
    GTEST_SKIP() << program " is not installed"
