#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/qt_text.h"

namespace platform {

namespace {
std::function<bool(const ShellRequest&)>& Recorder() {
    static std::function<bool(const ShellRequest&)> recorder;
    return recorder;
}
}  // namespace

void SetShellRecorder(std::function<bool(const ShellRequest&)> recorder) {
    Recorder() = std::move(recorder);
}

bool StartProgram(const std::string& path, const std::vector<std::string>& arguments) {
    if (Recorder())
        return Recorder()({ShellRequest::Kind::StartProgram, path, arguments});
    QStringList args;
    for (const auto& a : arguments)
        args << SystemNameToQt(a);
    return QProcess::startDetached(SystemNameToQt(path), args);
}

bool OpenDocument(const std::string& path) {
    if (Recorder())
        return Recorder()({ShellRequest::Kind::OpenDocument, path, {}});
    return QDesktopServices::openUrl(QUrl::fromLocalFile(SystemNameToQt(path)));
}

}  // namespace platform
