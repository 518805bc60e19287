#include "pages/CopyProgressRules.h"

#include "engine/PackageItems.h"

namespace korv {

const wchar_t kOpeningSlideText[] = L"Powerful tools help you automate and intelligentize your work.";

int TotalProgressSteps(const StepCountFacts& facts, const std::vector<PackageSteps>& packages) {
    int total = 10;
    if (!facts.windowsInstallerRegistered) {
        total += 1;
    }
    if (facts.os64Bit == 1) {
        total += 2;
    }
    if (facts.product64Bit == 0) {
        total += 2;
    }
    for (const PackageSteps& p : packages) {
        if (p.check == 1) {
            total += CountPackageSteps(p.package);
        }
    }
    return total;
}

int NextProgressStep(int current, int total) {
    return total > 0 ? (current + 1) % total : 0;
}

CaptionText StageCaption(int installStage) {
    switch (installStage) {
    case 1:
    case 2:
        return {2039, L"Installing Korvanix and Help..."};
    case 3:
        return {2040, L"Installing Korvanix Collaboration System..."};
    case 4:
        return {2041, L"Registering environment variables and writing registry information..."};
    default:
        return {2058, L"Overall progress..."};
    }
}

Slide SlideNumber(int n) {
    static const Slide kSlides[6] = {
        {261, 2250, L"Excellent Performance", 2251, L"Excellent Performance, smooth and seamless drawing experience."},
        {262, 2252, L"Full Compatibility", 2253,
         L"Native DWG support, fully compatible in command, menu, API and operating habits."},
        {263, 2254, L"Robust API", 2255, L"Rich vertical applications and add-ons based on .NET, VBA, KWT and LISP."},
        {264, 2256, L"Innovative Features", 2257,
         L"Plenty of innovative features, boost productivity with practical toolsets."},
        {265, 2258, L"Collaborative Design", 2259, L"More smooth communication, more efficient team design work."},
        {266, 2260, L"Flexible licensing", 2261, L"Lifetime or subscription, up to your decision."},
    };
    if (n < 1 || n > 6) {
        n = 1;
    }
    return kSlides[n - 1];
}

int NextSlide(int n) {
    return n >= 6 || n < 1 ? 1 : n + 1;
}

}  // namespace korv
