#pragma once
// The Windows meaning of a port's line settings (baud rate, data bits, parity 0..4 =
// none/odd/even/mark/space, stop bits 0/1/2 = one/one and a half/two) on a termios record.

#include <termios.h>

struct LineSettings {
    int baudRate = 9600;
    int dataBits = 8;
    int parity = 0;
    int stopBits = 0;
};

// Writes the settings into `tio`; false (and `tio` untouched) when one cannot be had.
bool ApplyLineSettings(termios& tio, const LineSettings& settings);
// termios has one flag for one and a half and for two stop bits: `stopBitsSet` tells which of
// the two was asked for. The parity reads 0 while the parity check is off.
LineSettings ReadLineSettings(const termios& tio, int stopBitsSet);
