#pragma once
// The long jobs with the meter that leaving the program, or saving meanwhile, would cut short:
// a memory download, a firmware upgrade and a scheduled run, the run's final calibration and
// download included. The frame's close and its "Esci" and "Salva..." entries follow this one
// rule.

class MeterMode;

// The box that tells the operator which job keeps the program from being left now; nullptr
// when none runs.
const char* BusyMeterJobRefusal(const MeterMode& mode);
