#pragma once
// Booking of instruments for verifications where there is no internet connection: the key
// data of up to six instruments under test are fetched now and kept in the booking file
// "msvcrt60_temp.dll" of the program folder:
//     line 1      the time of the booking, "%Y/%m/%d %H:%M:%S"
//     line 2...   per booked instrument its key text "serial;key data..."
// The start-up check deletes the file once it is 7 days old.

#include <string>
#include <vector>

#include "web/server_databases.h"

namespace web {

inline constexpr const char* kBookingFile = "msvcrt60_temp.dll";

// The serial numbers of the instruments in a booking file, in file order.
std::vector<std::string> BookedSerials(const std::string& bookingPath);

class InstrumentBooking {
public:
    explicit InstrumentBooking(ServerDatabases& databases) : m_databases(databases) {}

    // Menu command "Prenotazione strumenti".
    void OnBookInstruments();

private:
    ServerDatabases& m_databases;
};

}  // namespace web
