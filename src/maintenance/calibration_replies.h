#pragma once
// The replies that the microphone wizard and the meter's guided programs wait for, as the
// maintenance side registers them with the link's router. Every value is read through the
// calibration protocol's table (calibration_protocol.h), which the simulated meter answers from.

class CElectricCalibrationDlg;
class CMicCalibDlg;
class ReplyRouter;

namespace maintenance {

// The printed value of "KEY:PRN_VAL" goes to the guided programs while they run; the channels'
// gains, the electric calibration's values, the level the meter measures, the protection code
// and the answers to its writes go to the microphone wizard while its window is open.
void RegisterCalibrationReplies(ReplyRouter& router, CMicCalibDlg& wizard,
                                CElectricCalibrationDlg& programs);

}  // namespace maintenance
