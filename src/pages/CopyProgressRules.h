// What the copy-progress page shows, decided without windows: how many steps
// its bar counts, which caption names the job's stage, and the slideshow.
#pragma once

#include <string>
#include <vector>

namespace korv {

// A package record as the step count sees it.
struct PackageSteps {
    int check = 0;
    std::wstring package;  // items separated by ";"
};

struct StepCountFacts {
    bool windowsInstallerRegistered = true;  // "WindowsInstaller.Installer" has a class id
    int os64Bit = 0;
    int product64Bit = 0;
};

// The bar's range: 10, +1 without the Windows Installer automation class,
// +2 on 64-bit Windows, +2 for a 32-bit product, + the parts of every ticked
// package (CountPackageSteps: the bar only needs a close count, so "a;;b"
// counts 1 where the job runs two items).
int TotalProgressSteps(const StepCountFacts& facts, const std::vector<PackageSteps>& packages);

// One step further, back to 0 when it reaches the total (more steps than
// counted wrap the bar instead of overflowing it).
int NextProgressStep(int current, int total);

// The caption for the job's stage: 2039 for the prerequisites and product
// packages, 2040 for the collaboration system, 2041 for the registration,
// 2058 otherwise; with its built-in English text.
struct CaptionText {
    int textId;
    const wchar_t* fallback;
};
CaptionText StageCaption(int installStage);

// Slide n (1 to 6): its background picture and texts.
struct Slide {
    unsigned picture;
    int titleId;
    const wchar_t* title;
    int textId;
    const wchar_t* text;
};
Slide SlideNumber(int n);
// The slide after n: 1 after 6.
int NextSlide(int n);
// Slide 1's text as the page opens (the library's text 2251 when it has one).
extern const wchar_t kOpeningSlideText[];

}  // namespace korv
