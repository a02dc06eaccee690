#pragma once
// An in-memory port and a manual clock, so that the link's rules are checked exactly and at
// once. The port answers the lines it was told to expect and keeps a transcript of what went
// out and came back, each line stamped with the clock's time:
//   "1 >> SET:INSTR_N:?"  /  "1 << SET:INSTR_NUMBER:A1"
// The clock moves only when a test or a wait moves it; its timers fire as it passes them.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "link/link_clock.h"
#include "link/link_port.h"
#include "link/protocol_bytes.h"
#include "link/serial_line_settings.h"

// A failed expectation shows the settings as "COM3 38400 8/0/0 handshaking 2".
inline void PrintTo(const PortSettings& s, std::ostream* os) {
    *os << "COM" << s.comNumber << ' ' << s.line.baudRate << ' ' << s.line.dataBits << '/'
        << s.line.parity << '/' << s.line.stopBits << " handshaking "
        << (s.handshaking ? std::to_string(*s.handshaking) : "kept");
}

namespace linktest {

using Lines = std::vector<std::string>;

class FakePort;

class ManualClock : public LinkClock {
public:
    std::uint32_t Now() override { return m_now; }
    void Sleep(unsigned ms) override {
        sleeps.push_back(ms);
        m_now += ms;
    }
    // Ends when the port's next bytes arrive, if they do within `ms`.
    bool WaitForInput(LinkPort& port, unsigned ms, bool pumping) override;
    void SetTimerHandler(std::function<void(int)> handler) override { m_handler = handler; }
    void SetTimer(int id, unsigned ms) override { m_timers[id] = {m_now + ms, std::max(1u, ms)}; }
    void KillTimer(int id) override { m_timers.erase(id); }
    bool IsTimerSet(int id) const override { return m_timers.count(id) != 0; }

    std::optional<std::uint32_t> NextDue() const {
        std::optional<std::uint32_t> next;
        for (const auto& [id, timer] : m_timers)
            next = std::min(next.value_or(timer.due), timer.due);
        return next;
    }
    // Moves on to `time`, firing each timer as it falls due; a window timer fires again every
    // interval until it is killed.
    void AdvanceTo(std::uint32_t time) {
        for (auto next = NextDue(); next && *next <= time; next = NextDue()) {
            m_now = std::max(m_now, *next);
            auto due = std::find_if(m_timers.begin(), m_timers.end(),
                                    [&](const auto& t) { return t.second.due == *next; });
            due->second.due += due->second.interval;
            if (m_handler)
                m_handler(due->first);
        }
        m_now = std::max(m_now, time);
    }

    std::vector<unsigned> sleeps;

private:
    struct Timer {
        std::uint32_t due;
        unsigned interval;
    };
    std::uint32_t m_now = 0;
    std::function<void(int)> m_handler;
    std::map<int, Timer> m_timers;
};

class FakePort : public LinkPort {
public:
    explicit FakePort(ManualClock& clock) : m_clock(clock) {}

    // The next `times` writes of the line `request` are answered with `reply` after `delayMs`;
    // a line nobody expects is met with silence.
    FakePort& Expect(const std::string& request, const std::string& reply, unsigned delayMs = 0,
                     int times = 1) {
        for (int i = 0; i < times; ++i)
            m_expected.push_back({request, reply, delayMs});
        return *this;
    }
    // Bytes that arrive unasked after `delayMs`.
    void Arrive(const std::string& bytes, unsigned delayMs = 0) {
        m_incoming.emplace(m_clock.Now() + delayMs, bytes);
    }

    const Lines& Transcript() const { return m_transcript; }
    void ClearTranscript() { m_transcript.clear(); }
    // The lines written, without their stamps.
    Lines Written() const {
        Lines written;
        for (const std::string& entry : m_transcript)
            if (const auto at = entry.find(" >> "); at != std::string::npos)
                written.push_back(entry.substr(at + 4));
        return written;
    }

    // What a listener would take: an arrived reply up to its ETX.
    std::optional<std::string> TakeReply() {
        Arrived();
        const auto end = m_buffer.find(protocol::kEtx);
        if (end == std::string::npos)
            return std::nullopt;
        return Take(end + 1);
    }
    // When bytes are there to read: now, or when the next ones arrive.
    std::optional<std::uint32_t> NextArrival() {
        Arrived();
        if (!m_buffer.empty())
            return m_clock.Now();
        if (m_incoming.empty())
            return std::nullopt;
        return m_incoming.begin()->first;
    }

    bool IsOpen() const override { return m_open; }
    int Descriptor() const override { return -1; }
    int Close() override {
        m_open = false;
        ++closes;
        return 0;
    }
    int OpenFor(int comNumber, platform::MessageTarget*) override {
        opened.push_back(comNumber);
        m_open = !refuseOpen;
        return refuseOpen ? 2 : 0;
    }
    // Set-ups are kept whatever their fate, refused ones too.
    int SetUp(const PortSettings& settings) override {
        setUps.push_back(settings);
        return refuseSetUp ? 87 : 0;
    }
    int Reopen(const PortSettings& settings) override {
        if (refuseReopen) {
            Close();
            return 2;
        }
        Close();
        OpenFor(settings.comNumber, nullptr);
        return SetUp(settings);
    }

    // The COM numbers opened, the set-ups given and the closes, in order.
    std::vector<int> opened;
    std::vector<PortSettings> setUps;
    int closes = 0;
    int purges = 0;
    bool refuseOpen = false;
    bool refuseSetUp = false;
    bool refuseReopen = false;

protected:
    int WriteBytes(const std::string& text, size_t* written) override {
        if (written)
            *written = m_open ? text.size() : 0;
        if (!m_open)
            return 6;
        Note(" >> ", text);
        const auto it = std::find_if(m_expected.begin(), m_expected.end(),
                                     [&](const Expected& e) { return e.request == Line(text); });
        if (it != m_expected.end()) {
            Arrive(it->reply, it->delayMs);
            m_expected.erase(it);
        }
        return 0;
    }
    int ReadBytes(void* buffer, size_t length, size_t* read) override {
        Arrived();
        const std::string bytes = Take(std::min(length, m_buffer.size()));
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(buffer));
        if (read)
            *read = bytes.size();
        return 0;
    }
    int PurgeBytes() override {
        Arrived();
        m_buffer.clear();
        ++purges;
        return 0;
    }

private:
    struct Expected {
        std::string request;
        std::string reply;
        unsigned delayMs;
    };

    static std::string Line(const std::string& text) {
        return text.substr(0, text.find_last_not_of("\r\n") + 1);
    }
    // The bytes whose time has come join those waiting to be read.
    void Arrived() {
        while (!m_incoming.empty() && m_incoming.begin()->first <= m_clock.Now()) {
            m_buffer += m_incoming.begin()->second;
            m_incoming.erase(m_incoming.begin());
        }
    }
    std::string Take(size_t n) {
        std::string taken = m_buffer.substr(0, n);
        m_buffer.erase(0, n);
        if (!taken.empty())
            Note(" << ", taken);
        return taken;
    }
    void Note(const char* direction, const std::string& text) {
        std::string shown = Line(text);
        shown.erase(std::remove(shown.begin(), shown.end(), protocol::kEtx), shown.end());
        m_transcript.push_back(std::to_string(m_clock.Now()) + direction + shown);
    }

    ManualClock& m_clock;
    bool m_open = true;
    std::vector<Expected> m_expected;
    std::multimap<std::uint32_t, std::string> m_incoming;
    std::string m_buffer;
    Lines m_transcript;
};

inline bool ManualClock::WaitForInput(LinkPort& port, unsigned ms, bool) {
    const auto at = static_cast<FakePort&>(port).NextArrival();
    const bool input = at && *at <= m_now + ms;
    m_now = input ? std::max(m_now, *at) : m_now + ms;
    return input;
}

}  // namespace linktest
