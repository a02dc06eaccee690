#include "sim_meter.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>

#include "platform/clock.h"
#include "platform/text.h"
#include "transcript.h"

namespace simmeter {

namespace {

speed_t SpeedOf(int baud) {
    switch (baud) {
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return B0;
    }
}

void SetCloseOnExec(int fd) {
    ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

}  // namespace

SimMeter::SimMeter() {
    char name[256] = {};
    termios raw{};
    ::cfmakeraw(&raw);
    ::cfsetspeed(&raw, B9600);
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    m_slavePath = name;
    SetCloseOnExec(m_master);
    SetCloseOnExec(m_slave);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    LoadInitialSettings(m_state);
    m_thread = std::thread([this] { Run(); });
}

SimMeter::~SimMeter() {
    m_stop = true;
    Wake();
    if (m_thread.joinable())
        m_thread.join();
    ::close(m_wake);
    ::close(m_slave);
    ::close(m_master);
}

void SimMeter::Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wake, &one, sizeof one);
}

void SimMeter::SetBaud(int baud) {
    std::lock_guard lock(m_mutex);
    m_state.baud = baud;
}

int SimMeter::Baud() const {
    std::lock_guard lock(m_mutex);
    return m_state.baud;
}

void SimMeter::SetSetting(const std::string& key, const std::string& value) {
    std::lock_guard lock(m_mutex);
    m_state.settings[key] = value;
}

std::string SimMeter::Setting(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_state.settings.find(key);
    return it == m_state.settings.end() ? std::string() : it->second;
}

void SimMeter::Modify(const std::function<void(MeterState&)>& change) {
    std::lock_guard lock(m_mutex);
    change(m_state);
}

void SimMeter::AddResponder(Responder responder, bool front) {
    std::lock_guard lock(m_mutex);
    if (front)
        m_front.insert(m_front.begin(), std::move(responder));
    else
        m_back.push_back(std::move(responder));
}

void SimMeter::SetWireStage(std::shared_ptr<WireStage> stage) {
    {
        std::lock_guard lock(m_mutex);
        m_stage = std::move(stage);
    }
    Wake();
}

void SimMeter::Override(std::string linePrefix, int times, Bend bend) {
    std::lock_guard lock(m_mutex);
    m_overrides.push_back({std::move(linePrefix), times, std::move(bend)});
}

void SimMeter::RefuseNext(std::string linePrefix, int times) {
    Override(std::move(linePrefix), times, [](const std::string&, std::optional<Reply>) {
        return std::optional<Reply>(Reply{std::string{kNak, kEtx}});
    });
}

void SimMeter::SilenceNext(std::string linePrefix, int times) {
    Override(std::move(linePrefix), times, [](const std::string&, std::optional<Reply>) {
        return std::optional<Reply>(Silence());
    });
}

void SimMeter::DelayNext(std::string linePrefix, int programMs, int times) {
    Override(std::move(linePrefix), times,
             [programMs](const std::string&, std::optional<Reply> normal) {
                 if (normal)
                     normal->delayMs = programMs;
                 return normal;
             });
}

void SimMeter::SplitNext(std::string linePrefix, int pieces, int gapMs, int times) {
    Override(std::move(linePrefix), times,
             [pieces, gapMs](const std::string&, std::optional<Reply> normal) {
                 if (normal) {
                     normal->pieces = pieces;
                     normal->pieceGapMs = gapMs;
                 }
                 return normal;
             });
}

void SimMeter::AnswerNext(std::string linePrefix, std::string bytes, int times) {
    Override(std::move(linePrefix), times, [bytes](const std::string&, std::optional<Reply>) {
        return std::optional<Reply>(Reply{bytes});
    });
}

void SimMeter::ClearOverrides() {
    std::lock_guard lock(m_mutex);
    m_overrides.clear();
}

void SimMeter::Send(const std::string& bytes) {
    {
        std::lock_guard lock(m_mutex);
        Schedule(Reply{bytes});
    }
    Wake();
}

std::string SimMeter::Received() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

std::vector<std::string> SimMeter::Lines() const {
    std::lock_guard lock(m_mutex);
    return m_lines;
}

std::vector<std::uint32_t> SimMeter::LineTicks() const {
    std::lock_guard lock(m_mutex);
    return m_lineTicks;
}

size_t SimMeter::LineCount() const {
    std::lock_guard lock(m_mutex);
    return m_lines.size();
}

bool SimMeter::WaitForLines(size_t count, int realMs) const {
    std::unique_lock lock(m_mutex);
    return m_lineArrived.wait_for(lock, std::chrono::milliseconds(realMs),
                                  [&] { return m_lines.size() >= count; });
}

void SimMeter::ClearLog() {
    std::lock_guard lock(m_mutex);
    m_received.clear();
    m_lines.clear();
    m_lineTicks.clear();
}

std::vector<std::string> SimMeter::Transcript() const {
    std::lock_guard lock(m_mutex);
    return m_transcript;
}

void SimMeter::ClearTranscript() {
    std::lock_guard lock(m_mutex);
    m_transcript.clear();
}

void SimMeter::SetTranscriptSink(std::function<void(const std::string&)> sink) {
    std::lock_guard lock(m_mutex);
    m_transcriptSink = std::move(sink);
}

void SimMeter::Note(std::string entry) {
    if (m_transcriptSink)
        m_transcriptSink(entry);
    m_transcript.push_back(std::move(entry));
}

void SimMeter::Run() {
    while (!m_stop) {
        short masterEvents = POLLIN;
        {
            std::lock_guard lock(m_mutex);
            if (!m_writing.empty())
                masterEvents |= POLLOUT;
        }
        pollfd fds[2] = {{m_master, masterEvents, 0}, {m_wake, POLLIN, 0}};
        const int r = ::poll(fds, 2, NextDueRealMs());
        if (r < 0 && errno != EINTR)
            break;
        if (fds[1].revents & POLLIN) {
            std::uint64_t count;
            [[maybe_unused]] const ssize_t n = ::read(m_wake, &count, sizeof count);
        }
        if (m_stop)
            break;
        // A stage's deadline that passed while we slept comes before the bytes that woke us.
        ServeStageDeadline();
        if (fds[0].revents & POLLIN)
            ReadInput();
        ServeStageDeadline();
        FlushDue();
    }
}

void SimMeter::ReadInput() {
    char buffer[512];
    std::lock_guard lock(m_mutex);
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n > 0)
        OnBytesLocked(buffer, static_cast<size_t>(n));
}

bool SimMeter::Answered() const {
    std::lock_guard lock(m_mutex);
    // Polling the terminal also moves on bytes the kernel still held for it.
    pollfd probe{m_master, POLLIN, 0};
    if (::poll(&probe, 1, 0) > 0 && (probe.revents & POLLIN))
        return false;
    if (!m_writing.empty())
        return false;
    const std::uint32_t now = platform::Clock::TickCount();
    auto due = [now](std::uint32_t at) { return static_cast<std::int32_t>(at - now) <= 0; };
    if (!m_outgoing.empty() && due(m_outgoing.front().due))
        return false;
    if (m_stage)
        if (const auto deadline = m_stage->Deadline(); deadline && due(*deadline))
            return false;
    return true;
}

bool SimMeter::AllAnswered() const {
    if (!Answered())
        return false;
    std::lock_guard lock(m_mutex);
    return m_outgoing.empty() && m_writing.empty();
}

void SimMeter::OnBytesLocked(const char* data, size_t size) {
    m_received.append(data, size);
    if (m_stage)
        m_partial += m_stage->OnBytes(std::string(data, size), platform::Clock::TickCount(),
                                      [this](const Reply& reply) { Schedule(reply); });
    else
        m_partial.append(data, size);
    for (;;) {
        const auto end = m_partial.find("\r\n");
        if (end == std::string::npos)
            break;
        std::string line = m_partial.substr(0, end);
        m_partial.erase(0, end + 2);
        m_lines.push_back(line);
        m_lineTicks.push_back(platform::Clock::TickCount());
        Note(HeardEntry(line));
        m_lineArrived.notify_all();
        Answer(line);
    }
}

bool SimMeter::SpeedMatchesLocked() const {
    if (m_state.baud == 0)
        return true;
    termios tio{};
    if (::tcgetattr(m_master, &tio) != 0)
        return false;
    return ::cfgetospeed(&tio) == SpeedOf(m_state.baud);
}

void SimMeter::Answer(const std::string& line) {
    if (!m_stage && !SpeedMatchesLocked())
        return;
    std::optional<Reply> reply;
    auto ask = [&](const std::vector<Responder>& responders) {
        for (const auto& responder : responders) {
            if (reply)
                return;
            reply = responder(line, m_state);
        }
    };
    ask(m_front);
    ask({AnswerCalibration, AnswerProtected, AnswerSetting, AnswerState, AnswerDump, AnswerKey});
    ask(m_back);
    ask({Refuse});

    for (auto it = m_overrides.begin(); it != m_overrides.end(); ++it) {
        if (!platform::StartsWith(line, it->prefix))
            continue;
        reply = it->bend(line, reply);
        if (it->times > 0 && --it->times == 0)
            m_overrides.erase(it);
        break;
    }
    if (reply)
        Schedule(*reply);
}

void SimMeter::Schedule(const Reply& reply) {
    if (reply.bytes.empty())
        return;
    for (std::string& entry : SaidEntries(reply.bytes, reply.binary))
        Note(std::move(entry));
    std::uint32_t due = platform::Clock::TickCount() + static_cast<std::uint32_t>(reply.delayMs);
    // Answers leave in the order they were given.
    if (!m_outgoing.empty())
        due = std::max(due, m_outgoing.back().due);
    const size_t pieces = static_cast<size_t>(std::clamp(reply.pieces, 1, 1 << 16));
    const size_t size = reply.bytes.size();
    for (size_t i = 0, start = 0; i < pieces && start < size; ++i) {
        const size_t end = i + 1 == pieces ? size : std::max(start + 1, size * (i + 1) / pieces);
        m_outgoing.push_back({due, reply.bytes.substr(start, end - start)});
        start = end;
        due += static_cast<std::uint32_t>(reply.pieceGapMs);
    }
}

int SimMeter::NextDueRealMs() const {
    std::lock_guard lock(m_mutex);
    const std::uint32_t now = platform::Clock::TickCount();
    std::optional<std::int32_t> left;
    auto consider = [&](std::uint32_t due) {
        const auto span = static_cast<std::int32_t>(due - now);
        left = left ? std::min(*left, span) : span;
    };
    // A write the terminal has not taken yet brings us back through POLLOUT.
    if (!m_outgoing.empty() && m_writing.empty())
        consider(m_outgoing.front().due);
    if (m_stage)
        if (const auto deadline = m_stage->Deadline())
            consider(*deadline);
    if (!left)
        return -1;
    return *left <= 0 ? 0 : platform::Clock::ToRealMs(*left);
}

void SimMeter::ServeStageDeadline() {
    std::lock_guard lock(m_mutex);
    if (!m_stage)
        return;
    const std::uint32_t now = platform::Clock::TickCount();
    const auto deadline = m_stage->Deadline();
    if (deadline && static_cast<std::int32_t>(*deadline - now) <= 0)
        m_stage->OnTime(now, [this](const Reply& reply) { Schedule(reply); });
}

void SimMeter::FlushDue() {
    std::lock_guard lock(m_mutex);
    for (;;) {
        if (m_writing.empty()) {
            if (m_outgoing.empty())
                return;
            const std::int32_t left =
                static_cast<std::int32_t>(m_outgoing.front().due - platform::Clock::TickCount());
            if (left > 0)
                return;
            m_writing = std::move(m_outgoing.front().bytes);
            m_outgoing.pop_front();
        }
        const ssize_t n = ::write(m_master, m_writing.data(), m_writing.size());
        if (n <= 0)
            return;  // the terminal is full; POLLOUT brings us back
        m_writing.erase(0, static_cast<size_t>(n));
    }
}

}  // namespace simmeter
