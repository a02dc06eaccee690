// Entry names between the archive and the disk: Linux file names are UTF-8 and stay so both
// ways, whichever tool wrote the archive; and no two entries ever end up in one file.

#include <gtest/gtest.h>

#include "support/test_env.h"
#include "zip/zip_extract_claims.h"
#include "zip/zip_names.h"
#include "zip_test_support.h"

using namespace ziptest;

namespace {

const char* const kCity = "citt\xc3\xa0.txt";               // città.txt
const char* const kJapan = "\xe6\x97\xa5\xe6\x9c\xac.txt";  // 日本.txt
const char* const kChina = "\xe4\xb8\xad\xe5\x9b\xbd.txt";  // 中国.txt

}  // namespace

TEST(ZipNames, StoredNamesReadAsUtf8AndCodePage437OnlyWhenTheyAreNotUtf8) {
    // UTF-8 stays UTF-8, with the flag or, as Info-ZIP on Linux writes it, without.
    EXPECT_EQ(zip::NameToCallerForm("dati/caf\xc3\xa9.txt"), "dati\\caf\xc3\xa9.txt");
    EXPECT_EQ(zip::NameToCallerForm(kJapan), kJapan);
    // Anything else is code page 437 (0x82 e acute, 0xB3 a box-drawing line, 0xFF a no-break
    // space), given as UTF-8. Overlong forms and surrogates are not UTF-8.
    EXPECT_EQ(zip::NameToCallerForm("dati/caf\x82.txt"), "dati\\caf\xc3\xa9.txt");
    EXPECT_EQ(zip::NameToCallerForm("\xb3x"), "\xe2\x94\x82x");
    EXPECT_EQ(zip::NameToCallerForm("bad\xff"), "bad\xc2\xa0");
    EXPECT_FALSE(zip::IsValidUtf8("\xc0\xaf"));
    EXPECT_FALSE(zip::IsValidUtf8("\xed\xa0\x80"));
    EXPECT_FALSE(zip::IsValidUtf8("\xe6\x97"));

    bool utf8 = true;
    EXPECT_EQ(zip::NameToStoredForm("a\\b.kr9", &utf8), "a/b.kr9");
    EXPECT_FALSE(utf8);
    EXPECT_EQ(zip::NameToStoredForm(kChina, &utf8), kChina);
    EXPECT_TRUE(utf8);
    // The program's own Latin-1 texts are not UTF-8: they are converted, not stored raw.
    EXPECT_EQ(zip::NameToStoredForm("citt\xe0.txt", &utf8), kCity);
    EXPECT_TRUE(utf8);
}

TEST(ZipNames, UnicodeFileNamesTravelBothWaysWithInfoZipAndZipfile) {
    SKIP_WITHOUT("zip");
    SKIP_WITHOUT("unzip");
    testenv::ScratchFolder folder;
    for (const char* name : {kCity, kJapan, kChina})
        folder.Write(std::string("in/") + name, name);
    AddFiles("ours.zip",
             {folder.File(std::string("in/") + kCity), folder.File(std::string("in/") + kJapan),
              folder.File(std::string("in/") + kChina)},
             CZipArchive::kCreate);
    EXPECT_EQ(RunPython(R"(
import zipfile
info = zipfile.ZipFile('ours.zip').infolist()
assert [i.filename for i in info] == ['citt\u00e0.txt', '\u65e5\u672c.txt', '\u4e2d\u56fd.txt'], info
assert all(i.flag_bits & 0x800 for i in info)
)"),
              0);
    ASSERT_EQ(Shell("unzip -q ours.zip -d theirs-out"), 0);
    for (const char* name : {kCity, kJapan, kChina})
        EXPECT_EQ(folder.Read(std::string("theirs-out/") + name), name);

    ASSERT_EQ(Shell("cd in && zip -q ../infozip.zip *"), 0);
    CZipArchive zip;
    zip.Open("infozip.zip", CZipArchive::kOpenReadOnly);
    for (int i = 0; i < zip.GetCount(); ++i)
        ASSERT_TRUE(zip.ExtractFile(i, folder.File("ours-out"))) << i;
    zip.Close();
    for (const char* name : {kCity, kJapan, kChina})
        EXPECT_EQ(folder.Read(std::string("ours-out/") + name), name);
}

TEST(ZipNames, TwoEntriesNeverLandOnOneFile) {
    testenv::ScratchFolder folder;
    WriteArchive("dup.zip", {{"dup.txt", "first"},
                             {"dup.txt", "second"},
                             {"a\\x.txt", "a"},
                             {"b/x.txt", "b"},
                             {"c/./y.txt", "c"},
                             {"c//y.txt", "c again"}});
    CZipArchive zip;
    zip.Open("dup.zip", CZipArchive::kOpenReadOnly);
    const std::string out = folder.File("out");
    ASSERT_TRUE(zip.ExtractFile(0, out));
    EXPECT_TRUE(zip.ExtractFile(0, out));  // the same entry again is no clash
    EXPECT_EQ(ZipCause([&] { zip.ExtractFile(1, out); }), CZipException::kSameTarget);
    EXPECT_EQ(folder.Read("out/dup.txt"), "first");

    // Without their folders, the last two clash as well; with them they do not.
    ASSERT_TRUE(zip.ExtractFile(2, out, false));
    EXPECT_EQ(ZipCause([&] { zip.ExtractFile(3, out, false); }), CZipException::kSameTarget);
    EXPECT_EQ(folder.Read("out/x.txt"), "a");
    EXPECT_TRUE(zip.ExtractFile(3, out, true));
    EXPECT_EQ(folder.Read("out/b/x.txt"), "b");
    ASSERT_TRUE(zip.ExtractFile(4, out));
    EXPECT_EQ(ZipCause([&] { zip.ExtractFile(5, out); }), CZipException::kSameTarget);
    zip.Close();

    // A new opening may replace what an earlier one extracted.
    zip.Open("dup.zip", CZipArchive::kOpenReadOnly);
    EXPECT_TRUE(zip.ExtractFile(1, out));
    zip.Close();
    EXPECT_EQ(folder.Read("out/dup.txt"), "second");

    // An entry that wrote nothing leaves its file to the next one: stopped, or failing its CRC.
    zip.Open("dup.zip", CZipArchive::kOpenReadOnly);
    const auto stop = [](std::uint64_t, std::uint64_t, void*) { return false; };
    EXPECT_FALSE(zip.ExtractFile(0, out, true, {}, stop, nullptr, 2));
    EXPECT_TRUE(zip.ExtractFile(1, out));
    EXPECT_EQ(folder.Read("out/dup.txt"), "second");
    zip.Close();
    std::string bytes = folder.Read("dup.zip");
    bytes[bytes.find("PK\x01\x02") + 16] ^= 1;  // the first entry's CRC in the directory
    folder.Write("bad.zip", bytes);
    zip.Open("bad.zip", CZipArchive::kOpenReadOnly);
    EXPECT_EQ(ZipCause([&] { zip.ExtractFile(0, out); }), CZipException::kBadCrc);
    EXPECT_TRUE(zip.ExtractFile(1, out));
    zip.Close();
}

TEST(ZipNames, ClaimsOnExtractedFilesHoldAsTheirTableGrowsAndWhenGivenBack) {
    zip::ExtractClaims claims;
    bool fresh = false;
    const auto path = [](int i) {
        return "/out/set_" + std::to_string(i % 7) + "/f" + std::to_string(i);
    };
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(claims.Claim(path(i), i, fresh), -1) << i;
        ASSERT_TRUE(fresh);
    }
    for (int i = 0; i < 3000; i += 37) {
        EXPECT_EQ(claims.Claim(path(i), i + 1, fresh), i);  // another entry's file
        EXPECT_EQ(claims.Claim(path(i), i, fresh), -1);     // its own again
        EXPECT_FALSE(fresh);
    }
    EXPECT_EQ(claims.Claim("/out/set_0/f", 5, fresh), -1);  // a prefix of others is no clash
    // Given back, a path is free for any entry; the others keep theirs.
    claims.Release(path(100));
    EXPECT_EQ(claims.Claim(path(100), 4000, fresh), -1);
    EXPECT_TRUE(fresh);
    EXPECT_EQ(claims.Claim(path(101), 4000, fresh), 101);
    claims.Clear();
    EXPECT_EQ(claims.Claim(path(101), 4000, fresh), -1);
}
