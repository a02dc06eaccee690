#pragma once
// Two simulated meters with key data of their own, and a bench whose waits, logs and shown values
// are kept: what the tests of the enciphered work stand on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cipher/bench_exchange_host.h"
#include "cipher/bench_state.h"
#include "cipher_responder.h"
#include "key_test_support.h"
#include "link/direct_exchange.h"
#include "link/link_test_support.h"
#include "link/port_record.h"
#include "link/serial.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "sim_meter.h"

namespace keytest {

using Strings = std::vector<std::string>;

class FakeBench : public cipher::BenchExchangeHost {
public:
    void Wait(unsigned ms) override {
        waits.push_back(ms);
        if (onWait)
            onWait(static_cast<int>(waits.size()));
        // A few real milliseconds at the tests' clock: the meters may not have had their turn.
        platform::EventLoop::Wait(ms);
        if (answered)
            linktest::PumpUntil(answered);
    }
    void AddLog(const std::string& text) override { logs.push_back(text); }
    bool WindowsPresent() override { return windows; }
    LinkPort* Port(cipher::Meter meter) override {
        return meter == cipher::Meter::Reference ? referencePort : targetPort;
    }
    std::optional<std::string> Exchange(cipher::Meter meter,
                                        const ExchangeRequest& request) override {
        LinkPort* port = Port(meter);
        if (!port)
            return std::nullopt;
        return exchange.Exchange(*port, request);
    }
    void DiscardPending(cipher::Meter meter) override {
        if (LinkPort* port = Port(meter))
            exchange.DiscardPending(*port);
    }
    void ShowValue(cipher::Meter meter, int channel, const std::string& text) override {
        fields[meter][channel] = text;
    }
    int Random() override {
        if (randoms.empty())
            return 945;
        const int r = randoms.front();
        randoms.pop_front();
        return r;
    }
    // What the operator does during the n-th wait (1 = first).
    std::function<void(int)> onWait;

    std::vector<unsigned> waits;
    Strings logs;
    bool windows = true;
    LinkPort* referencePort = nullptr;
    LinkPort* targetPort = nullptr;
    std::map<cipher::Meter, std::map<int, std::string>> fields;
    std::deque<int> randoms;
    // Whether the simulated meters answered all they were sent.
    std::function<bool()> answered;
    // The link's exchange, its fixed waits the bench's.
    std::shared_ptr<LinkReplyState> shared = std::make_shared<LinkReplyState>();
    linktest::PatientClock clock{2000, [this] { return !answered || answered(); }};
    DirectExchange exchange{*shared, clock, [this](unsigned ms) { Wait(ms); }};
};

// Two simulated meters, each answering the enciphered frames under key data of its own.
struct KeyedMeters {
    KeyedMeters(std::uint32_t referenceSeed, std::uint32_t targetSeed)
        : referenceKeyData(MakeKeyData(referenceSeed)), targetKeyData(MakeKeyData(targetSeed)) {
        referenceKeys->InstallOn(referenceMeter);
        targetKeys->InstallOn(targetMeter);
    }

    cipher::KeyData referenceKeyData;
    cipher::KeyData targetKeyData;
    simmeter::SimMeter referenceMeter;
    simmeter::SimMeter targetMeter;
    std::shared_ptr<simmeter::CipherResponder> referenceKeys =
        simmeter::CipherResponder::Create(referenceKeyData.resetKeystream, referenceKeyData.state);
    std::shared_ptr<simmeter::CipherResponder> targetKeys =
        simmeter::CipherResponder::Create(targetKeyData.resetKeystream, targetKeyData.state);
};

// The bench's cipher of a meter and the meter's own are at the same point.
inline bool InStep(const cipher::MeterCipher& ours, const simmeter::CipherResponder& meter) {
    const cipher::MeterCipher theirs = meter.Cipher();
    return ours.StateBytes() == theirs.StateBytes() && ours.Keystream() == theirs.Keystream();
}

// The commands the meter read, "?" for a frame it could not.
inline Strings Commands(const simmeter::CipherResponder& meter) {
    Strings commands;
    for (const auto& frame : meter.Frames())
        commands.push_back(frame.readable ? frame.command : "?");
    return commands;
}

// The record of a meter in the "port.ini" at `path`.
inline PortRecord SavedRecord(const std::string& path, cipher::Meter meter) {
    PortRecord reference, target;
    LoadPortIni(path, reference, target);
    return meter == cipher::Meter::Reference ? reference : target;
}

template <typename Items, typename Item>
bool Holds(const Items& items, const Item& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// The meters on ports of their own, and a bench whose waits, logs and shown values are kept.
class KeyedMetersTest : public ::testing::Test, protected KeyedMeters {
protected:
    KeyedMetersTest(std::uint32_t referenceSeed, std::uint32_t targetSeed)
        : KeyedMeters(referenceSeed, targetSeed) {
        services.referencePort = &referencePort;
        services.targetPort = &targetPort;
        services.answered = [this] { return referenceMeter.Answered() && targetMeter.Answered(); };
    }

    void SetUp() override {
        ASSERT_EQ(referencePort.Open(referenceMeter.SlavePath()), 0);
        ASSERT_EQ(referencePort.Setup(38400), 0);
        ASSERT_EQ(targetPort.Open(targetMeter.SlavePath()), 0);
        ASSERT_EQ(targetPort.Setup(38400), 0);
    }

    bool InStep(const simmeter::CipherResponder& meter, cipher::Meter which) {
        return keytest::InStep(bench.Of(which).cipher, meter);
    }

    platform::ScopedClockSpeed fast{100.0};
    CSerial referencePort;
    CSerial targetPort;
    cipher::BenchState bench;
    FakeBench services;
};

}  // namespace keytest
