#pragma once
// Files of a spanned archive of fixed-size volumes, named as Info-ZIP's "zip -s" names them:
// "name.z01", "name.z02", ... and the archive's own name (normally "name.zip") for the last.

#include <string>

namespace zip {

// The file of every volume but the last, numbered from 0.
std::string VolumeFileName(const std::string& archivePath, int volume);

}  // namespace zip
