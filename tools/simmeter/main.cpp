// simmeter [--baud N] [--model TEXT] [--preset NAME] [--modem connect|busy|nocarrier|silent]:
// serves a simulated meter on a pseudo-terminal
// until it is killed. The first line on standard output is the slave path to open as the COM port.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "modem_responder.h"
#include "sim_meter.h"

int main(int argc, char** argv) {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    // Blocked before the meter's thread starts, so that only sigwait below receives them.
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    simmeter::SimMeter meter;
    std::shared_ptr<simmeter::ModemResponder> modem;
    using Dial = simmeter::ModemResponder::Dial;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--baud") == 0) {
            meter.SetBaud(std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--model") == 0) {
            meter.SetSetting("INSTR_M", argv[i + 1]);
        } else if (std::strcmp(argv[i], "--preset") == 0 &&
                   simmeter::FindModelPreset(argv[i + 1])) {
            const simmeter::ModelPreset& preset = *simmeter::FindModelPreset(argv[i + 1]);
            meter.Modify([&preset](simmeter::MeterState& s) { ApplyModelPreset(s, preset); });
        } else if (std::strcmp(argv[i], "--modem") == 0) {
            const std::string outcome = argv[i + 1];
            modem = simmeter::ModemResponder::Create();
            modem->SetDialOutcome(outcome == "busy"        ? Dial::Busy
                                  : outcome == "nocarrier" ? Dial::NoCarrier
                                  : outcome == "silent"    ? Dial::NoAnswer
                                                           : Dial::Connect);
            modem->InstallOn(meter);
        } else {
            std::fprintf(stderr,
                         "usage: simmeter [--baud N] [--model TEXT] [--preset NAME] "
                         "[--modem connect|busy|nocarrier|silent]\n");
            return 2;
        }
    }
    std::printf("%s\n", meter.SlavePath().c_str());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    return 0;
}
