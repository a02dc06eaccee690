#include <gtest/gtest.h>
#include <linux/futex.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "link/link_test_support.h"
#include "link/listener_input.h"
#include "link/serial_wnd.h"
#include "platform/com_ports.h"
#include "sim_meter.h"
#include "support/test_env.h"

using linktest::PumpUntil;

namespace {

constexpr std::intptr_t kLParam = 42;

class ListenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetComDevice(7, meter.SlavePath());
        ASSERT_EQ(port.Open("COM7", &owner, 0, kLParam, 2048, 2048), 0);
        ASSERT_EQ(port.Setup(38400), 0);
    }
    void TearDown() override { platform::ClearComDevices(); }

    std::string ReadNow() {
        char buffer[64];
        size_t n = 0;
        port.Read(buffer, sizeof buffer, &n);
        return std::string(buffer, n);
    }

    platform::ScopedClockSpeed fast{100.0};
    simmeter::SimMeter meter;
    std::shared_ptr<LinkReplyState> link = std::make_shared<LinkReplyState>();
    linktest::RecordingOwner owner{*link};
    CSerialWnd port{link, 0};
};

// The bytes that wait in a port, unread.
int Waiting(const CSerial& port) {
    int bytes = -1;
    ::ioctl(port.Descriptor(), FIONREAD, &bytes);
    return bytes;
}

std::set<pid_t> Threads() {
    std::set<pid_t> ids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        ids.insert(std::stoi(entry.path().filename().string()));
    return ids;
}

std::string ThreadFile(pid_t id, const char* name) {
    std::ifstream in("/proc/self/task/" + std::to_string(id) + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Whether thread `id` sleeps in a wait that nothing but an event ends: asleep, in poll without
// a time-out or on a futex without one (a condition variable). A thread that spins is running
// or runnable, and one that polls now and then waits with a time-out.
bool SleepsUntilWoken(pid_t id) {
    const std::string stat = ThreadFile(id, "stat");
    const size_t name = stat.rfind(')');
    if (name == std::string::npos || stat.compare(name + 1, 3, " S ") != 0)
        return false;
    std::istringstream call(ThreadFile(id, "syscall"));
    long number = -1;
    std::vector<unsigned long> args;
    call >> number;
    for (std::string word; call >> word && args.size() < 6;)
        args.push_back(std::stoul(word, nullptr, 16));
    if (args.size() < 6)
        return false;
    switch (number) {
#ifdef SYS_poll
        case SYS_poll:
            return static_cast<int>(args[2]) < 0;
#endif
        case SYS_ppoll:
            return args[2] == 0;
        case SYS_futex: {
            const unsigned long command = args[1] & FUTEX_CMD_MASK;
            return (command == FUTEX_WAIT || command == FUTEX_WAIT_BITSET) && args[3] == 0;
        }
        default:
            return false;
    }
}

}  // namespace

TEST_F(ListenerTest, DeliversOneReplyPerAwaitAndAssemblesItsPiecesInOrder) {
    link->receiveEnabled = TRUE;
    meter.Send("first\x03second\x03");
    ASSERT_TRUE(PumpUntil([&] { return owner.deliveries.size() == 1; }));
    EXPECT_EQ(owner.deliveries[0].reply, "first\x03");
    EXPECT_EQ(owner.deliveries[0].wParam, 1u);
    EXPECT_EQ(owner.deliveries[0].lParam, kLParam);
    EXPECT_FALSE(link->receiveEnabled);

    // The second reply waits in the port, whole, while none is awaited.
    ASSERT_TRUE(PumpUntil([&] { return Waiting(port) == 7; }));
    EXPECT_EQ(owner.deliveries.size(), 1u);
    link->receiveEnabled = TRUE;
    ASSERT_TRUE(PumpUntil([&] { return owner.deliveries.size() == 2; }));
    EXPECT_EQ(owner.deliveries[1].reply, "second\x03");

    owner.rearm = true;
    link->receiveEnabled = TRUE;
    meter.SplitNext("STT:ACQ:?", 5, 20);
    port.WriteString("STT:ACQ:?\r\n");
    port.WriteString("SET:INSTR_N:?\r\n");
    ASSERT_TRUE(PumpUntil([&] { return owner.deliveries.size() == 4; }));
    EXPECT_EQ(owner.deliveries[2].reply, "STT:ACQUISITION:STOP\x03");
    EXPECT_EQ(owner.deliveries[3].reply, "SET:INSTR_NUMBER:A12345\x03");
}

TEST_F(ListenerTest, ReplyOf1023CharactersIsWholeAndThe1024thWithoutEtxOverflows) {
    owner.rearm = true;
    link->receiveEnabled = TRUE;
    const std::string longest(1023, 'a');
    meter.Send(longest + "\x03");
    ASSERT_TRUE(PumpUntil([&] { return owner.deliveries.size() == 1; }));
    EXPECT_EQ(owner.deliveries[0].reply, longest + "\x03");
    EXPECT_TRUE(owner.alarms.empty());

    meter.Send(std::string(1024, 'b') + "tail\x03");
    ASSERT_TRUE(PumpUntil([&] { return owner.deliveries.size() == 2; }));
    ASSERT_EQ(owner.alarms.size(), 1u);
    EXPECT_EQ(owner.alarms[0].kind, LinkAlarm::Kind::BufferFull);
    EXPECT_EQ(owner.deliveries[1].reply, "tail\x03");
}

TEST_F(ListenerTest, BytesNobodyAwaitsStayInThePort) {
    meter.Send("direct\x03");
    ASSERT_TRUE(PumpUntil([&] { return Waiting(port) == 7; }));
    EXPECT_EQ(ReadNow(), "direct\x03");

    // Nor does a port that is not the link's current reader take them.
    link->SetCurrentReader(1);
    link->receiveEnabled = TRUE;
    meter.Send("other\x03");
    ASSERT_TRUE(PumpUntil([&] { return Waiting(port) == 6; }));
    EXPECT_EQ(ReadNow(), "other\x03");
    EXPECT_TRUE(owner.deliveries.empty());
}

TEST_F(ListenerTest, IdleListenerSleepsWithoutSpinning) {
    // One listener in its wait for bytes, one asleep while nothing is awaited.
    simmeter::SimMeter second;
    platform::SetComDevice(9, second.SlavePath());
    ASSERT_EQ(port.Close(), 0);
    const std::set<pid_t> others = Threads();
    ASSERT_EQ(port.Open("COM7", &owner), 0);
    CSerialWnd parked{link, 1};
    ASSERT_EQ(parked.Open("COM9", &owner), 0);
    std::vector<pid_t> listeners;
    for (pid_t id : Threads())
        if (!others.count(id))
            listeners.push_back(id);
    ASSERT_EQ(listeners.size(), 2u);

    link->receiveEnabled = TRUE;
    meter.Send("x");  // bytes that never make a reply keep the first listener busy, if anything
    second.Send("unwanted");
    // The first took its byte, the second leaves its bytes alone; then both sleep until woken.
    ASSERT_TRUE(PumpUntil([&] { return Waiting(port) == 0 && Waiting(parked) == 8; }));
    for (pid_t id : listeners)
        EXPECT_TRUE(PumpUntil([id] { return SleepsUntilWoken(id); })) << ThreadFile(id, "syscall");
}

TEST_F(ListenerTest, NoCarrierEndsTheListenerAndLeavesThePortOpen) {
    link->receiveEnabled = TRUE;
    meter.Send("\r\nNO CARRIER\r\n");
    ASSERT_TRUE(PumpUntil([&] { return !owner.alarms.empty(); }));
    EXPECT_EQ(owner.alarms[0].kind, LinkAlarm::Kind::NoCarrier);
    EXPECT_EQ(owner.alarms[0].text, "\r\nNO CARRIER");
    ASSERT_TRUE(PumpUntil([&] { return !port.ListenerRunning(); }));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Close(), 0);
}

TEST_F(ListenerTest, CloseEndsAListenerAsleepOrWaitingForBytes) {
    EXPECT_TRUE(port.ListenerRunning());
    EXPECT_EQ(port.Close(), 0);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.ListenerRunning());

    ASSERT_EQ(port.Open("COM7", &owner), 0);
    link->receiveEnabled = TRUE;
    EXPECT_EQ(port.Close(), 0);
    EXPECT_FALSE(port.ListenerRunning());
    EXPECT_EQ(port.Open("COM7", &owner), 0);
}

TEST_F(ListenerTest, DumpModeLeavesTheBytesToTheDecoderWhichClosingNeverWaitsFor) {
    link->dumpMode = TRUE;
    link->receiveEnabled = TRUE;
    meter.Send("\x01\x02\x03");
    // No decoder yet: nobody reads them.
    ASSERT_TRUE(PumpUntil([&] { return Waiting(port) == 3; }));
    EXPECT_TRUE(owner.deliveries.empty());

    std::string decoded;
    std::atomic<int> calls{0};
    std::atomic<bool> waitStopped{false};
    link->SetDumpDecoder([&](ListenerInput& input) {
        char buffer[64];
        size_t n = 0;
        input.ReadArrived(buffer, sizeof buffer, &n);
        decoded.append(buffer, n);
        ++calls;
        // Then a meter that says nothing more: a wait far longer than the test.
        if (input.WaitForInput(10'000'000) == ListenerInput::Wait::Stopped)
            waitStopped = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return calls.load() > 0; }));
    port.Close();
    // Ended by the close, not run out.
    EXPECT_TRUE(waitStopped);
    EXPECT_EQ(decoded, "\x01\x02\x03");
    EXPECT_TRUE(owner.deliveries.empty());
}
