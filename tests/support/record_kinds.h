#pragma once
// The meter's record kinds by name, for tests: the program itself names none and asks a kind's
// traits instead.

#include <ostream>

#include "acquisition/record_kind.h"

namespace testkinds {

inline acquisition::RecordKind KindOfMode(int mode) {
    return *acquisition::RecordKind::OfChannelMode(mode);
}

inline const acquisition::RecordKind kSoundLevelMeter = KindOfMode(0);
inline const acquisition::RecordKind kProfile = KindOfMode(1);
inline const acquisition::RecordKind kOctave = KindOfMode(2);
inline const acquisition::RecordKind kThirdOctave = KindOfMode(3);

}  // namespace testkinds

namespace acquisition {

// A kind's name in a failed check.
inline void PrintTo(RecordKind kind, std::ostream* out) {
    *out << kind->name;
}

}  // namespace acquisition
