#pragma once
// Fixtures made at run time: file contents, archives written by this code, and the outside
// tools (Info-ZIP, Python's zipfile) that the interoperability tests compare with.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "zip/zip_archive.h"
#include "zip/zip_exception.h"

namespace ziptest {

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string RandomBytes(std::size_t size, unsigned seed);
// Text that deflates well.
std::string TextBytes(std::size_t size);

// Adds the files by path, without their folders, the way the program stores its data files.
void AddFiles(const std::string& archive, const std::vector<std::string>& paths, int mode);
// Writes an archive of the entries through OpenNewFile/WriteNewFile.
void WriteArchive(const std::string& path, const Entries& entries, int level = -1,
                  const std::string& password = {});
// The whole content of entry `index` of an open archive, its CRC checked.
std::string ReadEntry(CZipArchive& zip, int index);
// Every entry of the archive at `path`, as name (program form) and content.
Entries ReadArchive(const std::string& path, const std::string& password = {});

// A password other than `right` whose try at entry `index`'s encryption header passes its
// check byte (`passesCheck`) or fails it. The header is random, so which wrong passwords the
// one check byte lets through changes from archive to archive: a test that means one kind of
// wrong password asks for it here.
std::string WrongPassword(const std::string& archive, int index, const std::string& right,
                          bool passesCheck);

// Runs a command through the shell; its exit status, -1 when it could not run.
int Shell(const std::string& command);
bool HasProgram(const std::string& name);
// Runs a Python script in the current folder; its exit status.
int RunPython(const std::string& script);

// The cause of the zip exception that `action` raises, 0 when it raises none.
template <typename Action>
int ZipCause(Action action) {
    try {
        action();
    } catch (const CZipException& e) {
        return e.m_iCause;
    }
    return 0;
}

}  // namespace ziptest

#define SKIP_WITHOUT(program)          \
    if (!ziptest::HasProgram(program)) \
    GTEST_SKIP() << program " is not installed"
