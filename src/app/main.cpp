#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <chrono>
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
#include "ui/latin1_fields.h"

namespace {

// For the benchmark: how long the run took in real time, beside its fixed waits.
void ReportWaits(std::chrono::steady_clock::duration ran) {
    const platform::Clock::FixedWaitTally waits = platform::Clock::FixedWaits();
    std::string report = platform::Format(
        "[kx9monitor] ran %.3f s real; fixed waits %.3f s program time in %llu\n",
        std::chrono::duration<double>(ran).count(), static_cast<double>(waits.totalMs) / 1000.0,
        static_cast<unsigned long long>(waits.count));
    for (const auto& [ms, count] : waits.countByMs)
        report += platform::Format("[kx9monitor]   %lld ms x %llu\n", static_cast<long long>(ms),
                                   static_cast<unsigned long long>(count));
    std::fputs(report.c_str(), stderr);
}

}  // namespace

// Qt's own texts, the standard buttons' above all ("Sì", "No", "Annulla"), in the language of
// `locale`, beside the program's Italian texts. Only the program installs it: the tests' pictures
// and texts stay Qt's English under any locale. False when Qt has no translation for it.
bool InstallQtTranslator(QCoreApplication& application, QTranslator& translator,
                         const QLocale& locale) {
    return translator.load(locale, "qtbase", "_",
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           application.installTranslator(&translator);
}

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    QTranslator qtTexts;
    InstallQtTranslator(qtApp, qtTexts, QLocale());
    ui::Latin1Fields latin1Fields(qtApp);

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

    const auto started = std::chrono::steady_clock::now();
    int exitCode = 0;
    {
        CKX9MonitorApp app;
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        if (app.InitInstance(arguments))
            platform::EventLoop::Run();
        exitCode = app.ExitInstance();
    }
    if (const char* report = std::getenv("KX9_REPORT_WAITS"); report && *report && *report != '0')
        ReportWaits(std::chrono::steady_clock::now() - started);
    return exitCode;
}
