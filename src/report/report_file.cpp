#include "report/report_file.h"

#include <optional>

#include "platform/files.h"
#include "report/report_seal.h"

namespace report {

namespace {
struct SealedText {
    std::string error;
    std::string content;  // the bytes before the seal line
};

SealedText ReadSealed(const std::string& path) {
    const auto file = platform::ReadWholeFile(platform::ToNativePath(path));
    if (!file)
        return {"Impossibile aprire il rapporto:\n" + path, {}};
    const SealCheck seal = CheckSeal(*file);
    switch (seal.state) {
        case SealState::Valid:
            return {{}, std::string(seal.content)};
        case SealState::Missing:
            return {"ATTENZIONE:\nIl rapporto non e' sigillato e non puo' essere aperto.\n" + path,
                    {}};
        case SealState::Broken:
            break;
    }
    return {
        "ATTENZIONE:\nIl rapporto e' danneggiato: il sigillo non corrisponde al "
        "contenuto.\nIl rapporto non puo' essere aperto.\n" +
            path,
        {}};
}
}  // namespace

LoadedReport ReadVerificationFile(const std::string& path) {
    SealedText text = ReadSealed(path);
    if (!text.error.empty())
        return {text.error, {}, {}};
    LoadedReport report;
    report.sections = ReadSections(text.content);
    report.verdict = ReadVerdict(report.sections);
    return report;
}

std::string RewriteHeader(const std::string& path,
                          const std::vector<std::pair<std::string, std::string>>& values) {
    const SealedText text = ReadSealed(path);
    if (!text.error.empty())
        return text.error;
    const std::optional<std::string> changed = WithHeaderValues(text.content, values);
    if (!changed)
        return "ATTENZIONE:\nIl rapporto non ha intestazione.\n" + path;
    if (!platform::WriteFileAtomic(platform::ToNativePath(path), Sealed(*changed)))
        return "Impossibile scrivere il rapporto:\n" + path;
    return {};
}

}  // namespace report
