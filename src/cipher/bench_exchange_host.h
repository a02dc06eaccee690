#pragma once
// What the enciphered exchanges need from the verification bench window and the application
// around it. The bench window implements it; tests give their own.

#include <optional>
#include <string>

#include "cipher/bench_state.h"

class LinkPort;
struct ExchangeRequest;

namespace cipher {

class BenchExchangeHost {
public:
    virtual ~BenchExchangeHost() = default;

    // The application's message-pumping wait, in program milliseconds.
    virtual void Wait(unsigned ms) = 0;
    // One line of the bench's event log.
    virtual void AddLog(const std::string& text) = 0;
    // Whether the main view and its window, and the bench's own window, still exist.
    virtual bool WindowsPresent() = 0;
    // The link's port of the meter; nullptr once it is gone.
    virtual LinkPort* Port(Meter meter) = 0;
    // The link's exchange with the meter past its port's listener (DirectExchange::Exchange);
    // nothing without a port.
    virtual std::optional<std::string> Exchange(Meter meter, const ExchangeRequest& request) = 0;
    // Drops what waits on the meter's port (DirectExchange::DiscardPending); nothing without a
    // port.
    virtual void DiscardPending(Meter meter) = 0;
    // Sets the text of a value field of the meter's box on the bench window, channel 0 to 2.
    virtual void ShowValue(Meter meter, int channel, const std::string& text) = 0;
    // A pseudo-random number from 0 to 32767 for the challenges.
    virtual int Random() = 0;
};

}  // namespace cipher
