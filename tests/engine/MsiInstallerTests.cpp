// MSI packages go through Wine's real msi.dll; the fixture packages come
// from wixl. Tests that install take the korv_msi lock (see CMakeLists).
#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include <string>
#include <vector>

#include "session/TipMessage.h"
#include "engine/EngineTestSupport.h"
#include "engine/MsiInstaller.h"
#include "session/ProgressMessages.h"
#include "fixtures/Fixtures.h"
#include "support/ScriptedAnswerer.h"
#include "support/TempFolder.h"
#include "support/Text.h"

using namespace korv;
using korv::test::Narrow;
using korv::test::Exists;
using korv::test::FixturePath;
using korv::test::PostedMessages;
using korv::test::ScriptedAnswerer;
using korv::test::SessionScope;
using korv::test::TempFolder;

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(towlower(c));
    }
    return text;
}

void RemoveFixtureProduct() {
    // The runners leave their UI handler registered; the removal must not
    // reach it (it would show a real message box outside a test answerer).
    MsiSetExternalUIW(nullptr, 0, nullptr);
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    if (MsiQueryProductStateW(korv::test::kFixtureOkProductCode) == INSTALLSTATE_DEFAULT) {
        MsiConfigureProductW(korv::test::kFixtureOkProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
    }
}

// The fixture product is removed before (an earlier run may have left it)
// and after the test.
struct FixtureProductScope {
    FixtureProductScope() { RemoveFixtureProduct(); }
    ~FixtureProductScope() { RemoveFixtureProduct(); }
};

const std::vector<UINT> kFrame = {WM_PACKAGE_BEGIN, WM_PACKAGE_END};

}  // namespace

TEST(MsiRunners, InstallARealPackageAndReportTheStep) {
    SessionScope session;
    FixtureProductScope product;
    TempFolder folder(L"korv msi");
    PostedMessages progress;
    ScriptedAnswerer answerer;
    const std::wstring target = folder / L"target folder";

    EXPECT_EQ(InstallMsiPackageWithProperties(FixturePath(L"fixture_ok.msi"), L"INSTALLDIR=\"" + target + L"\"",
                                              progress.Window()),
              1);
    EXPECT_TRUE(Exists(target + L"\\" + korv::test::kFixturePayloadName));
    EXPECT_EQ(MsiQueryProductStateW(korv::test::kFixtureOkProductCode), INSTALLSTATE_DEFAULT);
    EXPECT_EQ(progress.Drain(), kFrame);
    // The installation ran with the handler and the UI level of the setup.
    EXPECT_EQ(MsiSetInternalUI(INSTALLUILEVEL_NOCHANGE, nullptr), static_cast<INSTALLUILEVEL>(0x102));
    EXPECT_EQ(MsiSetExternalUIW(nullptr, 0, nullptr), &MsiUiHandler);

    // msi.dll is the system's, and stays loaded for the next installation.
    ASSERT_NE(session->msiModule, nullptr);
    wchar_t loaded[MAX_PATH] = {};
    GetModuleFileNameW(session->msiModule, loaded, MAX_PATH);
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(Lower(loaded), Lower(std::wstring(system) + L"\\msi.dll"));
    const HMODULE first = session->msiModule;

    RemoveFixtureProduct();
    EXPECT_EQ(InstallMsiPackage(FixturePath(L"fixture_ok.msi"), progress.Window()), 1);
    EXPECT_EQ(MsiQueryProductStateW(korv::test::kFixtureOkProductCode), INSTALLSTATE_DEFAULT);
    EXPECT_EQ(progress.Drain(), kFrame);
    EXPECT_EQ(session->msiModule, first);

    EXPECT_TRUE(answerer.Requests().empty());
}

// The person cancelled on the copy-progress page: the handler answers the
// package's action starts and progress with Cancel, which makes the Windows
// Installer stop and roll the package back. (Wine's msi.dll honours that
// answer only around custom actions, so the package itself is not checked
// here; the job stops at its next step either way.)
TEST(MsiUiHandler, AnswersCancelOnceThePersonCancelled) {
    SessionScope session;
    ScriptedAnswerer answerer;
    for (const UINT type : {INSTALLMESSAGE_PROGRESS, INSTALLMESSAGE_ACTIONSTART, INSTALLMESSAGE_ACTIONDATA}) {
        session->cancelRequested = 0;
        EXPECT_NE(MsiUiHandler(nullptr, type, L"1: 2 2: 25"), IDCANCEL) << std::hex << type;
        session->cancelRequested = 1;
        EXPECT_EQ(MsiUiHandler(nullptr, type, L"1: 2 2: 25"), IDCANCEL) << std::hex << type;
        EXPECT_EQ(MsiUiHandler(nullptr, type, nullptr), IDCANCEL) << std::hex << type << ": without a text too";
    }
    EXPECT_TRUE(answerer.Requests().empty());
}

TEST(MsiRunners, FailedInstallationReportsTheLoweredPathUnlessSilent) {
    SessionScope session;
    TempFolder folder(L"korv msi");
    PostedMessages progress;
    PostedMessages page;  // owner of the installer's own messages
    session->progressWindow = page.Window();
    const std::wstring packages = folder / L"Medium\\Msi";
    CreateDirectoryW((folder / L"Medium").c_str(), nullptr);
    CreateDirectoryW(packages.c_str(), nullptr);

    struct Case {
        const char* id;
        std::wstring name;
        bool withProperties;
        bool reported;
    };
    const Case cases[] = {
        {"ordinary package", L"Fixture_FAIL.msi", false, true},
        {"x64 parser is reported", L"msxml6_x64.msi", false, true},
        {"failed x86 parser is silent", L"msxml6.msi", false, false},
        {"spreadsheet table is silent", L"AutoSheetgrid_x64.msi", true, false},
        {"other package with properties", L"Fixture_FAIL.msi", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const std::wstring path = packages + L"\\" + c.name;
        ASSERT_TRUE(CopyFileW(FixturePath(L"fixture_fail.msi").c_str(), path.c_str(), FALSE));
        ScriptedAnswerer answerer;
        const int result = c.withProperties ? InstallMsiPackageWithProperties(path, L"OFFICEBITVER=1 NETVER=48",
                                                                              progress.Window())
                                            : InstallMsiPackage(path, progress.Window());
        EXPECT_EQ(result, 0);

        // Messages the Windows Installer raises itself belong to the page
        // (Wine's keeps the launch condition's text to itself at this UI
        // level); the runner's own message goes to the progress window.
        std::vector<TipRequest> runnerMessages;
        for (const TipRequest& request : answerer.Requests()) {
            if (request.owner == progress.Window()) {
                runnerMessages.push_back(request);
            } else {
                EXPECT_EQ(request.owner, page.Window()) << Narrow(request.text);
            }
        }
        if (c.reported) {
            ASSERT_EQ(runnerMessages.size(), 1u);
            EXPECT_EQ(runnerMessages[0].text, Lower(path) + L"Msi Install Failed!");
            EXPECT_EQ(runnerMessages[0].kind, kTipNotice);
            EXPECT_EQ(progress.Drain(), (std::vector<UINT>{WM_PACKAGE_BEGIN, WM_TIP_OPENED, WM_TIP_CLOSED}));
        } else {
            EXPECT_TRUE(runnerMessages.empty());
            EXPECT_EQ(progress.Drain(), std::vector<UINT>{WM_PACKAGE_BEGIN});
        }
    }
}

TEST(MsiRunners, MissingPackagesAreReportedUnlessSilent) {
    SessionScope session;
    TempFolder folder(L"korv msi");
    PostedMessages progress;
    struct Case {
        const char* id;
        std::wstring name;
        bool withProperties;
        bool reported;
    };
    const Case cases[] = {
        {"spreadsheet table, Chinese", L"sheetgrid_chs.msi", false, false},
        {"spreadsheet table in capitals", L"SheetGrid_ENG.msi", false, false},
        {"missing x86 parser is reported", L"msxml6.msi", false, true},
        {"spreadsheet table with properties", L"AutoSheetgrid_x86.msi", true, false},
        {"ordinary package", L"KorvPdf.MSI", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const std::wstring path = folder / (L"Msi\\" + c.name);
        ScriptedAnswerer answerer;
        EXPECT_EQ(c.withProperties ? InstallMsiPackageWithProperties(path, L"NETVER=48", progress.Window())
                                   : InstallMsiPackage(path, progress.Window()),
                  0);
        std::vector<TipRequest> requests = answerer.Requests();
        if (c.reported) {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].text, Lower(path) + L"Msi Install Failed!");
            EXPECT_EQ(requests[0].owner, progress.Window());
            EXPECT_EQ(progress.Drain(), (std::vector<UINT>{WM_PACKAGE_BEGIN, WM_TIP_OPENED, WM_TIP_CLOSED}));
        } else {
            EXPECT_TRUE(requests.empty());
            EXPECT_EQ(progress.Drain(), std::vector<UINT>{WM_PACKAGE_BEGIN});
        }
    }
}

TEST(MsiRunners, SilentNamesCountOnlyAfterTheFirstCharacter) {
    struct Case {
        const char* id;
        MsiRunner runner;
        const wchar_t* loweredPath;
        bool attempted;
        bool silent;
    };
    const Case cases[] = {
        {"chs", MsiRunner::kPlain, L"c:\\m\\msi\\sheetgrid_chs.msi", true, true},
        {"eng, not attempted", MsiRunner::kPlain, L"c:\\m\\msi\\sheetgrid_eng.msi", false, true},
        {"name at the very start", MsiRunner::kPlain, L"sheetgrid_chs.msi", true, false},
        {"name from the second character", MsiRunner::kPlain, L"xsheetgrid_chs.msi", false, true},
        {"parser attempted", MsiRunner::kPlain, L"c:\\m\\msi\\msxml6.msi", true, true},
        {"parser missing", MsiRunner::kPlain, L"c:\\m\\msi\\msxml6.msi", false, false},
        {"x64 parser", MsiRunner::kPlain, L"c:\\m\\msi\\msxml6_x64.msi", true, false},
        {"spreadsheet name is not silent for the plain runner", MsiRunner::kPlain,
         L"c:\\m\\msi\\autosheetgrid_x64.msi", true, false},
        {"with properties", MsiRunner::kWithProperties, L"c:\\m\\msi\\autosheetgrid_x64.msi", false, true},
        {"with properties, other name", MsiRunner::kWithProperties, L"c:\\m\\msi\\sheetgrid_chs.msi", true, false},
        {"with properties, name at the start", MsiRunner::kWithProperties, L"autosheetgrid.msi", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSilentMsiFailure(c.runner, c.loweredPath, c.attempted), c.silent) << c.id;
    }
}

// A package that installed and needs a restart (3010; 1641 when it started
// one itself, which REBOOT=ReallySuppress keeps it from) counts as
// installed. The fixture that schedules a restart is installed by the job
// and unattended-install tests; 1641 no Windows Installer under test gives.
TEST(MsiRunners, RestartResultsCountAsInstalledAndEveryCommandLineSuppressesTheRestart) {
    struct Case {
        unsigned result;
        bool installed;
        bool restart;
    };
    const Case cases[] = {{0, true, false},     {3010, true, true},   {1641, true, true},
                          {1603, false, false}, {1605, false, false}, {1618, false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsInstalledMsiResult(c.result), c.installed) << c.result;
        EXPECT_EQ(MsiResultNeedsRestart(c.result), c.restart) << c.result;
    }
    EXPECT_EQ(MsiCommandLine(L""), L"REBOOT=ReallySuppress");
    EXPECT_EQ(MsiCommandLine(L"OFFICEBITVER=1 NETVER=48"), L"OFFICEBITVER=1 NETVER=48 REBOOT=ReallySuppress");
}

TEST(MsiUiHandler, ReactsByMessageType) {
    SessionScope session;
    PostedMessages page;
    session->progressWindow = page.Window();
    const std::wstring dotNet =
        L"Microsoft .NET Framework 4.0 Client Package or greater needs to be installed for this installation to "
        L"continue.";
    std::wstring dotNetMixed = dotNet;
    for (size_t i = 0; i < dotNetMixed.size(); i += 2) {
        dotNetMixed[i] = static_cast<wchar_t>(towupper(dotNetMixed[i]));
    }

    struct Case {
        const char* id;
        UINT type;
        const wchar_t* text;
        TipAnswer answer;   // what the notice is answered with
        int result;
        const wchar_t* shown;  // nullptr: nothing shown
    };
    const TipAnswer ok = {kTipOk, kChoiceOk};
    const TipAnswer closed = {kTipCancel, kChoiceCancel};
    const Case cases[] = {
        {"fatal", INSTALLMESSAGE_FATALEXIT, L"It broke.", ok, 1, L"It broke."},
        {"error with icon and button bits", INSTALLMESSAGE_ERROR | MB_ICONERROR | MB_OKCANCEL, L"Error 1",
         closed, 2, L"Error 1"},
        {".NET sentence in other letter case", INSTALLMESSAGE_ERROR | MB_ICONWARNING, dotNetMixed.c_str(), ok, 1,
         dotNet.c_str()},
        {".NET sentence with more text is shown as it is", INSTALLMESSAGE_ERROR, L"Microsoft .NET Framework 4.0 "
         L"Client Package or greater needs to be installed for this installation to continue. ", ok, 1,
         L"Microsoft .NET Framework 4.0 Client Package or greater needs to be installed for this installation to "
         L"continue. "},
        {"warning", INSTALLMESSAGE_WARNING | MB_ICONWARNING, L"Careful", closed, 2, L"Careful"},
        {"error without text", INSTALLMESSAGE_ERROR, nullptr, ok, 0, nullptr},
        {"error with empty text", INSTALLMESSAGE_ERROR, L"", ok, 0, nullptr},
        {"user", INSTALLMESSAGE_USER, L"u", ok, IDOK, nullptr},
        {"info", INSTALLMESSAGE_INFO, L"i", ok, IDOK, nullptr},
        {"out of disk space", INSTALLMESSAGE_OUTOFDISKSPACE, L"d", ok, IDOK, nullptr},
        {"action start", INSTALLMESSAGE_ACTIONSTART, L"a", ok, IDOK, nullptr},
        {"action data", INSTALLMESSAGE_ACTIONDATA, L"a", ok, IDOK, nullptr},
        {"progress", INSTALLMESSAGE_PROGRESS, L"1: 2 2: 3", ok, IDOK, nullptr},
        {"common data", INSTALLMESSAGE_COMMONDATA, L"c", ok, IDOK, nullptr},
        {"initialize", INSTALLMESSAGE_INITIALIZE, L"x", ok, IDOK, nullptr},
        {"terminate", INSTALLMESSAGE_TERMINATE, L"x", ok, IDOK, nullptr},
        {"show dialog", INSTALLMESSAGE_SHOWDIALOG, L"x", ok, IDOK, nullptr},
        {"progress without text", INSTALLMESSAGE_PROGRESS, nullptr, ok, 0, nullptr},
        {"files in use", INSTALLMESSAGE_FILESINUSE, L"f", ok, 0, nullptr},
        {"resolve source", INSTALLMESSAGE_RESOLVESOURCE, L"r", ok, 0, nullptr},
        {"restart manager files in use", INSTALLMESSAGE_RMFILESINUSE, L"r", ok, 0, nullptr},
        {"install start", INSTALLMESSAGE_INSTALLSTART, L"s", ok, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ScriptedAnswerer answerer({c.answer});
        EXPECT_EQ(MsiUiHandler(const_cast<wchar_t*>(kMsiHandlerContext), c.type, c.text), c.result);
        const std::vector<TipRequest> requests = answerer.Requests();
        if (c.shown == nullptr) {
            EXPECT_TRUE(requests.empty());
            continue;
        }
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].kind, kTipNotice);
        EXPECT_EQ(requests[0].text, c.shown);
        EXPECT_EQ(requests[0].owner, page.Window());
    }
}
