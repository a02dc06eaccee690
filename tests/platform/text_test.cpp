#include "platform/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/qt_text.h"

using namespace platform;

TEST(Text, SlicesNeverReachPastEitherEnd) {
    EXPECT_EQ(Mid("SET:INSTR_M:", 12), "");
    EXPECT_EQ(Mid("abc", -2, 2), "ab");
    EXPECT_EQ(Mid("abcdef", 2, 100), "cdef");
    EXPECT_EQ(Left("ab", 5), "ab");
    EXPECT_EQ(Left("ab", -1), "");
    EXPECT_EQ(Right("ab", 5), "ab");
    EXPECT_EQ(Right("abcdef", 2), "ef");
    EXPECT_EQ(Find("abc", "c", 10), -1);
    EXPECT_EQ(Find("abcabc", "c", 3), 5);
    EXPECT_EQ(Find("abc", 'z'), -1);
}

TEST(Text, NumbersComeFromTheLeadingDigits) {
    EXPECT_EQ(Atoi("  42dB"), 42);
    EXPECT_EQ(Atoi("-7:00"), -7);
    EXPECT_EQ(Atoi("x1"), 0);
    EXPECT_EQ(Atoi(""), 0);
    EXPECT_DOUBLE_EQ(Atof("93.8 dB"), 93.8);
    EXPECT_DOUBLE_EQ(Atof("abc"), 0.0);
}

TEST(Text, NumbersKeepTheDecimalPointUnderADesktopLocaleWithADecimalComma) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    // As QApplication does from LANG.
    if (!std::setlocale(LC_ALL, "it_IT.UTF-8"))
        GTEST_SKIP() << "it_IT.UTF-8 is not installed";
    EXPECT_EQ(Format("%.2f;%.1f", 94.253, 1234.5), "94.25;1234.5");
    EXPECT_DOUBLE_EQ(Atof("94.253"), 94.253);
    char* end = nullptr;
    EXPECT_DOUBLE_EQ(StrToD("0.5dB", &end), 0.5);
    EXPECT_STREQ(end, "dB");
    std::setlocale(LC_ALL, previous.c_str());
}

TEST(Text, TrimSplitReplaceFormat) {
    EXPECT_EQ(TrimRight("COM3 \r\n\t"), "COM3");
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Remove(" 9 4 dB", ' '), "94dB");
    EXPECT_EQ(ReplaceAll("94dB dB", "dB", ""), "94 ");
    EXPECT_EQ(Split("a;;b", ';'), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Format("COM%d %s", 3, "x"), "COM3 x");
    EXPECT_EQ(Format("%s", std::string(5000, 'a').c_str()).size(), 5000u);
}

TEST(Text, Latin1RoundTripsThroughUtf8) {
    const std::string latin1 =
        "Qualit\xE0 \xB0"
        "C";
    EXPECT_EQ(Latin1ToUtf8(latin1),
              "Qualit\xC3\xA0 \xC2\xB0"
              "C");
    EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(latin1)), latin1);
    EXPECT_EQ(Utf8ToLatin1("\xE2\x82\xAC"), "?");  // the euro sign has no Latin-1 code
    EXPECT_EQ(Utf8ToLatin1("\xC3"), "?");          // cut sequence
}

TEST(Text, TextsAndSystemNamesCrossIntoQtEachInItsOwnEncoding) {
    std::string every;
    for (int c = 1; c < 256; ++c)
        every.push_back(static_cast<char>(c));
    EXPECT_EQ(FromQt(ToQt(every)), every);
    EXPECT_EQ(ToQt("Citt\xE0\r\nForl\xEC"), QStringLiteral(u"Citt\u00E0\nForl\u00EC"));
    // The euro sign and a character beyond 16 bits.
    EXPECT_EQ(FromQt(QStringLiteral(u"\u20AC \U0001F600")), "? ?");

    // A path is the system's UTF-8; a message names it in Latin-1.
    const std::string path = "/dati/Forl\xC3\xAC.kr9";
    EXPECT_EQ(SystemNameToQt(path), QStringLiteral(u"/dati/Forl\u00EC.kr9"));
    EXPECT_EQ(SystemNameFromQt(SystemNameToQt(path)), path);
    EXPECT_EQ(SystemNameToText(path), "/dati/Forl\xEC.kr9");
}
