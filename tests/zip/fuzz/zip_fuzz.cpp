// libFuzzer target over the archive reader: every input is written to a file and probed like
// an archive a caller opened. Built by .ci/extra/zip-fuzz.sh with clang, never by the normal
// build.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "archive_probe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string base =
        (std::filesystem::temp_directory_path() / ("kx9-zip-fuzz-" + std::to_string(::getpid())))
            .string();
    static const std::string archive = base + ".zip";
    const std::string folder = base + "-out";
    // The same bytes also stand as the first volumes, so that inputs claiming to be the last
    // volume of a spanned archive reach the code that reads across volumes.
    for (const char* extension : {".zip", ".z01", ".z02", ".z03"}) {
        std::ofstream out(base + extension, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::filesystem::create_directories(folder);
    ziptest::ProbeArchive(archive, folder);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
