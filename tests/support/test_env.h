#pragma once
// Helpers shared by the tests: a scratch program folder, a fast clock and a scripted operator
// that fails the running test on any box or dialog it was not told about.

#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "platform/scripted_operator.h"

namespace testenv {

// A fresh folder that is the current directory while the object lives; removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, with a trailing '/'.
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + name; }
    void Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;

private:
    std::string m_path;
    std::string m_previous;
};

// A scripted operator installed for the test's lifetime: unexpected boxes fail the test, and
// expectations left unmet at the end fail it too.
class TestOperator : public platform::ScriptedOperator {
public:
    TestOperator();
    ~TestOperator() override;
};

// The text of a PDF file as poppler's pdftotext reads it (UTF-8, pages ended by '\f'); empty,
// with a failure, when it cannot be read.
std::string PdfText(const std::string& pdf);

// Source tree, for fixtures and tools.
std::string SourceDir();
std::string BinaryDir();

}  // namespace testenv
