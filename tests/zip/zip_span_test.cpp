// Archives spanned over fixed-size volumes, named as Info-ZIP names them, both ways; and the
// removable-disk spanning refused where it cannot be.

#include <gtest/gtest.h>
#include <zlib.h>

#include "platform/files.h"
#include "support/test_env.h"
#include "zip/zip_bytes.h"
#include "zip_test_support.h"

using namespace ziptest;

namespace {

const Entries& SpanEntries() {
    static const Entries entries = {{"one.bin", RandomBytes(90000, 11)},
                                    {"two.txt", TextBytes(30000)},
                                    {"three.bin", RandomBytes(60000, 12)}};
    return entries;
}

void WriteSpanned(const std::string& path, const Entries& entries, std::uint64_t volumeSize,
                  const std::string& password = {}, int level = CZipArchive::kDefaultLevel) {
    CZipArchive zip;
    ASSERT_TRUE(zip.Open(path, CZipArchive::kCreateSpan, volumeSize));
    zip.SetPassword(password);
    for (const auto& [name, content] : entries) {
        CZipFileHeader header;
        header.SetFileName(name);
        ASSERT_TRUE(zip.OpenNewFile(header, level));
        zip.WriteNewFile(content.data(), content.size());
        EXPECT_FALSE(zip.OpenFile(0));  // nothing is read back while volumes are written
        zip.CloseNewFile();
    }
    zip.Close();
}

}  // namespace

TEST(ZipSpan, VolumesAreNamedAsInfoZipNamesThemAndReadBackEncryptedOrNot) {
    testenv::ScratchFolder folder;
    WriteSpanned("span.zip", SpanEntries(), 65536);
    for (const char* volume : {"span.z01", "span.z02", "span.zip"})
        EXPECT_TRUE(platform::FileExists(folder.File(volume))) << volume;
    EXPECT_FALSE(platform::FileExists(folder.File("span.z03")));
    EXPECT_EQ(folder.Read("span.z01").size(), 65536u);
    EXPECT_EQ(folder.Read("span.z01").substr(0, 4), "PK\x07\x08");
    EXPECT_EQ(ReadArchive("span.zip"), SpanEntries());

    CZipArchive zip;
    zip.Open("span.zip", CZipArchive::kOpen);
    EXPECT_EQ(zip.GetSpanMode(), CZipStorage::kFixedSpan);
    CZipFileHeader header;
    EXPECT_FALSE(zip.OpenNewFile(header));
    EXPECT_TRUE(zip.ExtractFile(2, folder.File("out")));
    EXPECT_EQ(folder.Read("out/three.bin"), RandomBytes(60000, 12));
    zip.Close();
    WriteSpanned("locked.zip", SpanEntries(), 70000, "pw");
    EXPECT_EQ(ReadArchive("locked.zip", "pw"), SpanEntries());

    SKIP_WITHOUT("zip");
    SKIP_WITHOUT("unzip");
    ASSERT_EQ(Shell("zip -q -s 0 span.zip --out joined.zip && unzip -tq joined.zip >/dev/null"), 0);
    ASSERT_EQ(Shell("unzip -p joined.zip three.bin > three.out"), 0);
    EXPECT_EQ(folder.Read("three.out"), RandomBytes(60000, 12));
}

TEST(ZipSpan, AMissingVolumeIsNamedAndTheEntriesOnTheOtherVolumesStillExtract) {
    testenv::ScratchFolder folder;
    WriteSpanned("span.zip", SpanEntries(), 65536);
    ASSERT_TRUE(platform::RemoveFile(folder.File("span.z01")));  // holds most of one.bin
    CZipArchive zip;
    zip.Open("span.zip", CZipArchive::kOpenReadOnly);
    try {
        zip.ExtractFile(0, folder.File("out"));
        ADD_FAILURE() << "extracted from a missing volume";
    } catch (const CZipException& e) {
        EXPECT_EQ(e.m_iCause, CZipException::kMissingVolume);
        EXPECT_NE(std::string(e.what()).find("span.z01"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(zip.ExtractFile(1, folder.File("out")));
    EXPECT_TRUE(zip.ExtractFile(2, folder.File("out")));
    zip.Close();
    EXPECT_TRUE(folder.Read("out/two.txt") == TextBytes(30000));
    EXPECT_TRUE(folder.Read("out/three.bin") == RandomBytes(60000, 12));
    EXPECT_FALSE(platform::FileExists(folder.File("out/one.bin")));
}

TEST(ZipSpan, AnEntryRunningIntoTheNextOneOnAnotherVolumeIsRefused) {
    testenv::ScratchFolder folder;
    // a.txt and its descriptor end the first volume; b.txt's header starts the second.
    WriteSpanned("span.zip", {{"a.txt", TextBytes(180)}, {"b.txt", "second"}}, 256, {}, 0);
    const std::string first = folder.Read("span.z01");
    std::string last = folder.Read("span.zip");
    ASSERT_EQ(zip::GetU32(last.data()), zip::kLocalHeaderSignature);
    // a.txt claims the rest of its volume and b.txt's header and data as its own, CRC and all.
    const std::string claimed = first.substr(4 + 30 + 5) + last.substr(0, 30 + 5 + 6);
    const std::size_t a = last.find("PK\x01\x02");
    const auto crc = static_cast<std::uint32_t>(crc32(
        0, reinterpret_cast<const Bytef*>(claimed.data()), static_cast<uInt>(claimed.size())));
    std::string fields;
    zip::PutU16(fields, 0);  // no descriptor
    last.replace(a + 8, 2, fields);
    fields.clear();
    for (std::uint32_t value : {crc, static_cast<std::uint32_t>(claimed.size()),
                                static_cast<std::uint32_t>(claimed.size())})
        zip::PutU32(fields, value);
    last.replace(a + 16, 12, fields);
    folder.Write("span.zip", last);

    CZipArchive zip;
    zip.Open("span.zip", CZipArchive::kOpenReadOnly);
    EXPECT_EQ(ZipCause([&] { zip.TestFile(0); }), CZipException::kBadArchive);
    EXPECT_TRUE(zip.TestFile(1));
    zip.Close();
}

TEST(ZipSpan, InfoZipSplitArchivesOpen) {
    SKIP_WITHOUT("zip");
    testenv::ScratchFolder folder;
    for (const auto& [name, content] : SpanEntries())
        folder.Write("in/" + name, content);
    ASSERT_EQ(Shell("cd in && zip -q -s 64k ../split.zip one.bin two.txt three.bin"), 0);
    ASSERT_TRUE(platform::FileExists(folder.File("split.z02")));
    EXPECT_EQ(ReadArchive("split.zip"), SpanEntries());
    CZipArchive zip;
    zip.Open("split.zip", CZipArchive::kOpenReadOnly);
    for (int i = 0; i < zip.GetCount(); ++i)
        EXPECT_TRUE(zip.TestFile(i)) << i;
    zip.Close();
}

TEST(ZipSpan, ASpannedArchiveThatFitsOneVolumeBecomesOrdinary) {
    testenv::ScratchFolder folder;
    const Entries entries = {{"a.txt", TextBytes(3000)}, {"b.bin", RandomBytes(2000, 1)}};
    WriteSpanned("small.zip", entries, 1 << 20);
    EXPECT_FALSE(platform::FileExists(folder.File("small.z01")));
    const std::string bytes = folder.Read("small.zip");
    EXPECT_EQ(zip::GetU32(bytes.data()), zip::kLocalHeaderSignature);
    EXPECT_EQ(zip::GetU16(bytes.data() + 6) & 0x08, 0);
    EXPECT_EQ(ReadArchive("small.zip"), entries);

    // Encrypted entries keep their descriptors.
    WriteSpanned("small-locked.zip", entries, 1 << 20, "pw");
    EXPECT_EQ(ReadArchive("small-locked.zip", "pw"), entries);

    SKIP_WITHOUT("unzip");
    EXPECT_EQ(
        Shell("unzip -tq small.zip >/dev/null && unzip -tq -P pw small-locked.zip >/dev/null"), 0);
}

TEST(ZipSpan, DisksWithoutACallbackOrOffARemovableDiskAndTooManyVolumesAreRefused) {
    testenv::ScratchFolder folder;
    CZipArchive zip;
    EXPECT_EQ(ZipCause([&] { zip.Open("disk.zip", CZipArchive::kCreateSpan, 0); }),
              CZipException::kNoVolumeCallback);
    zip.SetVolumeCallback([](int, int, void*) { return true; }, nullptr);
    EXPECT_EQ(ZipCause([&] { zip.Open("disk.zip", CZipArchive::kCreateSpan, 0); }),
              CZipException::kNotRemovable);
    EXPECT_TRUE(zip.IsClosed());

    ASSERT_TRUE(zip.Open("many.zip", CZipArchive::kCreateSpan, 64));
    CZipFileHeader header;
    header.SetFileName("x.bin");
    ASSERT_TRUE(zip.OpenNewFile(header, 0));
    const std::string data = RandomBytes(64 * 1200, 3);
    EXPECT_EQ(ZipCause([&] { zip.WriteNewFile(data.data(), data.size()); }),
              CZipException::kTooManyVolumes);
    zip.Close(true);
    EXPECT_TRUE(platform::FileExists(folder.File("many.z998")));
    EXPECT_FALSE(platform::FileExists(folder.File("many.z999")));
}
