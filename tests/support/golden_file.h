#pragma once
// Golden files: a test's output as text lines, compared with the copy kept in the source tree.
// A mismatch fails the test with a line diff. With KX9_UPDATE_GOLDEN=1 in the environment the
// test writes its output into the golden file instead, and passes:
//
//     cd build && KX9_UPDATE_GOLDEN=1 QT_QPA_PLATFORM=offscreen ctest -R Golden
//
// captures every golden file again; `git diff` then shows what changed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace golden {

using Lines = std::vector<std::string>;

// Whether KX9_UPDATE_GOLDEN=1.
bool Updating();

// `lines` against the golden file `relativePath` (from the source tree's root), or written into
// it when updating. Lines hold no line break; the file ends each with "\n".
::testing::AssertionResult MatchesGolden(const std::string& relativePath, const Lines& lines);

// The differences of `now` from `kept`, as "- " and "+ " lines between "  " context lines,
// each run of changes headed by its line numbers; at most `maxLines` lines.
std::string LineDiff(const Lines& kept, const Lines& now, size_t maxLines = 80);

}  // namespace golden
