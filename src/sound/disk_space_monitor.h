#pragma once
// Watches the free space of the file system that holds a path, so that a recording can stop
// before the disk is full: a thread measures it every 100 ms of program time and posts a
// message to a window each time the space falls below a threshold.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace platform {
class MessageTarget;
}

namespace sound {

class CNGDiskSpaceMonitor {
public:
    static constexpr unsigned kIntervalMs = 100;

    CNGDiskSpaceMonitor() = default;
    ~CNGDiskSpaceMonitor() { StopMonitoring(); }
    CNGDiskSpaceMonitor(const CNGDiskSpaceMonitor&) = delete;
    CNGDiskSpaceMonitor& operator=(const CNGDiskSpaceMonitor&) = delete;

    // Measures once and starts the thread. Below `thresholdMb` free megabytes `message` goes
    // to `target` (nullptr: none) with `id` as its first parameter and the free megabytes as
    // its second, once each time the space falls below. The thread's priority is the system's
    // (`priority` is accepted for the callers' sake). False when the path cannot be measured
    // or the monitor runs already.
    bool StartMonitoring(const std::string& path, std::uint64_t thresholdMb,
                         platform::MessageTarget* target, unsigned message, int id,
                         int priority = 0);
    // The free bytes last measured; 0 before the first measurement.
    std::uint64_t GetFreeSpace() const { return m_freeBytes.load(); }
    void StopMonitoring();

    // The free bytes of the file system of `path`; false when it cannot be measured.
    static bool MeasureFreeSpace(const std::string& path, std::uint64_t& freeBytes);

private:
    void Run(std::string path, std::uint64_t thresholdMb, platform::MessageTarget* target,
             unsigned message, int id);
    // Measures, and posts when the space fell below the threshold.
    void Measure(const std::string& path, std::uint64_t thresholdMb,
                 platform::MessageTarget* target, unsigned message, int id);

    std::atomic<std::uint64_t> m_freeBytes{0};
    bool m_below = false;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
};

}  // namespace sound
