#include "support/test_env.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testenv {

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kx9test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern + "/";
    m_previous = std::filesystem::current_path().string();
    std::filesystem::current_path(m_path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::current_path(m_previous, ec);
    std::filesystem::remove_all(m_path, ec);
}

void ScratchFolder::Write(const std::string& name, const std::string& content) const {
    std::filesystem::create_directories(std::filesystem::path(File(name)).parent_path());
    std::ofstream(File(name), std::ios::binary) << content;
}

std::string ScratchFolder::Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TestOperator::TestOperator() {
    SetUnexpectedHandler([](const std::string& what) { ADD_FAILURE() << what; });
    platform::SetOperator(this);
}

TestOperator::~TestOperator() {
    platform::SetOperator(nullptr);
    for (const auto& unmet : Unmet())
        ADD_FAILURE() << "never shown: " << unmet;
}

std::string PdfText(const std::string& pdf) {
    const std::string text = pdf + ".txt";
    const std::string command = "pdftotext -layout -enc UTF-8 '" + pdf + "' '" + text + "'";
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "failed: " << command;
        return {};
    }
    std::ifstream in(text, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string SourceDir() {
    const char* dir = std::getenv("KX9_SOURCE_DIR");
    return dir ? dir : KX9_SOURCE_DIR_DEFAULT;
}

std::string BinaryDir() {
    const char* dir = std::getenv("KX9_BINARY_DIR");
    return dir ? dir : KX9_BINARY_DIR_DEFAULT;
}

}  // namespace testenv
