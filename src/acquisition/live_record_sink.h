#pragma once
// Where live records go: the live recorder takes each record the meter sends while monitoring,
// and a scheduled run hands it a placeholder for each record that never came.

#include <string>

#include "acquisition/live_record_text.h"
#include "records/record_kind.h"

namespace acquisition {

class LiveRecordSink {
public:
    virtual ~LiveRecordSink() = default;
    // One live record of `kind`, as the meter sent it (kMissingRecord for one that never came).
    virtual void ProcessRecord(records::RecordKind kind, const std::string& reply) = 0;
};

}  // namespace acquisition
