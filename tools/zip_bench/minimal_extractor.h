#pragma once
// The floors that the bench compares extraction with: a bare extractor of flat archives.

#include <string>

// Every entry of `archive` (names without folders) into `folder`; 0 when all were written.
// `linked`: each file is made unnamed, given its entry's time and linked under its name when
// whole, the system calls that the guarantee of no half file and the file times take, and no
// more.
int MinimalExtract(const std::string& archive, const std::string& folder, bool linked = false);
