// The record layer: encryption keys, DOS dates, CRCs, exception causes, the buffers of names
// and fields, and the bytes that new entries and end records have on disk.

#include <gtest/gtest.h>
#include <zlib.h>

#include "platform/date_time.h"
#include "platform/text.h"
#include "support/test_env.h"
#include "zip/zip_auto_buffer.h"
#include "zip/zip_bytes.h"
#include "zip/zip_crc32.h"
#include "zip/zip_crypto.h"
#include "zip/zip_dos_time.h"
#include "zip/zip_exception.h"
#include "zip_test_support.h"

using namespace ziptest;
using zip::GetU16;
using zip::GetU32;

namespace {

std::string Hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes)
        out += platform::Format("%02x", c);
    return out;
}

}  // namespace

TEST(ZipRecords, KeysDecryptAsOtherZipToolsDoAndEncryptionRoundTrips) {
    zip::ZipCrypto crypto;
    crypto.Init("secret");
    std::string data;
    for (int i = 0; i < 16; ++i)
        data.push_back(static_cast<char>(i));
    crypto.Decrypt(data.data(), data.size());
    // What Python's zipfile decrypter gives for the same bytes and password.
    EXPECT_EQ(Hex(data), "c84ed9bdad8b91daa848363543fb3393");

    std::mt19937 random(7);
    const std::string plain = TextBytes(300);
    std::string cipher = plain;
    const std::string header = crypto.StartEncryption("pw", 0xA1B2, random);
    crypto.Encrypt(cipher.data(), cipher.size());
    EXPECT_NE(cipher, plain);

    std::string readHeader = header;
    zip::ZipCrypto reader;
    ASSERT_TRUE(reader.StartDecryption("pw", readHeader.data(), 0xA1));
    EXPECT_EQ(static_cast<unsigned char>(readHeader[10]), 0xB2);
    reader.Decrypt(cipher.data(), cipher.size());
    EXPECT_EQ(cipher, plain);

    readHeader = header;
    EXPECT_FALSE(reader.StartDecryption("wrong", readHeader.data(), 0xA1));
}

TEST(ZipRecords, DosDatesKeepTwoSecondStepsAndStartIn1980) {
    const std::time_t t = platform::DateTime::FromParts(2023, 7, 14, 15, 42, 37).Seconds();
    const zip::DosDateTime dos = zip::ToDosDateTime(t);
    EXPECT_EQ(dos.time, (15 << 11) | (42 << 5) | (37 / 2));
    EXPECT_EQ(dos.date, ((2023 - 1980) << 9) | (7 << 5) | 14);
    EXPECT_EQ(zip::FromDosDateTime(dos.time, dos.date), t - 1);

    const zip::DosDateTime old =
        zip::ToDosDateTime(platform::DateTime::FromParts(1975, 3, 9, 10, 0, 0).Seconds());
    EXPECT_EQ(old.date >> 9, 0);
    EXPECT_EQ(old.date & 0x1FF, (3 << 5) | 9);
}

TEST(ZipRecords, ZlibResultsMapToTheirCausesAndNameTheArchive) {
    EXPECT_EQ(ZipCause([] { CheckZlibResult(Z_NEED_DICT, "a.zip"); }), 0);
    EXPECT_EQ(ZipCause([] { CheckZlibResult(Z_DATA_ERROR, "a.zip"); }), 6);
    EXPECT_EQ(ZipCause([] { CheckZlibResult(19, "a.zip"); }), 1);
    try {
        ThrowZipError(CZipException::kBadCrc, "dati.zip");
    } catch (const CZipException& e) {
        EXPECT_NE(std::string(e.what()).find("dati.zip"), std::string::npos);
    }
}

TEST(ZipRecords, LevelsChooseMethodAndOptionBits) {
    testenv::ScratchFolder folder;
    const std::string content = TextBytes(5000);
    struct Case {
        int level;
        int method;
        int flags;
    };
    for (const Case c :
         {Case{0, 0, 0}, Case{1, 8, 6}, Case{2, 8, 4}, Case{6, 8, 0}, Case{9, 8, 2}}) {
        WriteArchive("l.zip", {{"a.txt", content}}, c.level);
        const std::string bytes = folder.Read("l.zip");
        ASSERT_EQ(GetU32(bytes.data()), zip::kLocalHeaderSignature);
        EXPECT_EQ(GetU16(bytes.data() + 8), c.method) << "level " << c.level;
        EXPECT_EQ(GetU16(bytes.data() + 6), c.flags) << "level " << c.level;
        EXPECT_EQ(GetU32(bytes.data() + 14),
                  crc32(0, reinterpret_cast<const Bytef*>(content.data()),
                        static_cast<uInt>(content.size())));
        EXPECT_EQ(ReadArchive("l.zip"), (Entries{{"a.txt", content}}));
    }
}

TEST(ZipRecords, EncryptedEntryCarriesHeaderAndDescriptor) {
    testenv::ScratchFolder folder;
    const std::string content = TextBytes(4000);
    WriteArchive("plain.zip", {{"a.txt", content}}, 9);
    WriteArchive("locked.zip", {{"a.txt", content}}, 9, "pw");
    const std::string plain = folder.Read("plain.zip");
    const std::string locked = folder.Read("locked.zip");
    const std::uint32_t deflated = GetU32(plain.data() + 18);

    EXPECT_EQ(GetU16(locked.data() + 6), 0x01 | 0x08 | 0x02);
    const std::uint32_t compressed = GetU32(locked.data() + 18);
    EXPECT_EQ(compressed, deflated + 12);
    const std::size_t descriptor = 30 + 5 + compressed;
    EXPECT_EQ(GetU32(locked.data() + descriptor), zip::kDescriptorSignature);
    EXPECT_EQ(locked.substr(descriptor + 4, 12), locked.substr(14, 12));
    EXPECT_EQ(GetU32(locked.data() + descriptor + 8), compressed);
    EXPECT_EQ(ReadArchive("locked.zip", "pw"), (Entries{{"a.txt", content}}));
}

TEST(ZipRecords, EndRecordIsFoundBehindTheLongestCommentOnly) {
    testenv::ScratchFolder folder;
    WriteArchive("base.zip", {{"a.txt", "abc"}});
    std::string bytes = folder.Read("base.zip");
    bytes[bytes.size() - 2] = static_cast<char>(0xFF);
    bytes[bytes.size() - 1] = static_cast<char>(0xFF);
    folder.Write("longest.zip", bytes + std::string(65535, 'c'));
    CZipArchive zip;
    zip.Open("longest.zip", CZipArchive::kOpenReadOnly);
    EXPECT_EQ(zip.GetGlobalComment().size(), 65535u);
    EXPECT_EQ(ReadEntry(zip, 0), "abc");
    zip.Close();

    // One byte more puts the record out of reach.
    folder.Write("toolong.zip", folder.Read("base.zip") + std::string(65536, 'c'));
    EXPECT_EQ(ZipCause([] {
                  CZipArchive z;
                  z.Open("toolong.zip", CZipArchive::kOpenReadOnly);
              }),
              CZipException::kEndRecordMissing);
}

TEST(ZipRecords, ArchiveAfterOtherBytesOpensAndTakesNewEntries) {
    testenv::ScratchFolder folder;
    WriteArchive("base.zip", {{"a.txt", "first"}, {"b.txt", TextBytes(3000)}}, 0);
    const std::string stub = "MZ self-extracting stub " + RandomBytes(1000, 3);
    folder.Write("sfx.zip", stub + folder.Read("base.zip"));
    {
        CZipArchive zip;
        zip.Open("sfx.zip");
        CZipFileHeader header;
        ASSERT_TRUE(zip.GetFileInfo(header, 1));
        EXPECT_EQ(header.m_uOffset, 30u + 5 + 5);  // relative to the archive, not to the file
        EXPECT_EQ(ReadEntry(zip, 1), TextBytes(3000));
        header = CZipFileHeader();
        header.SetFileName("c.txt");
        ASSERT_TRUE(zip.OpenNewFile(header));
        zip.WriteNewFile("third", 5);
        zip.CloseNewFile();
        EXPECT_EQ(ReadEntry(zip, 2), "third");  // read back before anything is flushed
        zip.Close();
    }
    EXPECT_EQ(folder.Read("sfx.zip").substr(0, stub.size()), stub);
    EXPECT_EQ(ReadArchive("sfx.zip"),
              (Entries{{"a.txt", "first"}, {"b.txt", TextBytes(3000)}, {"c.txt", "third"}}));
}

TEST(ZipRecords, LocalHeadersTakeTheSizesOfTheirEntriesWhetherBufferedOrWritten) {
    testenv::ScratchFolder folder;
    // The small entries' headers are still in the write buffer when their sizes are known, the
    // big one's is on disk by then.
    WriteArchive("s.zip", {{"a.txt", "abc"}, {"big.bin", RandomBytes(300000, 6)}, {"c.txt", ""}});
    const std::string bytes = folder.Read("s.zip");
    int checked = 0;
    for (std::size_t at = bytes.find("PK\x01\x02"); at != std::string::npos;
         at = bytes.find("PK\x01\x02", at + 4), ++checked) {
        const std::uint32_t local = GetU32(bytes.data() + at + 42);
        ASSERT_EQ(GetU32(bytes.data() + local), zip::kLocalHeaderSignature);
        EXPECT_EQ(Hex(bytes.substr(local + 14, 12)), Hex(bytes.substr(at + 16, 12))) << checked;
    }
    EXPECT_EQ(checked, 3);
}

TEST(ZipRecords, BuffersKeepTheirBytesShortOrLongThroughCopiesMovesAndSelfAssignment) {
    for (const std::size_t size :
         {std::size_t{1}, std::size_t{40}, std::size_t{41}, std::size_t{300}}) {
        SCOPED_TRACE(size);
        const std::string bytes = RandomBytes(size, static_cast<unsigned>(size));
        CZipAutoBuffer buffer;
        buffer.Assign(bytes);
        CZipAutoBuffer copy(buffer);
        buffer.Assign(buffer.View());  // its own bytes
        EXPECT_EQ(buffer.ToString(), bytes);
        buffer.Assign(buffer.View().substr(1));
        EXPECT_EQ(buffer.ToString(), bytes.substr(1));
        CZipAutoBuffer moved(std::move(copy));
        EXPECT_EQ(moved.ToString(), bytes);
        EXPECT_EQ(copy.GetSize(), 0u);
        CZipAutoBuffer other(300, true);
        other = std::move(moved);
        EXPECT_EQ(other.ToString(), bytes);
        EXPECT_EQ(CZipAutoBuffer(size, true).View(), std::string(size, '\0'));
    }
    CZipAutoBuffer empty;
    EXPECT_EQ(empty.Data(), nullptr);
    empty.Assign("");
    EXPECT_EQ(empty.Data(), nullptr);
}

TEST(ZipRecords, CrcsAgreeWithZlibsAtEveryLengthAndAlignmentAndInPieces) {
    const std::string bytes = RandomBytes(70000, 9);
    std::uint32_t start = 0;
    for (std::size_t size = 0; size <= 1100; ++size) {
        for (std::size_t offset : {0, 3, 8, 15}) {
            const char* data = bytes.data() + offset;
            ASSERT_EQ(zip::Crc32(start, data, size), zip::Crc32Tables(start, data, size))
                << size << " bytes from " << offset;
        }
        start = start * 2654435761u + 12345;  // from zero on, all kinds of earlier CRCs
    }
    EXPECT_EQ(zip::Crc32(0, bytes.data() + 1, 69999), zip::Crc32Tables(0, bytes.data() + 1, 69999));
    const std::uint32_t inPieces =
        zip::Crc32(zip::Crc32(zip::Crc32(0, bytes.data(), 100), bytes.data() + 100, 5000),
                   bytes.data() + 5100, 64900);
    EXPECT_EQ(inPieces, zip::Crc32Tables(0, bytes.data(), bytes.size()));
    EXPECT_EQ(zip::Crc32(0, "123456789", 9), 0xCBF43926u);  // the check value of CRC-32
}
