#include "web/instrument_booking.h"

#include "platform/date_time.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "web/booking_form.h"
#include "web/service_paths.h"

namespace web {

std::vector<std::string> BookedSerials(const std::string& bookingPath) {
    std::vector<std::string> serials;
    platform::LineReader reader(bookingPath);
    std::string line;
    if (!reader.ReadLine(line, 2048))
        return serials;
    while (reader.ReadLine(line, 2048)) {
        line = platform::TrimRight(line);
        const int separator = platform::Find(line, ';');
        if (separator >= 0)
            serials.push_back(platform::Left(line, separator));
    }
    return serials;
}

void InstrumentBooking::OnBookInstruments() {
    WebClient& client = m_databases.Client();
    if (m_databases.m_bCheckInternet)
        m_databases.CheckInternetConnection();
    if (client.DownloadHttpFile(client.SrvPath() + kCorrectionsTablePath,
                                m_databases.LocalPath(kCorrectionsTableFile), true) == "-1") {
        m_databases.ShowOperationUnavailable();
        return;
    }

    const std::string bookingPath = m_databases.LocalPath(kBookingFile);
    CAudioTriggerEvDlg form(bookingPath);
    if (form.DoModal() != IDOK)
        return;

    client.Feedback().ShowPleaseWait("Connessione con il server in corso...");
    std::string booking = platform::DateTime::Now().Format("%Y/%m/%d %H:%M:%S") + "\n";
    for (const std::string& serial : form.m_strSerials) {
        if (serial.empty())
            continue;
        const std::string keys = client.DownloadKeyFile(serial);
        if (keys == "-1")
            platform::AfxMessageBox("Strumento SN " + serial + " non trovato." +
                                    "Err=" + client.HttpError());
        else
            booking += keys + "\n";
    }
    const bool written =
        platform::WriteFileAtomic(bookingPath, booking, platform::FileAccess::OwnerOnly);
    client.Feedback().HidePleaseWait();
    if (!written) {
        platform::AfxMessageBox(
            "Impossibile salvare le informazioni sugli strumenti da verificare.", MB_ICONSTOP);
        return;
    }
    platform::AfxMessageBox(
        "Salvataggio informazioni sugli strumenti da verificare eseguito correttamente",
        MB_ICONINFORMATION);
}

}  // namespace web
