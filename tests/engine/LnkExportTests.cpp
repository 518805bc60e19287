// Leaves the shortcuts that registration creates, with a manifest of what
// each should hold, in bin\lnk-export\ for check_lnkinfo.sh, which reads them
// on the Linux side with lnkinfo: a reader of the format we did not write.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "engine/EngineTestSupport.h"
#include "engine/ProductRegistration.h"
#include "engine/ShortcutReader.h"
#include "engine/Shortcuts.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedAnswerer.h"
#include "support/TempFolder.h"
#include "support/Text.h"

using namespace korv;

TEST(LnkExport, RegistrationShortcutsWithTheirManifest) {
    // A failed run must not leave an earlier run's shortcuts to be checked.
    const std::wstring exportFolder = korv::test::ModuleFolder() + L"\\lnk-export";
    korv::test::TempFolder::RemoveTree(exportFolder);

    korv::test::SessionScope session;
    korv::test::RegistrySandbox registry;
    korv::test::ScriptedAnswerer answerer;
    // "é" is in the code page, so the shortcut's code-page target path keeps it.
    korv::test::TempFolder folder(L"korv export");
    const std::wstring target = folder / L"Korvanix 2024 \u00e9";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));

    InstallSession& s = *session;
    korv::test::FillRegistrationSession(s, target, L"Korv Lnk Export");
    korv::test::ShortcutCleanup cleanup(s.productName, {s.productName});
    const korv::test::ShellPlaces places;

    WriteProductRegistration(nullptr);
    EXPECT_TRUE(answerer.Requests().empty());

    ASSERT_TRUE(CreateDirectoryW(exportFolder.c_str(), nullptr));

    const RegistrationPlan plan = PlanProductRegistration(s, LoadRegistrationTexts());
    ASSERT_EQ(plan.shortcuts.size(), 10u);
    std::string manifest;
    int index = 0;
    for (const ShortcutStep& step : plan.shortcuts) {
        std::wstring link = step.place == kPlaceCommonDesktop ? places.desktop
                                                              : places.programs + L"\\" + s.productName;
        if (step.place != kPlaceCommonDesktop) {
            link += L"\\" + step.subfolder;
        }
        link += L"\\" + step.name + L".lnk";
        wchar_t copyName[16];
        swprintf(copyName, std::size(copyName), L"%02d.lnk", ++index);
        ASSERT_TRUE(CopyFileW(link.c_str(), (exportFolder + L"\\" + copyName).c_str(), FALSE))
            << korv::test::Narrow(link);
        // file, target, working directory, arguments
        manifest += korv::test::Narrow(copyName) + "\t" + korv::test::Narrow(step.target) + "\t" + korv::test::Narrow(target) + "\t" + korv::test::Narrow(step.arguments) +
                    "\n";
    }
    HANDLE file = CreateFileW((exportFolder + L"\\manifest.tsv").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, manifest.data(), static_cast<DWORD>(manifest.size()), &written, nullptr);
    CloseHandle(file);
    EXPECT_EQ(written, manifest.size());
}
