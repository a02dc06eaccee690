#pragma once
// A stand-in of the kernel's tty class folder (/sys/class/tty) for the port list: entries for
// UARTs, empty ttyS slots, USB adapters and virtual terminals.

#include <filesystem>
#include <fstream>
#include <string>

namespace linktest {

class FakeTtyTree {
public:
    explicit FakeTtyTree(std::filesystem::path root) : m_root(std::move(root)) {
        std::filesystem::create_directories(m_root);
    }

    std::string RootText() const { return m_root.string(); }

    // A ttyS entry with a UART of this type behind it.
    FakeTtyTree& Uart(const std::string& name, int type = 4) {
        std::filesystem::create_directories(m_root / name / "device" / "driver");
        return Type(name, type);
    }
    // A ttyS slot the kernel made with no UART: a driver but type 0, or no driver at all.
    FakeTtyTree& EmptySlot(const std::string& name, bool withDriver = true) {
        std::filesystem::create_directories(m_root / name / "device");
        if (withDriver)
            std::filesystem::create_directories(m_root / name / "device" / "driver");
        return Type(name, 0);
    }
    // A port with a device behind it; `usbDevice` puts the device under a USB bus.
    FakeTtyTree& Port(const std::string& name, bool usbDevice = false) {
        if (!usbDevice) {
            std::filesystem::create_directories(m_root / name / "device");
            return *this;
        }
        const auto device = m_root / ".." / "devices" / "usb1" / "1-1" / name;
        std::filesystem::create_directories(device);
        std::filesystem::create_directories(m_root / name);
        std::filesystem::create_directory_symlink(std::filesystem::absolute(device),
                                                  m_root / name / "device");
        return *this;
    }
    // A terminal with no device: tty1, console, ptmx.
    FakeTtyTree& Virtual(const std::string& name) {
        std::filesystem::create_directories(m_root / name);
        return *this;
    }
    FakeTtyTree& Remove(const std::string& name) {
        std::filesystem::remove_all(m_root / name);
        return *this;
    }

private:
    FakeTtyTree& Type(const std::string& name, int type) {
        std::ofstream(m_root / name / "type") << type << "\n";
        return *this;
    }

    std::filesystem::path m_root;
};

}  // namespace linktest
