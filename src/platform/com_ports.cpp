#include "platform/com_ports.h"

#include <cstdlib>
#include <mutex>

#include "platform/text.h"

namespace platform {

namespace {
struct ComMap {
    std::mutex mutex;
    std::map<int, std::string> overrides;
    std::map<int, std::string> enumerated;
    bool environmentRead = false;
};

ComMap& Map() {
    static ComMap map;
    return map;
}

void ReadEnvironmentLocked(ComMap& map) {
    if (map.environmentRead)
        return;
    map.environmentRead = true;
    const char* value = std::getenv("KX9_COM_MAP");
    if (!value)
        return;
    for (const std::string& entry : Split(value, ',')) {
        const int eq = Find(entry, '=');
        if (eq <= 0)
            continue;
        // "3=" names no device: the port keeps the one it would have without the entry.
        const int number = Atoi(Left(entry, eq));
        const std::string device = Mid(entry, eq + 1);
        if (number > 0 && !device.empty())
            map.overrides[number] = device;
    }
}
}  // namespace

std::string ComDevicePath(int comNumber) {
    if (comNumber <= 0)
        return {};
    auto& map = Map();
    std::lock_guard lock(map.mutex);
    ReadEnvironmentLocked(map);
    if (auto it = map.overrides.find(comNumber); it != map.overrides.end())
        return it->second;
    if (auto it = map.enumerated.find(comNumber); it != map.enumerated.end())
        return it->second;
    return Format("/dev/ttyS%d", comNumber - 1);
}

void SetComDevice(int comNumber, std::string path) {
    auto& map = Map();
    std::lock_guard lock(map.mutex);
    ReadEnvironmentLocked(map);
    map.overrides[comNumber] = std::move(path);
}

std::vector<int> MappedComNumbers() {
    auto& map = Map();
    std::lock_guard lock(map.mutex);
    ReadEnvironmentLocked(map);
    std::vector<int> numbers;
    for (const auto& entry : map.overrides)
        numbers.push_back(entry.first);
    return numbers;
}

void ClearComDevices() {
    auto& map = Map();
    std::lock_guard lock(map.mutex);
    map.overrides.clear();
    map.environmentRead = true;  // a test that clears the map wants it empty
}

void SetEnumeratedComDevices(std::map<int, std::string> devices) {
    auto& map = Map();
    std::lock_guard lock(map.mutex);
    map.enumerated = std::move(devices);
}

int ComNumberOf(std::string_view name) {
    std::string_view s = name;
    if (s.starts_with("\\\\.\\"))
        s.remove_prefix(4);
    if (!(s.size() > 3 && ToUpper(s.substr(0, 3)) == "COM"))
        return -1;
    s.remove_prefix(3);
    if (s.ends_with(":"))
        s.remove_suffix(1);
    if (s.empty())
        return -1;
    for (char c : s)
        if (c < '0' || c > '9')
            return -1;
    const int number = Atoi(s);
    return number > 0 ? number : -1;
}

std::string ResolveDeviceName(std::string_view name) {
    const int number = ComNumberOf(name);
    return number > 0 ? ComDevicePath(number) : std::string(name);
}

}  // namespace platform
