// Archives spanned over removable disks, on disks made of folders: each disk asked for through
// the volume callback, refused with its code while unfit, labelled, and asked for to read.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "platform/files.h"
#include "platform/text.h"
#include "support/test_env.h"
#include "zip/zip_bytes.h"
#include "zip/zip_removable_medium.h"
#include "zip_test_support.h"

using namespace ziptest;

namespace {

using Asked = std::vector<std::pair<int, int>>;  // code, disk

// Disk n is the folder "disks/n"; "drive" links to the one put in, so "drive/a.zip" is a file
// of whichever disk that is. By default the callback puts in the disk it is asked for.
struct FolderDrive : zip::RemovableMedium {
    struct Disk {
        std::uint64_t capacity = 50000;
        bool labels = true;
        std::string label;
    };
    std::map<int, Disk> disks;
    int inserted = 0;
    Asked asked;
    std::function<bool(int code, int disk)> answer = [this](int, int disk) {
        Insert(disk);
        return true;
    };

    void Insert(int n) {
        platform::MakeDirectories("disks/" + std::to_string(n));
        std::filesystem::remove("drive");
        std::filesystem::create_directory_symlink("disks/" + std::to_string(n), "drive");
        inserted = n;
    }
    void Attach(CZipArchive& zip) {
        zip.SetRemovableMedium(*this);
        zip.SetVolumeCallback(
            [](int code, int disk, void* self) {
                auto& drive = *static_cast<FolderDrive*>(self);
                drive.asked.emplace_back(code, disk);
                return drive.answer(code, disk);
            },
            this);
    }
    bool IsRemovable(const std::string&) override { return true; }
    bool IsEmpty(const std::string&) override { return zip::HoldsOnlyFolders("drive"); }
    bool Label(const std::string&, const std::string& label) override {
        if (disks[inserted].labels)
            disks[inserted].label = label;
        return disks[inserted].labels;
    }
    std::uint64_t FreeSpace(const std::string&) override { return disks[inserted].capacity; }
};

const Entries kEntries = {{"one.bin", RandomBytes(90000, 21)},
                          {"two.txt", TextBytes(30000)},
                          {"three.bin", RandomBytes(60000, 22)},
                          {"four.txt", "quattro"}};

void WriteOnDisks(FolderDrive& drive, const Entries& entries) {
    CZipArchive zip;
    drive.Attach(zip);
    ASSERT_TRUE(zip.Open("drive/a.zip", CZipArchive::kCreateSpan, 0));
    for (const auto& [name, content] : entries) {
        CZipFileHeader header;
        header.SetFileName(name);
        ASSERT_TRUE(zip.OpenNewFile(header, 6));
        zip.WriteNewFile(content.data(), content.size());
        zip.CloseNewFile();
    }
    zip.Close();
}

}  // namespace

TEST(ZipDiskSpan, EachDiskIsAskedForLabelledAndAskedForAgainToReadItBack) {
    testenv::ScratchFolder folder;
    FolderDrive drive;
    WriteOnDisks(drive, kEntries);
    const int last = static_cast<int>(drive.asked.size());
    ASSERT_EQ(last, 4);
    EXPECT_EQ(drive.asked[0], std::pair(4, 1));  // room for the marker
    Asked eachToRead;
    for (int n = 1; n <= last; ++n) {
        EXPECT_EQ(drive.asked[n - 1].second, n);
        EXPECT_GT(drive.asked[n - 1].first, 0);
        EXPECT_EQ(drive.disks[n].label, platform::Format("pkback# %.3d", n));
        EXPECT_LE(folder.Read(platform::Format("disks/%d/a.zip", n)).size(), 50000u);
        eachToRead.emplace_back(kDiskToRead, n);
    }

    // Opened on the last disk, which holds the directory, it asks for the others.
    drive.asked.clear();
    drive.Insert(last);
    CZipArchive zip;
    drive.Attach(zip);
    zip.Open("drive/a.zip", CZipArchive::kOpenReadOnly);
    EXPECT_EQ(zip.GetSpanMode(), CZipStorage::kRemovableSpan);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ReadEntry(zip, i), kEntries[i].second) << i;
    EXPECT_EQ(drive.asked, eachToRead);

    // Without the callback only the disk in the drive is read; giving up spares the rest.
    zip.SetVolumeCallback(nullptr, nullptr);
    EXPECT_EQ(ZipCause([&] { zip.TestFile(0); }), CZipException::kNoVolumeCallback);
    EXPECT_EQ(ReadEntry(zip, 3), "quattro");
    drive.Attach(zip);
    drive.answer = [&](int, int disk) { return disk != 1 && (drive.Insert(disk), true); };
    EXPECT_EQ(ZipCause([&] { zip.TestFile(0); }), CZipException::kVolumeChangeAborted);
    EXPECT_EQ(ReadEntry(zip, 2), kEntries[2].second);
    zip.Close();

    // The disks' files are the volumes of a split archive: beside the last, they are read so.
    for (int n = 1; n < last; ++n)
        folder.Write(platform::Format("disks/%d/a.z%02d", last, n),
                     folder.Read(platform::Format("disks/%d/a.zip", n)));
    drive.Insert(last);
    zip.SetVolumeCallback(nullptr, nullptr);
    zip.Open("drive/a.zip", CZipArchive::kOpenReadOnly);
    EXPECT_EQ(zip.GetSpanMode(), CZipStorage::kFixedSpan);
    EXPECT_EQ(ReadEntry(zip, 0), kEntries[0].second);
    zip.Close();
}

TEST(ZipDiskSpan, AnUnfitDiskIsRefusedWithItsCodeAndOneDiskMakesAnOrdinaryArchive) {
    testenv::ScratchFolder folder;
    FolderDrive drive;
    folder.Write("disks/1/old.txt", "x");
    drive.disks[2].labels = false;
    folder.Write("disks/3/a.zip/kept.txt", "x");  // only a folder, where the file should go
    drive.disks[4].capacity = 3;
    drive.answer = [&](int, int) { return drive.Insert(int(drive.asked.size())), true; };
    WriteOnDisks(drive, {{"a.txt", "abc"}});
    EXPECT_EQ(
        drive.asked,
        (Asked{{4, 1}, {kDiskNotEmpty, 1}, {kDiskNotLabelled, 1}, {kVolumeNotCreated, 1}, {4, 1}}));
    EXPECT_EQ(drive.disks[5].label, "pkback# 001");
    EXPECT_EQ(zip::GetU32(folder.Read("disks/5/a.zip").data()), zip::kLocalHeaderSignature);
    EXPECT_EQ(ReadArchive("disks/5/a.zip"), (Entries{{"a.txt", "abc"}}));

    // Giving up while writing leaves an archive that closes, and opens again for the next.
    drive.answer = [&](int, int disk) { return drive.Insert(10 + disk), disk == 1; };
    CZipArchive zip;
    drive.Attach(zip);
    ASSERT_TRUE(zip.Open("drive/a.zip", CZipArchive::kCreateSpan, 0));
    CZipFileHeader header;
    header.SetFileName("big.bin");
    ASSERT_TRUE(zip.OpenNewFile(header, 0));
    const std::string data = RandomBytes(100000, 5);
    EXPECT_EQ(ZipCause([&] { zip.WriteNewFile(data.data(), data.size()); }),
              CZipException::kVolumeChangeAborted);
    zip.Close(true);
    EXPECT_TRUE(zip.IsClosed());
    drive.answer = [&](int, int disk) { return drive.Insert(20 + disk), true; };
    ASSERT_TRUE(zip.Open("drive/a.zip", CZipArchive::kCreateSpan, 0));
    ASSERT_TRUE(zip.OpenNewFile(header, 0));
    zip.WriteNewFile("b", 1);
    zip.Close();
    EXPECT_EQ(ReadArchive("disks/21/a.zip"), (Entries{{"big.bin", "b"}}));
}
