#pragma once
// The serial-port settings of one meter and their file "port.ini".

#include <string>

struct PortRecord {
    int m_nComPort = 0;
    int m_nBaudRate = 0;
    int m_nDataBits = 8;
    int m_nStopBits = 0;  // 0 = one stop bit, 1 = one and a half, 2 = two
    int m_nParity = 0;    // 0 = none
    std::string m_strSpare;
    std::string m_strSerialNumber;
    int m_nErrorCount = 0;
    int m_nResetCount = 0;
    // Initial tone volumes; used for the reference meter only.
    int m_nVolume94dB = 0;
    int m_nVolumeTransient106dB = 0;
    int m_nVolumeOverload99dB = 0;
    int m_nVolumeOverload102dB = 0;
    // The keys of the meter named by m_strSerialNumber are known not to be in step with its
    // cipher (an initialisation of it failed or was refused): its next reading initialises it
    // first, also after a restart.
    bool m_bKeysOutOfStep = false;
    // The text m_nComPort was last read from in "port.ini", as the file held it after the key,
    // or written as; empty until the file gave one. Only a message about an unusable number
    // quotes it.
    std::string m_strComText = {};
};

constexpr int kPortIniBaudRate = 38400;

// Reads "port.ini" into the two records. The reference volumes become -1 first; a missing or
// unreadable file changes nothing else. Whatever the file says, both baud rates become 38400.
// Returns false when the file could not be opened.
bool LoadPortIni(const std::string& path, PortRecord& reference, PortRecord& target);
// The file's twelve lines, CR LF ended, and after each meter's lines its out-of-step line while
// its keys are out of step. The "OVELOAD" keys are spelt as the file has always had them.
std::string FormatPortIni(const PortRecord& reference, const PortRecord& target);
// Rewrites the file whole; false when it cannot be written (the old file is then untouched).
// Written, each record's port text is the number as the file holds it now.
bool SavePortIni(const std::string& path, PortRecord& reference, PortRecord& target);
