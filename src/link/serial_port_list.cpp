#include "link/serial_port_list.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <optional>
#include <tuple>

#include "link/serial.h"
#include "platform/com_ports.h"
#include "platform/files.h"
#include "platform/text.h"

namespace fs = std::filesystem;
using platform::Format;

namespace {

constexpr const char* kDefaultRoot = "/sys/class/tty";
constexpr int kFamilyBlock = 16;
constexpr int kLastComNumber = 99;

std::mutex g_rootMutex;
std::string g_root = kDefaultRoot;

// "ttyUSB12" as ("ttyUSB", 12); a name without trailing digits has number -1.
struct TtyName {
    std::string name;
    std::string prefix;
    int number = -1;
};

TtyName SplitName(const std::string& name) {
    size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
        --digits;
    TtyName split{name, name.substr(0, digits), -1};
    if (digits < name.size() && name.size() - digits <= 6)
        split.number = platform::Atoi(name.substr(digits));
    return split;
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

std::optional<std::string> FirstLine(const fs::path& path) {
    const auto content = platform::ReadWholeFile(path.string());
    if (!content)
        return std::nullopt;
    const int end = platform::Find(*content, '\n');
    return platform::Trim(end < 0 ? *content : platform::Left(*content, end));
}

bool HasRealUart(const fs::path& entry) {
    if (!Exists(entry / "device" / "driver"))
        return false;
    const auto type = FirstLine(entry / "type");
    return !type || platform::Atoi(*type) != 0;
}

bool IsUsbPort(const TtyName& tty, const fs::path& entry) {
    if (tty.prefix == "ttyUSB" || tty.prefix == "ttyACM")
        return true;
    std::error_code error;
    const fs::path device = fs::weakly_canonical(entry / "device", error);
    return !error && platform::Contains(device.string(), "/usb");
}

SerialPortInfo MakeInfo(const std::string& name, int comNumber, bool usb) {
    SerialPortInfo info;
    info.strDevPath = "/dev/" + name;
    info.strPortName = Format("COM%d", comNumber);
    info.strFriendlyName =
        Format("%s (COM%d)", usb ? "USB Serial Port" : "Communications Port", comNumber);
    info.bUsbDevice = usb ? TRUE : FALSE;
    return info;
}

// What every record gets whatever found it: a friendly name, and a description that is the
// friendly name without its " (...)" tail.
void CompleteNames(SerialPortInfo& info) {
    if (info.strFriendlyName.empty())
        info.strFriendlyName = info.strPortName;
    if (!info.strPortDesc.empty())
        return;
    info.strPortDesc = info.strFriendlyName;
    const int open = platform::Find(info.strPortDesc, " (");
    if (open > 0 && platform::EndsWith(info.strPortDesc, ")"))
        info.strPortDesc = platform::Left(info.strPortDesc, open);
}

bool OpensForExclusiveUse(const std::string& device) {
    CSerial probe;
    if (probe.Open(device) != 0)
        return false;
    probe.Close();
    return true;
}

}  // namespace

std::vector<SerialPortInfo> ListTtyClassPorts(const std::string& ttyClassRoot) {
    std::error_code error;
    fs::directory_iterator it(ttyClassRoot, error);
    if (error)
        throw SerialPortListError("Could not read from " + ttyClassRoot);

    struct Candidate {
        TtyName tty;
        fs::path entry;
    };
    std::vector<Candidate> candidates;
    int lastTtyS = -1;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            throw SerialPortListError("Could not read from " + ttyClassRoot);
        const fs::path entry = it->path();
        const TtyName tty = SplitName(entry.filename().string());
        if (tty.prefix == "ttyS" && tty.number >= 0) {
            lastTtyS = std::max(lastTtyS, tty.number);
            if (HasRealUart(entry))
                candidates.push_back({tty, entry});
        } else if (Exists(entry / "device")) {
            candidates.push_back({tty, entry});
        }
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return std::tie(a.tty.prefix, a.tty.number, a.tty.name) <
               std::tie(b.tty.prefix, b.tty.number, b.tty.name);
    });

    const int base = lastTtyS + 2;
    int nextOther = base + 2 * kFamilyBlock;
    std::vector<SerialPortInfo> ports;
    std::vector<const Candidate*> others;
    auto add = [&](const Candidate& candidate, int comNumber) {
        if (comNumber >= 1 && comNumber <= kLastComNumber)
            ports.push_back(
                MakeInfo(candidate.tty.name, comNumber, IsUsbPort(candidate.tty, candidate.entry)));
    };
    for (const Candidate& candidate : candidates) {
        const TtyName& tty = candidate.tty;
        const bool inBlock = tty.number >= 0 && tty.number < kFamilyBlock;
        if (tty.prefix == "ttyS")
            add(candidate, tty.number + 1);
        else if (tty.prefix == "ttyUSB" && inBlock)
            add(candidate, base + tty.number);
        else if (tty.prefix == "ttyACM" && inBlock)
            add(candidate, base + kFamilyBlock + tty.number);
        else
            others.push_back(&candidate);
    }
    for (const Candidate* candidate : others)
        add(*candidate, nextOther++);

    std::sort(ports.begin(), ports.end(), [](const SerialPortInfo& a, const SerialPortInfo& b) {
        return platform::ComNumberOf(a.strPortName) < platform::ComNumberOf(b.strPortName);
    });
    for (SerialPortInfo& info : ports)
        CompleteNames(info);
    return ports;
}

std::map<int, std::string> ComDevicesOf(const std::vector<SerialPortInfo>& list) {
    std::map<int, std::string> devices;
    for (const SerialPortInfo& info : list)
        devices[platform::ComNumberOf(info.strPortName)] = info.strDevPath;
    return devices;
}

void EnumSerialPorts(std::vector<SerialPortInfo>& list, BOOL ignoreBusyPorts) {
    list.clear();
    list = ListTtyClassPorts(TtyClassRoot());
    platform::SetEnumeratedComDevices(ComDevicesOf(list));
    if (ignoreBusyPorts)
        std::erase_if(list, [](const SerialPortInfo& info) {
            return !OpensForExclusiveUse(info.strPortName);
        });
}

void PublishSerialPorts() {
    std::vector<SerialPortInfo> ports;
    try {
        EnumSerialPorts(ports, FALSE);
    } catch (const SerialPortListError&) {
        platform::SetEnumeratedComDevices({});
    }
}

std::string TtyClassRoot() {
    std::lock_guard lock(g_rootMutex);
    return g_root;
}

void SetTtyClassRoot(std::string root) {
    std::lock_guard lock(g_rootMutex);
    g_root = root.empty() ? kDefaultRoot : std::move(root);
}
