// A memory download and the user-interface thread on one line: the decoder asks for records on
// the listener thread while the session writes from another, and the wire shows each line
// whole, one after the other. The port here is in memory and writes byte by byte; the test
// holds one thread in the middle of its line and lets the other one go, so the outcome does not
// depend on timing.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "acquisition/dump_decoder.h"
#include "acquisition/dump_records.h"
#include "link/command_codes.h"
#include "link/link_fakes.h"
#include "link/link_session.h"
#include "link/listener_input.h"
#include "link/quiet_link_host.h"

using namespace acquisition;

namespace {

// A record of `length` bytes of type `type`, as the dump has them.
std::string Record(unsigned char type, int length) {
    return acqtest::DumpRecord(type, 0x00, length);
}

// Writes one byte at a time to the wire. A write that begins with `pausedLine` stops after
// `pausedAfter` of its bytes until released; a second writer inside the port is noted.
class WirePort : public LinkPort {
public:
    bool IsOpen() const override { return true; }
    int Descriptor() const override { return -1; }
    int Close() override { return 0; }
    int OpenFor(int, platform::MessageTarget*) override { return 0; }
    int SetUp(const PortSettings&) override { return 0; }
    int Reopen(const PortSettings&) override { return 0; }

    void Arrive(const std::string& bytes) {
        std::lock_guard lock(m_mutex);
        m_incoming += bytes;
    }
    bool HasInput() {
        std::lock_guard lock(m_mutex);
        return !m_incoming.empty();
    }
    std::string Wire() {
        std::lock_guard lock(m_mutex);
        return m_wire;
    }
    void PauseLine(const std::string& line, size_t after) {
        m_pausedLine = line;
        m_pausedAfter = after;
    }
    // Until a paused write stands in the middle of its line.
    void AwaitPaused() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_paused; });
    }
    void Release() {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }
    bool SawTwoWriters() const { return m_twoWriters; }
    int WritersInside() const { return m_inside; }

protected:
    int WriteBytes(const std::string& text, size_t* written) override {
        if (++m_inside > 1)
            m_twoWriters = true;
        const bool pauses = !m_pausedLine.empty() && text.rfind(m_pausedLine, 0) == 0;
        for (size_t at = 0; at < text.size(); ++at) {
            std::unique_lock lock(m_mutex);
            if (pauses && at == m_pausedAfter) {
                m_paused = true;
                m_changed.notify_all();
                m_changed.wait(lock, [this] { return m_released; });
            }
            m_wire += text[at];
        }
        --m_inside;
        if (written)
            *written = text.size();
        return 0;
    }
    int ReadBytes(void* buffer, size_t length, size_t* read) override {
        std::lock_guard lock(m_mutex);
        const std::string taken = m_incoming.substr(0, length);
        m_incoming.erase(0, taken.size());
        taken.copy(static_cast<char*>(buffer), taken.size());
        if (read)
            *read = taken.size();
        return 0;
    }
    int PurgeBytes() override {
        std::lock_guard lock(m_mutex);
        m_incoming.clear();
        return 0;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_incoming;
    std::string m_wire;
    std::string m_pausedLine;
    size_t m_pausedAfter = 0;
    bool m_paused = false;
    bool m_released = false;
    std::atomic<int> m_inside{0};
    std::atomic<bool> m_twoWriters{false};
};

// The listener's input without waits: input is there or it is not.
class InstantInput : public ListenerInput {
public:
    explicit InstantInput(WirePort& port) : ListenerInput(port), m_port(port) {}
    Wait WaitForInput(unsigned) override { return m_port.HasInput() ? Wait::Input : Wait::Timeout; }
    bool Pause(unsigned) override { return true; }

private:
    WirePort& m_port;
};

class NoFile : public DumpDecoderHost {
public:
    void AppendDumpBytes(std::string) override {}
    void DumpProgress(int, int) override {}
    void DumpFinished(std::string) override {}
};

// A clock whose sleeps may let another thread in at a chosen moment.
class HookedClock : public linktest::ManualClock {
public:
    void Sleep(unsigned ms) override {
        if (beforeSleep)
            beforeSleep();
        ManualClock::Sleep(ms);
    }
    std::function<void()> beforeSleep;
};

class DumpLineTest : public ::testing::Test {
protected:
    DumpLineTest() {
        host.modemLink = 1;
        decoder.PrepareDownload();
        decoder.Start(2, "QS4060_A0$1", false);
        session.SharedState()->dumpMode = TRUE;
    }

    // Until `done` holds; no time limit, as each test only waits for what the other thread
    // surely does.
    static void Await(const std::function<bool()>& done) {
        while (!done())
            std::this_thread::yield();
    }

    HookedClock clock;
    WirePort port;
    InstantInput input{port};
    linktest::QuietLinkHost host;
    LinkSession session{host, clock, host.Settings(), port, port};
    NoFile file;
    DumpDecoder decoder{*session.SharedState(), file};
};

}  // namespace

TEST_F(DumpLineTest, ALineWrittenWhileTheDecoderAsksGoesAfterItsRequestWhole) {
    port.Arrive(Record(0x80, 49));
    port.PauseLine("DMP:NE", 4);
    // The decoder reads the file's start and asks for the next record; its request stops on
    // the wire after "DMP:".
    std::thread listener([&] { decoder.Decode(input); });
    port.AwaitPaused();
    // Monitoring is stopped from the user-interface thread meanwhile.
    std::thread ui([&] { session.WriteCommand(command_code::kMonitorOff); });
    Await([&] { return port.TurnsWaiting() == 1 || port.WritersInside() > 1; });
    port.Release();
    listener.join();
    ui.join();

    EXPECT_EQ(port.Wire(), "DMP:NE\r\nSTT:MON:OFF\r\n");
    EXPECT_FALSE(port.SawTwoWriters());
}

TEST_F(DumpLineTest, TheDecoderWaitsForTheModemsHangUpAndAsksAgainAfterIt) {
    port.Arrive(Record(0x80, 49));
    decoder.Decode(input);
    ASSERT_EQ(port.Wire(), "DMP:NE\r\n");

    // The meter's next record is on its way as the link closes over the modem; the decoder
    // comes to read it in the guard time after "+++".
    session.SetLinkPort(LinkSide::Reference);
    port.Arrive(Record(0x60, 18));
    std::thread listener;
    clock.beforeSleep = [&] {
        if (listener.joinable() || port.Wire().find("+++") == std::string::npos)
            return;
        listener = std::thread([&] { decoder.Decode(input); });
        Await([&] { return port.TurnsWaiting() == 1 || port.Wire().size() > 11; });
    };
    session.HangUpModem();
    ASSERT_TRUE(listener.joinable());
    listener.join();

    // Nothing between the escape and the hang-up; the record went with the hang-up's purge
    // and is asked for again.
    EXPECT_EQ(port.Wire(), "DMP:NE\r\n+++ATH\rDMP:RE\r\n");
    EXPECT_FALSE(port.SawTwoWriters());
}
