// How the system medium tells a removable disk and finds a folder's mount, on a made-up sysfs
// and mount table.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_env.h"
#include "zip/zip_removable_medium.h"

TEST(ZipRemovableMedium, APartitionIsRemovableWhenItsDiskIsNotWhenAUsbPortIs) {
    testenv::ScratchFolder folder;
    const std::string stick = "sys/devices/usb1/1-1/block/sdb";
    const std::string drive = "sys/devices/usb1/1-2/block/sdc";
    folder.Write(stick + "/removable", "1\n");
    folder.Write(stick + "/sdb1/partition", "1\n");
    folder.Write("sys/devices/usb1/1-2/removable", "removable\n");  // the port's, not the disk's
    folder.Write(drive + "/removable", "0\n");
    folder.Write(drive + "/sdc1/partition", "1\n");
    std::filesystem::create_directories("sys/dev/block");
    for (const auto& [device, target] :
         {std::pair{"8:17", stick + "/sdb1"}, {"8:16", stick}, {"8:33", drive + "/sdc1"}})
        std::filesystem::create_directory_symlink("../../../" + target,
                                                  std::string("sys/dev/block/") + device);
    EXPECT_TRUE(zip::IsRemovableBlockDevice("sys", 8, 17));
    EXPECT_TRUE(zip::IsRemovableBlockDevice("sys", 8, 16));
    EXPECT_FALSE(zip::IsRemovableBlockDevice("sys", 8, 33));
    EXPECT_FALSE(zip::IsRemovableBlockDevice("sys", 0, 45));  // tmpfs and the like
    // The test machine's scratch folder is on no removable disk.
    EXPECT_FALSE(zip::SystemRemovableMedium().IsRemovable(folder.File("a.zip")));
}

TEST(ZipRemovableMedium, AFoldersMountIsTheLongestOfItsDeviceThatHoldsIt) {
    const std::string mountinfo =
        "27 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
        "90 27 8:17 / /media/kx9/USB\\040DISK rw,nosuid shared:50 - vfat /dev/sdb1 rw\n"
        "91 27 8:17 /sub /mnt/usb rw - vfat /dev/sdb1 rw\n";
    const auto usb = zip::FindMount(mountinfo, 8, 17, "/media/kx9/USB DISK/archivi");
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->point + "|" + usb->type + "|" + usb->source,
              "/media/kx9/USB DISK|vfat|/dev/sdb1");
    EXPECT_EQ(zip::FindMount(mountinfo, 8, 17, "/mnt/usb")->point, "/mnt/usb");
    EXPECT_EQ(zip::FindMount(mountinfo, 8, 2, "/media/kx9/USB DISKS")->point, "/");
    EXPECT_FALSE(zip::FindMount(mountinfo, 8, 17, "/media/kx9/USB DISKS"));
}
