#pragma once
// Shared by the acquisition tests: running the Python references beside them, reading whole
// files, and FIFOs that no reader may wait on.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace acqtest {

inline int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline bool HasProgram(const std::string& name) {
    return Shell("command -v " + name + " >/dev/null 2>&1") == 0;
}

// python3 with a script of this folder and its arguments; its exit status.
inline int RunReference(const std::string& script, const std::string& arguments,
                        const std::string& output = "/dev/null") {
    return Shell("python3 " KX9_ACQUISITION_TEST_DIR "/" + script + " " + arguments + " >" +
                 output + " 2>&1");
}

inline std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

inline std::string Bytes(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A writer that opens the FIFOs after a while, and again until it is stopped: a reader that
// waited for one would otherwise wait for ever. Stop() tells whether it had to come.
class LateFifoWriter {
public:
    explicit LateFifoWriter(std::vector<std::string> fifos)
        : m_thread([this, fifos = std::move(fifos), stop = m_stop.get_future()] {
              if (stop.wait_for(std::chrono::seconds(5)) == std::future_status::ready)
                  return;
              m_came = true;
              do
                  for (const std::string& fifo : fifos)
                      if (const int writer =
                              ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                          writer >= 0)
                          ::close(writer);
              while (stop.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready);
          }) {}
    ~LateFifoWriter() { Stop(); }
    LateFifoWriter(const LateFifoWriter&) = delete;
    LateFifoWriter& operator=(const LateFifoWriter&) = delete;

    bool Stop() {
        if (m_thread.joinable()) {
            m_stop.set_value();
            m_thread.join();
        }
        return m_came;
    }

private:
    std::promise<void> m_stop;
    std::atomic<bool> m_came = false;
    std::thread m_thread;
};

}  // namespace acqtest

#define SKIP_WITHOUT(program)          \
    if (!acqtest::HasProgram(program)) \
    GTEST_SKIP() << program " is not installed"
