#include "link/serial_line_settings.h"

#include <termios.h>

#include "link/port_record.h"
#include "link/serial.h"
#include "platform/com_ports.h"

namespace {

struct BaudEntry {
    int rate;
    speed_t speed;
};
constexpr BaudEntry kBaudRates[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

}  // namespace

bool ApplyLineSettings(termios& tio, const LineSettings& s) {
    speed_t speed = B0;
    for (const auto& e : kBaudRates)
        if (e.rate == s.baudRate)
            speed = e.speed;
    if (speed == B0)
        return false;
    tcflag_t size;
    switch (s.dataBits) {
        case 5:
            size = CS5;
            break;
        case 6:
            size = CS6;
            break;
        case 7:
            size = CS7;
            break;
        case 8:
            size = CS8;
            break;
        default:
            return false;
    }
    tcflag_t parity;
    switch (s.parity) {
        case 0:
            parity = 0;
            break;
        case 1:
            parity = PARENB | PARODD;
            break;
        case 2:
            parity = PARENB;
            break;
        case 3:
            parity = PARENB | CMSPAR | PARODD;
            break;
        case 4:
            parity = PARENB | CMSPAR;
            break;
        default:
            return false;
    }
    if (s.stopBits < 0 || s.stopBits > 2)
        return false;

    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    tio.c_cflag |= size | parity;
    if (s.stopBits != 0)
        tio.c_cflag |= CSTOPB;
    if (s.parity != 0)
        tio.c_iflag |= INPCK;
    else
        tio.c_iflag &= ~INPCK;
    return true;
}

LineSettings ReadLineSettings(const termios& tio, int stopBitsSet) {
    LineSettings s;
    s.baudRate = 0;
    const speed_t speed = ::cfgetospeed(&tio);
    for (const auto& e : kBaudRates)
        if (e.speed == speed)
            s.baudRate = e.rate;
    switch (tio.c_cflag & CSIZE) {
        case CS5:
            s.dataBits = 5;
            break;
        case CS6:
            s.dataBits = 6;
            break;
        case CS7:
            s.dataBits = 7;
            break;
        default:
            s.dataBits = 8;
            break;
    }
    s.parity = 0;
    if ((tio.c_iflag & INPCK) && (tio.c_cflag & PARENB)) {
        const bool odd = tio.c_cflag & PARODD;
        if (tio.c_cflag & CMSPAR)
            s.parity = odd ? 3 : 4;
        else
            s.parity = odd ? 1 : 2;
    }
    s.stopBits = !(tio.c_cflag & CSTOPB) ? 0 : stopBitsSet == 1 ? 1 : 2;
    return s;
}

PortSettings PortSettings::Connecting(const PortRecord& record) {
    return {record.m_nComPort,
            {record.m_nBaudRate, record.m_nDataBits, record.m_nParity, CSerial::OneStopBit},
            CSerial::HardwareHandshake};
}

PortSettings PortSettings::SpeedChange(const PortRecord& record, int rate) {
    return {record.m_nComPort,
            {rate, record.m_nDataBits, record.m_nParity, record.m_nStopBits},
            CSerial::SoftwareHandshake};
}

PortSettings PortSettings::Instrument(const PortRecord& record) {
    const int rate = record.m_nBaudRate > 0 ? record.m_nBaudRate : kPortIniBaudRate;
    return {record.m_nComPort, {rate, 8, CSerial::NoParity, CSerial::OneStopBit}, std::nullopt};
}

std::string ComPortDevice(int comNumber) {
    return platform::ComDevicePath(comNumber);
}
