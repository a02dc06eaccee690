// simmeter [--baud N] [--model TEXT] [--preset NAME] [--serial TEXT] [--key-file PATH]
//          [--field NAME=VALUE]... [--modem connect|busy|nocarrier|silent] [--log FILE]
// Serves a simulated meter on a pseudo-terminal until it is killed. The first line on standard
// output is the slave path to open as the COM port. With --key-file (a key line
// "serial;r0;...;s255", as the web service serves it) the meter answers enciphered commands;
// each --field is a protected field it holds. When it stops it prints each protected field as
// "PROT:NAME=VALUE". With --log, the transcript of the conversation (transcript.h) goes into
// FILE line by line as it happens, so that it is whole however the meter is stopped.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "cipher/key_data.h"
#include "cipher_responder.h"
#include "modem_responder.h"
#include "platform/files.h"
#include "platform/text.h"
#include "sim_meter.h"

namespace {

constexpr const char* kUsage =
    "usage: simmeter [--baud N] [--model TEXT] [--preset NAME] [--serial TEXT]\n"
    "                [--key-file PATH] [--field NAME=VALUE]...\n"
    "                [--modem connect|busy|nocarrier|silent] [--log FILE]\n";

bool InstallKeys(simmeter::SimMeter& meter, const std::string& path,
                 std::shared_ptr<simmeter::CipherResponder>& keys) {
    platform::LineReader reader(path);
    std::string line;
    if (!reader.ReadLine(line, 8192))
        return false;
    line = platform::Remove(platform::Remove(line, '\r'), '\n');
    const auto serial = cipher::KeyLineSerial(line);
    const auto fields = serial ? cipher::KeyFieldsOf(line, *serial) : std::nullopt;
    if (!fields)
        return false;
    const cipher::KeyData key = cipher::ReadKeyFields(*fields);
    keys = simmeter::CipherResponder::Create(key.resetKeystream, key.state);
    keys->InstallOn(meter);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    // Blocked before the meter's thread starts, so that only sigwait below receives them.
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    simmeter::SimMeter meter;
    std::shared_ptr<simmeter::CipherResponder> keys;
    std::shared_ptr<simmeter::ModemResponder> modem;
    std::FILE* log = nullptr;
    using Dial = simmeter::ModemResponder::Dial;
    for (int i = 1; i < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = i + 1 < argc ? argv[i + 1] : "";
        bool ok = i + 1 < argc;
        if (!ok) {
            // an option without its value
        } else if (option == "--baud") {
            meter.SetBaud(std::atoi(value.c_str()));
        } else if (option == "--model") {
            meter.SetSetting("INSTR_M", value);
        } else if (option == "--serial") {
            meter.SetSetting("INSTR_N", value);
        } else if (option == "--preset" && simmeter::FindModelPreset(value)) {
            const simmeter::ModelPreset& preset = *simmeter::FindModelPreset(value);
            meter.Modify([&preset](simmeter::MeterState& s) { ApplyModelPreset(s, preset); });
        } else if (option == "--key-file") {
            ok = InstallKeys(meter, value, keys);
            if (!ok)
                std::fprintf(stderr, "simmeter: no key line in %s\n", value.c_str());
        } else if (option == "--field" && platform::Find(value, '=') > 0) {
            const int equals = platform::Find(value, '=');
            meter.Modify([&](simmeter::MeterState& s) {
                s.protectedFields[platform::Left(value, equals)] = platform::Mid(value, equals + 1);
            });
        } else if (option == "--log" && !log) {
            log = std::fopen(value.c_str(), "w");
            ok = log != nullptr;
            if (!ok)
                std::fprintf(stderr, "simmeter: cannot write %s\n", value.c_str());
            else
                meter.SetTranscriptSink([log](const std::string& entry) {
                    std::fprintf(log, "%s\n", entry.c_str());
                    std::fflush(log);
                });
        } else if (option == "--modem") {
            modem = simmeter::ModemResponder::Create();
            modem->SetDialOutcome(value == "busy"        ? Dial::Busy
                                  : value == "nocarrier" ? Dial::NoCarrier
                                  : value == "silent"    ? Dial::NoAnswer
                                                         : Dial::Connect);
            modem->InstallOn(meter);
        } else {
            ok = false;
        }
        if (!ok) {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    std::printf("%s\n", meter.SlavePath().c_str());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    meter.Modify([](simmeter::MeterState& s) {
        for (const auto& [name, value] : s.protectedFields)
            std::printf("PROT:%s=%s\n", name.c_str(), value.c_str());
    });
    std::fflush(stdout);
    if (log) {
        meter.SetTranscriptSink(nullptr);
        std::fclose(log);
    }
    return 0;
}
