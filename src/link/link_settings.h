#pragma once
// What the link session reads of the program's settings, none of it owned: the two ports'
// records (a baud change writes the link port's new rate back), the monitoring link's
// connection (1: through a modem) and the setup as the operator wants it, whose baud-rate text
// a baud change moves the port to. The program hands its own records; tests hand theirs.

class CInstrStatus;
struct PortRecord;

struct LinkSettings {
    PortRecord& targetPort;
    PortRecord& referencePort;
    const int& modemLink;
    const CInstrStatus& edited;
};
