// Which pages a print job sends: the whole document, or the dialog's range
// with its ends capped to the page count.
#include <gtest/gtest.h>

#include <utility>

#include "print/printRange.h"

namespace {

std::pair<int32_t, int32_t> rangeOf(int usePageNumbers, uint16_t from, uint16_t to,
                                    int32_t pageCount) {
    // Sentinels, so that an end left unwritten shows.
    int32_t first = -99, last = -99;
    choosePageRange(usePageNumbers, from, to, pageCount, &first, &last);
    return {first, last};
}

using Range = std::pair<int32_t, int32_t>;

}  // namespace

TEST(ChoosePageRange, WithoutPageNumbersEveryPageWhateverTheDialogHolds) {
    EXPECT_EQ(rangeOf(0, 1, 1, 5), Range(1, 5));
    // Flags are never reset, so stale numbers from an earlier job stay in the
    // record: they must not matter.
    EXPECT_EQ(rangeOf(0, 3, 4, 5), Range(1, 5));
    EXPECT_EQ(rangeOf(0, 9, 2, 5), Range(1, 5));
    EXPECT_EQ(rangeOf(0, 0, 0, 1), Range(1, 1));
    EXPECT_EQ(rangeOf(0, 1, 1, 70000), Range(1, 70000));
}

TEST(ChoosePageRange, ARangeInsideTheDocumentIsTakenAsItIs) {
    EXPECT_EQ(rangeOf(1, 2, 3, 5), Range(2, 3));
    EXPECT_EQ(rangeOf(1, 1, 5, 5), Range(1, 5));
    EXPECT_EQ(rangeOf(1, 4, 4, 5), Range(4, 4));
    EXPECT_EQ(rangeOf(1, 65535, 65535, 70000), Range(65535, 65535));
}

TEST(ChoosePageRange, FromPageZeroCountsAsOne) {
    EXPECT_EQ(rangeOf(1, 0, 3, 5), Range(1, 3));
    EXPECT_EQ(rangeOf(1, 0, 0, 5), Range(1, 1));  // a last page of 0 is raised to 1 too
}

TEST(ChoosePageRange, BothEndsAreCappedAtThePageCount) {
    // A range wholly beyond the document prints its last page only.
    EXPECT_EQ(rangeOf(1, 7, 9, 5), Range(5, 5));
    EXPECT_EQ(rangeOf(1, 65535, 65535, 1), Range(1, 1));
    // A range that runs past the end stops at the last page.
    EXPECT_EQ(rangeOf(1, 3, 9, 5), Range(3, 5));
    // The dialog's 16-bit numbers are not sign-extended.
    EXPECT_EQ(rangeOf(1, 40000, 50000, 60000), Range(40000, 50000));
}

TEST(ChoosePageRange, FirstAboveLastAfterCappingSendsNothing) {
    Range reversed = rangeOf(1, 4, 2, 5);
    EXPECT_EQ(reversed, Range(4, 2));
    EXPECT_GT(reversed.first, reversed.second);
    // Capping the first end can leave it above a last end inside the document.
    EXPECT_EQ(rangeOf(1, 8, 3, 5), Range(5, 3));
    // A last page of 0 is raised to 1, below any first page above 1.
    EXPECT_EQ(rangeOf(1, 3, 0, 5), Range(3, 1));
}

TEST(ChoosePageRange, NoPages) {
    // Without a range nothing is sent.
    Range all = rangeOf(0, 1, 1, 0);
    EXPECT_EQ(all, Range(1, 0));
    // With a range the first end is capped to 0 and the last raised to 1: the
    // rule gives 0..1, so it is the callers that must not start a job on an
    // empty document (the print command refuses one).
    EXPECT_EQ(rangeOf(1, 1, 1, 0), Range(0, 1));
    EXPECT_EQ(rangeOf(1, 0, 0, 0), Range(0, 1));
}
