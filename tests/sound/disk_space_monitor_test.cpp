#include "sound/disk_space_monitor.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/messages.h"
#include "support/test_env.h"

using namespace sound;

namespace {
struct Posts : platform::MessageTarget {
    void OnMessage(unsigned message, std::uintptr_t id, std::intptr_t freeMb) override {
        received.push_back({message, id, freeMb});
    }
    struct Post {
        unsigned message;
        std::uintptr_t id;
        std::intptr_t freeMb;
    };
    std::vector<Post> received;
};
}  // namespace

TEST(DiskSpaceMonitorTest, MeasuresAtOnceAndTellsOnceWhenTheSpaceIsBelowTheThreshold) {
    platform::ScopedClockSpeed fast{20.0};
    testenv::ScratchFolder folder;
    Posts window;
    CNGDiskSpaceMonitor monitor;
    const auto everything = std::numeric_limits<std::uint64_t>::max();
    ASSERT_TRUE(monitor.StartMonitoring(folder.Path(), everything, &window, 0x8001, 7));
    EXPECT_GT(monitor.GetFreeSpace(), 0u);
    EXPECT_FALSE(monitor.StartMonitoring(folder.Path(), 0, &window, 0x8001, 7));
    // Ten measurements and more: still below, told once.
    platform::EventLoop::Wait(1000);
    monitor.StopMonitoring();
    platform::EventLoop::ProcessPending();
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].message, 0x8001u);
    EXPECT_EQ(window.received[0].id, 7u);
    EXPECT_GT(window.received[0].freeMb, 0);

    // Above the threshold nothing is told; a path that does not exist cannot be watched.
    Posts other;
    ASSERT_TRUE(monitor.StartMonitoring(folder.Path(), 0, &other, 0x8001, 7));
    monitor.StopMonitoring();
    platform::EventLoop::ProcessPending();
    EXPECT_TRUE(other.received.empty());
    EXPECT_FALSE(monitor.StartMonitoring(folder.File("gone/deeper"), 1, &other, 0x8001, 7));
}
