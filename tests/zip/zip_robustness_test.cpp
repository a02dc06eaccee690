// Damaged and hostile archives: the reader raises zip exceptions, never crashes, never
// allocates what an archive merely claims, never writes outside its folder. Inputs that once
// crashed the fuzzer are kept in tests/zip/corpus and fed to the same probe.

#include <gtest/gtest.h>

#include <filesystem>

#include "archive_probe.h"
#include "support/test_env.h"
#include "zip/zip_bytes.h"
#include "zip_test_support.h"

using namespace ziptest;

TEST(ZipRobustness, FuzzCorpusStaysHarmless) {
    testenv::ScratchFolder folder;
    const std::filesystem::path corpus = KX9_ZIP_CORPUS;
    ASSERT_TRUE(std::filesystem::is_directory(corpus));
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string out = folder.File("out" + std::to_string(inputs++));
        std::filesystem::create_directories(out);
        SCOPED_TRACE(entry.path().filename().string());
        ProbeArchive(entry.path().string(), out);
    }
    EXPECT_GT(inputs, 0);
}

TEST(ZipRobustness, TruncatedAndFlippedArchivesOnlyRaiseZipErrors) {
    testenv::ScratchFolder folder;
    WriteArchive("good.zip", {{"a.txt", TextBytes(3000)}, {"dir\\b.bin", RandomBytes(2000, 8)}}, 6,
                 "secret");
    const std::string good = folder.Read("good.zip");
    std::filesystem::create_directories(folder.File("out"));
    const ProbeResult sound = ProbeArchive(folder.File("good.zip"), folder.File("out"));
    EXPECT_EQ(sound.tested, 2);
    EXPECT_EQ(sound.extracted, 2);

    for (std::size_t length = 0; length < good.size(); length += 97) {
        folder.Write("cut.zip", good.substr(0, length));
        const ProbeResult result = ProbeArchive(folder.File("cut.zip"), folder.File("out"));
        EXPECT_GT(result.failures, 0) << length;
    }
    for (std::size_t at = 0; at < good.size(); at += 13) {
        std::string flipped = good;
        flipped[at] = static_cast<char>(flipped[at] ^ (1 << (at % 8)));
        folder.Write("flip.zip", flipped);
        ProbeArchive(folder.File("flip.zip"), folder.File("out"));
    }
}

TEST(ZipRobustness, ClaimedSizesAreCheckedBeforeUse) {
    testenv::ScratchFolder folder;
    WriteArchive("a.zip", {{"a.txt", TextBytes(1000)}}, 0);
    std::string bytes = folder.Read("a.zip");
    const std::size_t central = bytes.find("PK\x01\x02");
    const std::size_t end = bytes.find("PK\x05\x06");

    // An entry claiming 4 GiB of stored data in a small file.
    std::string huge = bytes;
    for (std::size_t field : {central + 20, central + 24})
        huge.replace(field, 4, "\xff\xff\xff\xff");
    folder.Write("huge.zip", huge);
    CZipArchive zip;
    zip.Open("huge.zip", CZipArchive::kOpenReadOnly);
    EXPECT_EQ(ZipCause([&] { zip.OpenFile(0); }), CZipException::kBadArchive);
    zip.Close(true);

    // A directory claiming more entries than its size can hold.
    std::string entries = bytes;
    entries.replace(end + 8, 4, "\xff\xff\xff\xff");
    folder.Write("entries.zip", entries);
    EXPECT_EQ(ZipCause([&] { zip.Open("entries.zip", CZipArchive::kOpenReadOnly); }),
              CZipException::kBadArchive);

    // A deflated entry whose data unfolds beyond its declared size is cut at that size.
    WriteArchive("bomb.zip", {{"z.bin", std::string(1 << 20, '\0')}}, 9);
    std::string bomb = folder.Read("bomb.zip");
    const std::size_t bombCentral = bomb.find("PK\x01\x02");
    bomb.replace(bombCentral + 24, 4, std::string("\x10\x00\x00\x00", 4));
    folder.Write("bomb.zip", bomb);
    zip.Open("bomb.zip", CZipArchive::kOpenReadOnly);
    ASSERT_TRUE(zip.OpenFile(0));
    char buffer[4096];
    std::size_t total = 0, n;
    while ((n = zip.ReadFile(buffer, sizeof buffer)) > 0)
        total += n;
    EXPECT_EQ(total, 16u);
    EXPECT_EQ(ZipCause([&] { zip.CloseFile(); }), CZipException::kBadCrc);
    zip.Close(true);

    // Not an archive at all.
    folder.Write("text.kr9", TextBytes(5000));
    EXPECT_EQ(ZipCause([&] { zip.Open("text.kr9", CZipArchive::kOpen); }),
              CZipException::kEndRecordMissing);
    EXPECT_EQ(ZipCause([&] { zip.Open("missing.zip", CZipArchive::kOpen); }),
              CZipException::kGeneric);
    EXPECT_TRUE(zip.IsClosed());
}
