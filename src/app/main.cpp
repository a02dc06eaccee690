#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/kx9monitor_app.h"
#include "app/operator_script.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/scripted_operator.h"
#include "platform/text.h"

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);

    // Tests run the program with its waits shortened.
    if (const char* speed = std::getenv("KX9_CLOCK_SPEED"); speed && platform::Atof(speed) > 0)
        platform::Clock::SetSpeed(platform::Atof(speed));

    // Nobody at the screen: answer every box with its first button, and say what it showed.
    // An operator script (KX9_OPERATOR_SCRIPT) answers first, and implies the unattended run.
    platform::ScriptedOperator unattended;
    const char* script = std::getenv("KX9_OPERATOR_SCRIPT");
    if (script && *script) {
        std::string error;
        if (!LoadOperatorScript(script, unattended, error)) {
            std::fprintf(stderr, "kx9monitor: operator script %s\n", error.c_str());
            return 2;
        }
    }
    const char* flag = std::getenv("KX9_UNATTENDED");
    if ((script && *script) || (flag && *flag && *flag != '0')) {
        unattended.SetLenient(true);
        // Nobody can set the port up either: a meter that does not answer ends the run.
        unattended.AlwaysAnswer("Fonometro da verificare non risponde", IDCANCEL);
        unattended.SetShownHandler([](const std::string& text) {
            std::printf("[kx9monitor] %s\n", text.c_str());
            std::fflush(stdout);
        });
        platform::SetOperator(&unattended);
    }

    CKX9MonitorApp app;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!app.InitInstance(arguments))
        return app.ExitInstance();
    platform::EventLoop::Run();
    return app.ExitInstance();
}
