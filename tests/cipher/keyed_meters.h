#pragma once
// Two simulated meters with key data of their own, each on its port, and a bench window whose
// waits, logs and shown values are kept: what the tests of the enciphered work stand on.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cipher/bench_services.h"
#include "cipher/bench_state.h"
#include "cipher_responder.h"
#include "key_test_support.h"
#include "link/serial.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "sim_meter.h"

namespace keytest {

using Strings = std::vector<std::string>;

class FakeBench : public cipher::BenchServices {
public:
    void Wait(unsigned ms) override {
        waits.push_back(ms);
        if (onWait)
            onWait(static_cast<int>(waits.size()));
        platform::EventLoop::Wait(ms);
    }
    void AddLog(const std::string& text) override { logs.push_back(text); }
    bool WindowsPresent() override { return windows; }
    CSerial* Port(cipher::Meter meter) override {
        return meter == cipher::Meter::Reference ? referencePort : targetPort;
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
    CSerial* referencePort = nullptr;
    CSerial* targetPort = nullptr;
    std::map<cipher::Meter, std::map<int, std::string>> fields;
    std::deque<int> randoms;
};

class KeyedMetersTest : public ::testing::Test {
protected:
    KeyedMetersTest(std::uint32_t referenceSeed, std::uint32_t targetSeed)
        : referenceKeyData(MakeKeyData(referenceSeed)), targetKeyData(MakeKeyData(targetSeed)) {
        referenceKeys->InstallOn(referenceMeter);
        targetKeys->InstallOn(targetMeter);
        services.referencePort = &referencePort;
        services.targetPort = &targetPort;
    }

    void SetUp() override {
        ASSERT_EQ(referencePort.Open(referenceMeter.SlavePath()), 0);
        ASSERT_EQ(referencePort.Setup(38400), 0);
        ASSERT_EQ(targetPort.Open(targetMeter.SlavePath()), 0);
        ASSERT_EQ(targetPort.Setup(38400), 0);
    }

    bool InStep(const simmeter::CipherResponder& meter, cipher::Meter which) {
        const cipher::MeterCipher& ours = bench.Of(which).cipher;
        const cipher::MeterCipher theirs = meter.Cipher();
        return ours.StateBytes() == theirs.StateBytes() && ours.Keystream() == theirs.Keystream();
    }

    // The commands the meter read, "?" for a frame it could not.
    static Strings Commands(const simmeter::CipherResponder& meter) {
        Strings commands;
        for (const auto& frame : meter.Frames())
            commands.push_back(frame.readable ? frame.command : "?");
        return commands;
    }

    platform::ScopedClockSpeed fast{100.0};
    cipher::KeyData referenceKeyData;
    cipher::KeyData targetKeyData;
    simmeter::SimMeter referenceMeter;
    simmeter::SimMeter targetMeter;
    std::shared_ptr<simmeter::CipherResponder> referenceKeys =
        simmeter::CipherResponder::Create(referenceKeyData.resetKeystream, referenceKeyData.state);
    std::shared_ptr<simmeter::CipherResponder> targetKeys =
        simmeter::CipherResponder::Create(targetKeyData.resetKeystream, targetKeyData.state);
    CSerial referencePort;
    CSerial targetPort;
    cipher::BenchState bench;
    FakeBench services;
};

}  // namespace keytest
