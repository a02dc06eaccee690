#include "archive_probe.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "zip/zip_archive.h"
#include "zip/zip_exception.h"

namespace ziptest {

namespace {

constexpr int kMaxEntries = 64;
constexpr int kMaxExtractions = 8;

bool Inside(const std::filesystem::path& folder, const std::filesystem::path& file) {
    const std::string f = folder.lexically_normal().string();
    const std::string p = file.lexically_normal().string();
    return p.compare(0, f.size(), f) == 0;
}

void CheckEverythingInside(const std::string& folder) {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_symlink(ec) || !Inside(folder, it->path()))
            std::abort();
    }
}

void TestAndExtract(CZipArchive& zip, const std::string& folder, ProbeResult& result) {
    for (int i = 0; i < zip.GetCount() && i < kMaxEntries; ++i) {
        CZipFileHeader header;
        if (!zip.GetFileInfo(header, i))
            std::abort();
        try {
            if (zip.TestFile(i, nullptr, nullptr, 4096))
                ++result.tested;
        } catch (const CZipException&) {
            ++result.failures;
        }
        if (i >= kMaxExtractions)
            continue;
        try {
            if (zip.ExtractFile(i, folder, true, {}, nullptr, nullptr, 4096))
                ++result.extracted;
        } catch (const CZipException&) {
            ++result.failures;
        }
    }
}

}  // namespace

ProbeResult ProbeArchive(const std::string& path, const std::string& scratchFolder) {
    ProbeResult result;
    for (const char* password : {"", "secret"}) {
        CZipArchive zip;
        zip.SetPassword(password);
        try {
            zip.Open(path, CZipArchive::kOpenReadOnly);
        } catch (const CZipException&) {
            ++result.failures;
            continue;
        }
        result.opened = true;
        result.entries = zip.GetCount();
        try {
            TestAndExtract(zip, scratchFolder, result);
            zip.Close();
        } catch (const CZipException&) {
            ++result.failures;
            zip.Close(true);
        }
    }
    CheckEverythingInside(scratchFolder);
    return result;
}

}  // namespace ziptest
