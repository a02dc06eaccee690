// dump_bench [--runs R] [--bytes B]
// The simulated meter serves a memory dump of at least B bytes (3,000,000 by default) over its
// pseudo-terminal, each record as soon as it is asked for, and the program's decoder reads it
// on the port's listener thread, asking record by record as it does with a meter. Prints, for
// the best of R runs (3 by default): the dump's bytes and records, the decoder's throughput as
// a multiple of the wire rate of a meter at 38,400 baud (3,840 bytes/s), the CPU time that the
// decoder took on the listener thread, and that of the whole process (the meter included).
// Aim: at least 100 times the wire rate.

#include <time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "acquisition/dump_decoder.h"
#include "link/link_reply_state.h"
#include "link/listener_input.h"
#include "link/serial_wnd.h"
#include "meter_dump.h"
#include "platform/com_ports.h"
#include "platform/messages.h"
#include "records/record_layout.h"
#include "sim_meter.h"

using namespace acquisition;

namespace {

constexpr double kWireBytesPerSecond = 3840.0;
constexpr int kCom = 7;
constexpr const char* kModel = "QS4060_A0";
constexpr int kRecordsPerFile = 250;

// Files of a meter that logs levels, profiles and spectra, until the dump holds `bytes`.
std::vector<std::string> LargeDump(long long bytes, int& files) {
    using simmeter::MakeDumpRecord;
    std::vector<std::string> records;
    long long total = 0;
    auto add = [&](std::string record) {
        total += static_cast<long long>(record.size());
        records.push_back(std::move(record));
    };
    files = 0;
    while (total < bytes) {
        ++files;
        add(MakeDumpRecord(records::kDumpStart, 0x00, 's', 452));
        add(MakeDumpRecord(records::kDumpSetup, 0x4F, 'u', 452));
        add(MakeDumpRecord(records::kDumpSetupReport, 0x00, 'r', 452));
        for (int i = 0; i < kRecordsPerFile; ++i) {
            const auto tenths = static_cast<std::int16_t>(300 + i % 700);
            switch (i % 6) {
                case 0:
                    add(MakeDumpRecord(records::kDumpMulti, 0x87, 'm', tenths, 100, true));
                    break;
                case 1:
                    add(MakeDumpRecord(records::kDumpMulti, 0xAF, 'm', tenths, 20, true));
                    break;
                case 2:
                    add(MakeDumpRecord(records::kDumpSingle, 0x40, 'a', tenths));
                    break;
                case 3:
                    add(MakeDumpRecord(records::kDumpBlock, 0x01, 'k', tenths));
                    break;
                case 4:
                    add(MakeDumpRecord(records::kDumpDateTime, 0x00, 't', tenths));
                    break;
                default:
                    add(MakeDumpRecord(records::kDumpSingle, 0x01, 'b', tenths));
                    break;
            }
        }
        add(MakeDumpRecord(records::kDumpPause, 0x00, 'p', 452));
        add(MakeDumpRecord(records::kDumpEnd, 0x00, 'z', 452));
    }
    return records;
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Counts what the decoder writes and waits for its end.
class CountingHost : public DumpDecoderHost {
public:
    void AppendDumpBytes(std::string bytes) override {
        std::lock_guard lock(m_mutex);
        m_bytes += static_cast<long long>(bytes.size());
        ++m_records;
    }
    void DumpProgress(int, int) override {}
    void DumpFinished(std::string message) override {
        std::lock_guard lock(m_mutex);
        m_message = std::move(message);
        m_finished = true;
        m_changed.notify_all();
    }
    bool WaitFinished(std::chrono::seconds limit) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] { return m_finished; });
    }
    long long Bytes() const {
        std::lock_guard lock(m_mutex);
        return m_bytes;
    }
    long long Records() const {
        std::lock_guard lock(m_mutex);
        return m_records;
    }
    std::string Message() const {
        std::lock_guard lock(m_mutex);
        return m_message;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    long long m_bytes = 0;
    long long m_records = 0;
    bool m_finished = false;
    std::string m_message;
};

// The listener posts nothing while it leaves the bytes to the decoder.
class QuietOwner : public platform::MessageTarget {
public:
    void OnMessage(unsigned, std::uintptr_t, std::intptr_t) override {}
};

struct Run {
    double seconds = 0;
    double decoderCpu = 0;
    double processCpu = 0;
    long long written = 0;
    long long records = 0;
    bool complete = false;
};

Run Download(const std::vector<std::string>& records, int files) {
    Run run;
    simmeter::SimMeter meter;
    meter.Modify([&](simmeter::MeterState& state) {
        state.dumpFiles = files;
        state.dump.records = records;
    });
    platform::SetComDevice(kCom, meter.SlavePath());

    auto link = std::make_shared<LinkReplyState>();
    CountingHost host;
    DumpDecoder decoder(*link, host);
    decoder.PrepareDownload();
    decoder.Start(files, kModel, false);
    double decoderCpu = 0;  // the listener thread's alone until the download ends
    link->SetDumpDecoder([&](ListenerInput& input) {
        const double before = ThreadCpuSeconds();
        decoder.Decode(input);
        decoderCpu += ThreadCpuSeconds() - before;
    });

    QuietOwner owner;
    CSerialWnd port(link, 0);
    if (port.Open("COM" + std::to_string(kCom), &owner, 0, 0, 2048, 2048) != 0 ||
        port.Setup(38400) != 0) {
        std::fprintf(stderr, "cannot open the meter's terminal %s\n", meter.SlavePath().c_str());
        return run;
    }
    link->dumpMode = TRUE;
    link->receiveEnabled = TRUE;

    const double cpuBefore = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    port.WriteString("DMP:NE\r\n");
    run.complete = host.WaitFinished(std::chrono::seconds(600)) && host.Message().empty();
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.processCpu = ProcessCpuSeconds() - cpuBefore;
    port.Close();
    run.decoderCpu = decoderCpu;
    run.written = host.Bytes();
    run.records = host.Records();
    platform::ClearComDevices();
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    long long bytes = 3000000;
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--bytes")
            bytes = std::max(1LL, std::atoll(argv[i + 1]));
    }

    int files = 0;
    const std::vector<std::string> records = LargeDump(bytes, files);
    long long sent = 0;
    for (const std::string& record : records)
        sent += static_cast<long long>(record.size());

    Run best;
    for (int i = 0; i < runs; ++i) {
        const Run run = Download(records, files);
        if (!run.complete || run.records != static_cast<long long>(records.size())) {
            std::fprintf(stderr, "run %d: the download did not end whole (%lld of %zu records)\n",
                         i + 1, run.records, records.size());
            return 1;
        }
        if (i == 0 || run.seconds < best.seconds)
            best = run;
    }

    const double wireSeconds = static_cast<double>(sent) / kWireBytesPerSecond;
    std::printf("dump: %lld bytes sent, %zu records in %d files, %lld bytes written\n", sent,
                records.size(), files, best.written);
    std::printf("wire at 38400 baud: %.1f s\n", wireSeconds);
    std::printf("decoded in %.3f s (best of %d): %.2f MB/s, %.0f x the wire rate\n", best.seconds,
                runs, static_cast<double>(sent) / best.seconds / 1e6, wireSeconds / best.seconds);
    std::printf(
        "CPU: decoder on the listener thread %.3f s (%.0f x the wire rate), whole "
        "process with the meter %.3f s\n",
        best.decoderCpu, wireSeconds / best.decoderCpu, best.processCpu);
    std::printf("aim: at least 100 x the wire rate: %s\n",
                wireSeconds / best.seconds >= 100 ? "met" : "NOT met");
    return 0;
}
