#include "link/port_record.h"

#include <functional>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

using platform::Format;

namespace {
// Written only while set, so that the file keeps its twelve lines otherwise.
constexpr const char* kRefOutOfStepKey = "REF_INSTR_KEYS_OUT_OF_STEP=";
constexpr const char* kTargetOutOfStepKey = "TARGET_INSTR_KEYS_OUT_OF_STEP=";

struct Key {
    const char* name;
    std::function<void(const std::string&)> assign;
};

std::vector<Key> KeysOf(PortRecord& reference, PortRecord& target) {
    auto integer = [](int& field) {
        return [&field](const std::string& value) { field = platform::Atoi(value); };
    };
    auto port = [](PortRecord& record) {
        return [&record](const std::string& value) {
            record.m_nComPort = platform::Atoi(value);
            record.m_strComText = value;
        };
    };
    auto text = [](std::string& field) {
        return [&field](const std::string& value) { field = value; };
    };
    auto flag = [](bool& field) {
        return [&field](const std::string& value) { field = platform::Atoi(value) != 0; };
    };
    return {
        {"REF_INSTR_COM=", port(reference)},
        {"REF_INSTR_SN=", text(reference.m_strSerialNumber)},
        {"REF_INSTR_ERR_CNT=", integer(reference.m_nErrorCount)},
        {"REF_INSTR_ERR2_CNT=", integer(reference.m_nResetCount)},
        {kRefOutOfStepKey, flag(reference.m_bKeysOutOfStep)},
        {"94DB_INIT_VOL=", integer(reference.m_nVolume94dB)},
        {"TRANSIENT_106DB_INIT_VOL=", integer(reference.m_nVolumeTransient106dB)},
        {"OVELOAD_99DB_INIT_VOL=", integer(reference.m_nVolumeOverload99dB)},
        {"OVELOAD_102DB_INIT_VOL=", integer(reference.m_nVolumeOverload102dB)},
        {"TARGET_INSTR_COM=", port(target)},
        {"TARGET_INSTR_SN=", text(target.m_strSerialNumber)},
        {"TARGET_INSTR_ERR_CNT=", integer(target.m_nErrorCount)},
        {"TARGET_INSTR_ERR2_CNT=", integer(target.m_nResetCount)},
        {kTargetOutOfStepKey, flag(target.m_bKeysOutOfStep)},
    };
}
}  // namespace

bool LoadPortIni(const std::string& path, PortRecord& reference, PortRecord& target) {
    reference.m_nVolume94dB = reference.m_nVolumeTransient106dB = -1;
    reference.m_nVolumeOverload99dB = reference.m_nVolumeOverload102dB = -1;
    platform::LineReader reader(path);
    if (!reader.IsOpen())
        return false;
    // The file names the flag only while it is set.
    reference.m_bKeysOutOfStep = target.m_bKeysOutOfStep = false;
    const auto keys = KeysOf(reference, target);
    std::string line;
    while (reader.ReadLine(line, 2048)) {
        line = platform::TrimRight(line);
        for (const Key& key : keys)
            if (platform::Contains(line, key.name))
                key.assign(platform::ReplaceAll(line, key.name, ""));
    }
    reference.m_nBaudRate = kPortIniBaudRate;
    target.m_nBaudRate = kPortIniBaudRate;
    return true;
}

std::string FormatPortIni(const PortRecord& reference, const PortRecord& target) {
    std::string out;
    out += Format("REF_INSTR_COM=%d\r\n", reference.m_nComPort);
    out += Format("REF_INSTR_SN=%s\r\n", reference.m_strSerialNumber.c_str());
    out += Format("REF_INSTR_ERR_CNT=%d\r\n", reference.m_nErrorCount);
    out += Format("REF_INSTR_ERR2_CNT=%d\r\n", reference.m_nResetCount);
    if (reference.m_bKeysOutOfStep)
        out += std::string(kRefOutOfStepKey) + "1\r\n";
    out += Format("94DB_INIT_VOL=%d\r\n", reference.m_nVolume94dB);
    out += Format("TRANSIENT_106DB_INIT_VOL=%d\r\n", reference.m_nVolumeTransient106dB);
    out += Format("OVELOAD_99DB_INIT_VOL=%d\r\n", reference.m_nVolumeOverload99dB);
    out += Format("OVELOAD_102DB_INIT_VOL=%d\r\n", reference.m_nVolumeOverload102dB);
    out += Format("TARGET_INSTR_COM=%d\r\n", target.m_nComPort);
    out += Format("TARGET_INSTR_SN=%s\r\n", target.m_strSerialNumber.c_str());
    out += Format("TARGET_INSTR_ERR_CNT=%d\r\n", target.m_nErrorCount);
    out += Format("TARGET_INSTR_ERR2_CNT=%d\r\n", target.m_nResetCount);
    if (target.m_bKeysOutOfStep)
        out += std::string(kTargetOutOfStepKey) + "1\r\n";
    return out;
}

bool SavePortIni(const std::string& path, PortRecord& reference, PortRecord& target) {
    if (!platform::WriteFileAtomic(path, FormatPortIni(reference, target)))
        return false;
    for (PortRecord* record : {&reference, &target})
        record->m_strComText = Format("%d", record->m_nComPort);
    return true;
}
