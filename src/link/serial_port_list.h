#pragma once
// The PC's serial ports, found in the kernel's tty class folder (/sys/class/tty), each with the
// COM number that "port.ini" stores, the port settings dialog offers and the port search parses.
//
// COM numbers:
// - ttyS<n> is COM<n+1>.
// - The other ports come after the last ttyS entry of the folder, with or without a UART behind
//   it (the kernel makes the same ttyS entries at every boot): with `base` one above that COM
//   number (1 without ttyS entries), ttyUSB<n> is COM<base+n> and ttyACM<n> is COM<base+16+n>
//   for n below 16; every other port takes the next free numbers from COM<base+32> in name
//   order. Plugging an adapter of one kind never renumbers one of another kind.
// - A port that would pass COM99 is not listed: callers read at most two digits after "COM".
//
// Which entries are ports: those with a device behind them; a ttyS entry also needs a real UART
// (a driver, and a UART type other than 0).

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win_types.h"

struct SerialPortInfo {
    std::string strDevPath;       // "/dev/ttyUSB0", what the port is opened with
    std::string strPortName;      // "COM33"
    std::string strFriendlyName;  // "USB Serial Port (COM33)"
    BOOL bUsbDevice = FALSE;
    std::string strPortDesc;  // "USB Serial Port"
};

// The port list could not be had; what() is the message for the operator.
class SerialPortListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Fills `list` (emptied first) from TtyClassRoot(), in COM order, and publishes the COM numbers
// through platform::SetEnumeratedComDevices. With `ignoreBusyPorts`, a port that cannot be
// opened for exclusive use is left out. Throws SerialPortListError when the folder cannot be
// read; the list is then empty.
void EnumSerialPorts(std::vector<SerialPortInfo>& list, BOOL ignoreBusyPorts);

// Lists the ports only to publish their COM numbers; a folder that cannot be read publishes
// none (COM numbers then stand for ttyS ports).
void PublishSerialPorts();

// The ports of a tty class folder, in COM order; nothing is published.
std::vector<SerialPortInfo> ListTtyClassPorts(const std::string& ttyClassRoot);
// COM number to device path, as published.
std::map<int, std::string> ComDevicesOf(const std::vector<SerialPortInfo>& list);

// The folder EnumSerialPorts reads; an empty root restores /sys/class/tty.
std::string TtyClassRoot();
void SetTtyClassRoot(std::string root);
