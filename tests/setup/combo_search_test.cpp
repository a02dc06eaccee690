// How the setup pages find a stored value in a list, and the lists a page model keeps.
#include "setup/combo_search.h"

#include <gtest/gtest.h>

#include "setup/page_controls.h"

using setup::FindPrefix;

TEST(ComboSearch, FindsTheFirstEntryBeginningWithTheTextWithoutCaseAndWrapsRound) {
    const std::vector<std::string> entries = {"Lpk", "Leq", "LFmx", "LE", "leq2", "OL"};
    EXPECT_EQ(FindPrefix(entries, "LEQ"), 1);
    EXPECT_EQ(FindPrefix(entries, "lfmx"), 2);
    // "LE" stops at "Leq", the first entry it begins; the search goes on after a match ...
    EXPECT_EQ(FindPrefix(entries, "LE"), 1);
    EXPECT_EQ(FindPrefix(entries, "LE", 1), 3);
    EXPECT_EQ(FindPrefix(entries, "LE", 3), 4);
    // ... and from the top after the last entry.
    EXPECT_EQ(FindPrefix(entries, "LE", 4), 1);
    EXPECT_EQ(FindPrefix(entries, "Lpk", 5), 0);
    EXPECT_EQ(FindPrefix(entries, "O", 99), 5);

    // Nothing begins with it, or there is nothing to look for.
    EXPECT_EQ(FindPrefix(entries, "Leq:A"), -1);
    EXPECT_EQ(FindPrefix(entries, "x"), -1);
    EXPECT_EQ(FindPrefix(entries, ""), -1);
    EXPECT_EQ(FindPrefix({}, "L"), -1);
}

TEST(PageControls, ListsKeepTheirSelectionWhenTheSearchFindsNothing) {
    setup::PageControls controls;
    controls.FillList(1552, {"9.6k", "19.2k", "38.4k"});
    EXPECT_EQ(controls.SelectedText(1552), std::nullopt);
    EXPECT_TRUE(controls.SelectPrefix(1552, "38.4K"));
    EXPECT_EQ(controls.SelectedText(1552), "38.4k");
    EXPECT_FALSE(controls.SelectPrefix(1552, "230.4k"));
    EXPECT_FALSE(controls.SelectPrefix(1552, ""));
    EXPECT_EQ(controls.Selected(1552), 2);

    controls.Select(1552, 3);
    EXPECT_EQ(controls.Selected(1552), -1);
    controls.Select(1552, 0);
    controls.FillList(1552, {"OFF"});
    EXPECT_EQ(controls.Selected(1552), -1);
}
