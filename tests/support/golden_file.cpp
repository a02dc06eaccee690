#include "support/golden_file.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "platform/files.h"
#include "support/test_env.h"

namespace golden {

namespace {

// Beyond this many cells the diff shows the first difference only.
constexpr size_t kMaxDiffCells = 4'000'000;
constexpr size_t kContext = 3;

Lines SplitLines(const std::string& text) {
    Lines lines;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

struct Edit {
    char kind;  // ' ', '-', '+'
    size_t keptLine;
    size_t nowLine;
};

// The shortest edit script by the longest common subsequence.
std::vector<Edit> EditScript(const Lines& kept, const Lines& now) {
    const size_t n = kept.size(), m = now.size();
    std::vector<std::vector<unsigned>> common(n + 1, std::vector<unsigned>(m + 1, 0));
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            common[i][j] = kept[i] == now[j] ? common[i + 1][j + 1] + 1
                                             : std::max(common[i + 1][j], common[i][j + 1]);
    std::vector<Edit> edits;
    size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && kept[i] == now[j])
            edits.push_back({' ', i++, j++});
        else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1]))
            edits.push_back({'-', i++, j});
        else
            edits.push_back({'+', i, j++});
    }
    return edits;
}

}  // namespace

bool Updating() {
    const char* value = std::getenv("KX9_UPDATE_GOLDEN");
    return value && std::string(value) == "1";
}

std::string LineDiff(const Lines& kept, const Lines& now, size_t maxLines) {
    std::ostringstream out;
    size_t written = 0;
    auto line = [&](char kind, const std::string& text) {
        if (written++ < maxLines)
            out << kind << ' ' << text << '\n';
    };
    if (kept.size() * now.size() > kMaxDiffCells) {
        const auto [k, n] = std::mismatch(kept.begin(), kept.end(), now.begin(), now.end());
        const size_t at = static_cast<size_t>(k - kept.begin());
        out << "@@ first difference at line " << at + 1 << " @@\n";
        if (k != kept.end())
            line('-', *k);
        if (n != now.end())
            line('+', *n);
        return out.str();
    }
    const std::vector<Edit> edits = EditScript(kept, now);
    auto changed = [&](size_t e) { return edits[e].kind != ' '; };
    for (size_t e = 0; e < edits.size(); ++e) {
        if (!changed(e))
            continue;
        // A run of changes with its context; changes closer than twice the context share one.
        size_t last = e;
        for (size_t next = e + 1; next < edits.size() && next <= last + 2 * kContext; ++next)
            if (changed(next))
                last = next;
        const size_t first = e >= kContext ? e - kContext : 0;
        const size_t end = std::min(edits.size(), last + kContext + 1);
        out << "@@ golden line " << edits[first].keptLine + 1 << ", now line "
            << edits[first].nowLine + 1 << " @@\n";
        for (size_t i = first; i < end; ++i)
            line(edits[i].kind,
                 edits[i].kind == '+' ? now[edits[i].nowLine] : kept[edits[i].keptLine]);
        e = end - 1;
    }
    if (written > maxLines)
        out << "... " << written - maxLines << " more diff lines\n";
    return out.str();
}

::testing::AssertionResult MatchesGolden(const std::string& relativePath, const Lines& lines) {
    const std::string path = testenv::SourceDir() + "/" + relativePath;
    if (Updating()) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        if (!platform::WriteFileAtomic(path, text))
            return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess();
    }
    const auto text = platform::ReadWholeFile(path);
    if (!text)
        return ::testing::AssertionFailure()
               << "no golden file " << relativePath << " (KX9_UPDATE_GOLDEN=1 writes it)";
    const Lines kept = SplitLines(*text);
    if (kept == lines)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << relativePath << " differs (- golden, + now; KX9_UPDATE_GOLDEN=1 rewrites it):\n"
           << LineDiff(kept, lines);
}

}  // namespace golden
