// The pipe between the sound card and a file: what building it does and does not do, and the
// order and bound of its queues, also while the card's side fills one from its own thread.
#include "sound/pipe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

using namespace sound;

namespace {
std::unique_ptr<SoundBuffer> Numbered(int n) {
    return std::make_unique<SoundBuffer>(SoundBuffer{std::uint8_t(n), std::uint8_t(n >> 8)});
}
int NumberOf(const std::unique_ptr<SoundBuffer>& buffer) {
    return buffer ? (*buffer)[0] | ((*buffer)[1] << 8) : -1;
}
auto EntriesOf(const char* folder) {
    const std::filesystem::directory_iterator entries{folder};
    return std::distance(begin(entries), end(entries));
}
}  // namespace

TEST(PipeTest, BuildingItOpensNothingAndStartsNoThreadAndItsQueuesKeepTheirOrder) {
    const auto threads = EntriesOf("/proc/self/task");
    const auto files = EntriesOf("/proc/self/fd");
    CPipe pipe;
    EXPECT_EQ(EntriesOf("/proc/self/task"), threads);
    EXPECT_EQ(EntriesOf("/proc/self/fd"), files);

    // Captured buffers queue for the file; playback takes from the other queue only, and
    // plays silence once it is empty.
    pipe.Input().Deliver(Numbered(1));
    pipe.Input().Deliver(Numbered(2));
    pipe.PlayQueue().Push(Numbered(7));
    EXPECT_EQ(NumberOf(pipe.Output().NextBuffer()), 7);
    EXPECT_EQ(pipe.Output().NextBuffer(), nullptr);
    EXPECT_EQ(NumberOf(pipe.RecordQueue().TryPop()), 1);
    EXPECT_EQ(NumberOf(pipe.RecordQueue().TryPop()), 2);
    EXPECT_EQ(pipe.RecordQueue().TryPop(), nullptr);
}

TEST(PipeTest, AFullQueueRefusesTheNextBufferAndKeepsTheOnesItHolds) {
    PointerFifo fifo;
    for (int n = 0; n < PointerFifo::kMaxCount; ++n)
        ASSERT_TRUE(fifo.Push(Numbered(n)));
    EXPECT_FALSE(fifo.Push(Numbered(20000)));
    EXPECT_EQ(NumberOf(fifo.TryPop()), 0);
    EXPECT_TRUE(fifo.Push(Numbered(20001)));
    EXPECT_EQ(fifo.Count(), static_cast<std::size_t>(PointerFifo::kMaxCount));
    int last = -1;
    while (auto buffer = fifo.TryPop())
        last = NumberOf(buffer);
    EXPECT_EQ(last, 20001);
}

TEST(PipeTest, BuffersCapturedOnTheCardsThreadArriveOnceAndInOrder) {
    CPipe pipe;
    std::thread capture([&pipe] {
        for (int n = 0; n < 30000; ++n)
            pipe.Input().Deliver(Numbered(n));
    });
    std::vector<int> written;
    auto take = [&] {
        while (auto buffer = pipe.RecordQueue().TryPop())
            written.push_back(NumberOf(buffer));
    };
    while (written.size() < 100)
        take();
    capture.join();
    take();
    // What the full queue refused is missing; nothing comes twice or out of its order.
    for (std::size_t i = 1; i < written.size(); ++i)
        ASSERT_LT(written[i - 1], written[i]) << "at " << i;
}
