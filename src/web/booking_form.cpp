#include "web/booking_form.h"

#include "platform/files.h"
#include "web/instrument_booking.h"

bool CAudioTriggerEvDlg::OnOK() {
    if (!platform::FileExists(m_bookingPath))
        return true;
    std::string list;
    for (const std::string& serial : web::BookedSerials(m_bookingPath))
        list += "Instr SN " + serial + "\n";
    // The booking command rewrites the file whole, so nothing is emptied here: a booking that
    // cannot be written leaves the earlier one in place.
    return platform::AfxMessageBox(
               "ATTENZIONE:\nSono gia' stati salvate le informazioni relativa ai seguenti "
               "strumenti\n" +
                   list + "\nProseguendo tali informazioni verranno sovrascritte.\nContinuare ?",
               MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}
