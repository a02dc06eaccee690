#pragma once
// COM port numbers, which the program stores and shows, mapped to device paths.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The device path of COM n: a path set for it (tests, stand-ins, the KX9_COM_MAP environment
// variable "3=/dev/pts/4,5=/dev/ttyUSB0"), else the machine's port list, else /dev/ttyS<n-1>.
// Empty for a number of 0 or less, which names no port.
std::string ComDevicePath(int comNumber);
void SetComDevice(int comNumber, std::string path);
// The COM numbers given a path of their own (SetComDevice, KX9_COM_MAP), in their order.
std::vector<int> MappedComNumbers();
void ClearComDevices();
// The machine's ports by COM number, as the port enumeration found them.
void SetEnumeratedComDevices(std::map<int, std::string> devices);

// "COM3", "\\.\COM12" (and "COM3:") become their device paths; other names are paths already.
std::string ResolveDeviceName(std::string_view name);
// The COM number in such a name, or -1.
int ComNumberOf(std::string_view name);

}  // namespace platform
