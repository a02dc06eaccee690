#include "zip_test_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "zip/zip_bytes.h"
#include "zip/zip_crypto.h"

namespace ziptest {

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string TextBytes(std::size_t size) {
    static const std::string line =
        "Livello sonoro equivalente LAeq 94.0 dB - verifica periodica\r\n";
    std::string text;
    while (text.size() < size)
        text += line + std::to_string(text.size()) + "\r\n";
    text.resize(size);
    return text;
}

void AddFiles(const std::string& archive, const std::vector<std::string>& paths, int mode) {
    CZipArchive zip;
    zip.Open(archive, mode);
    for (const std::string& path : paths)
        ASSERT_TRUE(zip.AddNewFile(path, 1, false, nullptr, nullptr, 65535)) << path;
    zip.Close();
}

void WriteArchive(const std::string& path, const Entries& entries, int level,
                  const std::string& password) {
    CZipArchive zip;
    zip.Open(path, CZipArchive::kCreate);
    zip.SetPassword(password);
    for (const auto& [name, content] : entries) {
        CZipFileHeader header;
        header.SetFileName(name);
        if (!zip.OpenNewFile(header, level))
            throw std::runtime_error("OpenNewFile " + name);
        zip.WriteNewFile(content.data(), content.size());
        zip.CloseNewFile();
    }
    zip.Close();
}

std::string ReadEntry(CZipArchive& zip, int index) {
    if (!zip.OpenFile(index))
        throw std::runtime_error("OpenFile failed");
    std::string content;
    char buffer[7000];  // deliberately not a power of two
    std::size_t n;
    while ((n = zip.ReadFile(buffer, sizeof buffer)) > 0)
        content.append(buffer, n);
    if (zip.CloseFile() != 1)
        throw std::runtime_error("entry not read to its end");
    return content;
}

Entries ReadArchive(const std::string& path, const std::string& password) {
    CZipArchive zip;
    zip.Open(path, CZipArchive::kOpenReadOnly);
    zip.SetPassword(password);
    Entries entries;
    for (int i = 0; i < zip.GetCount(); ++i) {
        CZipFileHeader header;
        zip.GetFileInfo(header, i);
        entries.emplace_back(header.GetFileName(), header.IsDirectory() ? "" : ReadEntry(zip, i));
    }
    zip.Close();
    return entries;
}

std::string WrongPassword(const std::string& archive, int index, const std::string& right,
                          bool passesCheck) {
    CZipArchive zip;
    zip.Open(archive, CZipArchive::kOpenReadOnly);
    CZipFileHeader header;
    zip.GetFileInfo(header, index);
    zip.Close();
    std::ifstream in(archive, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t local = header.m_uOffset;
    const std::size_t data = local + 30 + zip::GetU16(bytes.data() + local + 26) +
                             zip::GetU16(bytes.data() + local + 28);
    const auto check = static_cast<std::uint8_t>(
        header.HasDataDescriptor() ? header.m_uModTime >> 8 : header.m_uCrc32 >> 24);
    // One password in 256 passes: among 100,000 both kinds are there for certain.
    for (int i = 0; i < 100000; ++i) {
        const std::string password = right + "-" + std::to_string(i);
        std::string encryptionHeader = bytes.substr(data, 12);
        zip::ZipCrypto crypto;
        if (crypto.StartDecryption(password, encryptionHeader.data(), check) == passesCheck)
            return password;
    }
    throw std::runtime_error("no such password");
}

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

bool HasProgram(const std::string& name) {
    return Shell("command -v " + name + " >/dev/null 2>&1") == 0;
}

int RunPython(const std::string& script) {
    std::ofstream("check.py") << script;
    return Shell("python3 check.py");
}

}  // namespace ziptest
