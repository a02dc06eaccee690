#pragma once
// Drives the archive reader over an arbitrary file the way the program's callers do: open it,
// list, test and extract every entry. Any input may raise CZipException; nothing may crash,
// hang or leak. Shared by the fuzz target and the regression test of its findings.

#include <string>

namespace ziptest {

struct ProbeResult {
    bool opened = false;
    int entries = 0;
    int tested = 0;     // entries that tested sound
    int extracted = 0;  // entries extracted
    int failures = 0;   // zip exceptions raised
};

// Extracts below `scratchFolder` (which must exist) and checks that nothing lands elsewhere.
ProbeResult ProbeArchive(const std::string& path, const std::string& scratchFolder);

}  // namespace ziptest
