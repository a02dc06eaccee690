#pragma once
// The records a meter sends while live monitoring runs, one per measurement interval, as it
// writes them on the wire (ETX last):
//
//   levels:   "hh:mm:ss\t<L1>\t...\t<L5>[M|ML]"
//   profile:  "hh:mm:ss\t<S1>\t...\t<Sn>"
//   spectra:  "SPECTRUM =  hh:mm:ss\r\n[MARKER<label>\r\n][dB]\r\n" and each band right-aligned
//             in five characters before its CR LF, the overall level last after a blank line
//
// Levels are tenths of dB; kMissing is written as "---". The texts never depend on the locale.

#include <string>
#include <vector>

namespace simmeter {

constexpr int kMissing = -1000;

// "hh:mm:ss" of the seconds since the start of monitoring.
std::string ElapsedText(int seconds);
// "45.6", or "---" for kMissing.
std::string LevelText(int tenths);

std::string LiveLevelRecord(int elapsed, const std::vector<int>& levels, bool marker = false,
                            bool lastMarker = false);
std::string LiveProfileRecord(int elapsed, const std::vector<int>& samples);
std::string LiveSpectrumRecord(int elapsed, const std::vector<int>& bands,
                               const std::string& marker = {});
// The reply of a meter that failed to measure a level record.
std::string LiveErrorRecord();

// A level that changes from record to record and value to value but is the same in every run.
int SyntheticLevel(int record, int value);

// A meter streaming the records of one channel mode (0 levels, 1 profile, 2 octave, 3 third
// octave), one every `interval` seconds, with their synthetic values.
class LiveRecordStream {
public:
    // `samples`: profile samples per record (4, 2 or 1); ignored in the other modes.
    LiveRecordStream(int mode, int interval, int samples = 1);

    // The next record.
    std::string Next();
    // The next record cut after `bytes` bytes, ETX kept.
    std::string NextTruncated(size_t bytes);
    // The meter loses `records` records: their time passes, nothing is sent.
    void Skip(int records);

    int Mode() const { return m_mode; }
    // The values of the record `record` of the stream (0 first), as Next wrote them.
    std::vector<int> Values(int record) const;
    // The records the stream has passed, sent and skipped.
    int Position() const { return m_record; }
    int Elapsed(int record) const { return record * m_interval; }

private:
    int m_mode;
    int m_interval;
    int m_samples;
    int m_record = 0;
};

}  // namespace simmeter
