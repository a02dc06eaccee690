#pragma once
// The window of the meter's guided programs as a scheduled run's electric calibration opens
// and closes it. The scheduler that owns the window implements it.

namespace acquisition {

class RunCalibration {
public:
    virtual ~RunCalibration() = default;

    // Shows the electric calibration window and queues the states it starts from; nothing
    // while the meter is held otherwise.
    virtual void StartElectricCalibration() = 0;
    // Closes the window; no more screens go to it.
    virtual void CloseElectricCalibration() = 0;
};

}  // namespace acquisition
