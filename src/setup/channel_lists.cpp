#include "setup/channel_lists.h"

#include <algorithm>
#include <initializer_list>

#include "link/model_rules.h"
#include "platform/text.h"
#include "records/band_labels.h"
#include "setup/combo_search.h"

namespace setup::channel_lists {

namespace {

using List = std::vector<std::string>;

constexpr std::initializer_list<const char*> kOctaveGroup = {"LOeq",  "LOeqI", "LOFp",  "LOSp",
                                                             "LOFmx", "LOSmx", "LOFmn", "LOSmn"};
constexpr std::initializer_list<const char*> kThirdOctaveGroup = {
    "LTOeq", "LTOeqI", "LTOFp", "LTOSp", "LTOFmx", "LTOSmx", "LTOFmn", "LTOSmn"};
constexpr std::initializer_list<const char*> kPercentileLevels = {"L1", "L2", "L3", "L4", "OL"};

void Append(List& list, std::initializer_list<const char*> entries) {
    list.insert(list.end(), entries.begin(), entries.end());
}

bool IsOneOf(std::string_view text, std::initializer_list<const char*> entries) {
    return std::any_of(entries.begin(), entries.end(),
                       [text](const char* entry) { return text == entry; });
}

// The band labels carry a blank before "k", which the meter's lists leave out.
std::string Compact(const std::string& label) {
    return platform::Remove(label, ' ');
}

std::string WithPoint(std::string_view text) {
    std::string pointed(text);
    std::replace(pointed.begin(), pointed.end(), ',', '.');
    return pointed;
}

}  // namespace

std::vector<std::string> SlmParameters(int slm, std::string_view model, std::string_view shift) {
    const bool qs4160 = model_rules::IsQS4160(model);
    if (slm >= 4 && !qs4160)
        return {};
    List list = {"Lpk", "Lpkmx", "Leq", slm == 5 ? "LeqI" : "LeqS"};
    Append(list, {"LFp", "LSp", "LIp", "LFmx", "LSmx", "LImx", "LFmn", "LSmn", "LImn"});
    if (qs4160 && shift == records::kNoBandShift)
        Append(list, kOctaveGroup);
    if (slm >= 4) {
        Append(list, kThirdOctaveGroup);
        Append(list, {"Lav4", "Lav5", "LE", "Lep,d", "E", "Dose", "Dose,d"});
    } else {
        if (qs4160) {
            Append(list, kThirdOctaveGroup);
            Append(list, {"Lav4", "Lav5", "E"});
        }
        Append(list, {"LE", "Lep,d", "Dose", "Dose,d"});
    }
    Append(list, kPercentileLevels);
    return list;
}

std::vector<std::string> ProfileParameters() {
    List list = {"Lpkmx", "Leq", "LFmx", "LSmx", "LImx", "LFmn", "LSmn", "LImn"};
    Append(list, {"LOeq", "LOFmx", "LOSmx", "LOFmn", "LOSmn"});
    Append(list, {"LTOeq", "LTOFmx", "LTOSmx", "LTOFmn", "LTOSmn"});
    return list;
}

BandKind BandKindOf(std::string_view parameter) {
    if (IsOneOf(parameter, {"Lpk", "Lpkmx"}))
        return BandKind::PeakWeights;
    if (IsOneOf(parameter, {"Leq", "LeqS", "LeqI", "LFp", "LSp", "LIp", "LFmx", "LSmx", "LImx",
                            "LFmn", "LSmn", "LImn"}))
        return BandKind::Weights;
    if (IsOneOf(parameter, kOctaveGroup))
        return BandKind::Octaves;
    if (IsOneOf(parameter, kThirdOctaveGroup))
        return BandKind::ThirdOctaves;
    if (IsOneOf(parameter, {"Lav4", "Lav5", "E", "LE", "Lep,d", "Dose", "Dose,d"}))
        return BandKind::AOnly;
    if (IsOneOf(parameter, kPercentileLevels))
        return BandKind::None;
    return BandKind::Unknown;
}

std::vector<std::string> BandEntries(BandKind kind, std::string_view shift) {
    List list;
    switch (kind) {
        case BandKind::PeakWeights:
            return {"Z", "C"};
        case BandKind::Weights:
            return {"Z", "C", "A"};
        case BandKind::AOnly:
            return {"A"};
        case BandKind::Octaves:
            for (int band = 0; band < records::kOctaveBands; ++band)
                list.push_back(Compact(records::OctaveBandLabel(band, {})));
            return list;
        case BandKind::ThirdOctaves:
            for (int band = 0; band < records::kThirdOctaveBands; ++band)
                list.push_back(Compact(records::ThirdOctaveBandLabel(band, shift, {})));
            return list;
        case BandKind::Unknown:
        case BandKind::None:
            break;
    }
    return list;
}

std::vector<std::string> ShownProfileBandEntries(BandKind kind, std::string_view shift) {
    if (kind != BandKind::ThirdOctaves)
        return BandEntries(kind, shift);
    return {"16", "25",   "40",   "63", "100",  "160", "250", "400", "630",
            "1k", "1,6k", "2,5k", "4k", "6,3k", "10k", "16k", "20k"};
}

int FindBand(const std::vector<std::string>& entries, std::string_view band) {
    List pointed;
    pointed.reserve(entries.size());
    for (const std::string& entry : entries)
        pointed.push_back(WithPoint(entry));
    return FindPrefix(pointed, WithPoint(band));
}

bool SameParameterValue(std::string_view a, std::string_view b) {
    return WithPoint(a) == WithPoint(b);
}

std::vector<std::string> ProfileTimes(std::string_view profileParameter) {
    const bool fine =
        profileParameter.empty() || (BandKindOf(profileParameter) == BandKind::Weights);
    List list;
    if (fine)
        Append(list, {"0.125s", "0.25s"});
    Append(list, {"0.5s", "1s", "2s", "5s", "10s", "20s", "30s", "1m", "2m", "5m", "10m", "20m",
                  "30m", "1h"});
    return list;
}

}  // namespace setup::channel_lists
