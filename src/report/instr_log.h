#pragma once
// The daily log of the instrument under test: one file a day and instrument in the report
// folder, each line stamped with the local time. A line that reports a failure sends the
// day's log to the web service at once, so the maker sees it without waiting for the report.

#include <functional>
#include <string>

#include "platform/date_time.h"

class InstrLog {
public:
    using SerialSource = std::function<std::string()>;
    // Sends a log file to the service (the web client's UploadLogFile).
    using Uploader = std::function<void(const std::string& path)>;

    InstrLog(std::string programDir, SerialSource targetSerial, Uploader uploader);

    // Appends "<time>: <text>" to the day's log; a line that cannot be written is dropped.
    void WriteInstrLog(const std::string& text);

    // "<program folder>/archivio_verifiche/instr_<serial>_<%Y_%m_%d>_Log.txt"
    std::string LogPath(const platform::DateTime& day) const;

    // Texts that make the log go to the service at once.
    static bool CallsForUpload(const std::string& text);

private:
    std::string m_programDir;
    SerialSource m_targetSerial;
    Uploader m_uploader;
    bool m_uploading = false;
};
