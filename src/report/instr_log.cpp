#include "report/instr_log.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {
constexpr const char* kReportFolder = "archivio_verifiche";

// A serial number read from a meter must not reach outside the report folder.
std::string FileNamePart(std::string text) {
    for (char& c : text)
        if (c == '/' || c == '\\')
            c = '-';
    return text;
}
}  // namespace

InstrLog::InstrLog(std::string programDir, SerialSource targetSerial, Uploader uploader)
    : m_programDir(std::move(programDir)),
      m_targetSerial(std::move(targetSerial)),
      m_uploader(std::move(uploader)) {}

bool InstrLog::CallsForUpload(const std::string& text) {
    return platform::Contains(text, "FALLITA") || platform::Contains(text, "fallita") ||
           platform::Contains(text, "irregolar");
}

std::string InstrLog::LogPath(const platform::DateTime& day) const {
    const std::string serial = m_targetSerial ? m_targetSerial() : std::string();
    return platform::JoinPath(
        platform::JoinPath(m_programDir, kReportFolder),
        "instr_" + FileNamePart(serial) + "_" + day.Format("%Y_%m_%d") + "_Log.txt");
}

void InstrLog::WriteInstrLog(const std::string& text) {
    const platform::DateTime now(platform::Clock::Now());
    const std::string path = LogPath(now);
    platform::MakeDirectories(platform::JoinPath(m_programDir, kReportFolder));
    if (std::FILE* file = std::fopen(path.c_str(), "ab")) {
        const std::string line = now.Format("%Y/%m/%d %H:%M:%S") + ": " + text + "\r\n";
        std::fwrite(line.data(), 1, line.size(), file);
        std::fclose(file);
    }
    // The upload's own steps may be logged; they must not start another upload.
    if (CallsForUpload(text) && m_uploader && !m_uploading) {
        struct Guard {
            bool& flag;
            ~Guard() { flag = false; }
        } guard{m_uploading};
        m_uploading = true;
        m_uploader(path);
    }
}
