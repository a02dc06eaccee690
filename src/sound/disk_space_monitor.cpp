#include "sound/disk_space_monitor.h"

#include <sys/statvfs.h>

#include <chrono>

#include "platform/clock.h"
#include "platform/messages.h"

namespace sound {

namespace {
constexpr std::uint64_t kBytesPerMb = 1000000;
}

bool CNGDiskSpaceMonitor::MeasureFreeSpace(const std::string& path, std::uint64_t& freeBytes) {
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0)
        return false;
    freeBytes = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    return true;
}

bool CNGDiskSpaceMonitor::StartMonitoring(const std::string& path, std::uint64_t thresholdMb,
                                          platform::MessageTarget* target, unsigned message, int id,
                                          int /*priority*/) {
    std::uint64_t freeBytes = 0;
    if (m_thread.joinable() || !MeasureFreeSpace(path, freeBytes))
        return false;
    m_below = false;
    m_stop = false;
    Measure(path, thresholdMb, target, message, id);
    m_thread = std::thread(&CNGDiskSpaceMonitor::Run, this, path, thresholdMb, target, message, id);
    return true;
}

void CNGDiskSpaceMonitor::StopMonitoring() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CNGDiskSpaceMonitor::Run(std::string path, std::uint64_t thresholdMb,
                              platform::MessageTarget* target, unsigned message, int id) {
    const auto interval = std::chrono::milliseconds(platform::Clock::ToRealMs(kIntervalMs));
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, interval, [this] { return m_stop; })) {
        lock.unlock();
        Measure(path, thresholdMb, target, message, id);
        lock.lock();
    }
}

void CNGDiskSpaceMonitor::Measure(const std::string& path, std::uint64_t thresholdMb,
                                  platform::MessageTarget* target, unsigned message, int id) {
    std::uint64_t freeBytes = 0;
    if (!MeasureFreeSpace(path, freeBytes))
        return;
    m_freeBytes = freeBytes;
    const bool below = freeBytes / kBytesPerMb < thresholdMb;
    if (below && !m_below && target)
        platform::PostMessage(target, message, static_cast<std::uintptr_t>(id),
                              static_cast<std::intptr_t>(freeBytes / kBytesPerMb));
    m_below = below;
}

}  // namespace sound
