#pragma once
// What the verification bench window keeps about its two meters and its run that the
// enciphered exchanges read and write, held apart from the window so that they are tested
// without one.

#include <string>

#include "cipher/key_data.h"
#include "cipher/meter_cipher.h"

namespace cipher {

// The verification tests in the order of a run; the value is the running test's index.
enum class BenchTest {
    SetPoint94dB = 0,
    FrequencyResponse = 1,
    Linearity = 2,
    Transients = 3,
    Overload = 4,
    SelfNoise = 5,
    AssociatedCalibrator = 6,
};

// The bench's two meters.
enum class Meter { Reference, Target };

struct BenchMeter {
    MeterCipher cipher;
    // The key data last loaded into the cipher; every key reset starts again from it.
    KeyData keyData;
    // Serial number of the connected meter, set when it is identified.
    std::string serialNumber;
    // Failed enciphered exchanges ("Key" in the logs).
    int keyErrors = 0;
    // Key-reset sends ("Rst_Key" in the logs).
    int keyResets = 0;
    // Set when an initialisation of this meter failed or was refused: its keys are not in step
    // even where "port.ini" names it, so its next reading starts as a new meter's does.
    bool keysOutOfStep = false;
};

struct BenchState {
    BenchMeter reference;
    BenchMeter target;
    // Set while the operator interrupts the running test; every exchange's wait then fails.
    bool abortRequested = false;
    // False when the instrument under test cannot be commanded and the operator enters its
    // readings; the bench clears it when it finds such an instrument.
    bool targetRemoteControl = true;
    BenchTest runningTest = BenchTest::SetPoint94dB;
    // The tone being played, which names the channels of a transients reading.
    std::string playbackFile;

    BenchMeter& Of(Meter meter) { return meter == Meter::Reference ? reference : target; }
};

}  // namespace cipher
