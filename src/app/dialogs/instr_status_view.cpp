#include "app/dialogs/instr_status_view.h"

#include <algorithm>
#include <initializer_list>

#include "link/command_table.h"
#include "platform/text.h"

using platform::Contains;

namespace {
bool ContainsAny(std::string_view text, std::initializer_list<std::string_view> parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [text](std::string_view part) { return Contains(text, part); });
}

int Percent(std::string_view digits) {
    return std::clamp(platform::Atoi(digits), 0, 100);
}

bool HasLongRecorder(std::string_view model) {
    return ContainsAny(model, {"QS4160_L", "QS4160_H"});
}

class Lines {
public:
    explicit Lines(std::string_view text) : m_rest(text) {}
    // The next line, when it ends with CR LF.
    bool Take(std::string& line) {
        const int end = platform::Find(m_rest, "\r\n");
        if (end < 0)
            return false;
        line = platform::Left(m_rest, end);
        m_rest = platform::Mid(m_rest, end + 2);
        return true;
    }
    // The next line without the CR LF check: without one the line is empty and the rest
    // loses its first character (harmless, as no line can follow then).
    std::string TakeUnchecked() {
        const int end = platform::Find(m_rest, "\r\n");
        std::string line = platform::Left(m_rest, end);
        m_rest = platform::Mid(m_rest, end + 2);
        return line;
    }

private:
    std::string m_rest;
};

void ApplyRecorderLine(const std::string& line, std::string_view model, InstrStatusFields& f) {
    if (!Contains(line, "AUTO-STORE")) {
        f.slm = Contains(line, "SLM");
        f.profile = Contains(line, "PROFILE");
        f.octave = Contains(line, "OCTAVE");
        f.thirdOctave = Contains(line, "THIRD OCTAVE");
        f.fft = Contains(line, "FFT");
        f.shortLeq = Contains(line, "LEQ SHORT");
        f.recorderCaption = Contains(line, "OFF") ? "Recorder OFF" : "Recorder ON";
    } else {
        f.slm = true;
        f.octave = true;
        const bool spectra =
            ContainsAny(model, {"QS4160", "QS4060_A", "QS4060_C", "QS4060_E", "QS4060_G"});
        f.thirdOctave = spectra;
        f.fft = spectra;
        f.recorderCaption = "Auto Store ON";
    }
    if (!HasLongRecorder(model)) {
        f.fft = false;
        f.shortLeq = false;
    }
}
}  // namespace

void ParseInstrStatus(std::string_view text, std::string_view model, InstrStatusFields& f) {
    Lines lines(text);
    std::string line;
    if (!lines.Take(line))
        return;
    f.display = platform::ReplaceAll(line, "STATUS:", "");
    if (!lines.Take(line))
        return;
    f.autoPowerOff = platform::ReplaceAll(line, kSettingFamily, "");
    if (!lines.Take(line))
        return;
    f.acquisition = platform::ReplaceAll(line, "STATUS:", "");
    f.integration = lines.TakeUnchecked();
    if (!lines.Take(line))
        return;
    f.battery = line;
    if (Contains(line, "EXT"))
        f.batteryBar = 100;
    else
        f.batteryBar = line.size() >= 8 ? Percent(platform::Mid(line, 8)) : 0;
    if (!lines.Take(line))
        return;
    f.memory = line;
    f.memoryBar = Percent(platform::Mid(line, 7));
    std::string info[3];
    for (std::string& part : info)
        if (!lines.Take(part))
            return;
    f.information = info[0] + "\r\n" + info[1] + "\r\n" + info[2];
    if (!lines.Take(line))
        return;
    ApplyRecorderLine(line, model, f);
}

RecorderLayout LayoutRecorderArea(std::string_view model) {
    using namespace recorder;
    RecorderLayout layout;
    const char* boxes[] = {kOctaveBox,      kProfileBox, kSlmBox,
                           kThirdOctaveBox, kFftBox,     kShortLeqBox};
    const char* labels[] = {kOctaveLabel,      kProfileLabel, kSlmLabel,
                            kThirdOctaveLabel, kFftLabel,     kShortLeqLabel};
    auto set = [&](const char* name, bool visible) { layout.controls[name].visible = visible; };
    for (const char* name : boxes)
        set(name, true);
    for (const char* name : labels)
        set(name, true);
    set(kStatusLabel, true);

    if (Contains(model, "QS4060")) {
        for (const char* name : boxes)
            set(name, false);
        for (const char* name : labels)
            set(name, false);
        set(kStatusLabel, true);
        layout.statusLabel = ContainsAny(model, {"QS4060_B", "QS4060_C", "QS4060_F", "QS4060_G",
                                                 "QS4060_b", "QS4060_c", "QS4060_f", "QS4060_g",
                                                 "q", "r", "n", "k", "j", "N", "K", "J"})
                                 ? "ENABLED"
                                 : "DISABLED";
    }
    if (ContainsAny(model, {"r", "n", "k", "j", "N", "K", "J"})) {
        for (const char* name :
             {kProfileBox, kOctaveBox, kThirdOctaveBox, kFftBox, kShortLeqBox, kProfileLabel,
              kOctaveLabel, kThirdOctaveLabel, kFftLabel, kShortLeqLabel})
            set(name, false);
        set(kSlmBox, true);
        layout.slmCaption = "SLM + PROFILE";
        set(kSlmLabel, false);
        set(kStatusLabel, false);
    }
    if (Contains(model, "QS4160")) {
        for (const char* name : boxes)
            set(name, true);
        for (const char* name : labels)
            set(name, true);
        set(kStatusLabel, false);
        const bool longRecorder = HasLongRecorder(model);
        const bool hidden = ContainsAny(model, {"QS4160_I", "QS4160_M"});
        for (const char* name : {kFftBox, kShortLeqBox, kFftLabel, kShortLeqLabel}) {
            layout.controls[name].enabled = longRecorder;
            if (hidden)
                set(name, false);
        }
    }
    return layout;
}
