#include "link/serial_wnd.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <utility>

#include "link/listener_input.h"
#include "link/protocol_bytes.h"
#include "link/serial_line_settings.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/text.h"

namespace {
constexpr std::string_view kNoCarrier = "NO CARRIER";
constexpr int kLinkQueueBytes = 2048;

// The listener's port and its stop event, as the dump decoder waits on them.
class DecoderInput : public ListenerInput {
public:
    DecoderInput(CSerial& port, int stopEvent, const std::atomic<bool>& stop)
        : ListenerInput(port), m_stopEvent(stopEvent), m_stop(stop) {}

    Wait WaitForInput(unsigned programMs) override { return WaitFor(programMs, true); }
    bool Pause(unsigned programMs) override { return WaitFor(programMs, false) != Wait::Stopped; }

private:
    Wait WaitFor(unsigned programMs, bool forInput) {
        using std::chrono::steady_clock;
        const auto deadline =
            steady_clock::now() + std::chrono::milliseconds(platform::Clock::ToRealMs(programMs));
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - steady_clock::now());
            pollfd fds[2] = {{m_stopEvent, POLLIN, 0}, {Port().Descriptor(), POLLIN, 0}};
            const nfds_t count = forInput && !m_deviceGone ? 2 : 1;
            const int r =
                ::poll(fds, count, static_cast<int>(std::max<long long>(0, left.count())));
            if (r < 0 && errno == EINTR)
                continue;
            if (r < 0 || fds[0].revents || m_stop)
                return Wait::Stopped;
            if (r == 0)
                return Wait::Timeout;
            if (fds[1].revents & POLLIN)
                return Wait::Input;
            // The device went away: no more input will come, the wait runs out.
            m_deviceGone = true;
        }
    }

    const int m_stopEvent;
    const std::atomic<bool>& m_stop;
    bool m_deviceGone = false;
};

}  // namespace

CSerialWnd::CSerialWnd(std::shared_ptr<LinkReplyState> link, int readerId)
    : m_link(link ? std::move(link) : std::make_shared<LinkReplyState>()), m_readerId(readerId) {}

CSerialWnd::~CSerialWnd() {
    if (IsOpen() || m_thread.joinable())
        CSerialWnd::Close();
}

unsigned CSerialWnd::DefaultMessage() {
    static const unsigned message = platform::RegisterWindowMessage("CSerialWnd_DefaultComMsg");
    return message;
}

unsigned CSerialWnd::AlarmMessage() {
    static const unsigned message = platform::RegisterWindowMessage("CSerialWnd_AlarmMsg");
    return message;
}

int CSerialWnd::Open(const std::string& device, platform::MessageTarget* owner, unsigned message,
                     std::intptr_t lParam, int inputQueue, int outputQueue) {
    if (const int result = CSerial::Open(device, inputQueue, outputQueue))
        return result;
    if (m_thread.joinable())
        m_thread.join();  // a listener that ended by itself
    m_stopEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stopEvent < 0) {
        const int error = FailErrno();
        CSerial::Close();
        // The device opened: the port failed, not the meter.
        NoteOpenFailure(PortOpenFailure::Other, LastOpenDevice());
        return Fail(error);
    }
    m_owner = owner;
    m_message = message ? message : DefaultMessage();
    m_lParam = lParam;
    m_stop = false;
    ClearAccumulator();
    m_listenerRunning = true;
    try {
        m_thread = std::thread([this] {
            m_exitCode = ThreadProc();
            m_listenerRunning = false;
        });
    } catch (const std::system_error&) {
        m_listenerRunning = false;
        ::close(m_stopEvent);
        m_stopEvent = -1;
        m_owner = nullptr;
        m_message = 0;
        m_lParam = 0;
        CSerial::Close();
        NoteOpenFailure(PortOpenFailure::Other, LastOpenDevice());
        return Fail(serial_error::kGeneralFailure);
    }
    return ERROR_SUCCESS;
}

int CSerialWnd::Close() {
    if (m_thread.joinable()) {
        m_stop = true;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_stopEvent, &one, sizeof one);
        m_link->WakeListeners();
        if (std::this_thread::get_id() == m_thread.get_id())
            return CSerial::Close();  // the listener ends when it returns; joined later
        m_thread.join();
    }
    if (m_stopEvent >= 0) {
        ::close(m_stopEvent);
        m_stopEvent = -1;
    }
    m_owner = nullptr;
    m_message = 0;
    m_lParam = 0;
    return CSerial::Close();
}

int CSerialWnd::OpenFor(int comNumber, platform::MessageTarget* owner) {
    return Open(ComPortDevice(comNumber), owner, 0, 0, kLinkQueueBytes, kLinkQueueBytes);
}

int CSerialWnd::PurgeBytes() {
    ClearAccumulator();
    return CSerial::PurgeBytes();
}

int CSerialWnd::Reopen(const PortSettings& settings) {
    platform::MessageTarget* const owner = m_owner;
    const unsigned message = m_message;
    const std::intptr_t lParam = m_lParam;
    Close();
    if (const int result = Open(ComPortDevice(settings.comNumber), owner, message, lParam,
                                kLinkQueueBytes, kLinkQueueBytes))
        return result;
    return SetUp(settings);
}

void CSerialWnd::ClearAccumulator() {
    std::lock_guard lock(m_accumulatorMutex);
    m_accumulator.clear();
}

void CSerialWnd::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    platform::PostMessage(m_owner, message, wParam, lParam);
}

int CSerialWnd::ThreadProc() {
    for (;;) {
        // Asleep while another reader or a direct exchange owns the bytes.
        if (!m_link->WaitUntilReadable(m_readerId, m_stop))
            return 0;
        // A memory dump's decoder reads the port and waits for the meter itself.
        if (m_link->dumpMode) {
            if (auto decoder = m_link->DumpDecoder(); decoder && m_link->MayRead(m_readerId)) {
                DecoderInput input(*this, m_stopEvent, m_stop);
                decoder(input);
            }
            continue;
        }
        pollfd fds[2] = {{Descriptor(), POLLIN, 0}, {m_stopEvent, POLLIN, 0}};
        const int r = ::poll(fds, 2, -1);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 || fds[1].revents || m_stop)
            return 0;
        const short events = fds[0].revents;
        // Dump mode may have begun while the listener slept: the bytes are the decoder's.
        if ((events & POLLIN) && !m_link->dumpMode) {
            int exitCode = 0;
            if (!CollectReply(exitCode))
                return exitCode;
        }
        // The device went away (a pseudo-terminal's other side closed, a cable pulled).
        if (events & (POLLERR | POLLHUP | POLLNVAL))
            return 0;
    }
}

bool CSerialWnd::CollectReply(int& exitCode) {
    while (!m_stop && !m_link->dumpMode && m_link->MayRead(m_readerId)) {
        BYTE byte;
        const ssize_t n = ::read(Descriptor(), &byte, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;

        std::string completed;
        std::string noCarrierText;
        bool full = false;
        {
            std::lock_guard lock(m_accumulatorMutex);
            m_accumulator.push_back(static_cast<char>(byte));
            if (platform::EndsWith(m_accumulator, kNoCarrier)) {
                noCarrierText = m_accumulator;
            } else if (byte == protocol::kEtx) {
                completed = std::exchange(m_accumulator, {});
            } else if (m_accumulator.size() >= kReplyLimit) {
                full = true;
                m_accumulator.clear();
            }
        }
        if (!noCarrierText.empty()) {
            m_link->PushAlarm({LinkAlarm::Kind::NoCarrier, noCarrierText});
            Post(AlarmMessage(), 0, 0);
            exitCode = -1;
            return false;
        }
        if (full) {
            m_link->PushAlarm({LinkAlarm::Kind::BufferFull, {}});
            Post(AlarmMessage(), 0, 0);
        }
        if (byte == protocol::kEtx) {
            m_link->CompleteReply();
            // No line-error flags are known on this platform: the high half stays 0.
            platform::PostTextMessage(m_owner, m_message, 1, m_lParam, std::move(completed));
        }
    }
    return true;
}
