// What the copy-progress page counts and shows, as decisions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/PackageItems.h"
#include "pages/CopyProgressRules.h"
#include "support/Text.h"

using namespace korv;
using korv::test::Narrow;

TEST(CopyProgressRules, PackageStepsCountUntilTheFirstEmptyPart) {
    struct Case {
        const wchar_t* list;
        int parts;
    } cases[] = {
        {L"a.exe", 1}, {L"a.exe;b.msi;c.msi", 3}, {L"", 1}, {L";a.exe", 1}, {L"a.exe;;b.exe", 1},
        {L"a.exe;", 1}, {L";", 1}, {L"a;b", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CountPackageSteps(c.list), c.parts) << Narrow(c.list);
    }
}

TEST(CopyProgressRules, TotalSteps) {
    const std::vector<PackageSteps> none;
    // A 64-bit product on 32-bit Windows with the automation class present.
    EXPECT_EQ(TotalProgressSteps({true, 0, 1}, none), 10);
    EXPECT_EQ(TotalProgressSteps({false, 0, 1}, none), 11);
    EXPECT_EQ(TotalProgressSteps({true, 1, 1}, none), 12);
    EXPECT_EQ(TotalProgressSteps({true, 1, 0}, none), 14);
    const std::vector<PackageSteps> packages = {{1, L"a.exe;b.msi;c.msi"}, {0, L"x.exe"}, {1, L""}, {2, L"y.exe"}};
    EXPECT_EQ(TotalProgressSteps({true, 0, 1}, packages), 10 + 3 + 1);
}

TEST(CopyProgressRules, BarWrapsInsteadOfOverflowing) {
    EXPECT_EQ(NextProgressStep(1, 10), 2);
    EXPECT_EQ(NextProgressStep(9, 10), 0);
    EXPECT_EQ(NextProgressStep(0, 10), 1);
    EXPECT_EQ(NextProgressStep(0, 0), 0);
}

TEST(CopyProgressRules, CaptionNamesTheStage) {
    const int expected[] = {2058, 2039, 2039, 2040, 2041, 2058, 2058};
    for (int stage = 0; stage <= 6; ++stage) {
        EXPECT_EQ(StageCaption(stage).textId, expected[stage]) << stage;
    }
    EXPECT_EQ(StageCaption(-1).textId, 2058);
    EXPECT_STREQ(StageCaption(3).fallback, L"Installing Korvanix Collaboration System...");
}

TEST(CopyProgressRules, SixSlidesInTurn) {
    int n = 1;
    for (int shown = 0; shown < 7; ++shown) {
        const Slide slide = SlideNumber(n);
        EXPECT_EQ(slide.picture, 260u + n);
        EXPECT_EQ(slide.titleId, 2250 + 2 * (n - 1));
        EXPECT_EQ(slide.textId, slide.titleId + 1);
        n = NextSlide(n);
    }
    EXPECT_EQ(NextSlide(6), 1);
    EXPECT_STREQ(SlideNumber(6).title, L"Flexible licensing");
    EXPECT_STREQ(SlideNumber(1).text, L"Excellent Performance, smooth and seamless drawing experience.");
    EXPECT_STREQ(kOpeningSlideText, L"Powerful tools help you automate and intelligentize your work.");
}
