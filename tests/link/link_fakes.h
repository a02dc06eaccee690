#pragma once
// An in-memory port and a manual clock, so that the link's rules are checked exactly and at
// once. The port answers the lines it was told to expect and keeps a transcript of what went
// out and came back, each line stamped with the clock's time:
//   "1 >> SET:INSTR_N:?"  /  "1 << SET:INSTR_NUMBER:A1"
// The clock moves only when a test or a wait moves it; its timers fire as it passes them.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/link_clock.h"
#include "link/link_port.h"
#include "link/protocol_bytes.h"
#include "link/serial_line_settings.h"

namespace linktest {

using Lines = std::vector<std::string>;

class ManualClock : public LinkClock {
public:
    std::uint32_t Now() override { return m_now; }
    void Sleep(unsigned ms) override {
        sleeps.push_back(ms);
        m_now += ms;
    }
    // Ends at the time the port's next bytes arrive, when that is within `ms`.
    bool WaitForInput(LinkPort& port, unsigned ms, bool pumping) override;

    void SetTimerHandler(std::function<void(int)> handler) override {
        m_handler = std::move(handler);
    }
    void SetTimer(int id, unsigned ms) override { m_timers[id] = {m_now + ms, ms}; }
    void KillTimer(int id) override { m_timers.erase(id); }
    bool IsTimerSet(int id) const override { return m_timers.count(id) != 0; }
    // The interval a running timer was armed with.
    unsigned TimerInterval(int id) const {
        const auto it = m_timers.find(id);
        return it == m_timers.end() ? 0 : it->second.interval;
    }

    // The time the next timer falls due, if one runs.
    std::optional<std::uint32_t> NextDue() const {
        std::optional<std::uint32_t> next;
        for (const auto& [id, timer] : m_timers)
            if (!next || timer.due < *next)
                next = timer.due;
        return next;
    }
    // Moves to `time` (never back) and fires the timers due by then, one at a time: a window
    // timer fires again every interval until it is killed.
    void AdvanceTo(std::uint32_t time) {
        for (auto next = NextDue(); next && *next <= time; next = NextDue()) {
            m_now = std::max(m_now, *next);
            const auto it = std::find_if(m_timers.begin(), m_timers.end(),
                                         [&](const auto& t) { return t.second.due == *next; });
            const int id = it->first;
            it->second.due += std::max(1u, it->second.interval);
            if (m_handler)
                m_handler(id);
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

    // The next `times` writes of `request` (its CR LF may be left out) are answered with
    // `reply` after `delayMs`; a line nobody expects is met with silence.
    FakePort& Expect(const std::string& request, const std::string& reply, unsigned delayMs = 0,
                     int times = 1) {
        for (int i = 0; i < times; ++i)
            m_expected.push_back({Line(request), reply, delayMs});
        return *this;
    }
    // Bytes that arrive unasked after `delayMs`.
    void Arrive(const std::string& bytes, unsigned delayMs = 0) {
        m_incoming.push_back({m_clock.Now() + delayMs, bytes});
    }

    // Every line written and every reply delivered or read, in order, stamped with the time.
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

    // What the listener would take: an arrived reply up to its ETX.
    std::optional<std::string> TakeReply() {
        Arrived();
        const auto end = m_buffer.find(protocol::kEtx);
        if (end == std::string::npos)
            return std::nullopt;
        std::string reply = m_buffer.substr(0, end + 1);
        m_buffer.erase(0, end + 1);
        Note(" << ", reply);
        return reply;
    }
    // When the next bytes arrive: now when some wait unread.
    std::optional<std::uint32_t> NextArrival() {
        Arrived();
        if (!m_buffer.empty())
            return m_clock.Now();
        std::optional<std::uint32_t> next;
        for (const auto& pending : m_incoming)
            if (!next || pending.at < *next)
                next = pending.at;
        return next;
    }

    // --- LinkPort
    bool IsOpen() const override { return m_open; }
    int WriteString(const std::string& text, size_t* written = nullptr) override {
        if (written)
            *written = m_open ? text.size() : 0;
        if (!m_open)
            return 6;
        Note(" >> ", text);
        const std::string line = Line(text);
        const auto it = std::find_if(m_expected.begin(), m_expected.end(),
                                     [&](const Expected& e) { return e.request == line; });
        if (it != m_expected.end()) {
            m_incoming.push_back({m_clock.Now() + it->delayMs, it->reply});
            m_expected.erase(it);
        }
        return 0;
    }
    int Read(void* buffer, size_t length, size_t* read = nullptr) override {
        Arrived();
        const size_t n = std::min(length, m_buffer.size());
        std::copy_n(m_buffer.data(), n, static_cast<char*>(buffer));
        if (n)
            Note(" << ", m_buffer.substr(0, n));
        m_buffer.erase(0, n);
        if (read)
            *read = n;
        return m_open ? 0 : 6;
    }
    int Purge() override {
        Arrived();
        m_buffer.clear();
        ++purges;
        return 0;
    }
    int Descriptor() const override { return -1; }
    int Close() override {
        m_open = false;
        return 0;
    }
    int OpenFor(const std::string& device, platform::MessageTarget*) override {
        opened.push_back(device);
        m_open = true;
        return 0;
    }
    int Reopen(const std::string& device, const LineSettings& settings, int mode) override {
        Close();
        if (refuseReopen)
            return 2;
        opened.push_back(device);
        line = settings;
        handshaking = mode;
        m_open = true;
        return 0;
    }

    std::vector<std::string> opened;
    LineSettings line;
    int handshaking = -1;
    int purges = 0;
    bool refuseReopen = false;

private:
    struct Expected {
        std::string request;
        std::string reply;
        unsigned delayMs;
    };
    struct Pending {
        std::uint32_t at;
        std::string bytes;
    };

    static std::string Line(std::string text) {
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        return text;
    }
    // The bytes whose time has come join what waits to be read.
    void Arrived() {
        std::stable_sort(m_incoming.begin(), m_incoming.end(),
                         [](const Pending& a, const Pending& b) { return a.at < b.at; });
        while (!m_incoming.empty() && m_incoming.front().at <= m_clock.Now()) {
            m_buffer += m_incoming.front().bytes;
            m_incoming.pop_front();
        }
    }
    void Note(const char* direction, const std::string& text) {
        std::string shown = Line(text);
        shown.erase(std::remove(shown.begin(), shown.end(), protocol::kEtx), shown.end());
        m_transcript.push_back(std::to_string(m_clock.Now()) + direction + shown);
    }

    ManualClock& m_clock;
    bool m_open = true;
    std::deque<Expected> m_expected;
    std::deque<Pending> m_incoming;
    std::string m_buffer;
    Lines m_transcript;
};

inline bool ManualClock::WaitForInput(LinkPort& port, unsigned ms, bool) {
    auto* fake = dynamic_cast<FakePort*>(&port);
    const auto at = fake ? fake->NextArrival() : std::nullopt;
    if (at && *at <= m_now + ms) {
        m_now = std::max(m_now, *at);
        return true;
    }
    m_now += ms;
    return false;
}

}  // namespace linktest
