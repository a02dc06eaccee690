// The golden files' comparison: what a mismatch prints, and the switch that writes them.
#include "support/golden_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "support/test_env.h"

namespace {

// Sets an environment variable, or removes it (nullopt), for the object's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

golden::Lines Numbered(int count) {
    golden::Lines lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("line " + std::to_string(i));
    return lines;
}

}  // namespace

TEST(GoldenFile, AMismatchShowsEachChangeWithItsContextAndLineNumbers) {
    golden::Lines now = Numbered(30);
    now[9] = "changed";                        // line 10
    now.erase(now.begin() + 24);               // line 25 gone
    now.insert(now.begin() + 27, "new line");  // before line 29
    EXPECT_EQ(golden::LineDiff(Numbered(30), now),
              "@@ golden line 7, now line 7 @@\n"
              "  line 7\n  line 8\n  line 9\n- line 10\n+ changed\n  line 11\n  line 12\n"
              "  line 13\n"
              "@@ golden line 22, now line 22 @@\n"
              "  line 22\n  line 23\n  line 24\n- line 25\n  line 26\n  line 27\n  line 28\n"
              "+ new line\n  line 29\n  line 30\n");
    EXPECT_EQ(golden::LineDiff(Numbered(3), Numbered(3)), "");
    // A long diff is cut.
    const std::string cut = golden::LineDiff(Numbered(100), golden::Lines{}, 5);
    EXPECT_NE(cut.find("... 95 more diff lines"), std::string::npos) << cut;
}

TEST(GoldenFile, TheSwitchWritesTheGoldenFileThatIsComparedOtherwise) {
    testenv::ScratchFolder folder;
    const ScopedEnv source("KX9_SOURCE_DIR", folder.Path());
    // Also when the whole suite's golden files are being captured.
    const ScopedEnv compare("KX9_UPDATE_GOLDEN", std::nullopt);
    const golden::Lines lines = {"<< A<ETX>", ">> B"};

    const auto missing = golden::MatchesGolden("golden/kept.txt", lines);
    EXPECT_FALSE(missing);
    EXPECT_NE(std::string(missing.message()).find("KX9_UPDATE_GOLDEN=1"), std::string::npos);
    {
        const ScopedEnv update("KX9_UPDATE_GOLDEN", "1");
        folder.Write("golden/kept.txt", "");
        EXPECT_TRUE(golden::MatchesGolden("golden/kept.txt", lines));
    }
    EXPECT_EQ(folder.Read("golden/kept.txt"), "<< A<ETX>\n>> B\n");
    EXPECT_TRUE(golden::MatchesGolden("golden/kept.txt", lines));

    const auto differs = golden::MatchesGolden("golden/kept.txt", {"<< A<ETX>", ">> C"});
    EXPECT_FALSE(differs);
    EXPECT_NE(std::string(differs.message()).find("- >> B\n+ >> C\n"), std::string::npos)
        << differs.message();
}
