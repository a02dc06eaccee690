#pragma once
// The one description of how recordings are laid out, in files and in the application's data
// buffer: the recording kinds and the size of their records, the packed time word, the level
// words, the 500-byte setup block with its two scheduler fields, the page and its start text,
// the label header of a page file, and the index file that names page files. The reader, the
// live writer, the saver and the displays all take their sizes and offsets from here.
//
// Every number in a record is a little-endian unsigned 16-bit word.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_kind.h"

namespace records {

// The application's data buffer: one page of a recording, its start text first.
constexpr std::size_t kDataBufferSize = 3000000;

// --- words

// A level that the meter did not give (-100 as a signed word), shown as "---".
constexpr std::uint16_t kNoValue = 0xFF9C;
// "%.1f" of the tenths of dB, or "---".
std::string LevelText(std::uint16_t word);
// "45.6" -> 456, as the meter's level texts are stored: the decimal point dropped and the rest
// read as a decimal integer; a text holding "---" gives kNoValue.
std::uint16_t LevelWord(std::string_view text);

// The elapsed time of a record: bits 15-12 hours, 11-6 minutes, 5-0 seconds. Packing keeps
// only the low bits of each part (25:61:61 packs as 9:61:61).
struct ElapsedTime {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};
std::uint16_t PackTimeWord(int hours, int minutes, int seconds);
ElapsedTime UnpackTimeWord(std::uint16_t word);
// hours x 3600 + minutes x 60 + seconds.
int TimeWordSeconds(std::uint16_t word);

void PutWord(std::string& bytes, std::uint16_t word);
std::uint16_t GetWord(std::span<const unsigned char> bytes, std::size_t offset);

// --- records by kind

// The profile interval picks how many samples one record carries.
enum class ProfileStep { Eighth, Quarter, Other };  // "0.125s", "0.25s", anything else
ProfileStep ProfileStepOf(std::string_view profileTime);

// A record is a time word followed by the values of its samples, as many values a sample as
// its kind's row says: one sample of levels, a group of 4, 2 or 1 profile samples (by the
// profile step), one spectrum of band levels.
class RecordLayout {
public:
    RecordLayout() = default;  // no kind: every size 0
    explicit RecordLayout(RecordKind kind, ProfileStep step = ProfileStep::Other)
        : m_kind(kind), m_step(step) {}
    static RecordLayout For(std::optional<RecordKind> kind, std::string_view profileTime) {
        return kind ? RecordLayout(*kind, ProfileStepOf(profileTime)) : RecordLayout();
    }

    std::optional<RecordKind> Kind() const { return m_kind; }
    bool IsValid() const { return m_kind.has_value(); }
    int RecordBytes() const;
    int WordsPerRecord() const { return RecordBytes() / 2; }
    int SamplesPerRecord() const;
    int ValuesPerSample() const;

    // The data bytes of a page of `samples` samples (a profile page holds whole records only).
    long long PageDataBytes(long long samples) const;
    long long PageBytes(long long samples) const;
    // The samples in a page of `pageBytes` bytes, start text included.
    long long SamplesInPage(long long pageBytes) const;

    // Word offsets from the end of the page's start text.
    long long TimeWordIndex(long long sample) const;
    long long ValueWordIndex(long long sample, int value) const;

    bool operator==(const RecordLayout&) const = default;

private:
    std::optional<RecordKind> m_kind;
    ProfileStep m_step = ProfileStep::Other;
};

// A record as the live writer stores it: the time word, then the values.
std::string EncodeRecord(std::uint16_t timeWord, std::span<const std::uint16_t> values);

// --- the page

// "%Y/%m/%d %H:%M:%S" and one pad byte; characters 0-9 are the date, 11-18 the time.
constexpr int kPageStartBytes = 20;
constexpr const char* kPageStartFormat = "%Y/%m/%d %H:%M:%S ";
constexpr int kStartDateLength = 10;
constexpr int kStartTimeOffset = 11;
constexpr int kStartTimeLength = 8;

// --- the page file: an optional label header, the setup block, then the pages

constexpr unsigned char kLabelHeaderMark = 0xBB;
constexpr int kLabelHeaderBytes = 5;
constexpr int kLabelBlockBytes = 80;
// Where the setup block starts, given the file's first bytes (5 or fewer).
long long SetupBlockOffset(std::span<const unsigned char> head);

// 45 text fields of 11 bytes (blank padded, longer texts cut) in the meter's setup order; in a
// page file the last one gives way to the two scheduler fields at bytes 484-499.
class SetupBlock {
public:
    static constexpr int kFieldCount = 45;
    static constexpr int kFieldSize = 11;
    static constexpr int kSize = 500;
    static constexpr unsigned char kUnset = 0xFF;

    enum Field : int {
        kModel = 0,
        kSerialNumber = 1,
        kDate = 6,
        kTime = 7,
        kRange = 13,
        kProfileTime = 14,
        kSpectrumTime = 15,
        kSlm1Param = 26,
        kSpectAuxWeighting = 32,
        kSpectShift = 36,
        kAcquisitionMode = 42,
        kPagingSize = 43,
        kIntegrationMode = 44,
    };

    // Every byte unset.
    SetupBlock() { Fill(0, kUnset); }
    // The first kSize bytes; nothing when there are fewer.
    static std::optional<SetupBlock> FromBytes(std::span<const unsigned char> bytes);

    // Ignored for a field number out of range.
    void SetField(int field, std::string_view text);
    // The field's 11 bytes as stored; empty out of range.
    std::string Field(int field) const;
    // The field's text, trailing blanks and unset bytes cut.
    std::string Text(int field) const;
    // Sets every byte from `from` on.
    void Fill(int from, unsigned char byte);

    std::string_view Bytes() const { return {m_bytes.data(), m_bytes.size()}; }
    bool operator==(const SetupBlock&) const = default;

private:
    std::array<char, kSize> m_bytes{};
};

// --- the scheduler fields of a page file: the acquisition time (each scheduled acquisition's
// length) and the repetition time (the step from one acquisition to the next), "%H:%M:%S" or
// "NO SCHED"

constexpr int kAcquisitionTimeOffset = 484;
constexpr int kRepetitionTimeOffset = 492;
constexpr int kSchedulerFieldBytes = 8;
constexpr std::string_view kNoSchedule = "NO SCHED";

// A time of the schedule as a fraction of a day, with the status of the date-time type:
// valid, a text that does not convert, or none.
struct ScheduleTime {
    enum Status { kValid = 0, kInvalid = 1, kNull = 2 };
    Status status = kNull;
    double days = 0;

    bool IsValid() const { return status == kValid; }
    // Rounded to the nearest second (half a second away from zero).
    long long WholeSeconds() const;
    static ScheduleTime FromSeconds(long long seconds);
};
// Hours at characters 0-1, minutes at 3-4, seconds at 6-7; "NO SCHED" and a time of 0 s are
// no time.
ScheduleTime ParseSchedulerField(std::string_view field);
// Eight characters: "%H:%M:%S" of a valid time within a day, else "NO SCHED".
std::string SchedulerFieldText(const ScheduleTime& time);

// The head of a page file as the live writer starts it: the setup block with the scheduler
// fields over its bytes 484-499, then the first page's start text (cut or padded to 20).
std::string PageFileHead(const SetupBlock& block, const ScheduleTime& acquisition,
                         const ScheduleTime& repetition, std::string_view pageStart);

// --- the index file: "INDEX FILE", then one page file name per line

constexpr std::string_view kIndexMark = "INDEX FILE";
bool IsIndexFirstLine(std::string_view line);
std::string IndexFileText(const std::vector<std::string>& pageNames);
// A page file name of an index: a plain name in the index's own folder (no separator, no
// "..", no control character).
bool IsPlainPageName(std::string_view name);

// --- text lines: a label file and the scheduler log end each line in CR CR LF (a "\r\n" that
// went through a text-mode stream); the index and the other text files in CR LF. Readers take
// either.

constexpr std::string_view kDoubleCrLineEnd = "\r\r\n";

// The live recording's index in the program folder, and its page files, stamped with their
// start as "%Y%m%d_%H%M%S".
constexpr const char* kRecordIndexName = "RecFile.kr9";
constexpr const char* kPageNameStampFormat = "%Y%m%d_%H%M%S";
std::string RecordPageName(std::string_view stamp);

// --- the memory dump: the meter's typed records, start byte to end byte. A record is read and
// checked at the length the meter sends it; the dump file keeps it at its stored length, which
// differs for two types: a pause record is kept without its checksum and end byte, an end
// record with one byte more (kDumpFiller).

constexpr unsigned char kDumpStartByte = 0x02;
// What the dump file holds where a record has no byte of its own.
constexpr unsigned char kDumpFiller = 0xFF;
// The decoder's record buffer. The longest record the types allow, a multi record with every
// part and a profile of 255 samples, is 1589 bytes.
constexpr int kDumpRecordBufferBytes = 4096;
enum DumpRecordType : int {
    kDumpSingle = 0x00,
    kDumpMulti = 0x10,
    kDumpSetup = 0x20,
    kDumpSetupReport = 0x23,
    kDumpSetupEvent = 0x27,
    kDumpPause = 0x30,
    kDumpEnd = 0x40,
    kDumpBlock = 0x50,
    kDumpDateTime = 0x60,
    kDumpStart = 0x80,
    kDumpExtendedStart = 0x90,
};
// Byte 3 as a type: the REPORT and EVENT setups as they are, the others without their low
// three bits.
int DumpRecordTypeOf(unsigned char typeByte);
bool IsDumpRecordType(int type);

// How many bytes from the start byte a record's size depends on, given those that came: 4 up
// to the type byte (and no more for a type that is none), 5 through the flags byte, or through
// the profile count of a multi record that has one (6 or 16).
int DumpSizeBytes(std::span<const unsigned char> head);

struct DumpRecordSize {
    int sent = 0;  // as the meter sends it: read and checked at this length
    int kept = 0;  // as the dump file keeps it
    bool operator==(const DumpRecordSize&) const = default;
};
// The one rule for a record's length, from its first DumpSizeBytes bytes; nothing for a record
// that is no valid type or flags, or whose first bytes are not there. A multi record carries
// 482 more bytes when a REPORT or EVENT setup came since the last start.
std::optional<DumpRecordSize> DumpRecordSizeOf(std::span<const unsigned char> head,
                                               bool reportOrEventSetup);
// The sum modulo 256 of the bytes before a record's next-to-last byte against that byte, for
// the `sent` bytes of `record`; true for the types without a checksum (single, end).
bool DumpChecksumHolds(std::span<const unsigned char> record, int sent);
// The record as the dump file keeps it: its first `kept` bytes, filled up with kDumpFiller.
std::string KeptDumpRecord(std::span<const unsigned char> record, DumpRecordSize size);

// Bytes 1-2 of a record as the level text they hold: a signed big-endian count of tenths
// ("%hd" with a "." before the last digit: 5 is "0.5", -5 "-0.5", 1234 "123.4"), or "_und",
// "_ofl" and "_err" for 0x6C00, 0x6F00 and 0x7200.
std::string DumpLevelText(unsigned char byte1, unsigned char byte2);

// The synthetic end of a file cut short: "DUMP INCOMPLETE" in bytes 5-64, byte 65 kDumpFiller,
// byte 66 the sum of bytes 0-64; bytes 1-2 are the first two characters of `levelText` (the
// last record's DumpLevelText, "00" without one) and byte 4 the last record's flags byte.
constexpr int kDumpEndBytes = 67;
std::array<unsigned char, kDumpEndBytes> IncompleteDumpRecord(std::string_view levelText,
                                                              unsigned char flags);

}  // namespace records
