#include "graph/graph_marks.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "graph/axis_label.h"
#include "platform/text.h"

namespace graph {

namespace {

constexpr char kSeparator = '#';
// More digits than a long long holds are no sample number.
constexpr size_t kMostSampleDigits = 18;
constexpr std::string_view kHalfSecond = "500";

// Field `index` of a "#"-joined text; empty past the last one.
std::string Field(std::string_view text, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const size_t at = text.find(kSeparator, start);
        if (at == std::string_view::npos)
            return {};
        start = at + 1;
    }
    const size_t end = text.find(kSeparator, start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

std::string AfterField(std::string_view text, int index) {
    size_t start = 0;
    for (int i = 0; i <= index; ++i) {
        const size_t at = text.find(kSeparator, start);
        if (at == std::string_view::npos)
            return {};
        start = at + 1;
    }
    return std::string(text.substr(start));
}

template <typename Int>
std::optional<Int> WholeNumber(std::string_view text) {
    Int value{};
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

std::string Clean(std::string text) {
    std::ranges::replace_if(
        text, [](char c) { return c == kSeparator || c == '\r' || c == '\n'; }, ' ');
    return text;
}

// Two digits at `at` of a time text; nothing unless both are digits.
std::optional<int> TwoDigits(std::string_view text, size_t at) {
    if (at + 2 > text.size())
        return std::nullopt;
    return WholeNumber<int>(text.substr(at, 2));
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

std::optional<long long> SecondsOfDay(std::string_view text, size_t at) {
    const auto h = TwoDigits(text, at);
    const auto m = TwoDigits(text, at + 3);
    const auto s = TwoDigits(text, at + 6);
    if (!h || !m || !s)
        return std::nullopt;
    return *h * 3600LL + *m * 60LL + *s;
}

// "%Y/%m/%d %H:%M:%S" in the first 19 characters.
std::optional<long long> AbsoluteSeconds(std::string_view text) {
    constexpr size_t kDateTimeLength = 19;
    if (text.size() < kDateTimeLength)
        return std::nullopt;
    const auto year = WholeNumber<int>(text.substr(0, 4));
    const auto month = TwoDigits(text, 5);
    const auto day = TwoDigits(text, 8);
    const auto time = SecondsOfDay(text, 11);
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (!year || !month || !day || !time || *month < 1 || *month > 12 || *day < 1 ||
        *day > kDays[*month - 1] + (*month == 2 && IsLeap(*year)))
        return std::nullopt;
    return DaysFromCivil(*year, *month, *day) * 86400 + *time;
}

}  // namespace

// --- markers

std::string Marker::Time() const {
    return Field(readout, 0);
}

std::string Marker::Level() const {
    return Field(readout, 1);
}

std::string Marker::Rest() const {
    return AfterField(readout, 1);
}

int Marker::Channel() const {
    const size_t at = readout.rfind('$');
    if (at == std::string::npos || at + 1 >= readout.size())
        return -1;
    const char digit = readout[at + 1];
    return digit >= '0' && digit <= '9' ? digit - '0' : -1;
}

std::string MakeMarker(const std::string& sampleDigits, const std::string& readout) {
    return sampleDigits + kSeparator + readout;
}

std::optional<Marker> ParseMarker(std::string_view text) {
    const std::string digits = Field(text, 0);
    if (digits.size() > kMostSampleDigits)
        return std::nullopt;
    const auto sample = WholeNumber<long long>(digits);
    if (!sample || *sample < 0)
        return std::nullopt;
    return Marker{*sample, AfterField(text, 0)};
}

void StoreMarker(std::vector<std::string>& markers, int which, const std::string& text) {
    if (which == kMarkerA) {
        if (markers.empty())
            markers.resize(1);
        markers[kMarkerA] = text;
    } else if (which == kMarkerB) {
        markers.resize(2);
        markers[kMarkerB] = text;
    }
}

bool HasBothMarkers(const std::vector<std::string>& markers) {
    return markers.size() >= 2 && ParseMarker(markers[kMarkerA]) && ParseMarker(markers[kMarkerB]);
}

std::string SampleDigits(std::string_view coordinates) {
    const int equals = platform::Find(coordinates, '=');
    const int comma = platform::Find(coordinates, ',');
    if (equals < 0 || comma <= equals)
        return {};
    std::string between = platform::Mid(coordinates, equals + 1, comma - equals - 1);
    if (!between.empty())
        between.pop_back();
    const auto digits =
        std::find_if(between.begin(), between.end(), [](char c) { return c < '0' || c > '9'; });
    return platform::Trim(std::string_view(between.data(), digits - between.begin()));
}

std::string CoordinateText(const std::string& x, const std::string& y) {
    return "x=" + x + ", y=" + y;
}

// --- labels and events

std::string MakeLabelRecord(const GraphLabel& label) {
    const char separator[] = {kSeparator, 0};
    std::string record = std::to_string(label.record);
    for (const std::string* text :
         {&label.kind, &label.xText, &label.yText, &label.text, &label.second})
        record += separator + Clean(*text);
    return record;
}

std::optional<GraphLabel> ParseLabelRecord(std::string_view record) {
    constexpr size_t kPlacingFields = 4;
    if (static_cast<size_t>(std::ranges::count(record, kSeparator)) + 1 < kPlacingFields)
        return std::nullopt;
    const auto number = WholeNumber<int>(platform::Trim(Field(record, 0)));
    if (!number)
        return std::nullopt;
    return GraphLabel{*number,          Field(record, 1), Field(record, 2),
                      Field(record, 3), Field(record, 4), Field(record, 5)};
}

std::optional<EventSpan> ParseEventSpan(std::string_view start, std::string_view end) {
    const auto startRecord = WholeNumber<int>(Field(start, 0));
    const auto startSample = WholeNumber<long long>(Field(start, 1));
    const auto endRecord = WholeNumber<int>(Field(end, 0));
    const auto endSample = WholeNumber<long long>(Field(end, 1));
    if (!startRecord || !startSample || !endRecord || !endSample)
        return std::nullopt;
    return EventSpan{*startRecord, *startSample, *endRecord, *endSample};
}

// --- numbers and texts

double LeadingNumber(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    if (at < text.size() && text[at] == '+')
        ++at;
    double value = 0;
    const auto result = std::from_chars(text.data() + at, text.data() + text.size(), value,
                                        std::chars_format::general);
    return result.ec == std::errc() ? value : 0;
}

std::string TimeDifference(std::string_view timeA, std::string_view timeB, bool absoluteTimes) {
    constexpr size_t kShortestTime = 8;
    std::optional<long long> a;
    std::optional<long long> b;
    if (absoluteTimes) {
        a = AbsoluteSeconds(timeA);
        b = AbsoluteSeconds(timeB);
    } else if (timeA.size() >= kShortestTime && timeB.size() >= kShortestTime) {
        a = SecondsOfDay(timeA, 0);
        b = SecondsOfDay(timeB, 0);
    }
    if (!a || !b)
        return {};
    const long long span = *b - *a;
    const long long whole = std::llabs(span);
    return platform::Format("%s%02lld:%02lld:%02lld", span < 0 ? "-" : "", whole / 3600,
                            whole / 60 % 60, whole % 60);
}

std::string MarkerComparison(const Marker& a, const std::string& timeA, const Marker& b,
                             const std::string& timeB, const std::string& current,
                             bool channelLevels, bool absoluteTimes) {
    const double levelA = LeadingNumber(a.Level());
    const double levelB = LeadingNumber(b.Level());
    const std::string difference = FormatFixed(levelB - levelA, 1);
    std::string halfSecond;
    const bool halfA = timeA.find(kHalfSecond) != std::string::npos;
    const bool halfB = timeB.find(kHalfSecond) != std::string::npos;
    if (halfA && !halfB)
        halfSecond = " (-500ms)";
    else if (halfB && !halfA)
        halfSecond = " (+500ms)";
    const std::string span = TimeDifference(timeA, timeB, absoluteTimes);
    const std::string shownA = FormatFixed(levelA, 1);
    const std::string shownB = FormatFixed(levelB, 1);
    if (channelLevels)
        return "A: " + timeA + "  " + shownA + " dB\rB: " + timeB + "  " + shownB +
               " dB\r\rB-A: " + span + "   " + difference + " dB" + halfSecond;
    return "Curr: " + current + "\r\r" + (absoluteTimes ? "A: " : "A:") + timeA + "  " + shownA +
           " dB " + a.Rest() + "\rB: " + timeB + "  " + shownB + " dB " + b.Rest() +
           "\r\rB-A: " + span + "   " + difference + " dB " + halfSecond;
}

}  // namespace graph
