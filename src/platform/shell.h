#pragma once
// Starting an outside program and opening a document with the desktop. Tests install a
// recorder in place of both.

#include <functional>
#include <string>
#include <vector>

namespace platform {

struct ShellRequest {
    enum class Kind { StartProgram, OpenDocument } kind;
    std::string path;
    std::vector<std::string> arguments;
};

// Starts the program without waiting for it; false when it cannot be started.
bool StartProgram(const std::string& path, const std::vector<std::string>& arguments = {});
// Opens a document or folder with the desktop's handler.
bool OpenDocument(const std::string& path);

// Every request goes to `recorder` instead (nullptr: the real desktop again); its result is
// the request's result.
void SetShellRecorder(std::function<bool(const ShellRequest&)> recorder);

}  // namespace platform
