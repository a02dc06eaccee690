#include "cipher/meter_readings.h"

#include "platform/text.h"

namespace cipher {

namespace {

// Whether the whole field, blanks around it aside, is one number: the meters' conversion
// reads only the leading number and would take "09x5" as 9 without a word.
bool IsWholeNumber(std::string_view field) {
    const std::string trimmed = platform::Trim(field);
    if (trimmed.empty())
        return false;
    char* end = nullptr;
    platform::StrToD(trimmed.c_str(), &end);
    return end == trimmed.c_str() + trimmed.size();
}

}  // namespace

TargetReading ReadTargetReading(std::string_view decoded) {
    TargetReading reading;
    for (int channel = 0; channel < 3; ++channel) {
        const std::string field = platform::Mid(decoded, 4 * channel, 4);
        reading.channels[channel] = platform::Atof(field) / 10.0;
        reading.numeric = reading.numeric && IsWholeNumber(field);
    }
    reading.rest = platform::Mid(decoded, 12, 8);
    return reading;
}

ReferenceReading ReadReferenceReading(std::string_view decoded) {
    const std::string field = platform::Mid(decoded, 0, 6);
    return {platform::Atof(field), IsWholeNumber(field)};
}

std::string TargetReadingText(const TargetReading& reading) {
    return platform::Format("00:00:00   %.1f - %.1f - %.1f - %s", reading.channels[0],
                            reading.channels[1], reading.channels[2], reading.rest.c_str());
}

std::string ReferenceReadingText(const ReferenceReading& reading) {
    return platform::Format("00:00:00   %.2f;%.1f;%.1f; ", reading.level, 0.0, 0.0);
}

std::string Printable(std::string_view raw) {
    std::string text;
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E)
            text += platform::Format("\\x%02X", byte);
        else
            text += c;
    }
    return text;
}

}  // namespace cipher
