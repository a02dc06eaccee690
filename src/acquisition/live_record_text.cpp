#include "acquisition/live_record_text.h"

#include <algorithm>
#include <cctype>

#include "link/protocol_bytes.h"
#include "platform/text.h"

namespace acquisition {

namespace {

constexpr std::string_view kLineEnd = protocol::kLineEnd;
constexpr std::string_view kElapsedKey = " =";
constexpr int kElapsedWidth = 10;
// A shorter spectrum reply carries no elapsed time.
constexpr size_t kElapsedReplyMinimum = 26;
constexpr int kElapsedLength = 8;
constexpr std::string_view kMarkerKey = "MARKER";
constexpr std::string_view kLevelsKey = "[dB]";
// "[dB]" and its CR LF.
constexpr int kLevelListOffset = 6;
constexpr size_t kLevelWidth = 5;
constexpr std::string_view kLastMarker = "LAST";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A level as the meter writes one: digits, a point and one decimal, perhaps a sign. Anything
// else is a level cut off or garbled on the wire.
bool IsLevelText(std::string_view text) {
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const size_t point = text.find('.');
    if (point == 0 || point == std::string_view::npos || point + 2 != text.size())
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return c == '.' || IsDigit(c); }) &&
           IsDigit(text.back());
}

void AddLevel(LiveRecordText& record, std::string_view text) {
    std::string shown = platform::Trim(text);
    if (!IsLevelText(shown))
        shown = "---";
    record.words.push_back(records::LevelWord(shown));
    record.levelTexts.push_back(std::move(shown));
}

void AddMissing(LiveRecordText& record) {
    record.levelTexts.emplace_back("---");
    record.words.push_back(records::kNoValue);
}

// The elapsed time and values of a tab-separated record: `values` values after the time.
LiveRecordText ParseTabbedRecord(std::string_view reply, int values, bool levelMarker) {
    LiveRecordText record;
    const std::string text = protocol::WithoutEtx(reply);
    if (text.find('\t') == std::string::npos)
        return record;
    std::vector<std::string> fields = platform::Split(text, '\t');
    if (levelMarker && fields.size() > 1) {
        std::string& last = fields.back();
        const int mark = platform::Find(last, 'M');
        if (mark >= 0) {
            if (platform::Contains(last, "ML"))
                record.marker = kLastMarker;
            last = platform::Left(last, mark);
        }
    }
    record.hasLevels = true;
    record.elapsed = ParseElapsed(platform::Trim(fields.front()));
    for (int value = 1; value <= values; ++value) {
        if (value < static_cast<int>(fields.size()))
            AddLevel(record, fields[static_cast<size_t>(value)]);
        else
            AddMissing(record);
    }
    return record;
}

}  // namespace

std::string ElapsedText(const records::ElapsedTime& time) {
    return platform::Format("%.2d:%.2d:%.2d", time.hours, time.minutes, time.seconds);
}

std::optional<records::ElapsedTime> ParseElapsed(std::string_view text) {
    const std::string time = platform::TrimLeft(text);
    if (time.size() < static_cast<size_t>(kElapsedLength))
        return std::nullopt;
    for (const size_t at : {0, 1, 3, 4, 6, 7})
        if (!IsDigit(time[at]))
            return std::nullopt;
    return records::ElapsedTime{platform::Atoi(time.substr(0, 2)),
                                platform::Atoi(time.substr(3, 2)),
                                platform::Atoi(time.substr(6, 2))};
}

LiveRecordText ParseSpectrumRecord(std::string_view reply, int bands) {
    LiveRecordText record;
    const std::string text = protocol::WithoutEtx(reply);
    std::string flat = text;
    std::replace(flat.begin(), flat.end(), '\r', ' ');
    std::replace(flat.begin(), flat.end(), '\n', ' ');
    const int equals = platform::Find(flat, kElapsedKey);
    if (equals >= 0 && flat.size() >= kElapsedReplyMinimum)
        record.elapsed = ParseElapsed(
            platform::Mid(flat, equals + static_cast<int>(kElapsedKey.size()), kElapsedWidth));

    const int marker = platform::Find(text, kMarkerKey);
    if (marker >= 0) {
        const size_t from = static_cast<size_t>(marker) + kMarkerKey.size();
        const size_t to = std::min(text.find('\r', from), text.size());
        record.marker = platform::Trim(std::string_view(text).substr(from, to - from));
    }

    const int levels = platform::Find(text, kLevelsKey);
    if (levels < 0)
        return record;
    record.hasLevels = true;
    const std::string_view list =
        std::string_view(text).substr(std::min(text.size(), size_t(levels + kLevelListOffset)));
    size_t at = 0;
    for (int band = 0; band < bands; ++band) {
        const size_t end = list.find(kLineEnd, at);
        if (end == std::string_view::npos) {
            AddMissing(record);
        } else {
            // The five characters before the line end, never those of the line before.
            const size_t start = end >= at + kLevelWidth ? end - kLevelWidth : at;
            AddLevel(record, list.substr(start, end - start));
            at = end + kLineEnd.size();
        }
        // The overall level may stand after a blank line.
        if (band == bands - 2)
            while (at < list.size() && std::isspace(static_cast<unsigned char>(list[at])))
                ++at;
    }
    return record;
}

std::string_view SpectrumLevelList(std::string_view reply) {
    const size_t levels = reply.find(kLevelsKey);
    if (levels == std::string_view::npos)
        return {};
    return reply.substr(std::min(reply.size(), levels + kLevelListOffset));
}

LiveRecordText ParseLevelRecord(std::string_view reply, int levels) {
    if (platform::Trim(protocol::WithoutEtx(reply)) == kMissingRecord) {
        LiveRecordText record;
        record.hasLevels = true;
        record.levelTexts.assign(static_cast<size_t>(levels), "0");
        record.words.assign(static_cast<size_t>(levels), 0);
        return record;
    }
    return ParseTabbedRecord(reply, levels, true);
}

LiveRecordText ParseProfileRecord(std::string_view reply, int samples) {
    return ParseTabbedRecord(reply, samples, false);
}

}  // namespace acquisition
