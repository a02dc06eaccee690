#include "records/record_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/text.h"

namespace records {

namespace {

constexpr double kHalfSecondInDays = 5.787037037037037e-06;
constexpr long long kSecondsPerDay = 86400;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int TwoDigits(std::string_view text, size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

}  // namespace

std::string LevelText(std::uint16_t word) {
    if (word == kNoValue)
        return "---";
    return platform::Format("%.1f", word / 10.0);
}

std::uint16_t LevelWord(std::string_view text) {
    if (platform::Contains(text, "---"))
        return kNoValue;
    return static_cast<std::uint16_t>(platform::Atoi(platform::Remove(text, '.')));
}

std::uint16_t PackTimeWord(int hours, int minutes, int seconds) {
    return static_cast<std::uint16_t>(((hours & 15) << 12) | ((minutes & 63) << 6) |
                                      (seconds & 63));
}

ElapsedTime UnpackTimeWord(std::uint16_t word) {
    return {word >> 12, (word >> 6) & 63, word & 63};
}

int TimeWordSeconds(std::uint16_t word) {
    const ElapsedTime time = UnpackTimeWord(word);
    return time.hours * 3600 + time.minutes * 60 + time.seconds;
}

void PutWord(std::string& bytes, std::uint16_t word) {
    bytes += static_cast<char>(word & 0xFF);
    bytes += static_cast<char>(word >> 8);
}

std::uint16_t GetWord(std::span<const unsigned char> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

ProfileStep ProfileStepOf(std::string_view profileTime) {
    if (platform::Contains(profileTime, "0.125"))
        return ProfileStep::Eighth;
    if (platform::Contains(profileTime, "0.25"))
        return ProfileStep::Quarter;
    return ProfileStep::Other;
}

int RecordLayout::SamplesPerRecord() const {
    if (!m_kind || !(*m_kind)->samplesByProfileStep)
        return IsValid() ? 1 : 0;
    switch (m_step) {
        case ProfileStep::Eighth:
            return 4;
        case ProfileStep::Quarter:
            return 2;
        case ProfileStep::Other:
            return 1;
    }
    return 1;
}

int RecordLayout::ValuesPerSample() const {
    return m_kind ? (*m_kind)->valuesPerSample : 0;
}

int RecordLayout::RecordBytes() const {
    if (!IsValid())
        return 0;
    return 2 + 2 * SamplesPerRecord() * ValuesPerSample();
}

long long RecordLayout::PageDataBytes(long long samples) const {
    if (!IsValid() || samples <= 0)
        return 0;
    return samples / SamplesPerRecord() * RecordBytes();
}

long long RecordLayout::PageBytes(long long samples) const {
    return kPageStartBytes + PageDataBytes(samples);
}

long long RecordLayout::SamplesInPage(long long pageBytes) const {
    if (!IsValid() || pageBytes <= kPageStartBytes)
        return 0;
    const long long data = pageBytes - kPageStartBytes;
    // A cut-off profile record still counts the samples whose bytes began: two and a half
    // bytes a sample at 0.125 s, three at 0.25 s.
    const bool grouped = (*m_kind)->samplesByProfileStep;
    if (grouped && m_step == ProfileStep::Eighth)
        return data / 5 * 2;
    if (grouped && m_step == ProfileStep::Quarter)
        return data / 3;
    return data / RecordBytes() * SamplesPerRecord();
}

long long RecordLayout::TimeWordIndex(long long sample) const {
    if (!IsValid())
        return -1;
    return sample / SamplesPerRecord() * WordsPerRecord();
}

long long RecordLayout::ValueWordIndex(long long sample, int value) const {
    if (!IsValid())
        return -1;
    const int perRecord = SamplesPerRecord();
    return TimeWordIndex(sample) + 1 + (sample % perRecord) * ValuesPerSample() + value;
}

std::string EncodeRecord(std::uint16_t timeWord, std::span<const std::uint16_t> values) {
    std::string bytes;
    bytes.reserve(2 + 2 * values.size());
    PutWord(bytes, timeWord);
    for (const std::uint16_t value : values)
        PutWord(bytes, value);
    return bytes;
}

long long SetupBlockOffset(std::span<const unsigned char> head) {
    if (head.size() < 2 || head[0] != kLabelHeaderMark)
        return 0;
    return kLabelHeaderBytes + static_cast<long long>(head[1]) * kLabelBlockBytes;
}

std::optional<SetupBlock> SetupBlock::FromBytes(std::span<const unsigned char> bytes) {
    if (bytes.size() < static_cast<size_t>(kSize))
        return std::nullopt;
    SetupBlock block;
    std::copy_n(bytes.begin(), kSize, reinterpret_cast<unsigned char*>(block.m_bytes.data()));
    return block;
}

void SetupBlock::SetField(int field, std::string_view text) {
    if (field < 0 || field >= kFieldCount)
        return;
    char* start = m_bytes.data() + field * kFieldSize;
    const size_t used = std::min<size_t>(text.size(), kFieldSize);
    std::copy_n(text.data(), used, start);
    std::fill(start + used, start + kFieldSize, ' ');
}

std::string SetupBlock::Field(int field) const {
    if (field < 0 || field >= kFieldCount)
        return std::string();
    return std::string(m_bytes.data() + field * kFieldSize, kFieldSize);
}

std::string SetupBlock::Text(int field) const {
    std::string text = Field(field);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' ||
                             static_cast<unsigned char>(text.back()) == kUnset))
        text.pop_back();
    return text;
}

void SetupBlock::Fill(int from, unsigned char byte) {
    if (from < 0 || from >= kSize)
        return;
    std::fill(m_bytes.begin() + from, m_bytes.end(), static_cast<char>(byte));
}

long long ScheduleTime::WholeSeconds() const {
    const double half = days < 0 ? -kHalfSecondInDays : kHalfSecondInDays;
    return static_cast<long long>((days + half) * kSecondsPerDay);
}

ScheduleTime ScheduleTime::FromSeconds(long long seconds) {
    if (seconds == 0)
        return {};
    return {kValid, static_cast<double>(seconds) / kSecondsPerDay};
}

ScheduleTime ParseSchedulerField(std::string_view field) {
    if (platform::StartsWith(field, kNoSchedule))
        return {};
    if (field.size() < 8 || field[2] != ':' || field[5] != ':')
        return {ScheduleTime::kInvalid, 0};
    for (const size_t at : {0, 1, 3, 4, 6, 7})
        if (!IsDigit(field[at]))
            return {ScheduleTime::kInvalid, 0};
    const int hours = TwoDigits(field, 0);
    const int minutes = TwoDigits(field, 3);
    const int seconds = TwoDigits(field, 6);
    if (hours > 23 || minutes > 59 || seconds > 59)
        return {ScheduleTime::kInvalid, 0};
    const ScheduleTime time{ScheduleTime::kValid,
                            hours / 24.0 + minutes / 1440.0 + seconds / 86400.0};
    return time.WholeSeconds() == 0 ? ScheduleTime{} : time;
}

std::string SchedulerFieldText(const ScheduleTime& time) {
    const long long seconds = time.WholeSeconds();
    if (!time.IsValid() || seconds < 0)
        return std::string(kNoSchedule);
    const long long ofDay = seconds % kSecondsPerDay;
    return platform::Format("%.2lld:%.2lld:%.2lld", ofDay / 3600, ofDay / 60 % 60, ofDay % 60);
}

std::string PageFileHead(const SetupBlock& block, const ScheduleTime& acquisition,
                         const ScheduleTime& repetition, std::string_view pageStart) {
    std::string head(block.Bytes().substr(0, kAcquisitionTimeOffset));
    head += SchedulerFieldText(acquisition);
    head += SchedulerFieldText(repetition);
    std::string start(pageStart.substr(0, kPageStartBytes));
    start.resize(kPageStartBytes, ' ');
    return head + start;
}

bool IsIndexFirstLine(std::string_view line) {
    return platform::Contains(line, kIndexMark);
}

std::string IndexFileText(const std::vector<std::string>& pageNames) {
    std::string text = std::string(kIndexMark) + "\r\n";
    for (const std::string& name : pageNames)
        text += name + "\r\n";
    return text;
}

bool IsPlainPageName(std::string_view name) {
    if (name.empty() || platform::Contains(name, ".."))
        return false;
    return std::ranges::none_of(name, [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < ' ' || c == 0x7F;
    });
}

std::string RecordPageName(std::string_view stamp) {
    return "RecFile_" + std::string(stamp) + ".rec";
}

int DumpRecordTypeOf(unsigned char typeByte) {
    if (typeByte == kDumpSetupReport || typeByte == kDumpSetupEvent)
        return typeByte;
    return typeByte & 0xF8;
}

bool IsDumpRecordType(int type) {
    switch (type) {
        case kDumpSingle:
        case kDumpMulti:
        case kDumpSetup:
        case kDumpSetupReport:
        case kDumpSetupEvent:
        case kDumpPause:
        case kDumpEnd:
        case kDumpBlock:
        case kDumpDateTime:
        case kDumpStart:
        case kDumpExtendedStart:
            return true;
        default:
            return false;
    }
}

namespace {

constexpr int kTypeByte = 3;
constexpr int kFlagsByte = 4;
// After the start byte, the level, the type and the flags byte.
constexpr int kRecordHead = 5;
// After the head and the level parameters of a multi record that has them.
constexpr int kMultiLevelsEnd = 15;
// A record's last three bytes: checksum (or a data byte) and the end.
constexpr int kRecordTail = 3;

// Where a multi record's profile count is, when it has a profile.
std::optional<size_t> ProfileCountByte(unsigned flags) {
    if (!(flags & 0x02))
        return std::nullopt;
    return flags & 0x01 ? kMultiLevelsEnd : kRecordHead;
}

std::optional<int> SingleRecordLength(unsigned flags) {
    for (const auto& [bit, length] :
         {std::pair{0x01u, 15}, std::pair{0x02u, 205}, std::pair{0x04u, 29}, std::pair{0x08u, 71},
          std::pair{0x80u, 967}, std::pair{0x40u, 1299}})
        if (flags & bit)
            return length + kRecordTail;
    return std::nullopt;
}

int MultiRecordLength(std::span<const unsigned char> head, unsigned flags,
                      bool reportOrEventSetup) {
    int length = flags & 0x01 ? kMultiLevelsEnd : kRecordHead;
    if (const auto countByte = ProfileCountByte(flags))
        length += 2 * head[*countByte] + 1;
    for (const auto& [bit, bytes] :
         {std::pair{0x04u, 22}, std::pair{0x08u, 64}, std::pair{0x20u, 32}, std::pair{0x40u, 458}})
        if (flags & bit)
            length += bytes;
    if ((flags & 0x80) && reportOrEventSetup)
        length += 482;
    if (flags & 0x0C)
        length += 2;
    return length + kRecordTail;
}

int SetupRecordLength(unsigned flags) {
    if (flags & 0x10)
        return 10 + 14;
    int length = flags & 0x01 ? 15 : 5;
    if (flags & 0x02)
        length += 2;
    if (flags & 0x0C)
        length += 5;
    if (flags & 0x40)
        length += 2;
    return length + 14;
}

bool HasChecksum(int type) {
    return type != kDumpSingle && type != kDumpEnd;
}

}  // namespace

int DumpSizeBytes(std::span<const unsigned char> head) {
    if (head.size() <= kTypeByte || !IsDumpRecordType(DumpRecordTypeOf(head[kTypeByte])))
        return kTypeByte + 1;
    if (head.size() <= kFlagsByte || DumpRecordTypeOf(head[kTypeByte]) != kDumpMulti)
        return kRecordHead;
    const auto countByte = ProfileCountByte(head[kFlagsByte]);
    return countByte ? static_cast<int>(*countByte) + 1 : kRecordHead;
}

std::optional<DumpRecordSize> DumpRecordSizeOf(std::span<const unsigned char> head,
                                               bool reportOrEventSetup) {
    if (head.size() < kRecordHead || head[0] != kDumpStartByte ||
        head.size() < static_cast<size_t>(DumpSizeBytes(head)))
        return std::nullopt;
    const unsigned flags = head[kFlagsByte];
    auto same = [](int length) { return DumpRecordSize{length, length}; };
    switch (DumpRecordTypeOf(head[kTypeByte])) {
        case kDumpSingle:
            if (const auto length = SingleRecordLength(flags))
                return same(*length);
            return std::nullopt;
        case kDumpMulti:
            return same(MultiRecordLength(head, flags, reportOrEventSetup));
        case kDumpSetup:
            return same(SetupRecordLength(flags));
        case kDumpSetupReport:
            return same(21);
        case kDumpSetupEvent:
            return same(27);
        case kDumpPause:
            // Kept without its checksum and end byte.
            return DumpRecordSize{14, 12};
        case kDumpEnd:
            // Kept with one byte more than the meter sends.
            return DumpRecordSize{66, kDumpEndBytes};
        case kDumpBlock:
            return same(1000);
        case kDumpDateTime:
            return same(18);
        case kDumpStart:
            return same(49);
        case kDumpExtendedStart:
            return same(61);
        default:
            return std::nullopt;
    }
}

bool DumpChecksumHolds(std::span<const unsigned char> record, int sent) {
    if (record.size() <= kTypeByte)
        return false;
    if (!HasChecksum(DumpRecordTypeOf(record[kTypeByte])))
        return true;
    const int checksumAt = sent - 2;
    if (checksumAt <= 0 || static_cast<size_t>(checksumAt) >= record.size())
        return false;
    unsigned sum = 0;
    for (int i = 0; i < checksumAt; ++i)
        sum += record[static_cast<size_t>(i)];
    return (sum & 0xFF) == record[static_cast<size_t>(checksumAt)];
}

std::string KeptDumpRecord(std::span<const unsigned char> record, DumpRecordSize size) {
    const size_t kept = static_cast<size_t>(std::max(0, size.kept));
    std::string bytes(kept, static_cast<char>(kDumpFiller));
    const size_t copied =
        std::min({kept, record.size(), static_cast<size_t>(std::max(0, size.sent))});
    std::copy_n(record.begin(), copied, bytes.begin());
    return bytes;
}

std::string DumpLevelText(unsigned char byte1, unsigned char byte2) {
    const auto value = static_cast<std::int16_t>(static_cast<std::uint16_t>(byte1 << 8 | byte2));
    switch (static_cast<std::uint16_t>(value)) {
        case 0x6C00:
            return "_und";
        case 0x6F00:
            return "_ofl";
        case 0x7200:
            return "_err";
        default:
            break;
    }
    std::string text = platform::Format("%hd", value);
    if (text.size() == 1)
        text.insert(0, "0");
    else if (text.size() == 2 && text[0] == '-')
        text.insert(1, "0");
    text.insert(text.size() - 1, ".");
    return text;
}

std::array<unsigned char, kDumpEndBytes> IncompleteDumpRecord(std::string_view levelText,
                                                              unsigned char flags) {
    constexpr std::string_view kText = "DUMP INCOMPLETE";
    constexpr int kTextStart = 5;
    constexpr int kTextEnd = 65;
    constexpr int kChecksum = 66;
    const std::string level = levelText.empty() ? std::string("00") : std::string(levelText);
    std::array<unsigned char, kDumpEndBytes> record;
    record[0] = kDumpStartByte;
    record[1] = static_cast<unsigned char>(level[0]);
    record[2] = static_cast<unsigned char>(level.size() > 1 ? level[1] : ' ');
    record[kTypeByte] = kDumpEnd;
    record[kFlagsByte] = flags;
    std::fill(record.begin() + kTextStart, record.begin() + kTextEnd, 0);
    std::copy(kText.begin(), kText.end(), record.begin() + kTextStart);
    record[kTextEnd] = kDumpFiller;
    unsigned sum = 0;
    for (int i = 0; i < kTextEnd; ++i)
        sum += record[static_cast<size_t>(i)];
    record[kChecksum] = static_cast<unsigned char>(sum & 0xFF);
    return record;
}

}  // namespace records
