#include "zip/zip_volume_names.h"

#include "platform/text.h"

namespace zip {

std::string VolumeFileName(const std::string& archivePath, int volume) {
    const int slash = platform::ReverseFind(archivePath, '/');
    const int dot = platform::ReverseFind(archivePath, '.');
    const std::string base = dot > slash ? platform::Left(archivePath, dot) : archivePath;
    return platform::Format("%s.z%02d", base.c_str(), volume + 1);
}

}  // namespace zip
