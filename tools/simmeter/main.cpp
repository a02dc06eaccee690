// simmeter [--baud N] [--model TEXT] [--preset NAME]: serves a simulated meter on a pseudo-terminal
// until it is killed. The first line on standard output is the slave path to open as the COM port.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim_meter.h"

int main(int argc, char** argv) {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    // Blocked before the meter's thread starts, so that only sigwait below receives them.
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    simmeter::SimMeter meter;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--baud") == 0) {
            meter.SetBaud(std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--model") == 0) {
            meter.SetSetting("INSTR_M", argv[i + 1]);
        } else if (std::strcmp(argv[i], "--preset") == 0 &&
                   simmeter::FindModelPreset(argv[i + 1])) {
            const simmeter::ModelPreset& preset = *simmeter::FindModelPreset(argv[i + 1]);
            meter.Modify([&preset](simmeter::MeterState& s) { ApplyModelPreset(s, preset); });
        } else {
            std::fprintf(stderr, "usage: simmeter [--baud N] [--model TEXT] [--preset NAME]\n");
            return 2;
        }
    }
    std::printf("%s\n", meter.SlavePath().c_str());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    return 0;
}
