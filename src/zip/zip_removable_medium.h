#pragma once
// The disk in the drive that an archive spanned over removable disks is written to and read
// from. The archive's path stays the same from disk to disk; what changes is the disk mounted
// under it. Tests put folders in its place.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zip {

class RemovableMedium {
public:
    virtual ~RemovableMedium();
    // Whether the archive's folder is on a disk that the system reports as removable.
    virtual bool IsRemovable(const std::string& archivePath) = 0;
    // Nothing but folders at the root of the disk in the drive.
    virtual bool IsEmpty(const std::string& archivePath) = 0;
    // Gives the disk in the drive the volume label; false when it cannot be written.
    virtual bool Label(const std::string& archivePath, const std::string& label) = 0;
    // Bytes that can still be written on the disk in the drive.
    virtual std::uint64_t FreeSpace(const std::string& archivePath) = 0;
};

// The computer's own disks: removable as sysfs says, labelled with `fatlabel` (FAT only).
RemovableMedium& SystemRemovableMedium();

// The pieces of the system medium, apart so that they can be tried on made-up systems.

// Whether block device `major`:`minor` belongs to a disk whose "removable" attribute is 1,
// looked up under `sysRoot` (normally "/sys"): a partition's disk is the folder above it.
// (USB devices further up have a "removable" of their own, which says something else.)
bool IsRemovableBlockDevice(const std::string& sysRoot, unsigned major, unsigned minor);

struct MountEntry {
    std::string point;
    std::string type;
    std::string source;
};
// Of the mounts of device `major`:`minor` in `mountinfo` (the text of /proc/self/mountinfo),
// the one with the longest mount point that holds `folder` (an absolute path without links).
std::optional<MountEntry> FindMount(std::string_view mountinfo, unsigned major, unsigned minor,
                                    const std::string& folder);

// No entries but folders (and "." and "..") in `folder`; false when it cannot be read.
bool HoldsOnlyFolders(const std::string& folder);

}  // namespace zip
