#include "link/modem_link.h"

#include "link/link_clock.h"
#include "link/link_port.h"
#include "platform/text.h"

namespace modem_link {

namespace {

constexpr size_t kReadLimit = 63;
constexpr int kCommandWait = 500;
constexpr int kDialFirstWait = 2000;
constexpr int kPollWait = 500;
constexpr int kShowWait = 2000;
constexpr int kHangUpReplyWait = 500;

std::string ReadOnce(LinkPort& port) {
    char buffer[kReadLimit];
    size_t read = 0;
    port.Read(buffer, sizeof buffer, &read);
    return std::string(buffer, read);
}

bool EndsALine(const std::string& text) {
    return !text.empty() && (text.back() == '\r' || text.back() == '\n');
}

}  // namespace

bool IsDialNumber(std::string_view number) {
    return !number.empty() &&
           number.find_first_not_of("0123456789*#,WwPpTt!@ -()+") == std::string_view::npos;
}

int DialModem(LinkClock& clock, LinkPort& port, int comPort, int baudRate,
              const std::string& number, const DialFeedback& feedback) {
    if (!IsDialNumber(number)) {
        feedback.showText("Line: Invalid modem number");
        return kLineReply;
    }
    port.Purge();
    port.WriteString("AT\r\n");
    clock.Sleep(kCommandWait);
    const std::string attention = ReadOnce(port);
    if (attention.empty() || !platform::Contains(attention, "OK"))
        return kNoLocalModem;

    feedback.showText(
        platform::Format("Modem founded on\r\rPort = COM%d \rBaudrate = %d", comPort, baudRate));
    clock.Sleep(1000);
    port.Purge();

    // The set-up replies, "ERROR" included, do not stop the dial.
    for (const char* command : {"ATE0\r\n", "ATV1\r\n", "AT%C0\r\n"}) {
        port.WriteString(command);
        clock.Sleep(kCommandWait);
        ReadOnce(port);
    }
    port.WriteString("AT\\N3 \r\n");
    ReadOnce(port);

    feedback.showText("Modem setup...Please wait");
    clock.Sleep(kCommandWait);
    port.Purge();

    port.WriteString(platform::Format("ATDT%s\r\n", number.c_str()));
    feedback.showText(platform::Format("Dial up on number %s ...\nPlease wait", number.c_str()));
    clock.Sleep(kDialFirstWait);

    // A result line may be read in two pieces: it is complete at its line end.
    std::string reply;
    for (int poll = 0; poll < kDialPolls; ++poll) {
        clock.Sleep(kPollWait);
        reply += ReadOnce(port);
        if (reply.size() > 2 && EndsALine(reply))
            break;
        if (reply.size() <= 2)
            reply.clear();
    }
    if (reply.size() <= 2) {
        feedback.showText("Remote modem not responding");
        clock.Sleep(kShowWait);
        feedback.hideBox();
        return kNoAnswer;
    }
    if (platform::Contains(reply, "CONNECT")) {
        feedback.showText(platform::Format("REMOTE MODEM %s BAUD", reply.c_str()));
        clock.Sleep(kShowWait);
        if (platform::Contains(reply, "2400") || platform::Contains(reply, "4800"))
            feedback.warn(
                "WARNING: Connection Baudrate is too low.\nPossiblility of data loose and "
                "comunication error.\n\nPlease select a higher baudrate for a saftey "
                "comunication.");
        return kConnected;
    }
    feedback.showText(platform::Format("Line: %s", reply.c_str()));
    clock.Sleep(kShowWait);
    return kLineReply;
}

void HangUp(LinkClock& clock, LinkPort& port) {
    // One turn on the line: a request of another thread inside the guard times would spoil
    // the escape.
    const LinkPort::Turn turn = port.TakeTurn();
    clock.Sleep(kEscapeGuardMs);
    port.WriteString("+++");
    clock.Sleep(kEscapeGuardMs);
    port.WriteString("ATH\r");
    clock.Sleep(kHangUpReplyWait);
    port.Purge();
}

}  // namespace modem_link
