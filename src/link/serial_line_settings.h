#pragma once
// A port's settings: its line (baud rate, data bits, parity 0..4 = none/odd/even/mark/space,
// stop bits 0/1/2 = one/one and a half/two) with its Windows meaning on a termios record, and
// the whole value a port is opened and set up on.

#include <optional>
#include <string>

struct PortRecord;
struct termios;

struct LineSettings {
    int baudRate = 9600;
    int dataBits = 8;
    int parity = 0;
    int stopBits = 0;
    bool operator==(const LineSettings&) const = default;
};

// A port's settings as one value: the port, its line and its handshaking, one variant per use.
// Only the link session opens, sets up and closes a port, on such a value.
struct PortSettings {
    // The COM number "port.ini" stores; ComPortDevice makes the device path of it.
    int comNumber = 0;
    LineSettings line;
    // CSerial's handshaking mode; none: the port keeps the mode it opened with (no handshaking).
    std::optional<int> handshaking;
    bool operator==(const PortSettings&) const = default;

    // Connecting to the monitoring meter: the record's port, rate, data bits and parity, one
    // stop bit, hardware handshaking.
    static PortSettings Connecting(const PortRecord& record);
    // The move to the rate the meter took (command code 53): the record's port and framing at
    // `rate`, software handshaking.
    static PortSettings SpeedChange(const PortRecord& record, int rate);
    // A meter spoken to directly (the bench's two meters, the maintenance commands' instrument
    // under test): 8N1 at the record's rate, kPortIniBaudRate when it has none, no handshaking
    // asked for.
    static PortSettings Instrument(const PortRecord& record);
};

// The device path of COM `comNumber`; empty, a device that does not open, for no number (0 or
// less). The one place a port's number becomes the name it is opened by.
std::string ComPortDevice(int comNumber);

// Writes the settings into `tio`; false (and `tio` untouched) when one cannot be had.
bool ApplyLineSettings(termios& tio, const LineSettings& settings);
// termios has one flag for one and a half and for two stop bits: `stopBitsSet` tells which of
// the two was asked for. The parity reads 0 while the parity check is off.
LineSettings ReadLineSettings(const termios& tio, int stopBitsSet);
