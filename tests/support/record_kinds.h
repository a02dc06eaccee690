#pragma once
// The meter's record kinds by name, for tests: the program itself names none and asks a kind's
// traits instead.

#include <ostream>

#include "records/record_kind.h"

namespace testkinds {

inline records::RecordKind KindOfMode(int mode) {
    return *records::RecordKind::OfChannelMode(mode);
}

inline const records::RecordKind kSoundLevelMeter = KindOfMode(0);
inline const records::RecordKind kProfile = KindOfMode(1);
inline const records::RecordKind kOctave = KindOfMode(2);
inline const records::RecordKind kThirdOctave = KindOfMode(3);

}  // namespace testkinds

namespace acquisition {

// A kind's name in a failed check.
inline void PrintTo(records::RecordKind kind, std::ostream* out) {
    *out << kind->name;
}

}  // namespace acquisition
