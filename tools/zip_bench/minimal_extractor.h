#pragma once
// The floor that the bench compares extraction with: a bare extractor of flat archives.

#include <string>

// Every entry of `archive` (names without folders) into `folder`; 0 when all were written.
int MinimalExtract(const std::string& archive, const std::string& folder);
