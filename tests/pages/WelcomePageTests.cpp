// The welcome page with its real template and pictures: the package boxes,
// the options area, the agreement gate, the folder rules and Exit, each
// driven from inside the page's modal loop; messages are answered by the
// scripted answerer and recorded with their owner.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "config/InstalledRecords.h"
#include "engine/EngineTestSupport.h"
#include "pages/PageTestSupport.h"
#include "pages/WelcomePage.h"
#include "resource.h"
#include "skin/SkinTestSupport.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedAnswerer.h"
#include "support/TempFolder.h"
#include "support/Text.h"

using namespace korv;
using namespace korv::test;

namespace {

using Welcome = Scripted<CKorvWelcomeDlg>;

class WelcomePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(environment.Loaded());
        session->productName = L"Korvanix2024";
        session->companyName = L"Korv Welcome Test";
        session->productRegName = L"Korvanix";
        session->targetFolder = L"C:\\Program Files\\Tallowick\\Korvanix2024";
    }

    static PackageRecord Package(const wchar_t* name, int check, int showFlag) {
        PackageRecord p;
        p.name = name;
        p.description = std::wstring(L"About ") + name;
        p.package = std::wstring(name) + L".exe";
        p.check = check;
        p.showFlag = showFlag;
        p.enable = 1;
        return p;
    }

    void TypePath(Welcome& page, const std::wstring& text) {
        ::SetWindowTextW(page.Control(IDC_WELCOME_PATH), text.c_str());
    }

    SkinEnvironment environment;
    SessionScope session;
    RegistrySandbox registry;
    MainBackground background;
};

}  // namespace

TEST_F(WelcomePageTest, PackageBoxesAndTheOptionsAreaInBothDirections) {
    session->packages = {Package(L"ticked", 1, 1), Package(L"free", 0, 1), Package(L"fixed", 1, 0),
                         Package(L"hidden-unticked", 0, 0), Package(L"fifth", 0, 1), Package(L"sixth", 1, 1)};
    session->packageCount = 6;
    ScriptedAnswerer answerer({{kTipOk, kChoiceOk}});
    Welcome page(&background.Window());
    struct Seen {
        bool hiddenAtStart = true, shownAfterOptions = false, hiddenAgain = false;
        UINT pictureShown = 0, pictureHidden = 0, pictureAtStart = 0;
        UINT optionsImageShown = 0;
        bool sixthHasBox = true;
        std::vector<bool> checked, enabled;
        std::vector<std::wstring> labels;
        int fixedCheckAfterClick = -1, freeCheckAfterClick = -1;
    } seen;
    page.script = [&](Welcome& p) {
        seen.pictureAtStart = background.Window().CurrentImageId();
        for (int i = 0; i < 5; ++i) {
            CKorvShadeButtonST* box = p.PackageBox(i);
            ASSERT_NE(box, nullptr) << i;
            EXPECT_EQ(box->GetDlgCtrlID(), IDC_PACKAGE_BOX_FIRST + i);
            EXPECT_EQ(p.PackageLabel(i)->GetDlgCtrlID(), IDC_PACKAGE_TEXT_FIRST + i);
            seen.hiddenAtStart = seen.hiddenAtStart && !box->IsWindowVisible();
            seen.checked.push_back(box->Checked());
            seen.enabled.push_back(box->BoxEnabled() && box->IsWindowEnabled());
            seen.labels.push_back(p.PackageLabel(i)->GetWindowText());
        }
        seen.sixthHasBox = p.PackageBox(5) != nullptr || p.Control(IDC_PACKAGE_BOX_FIRST + 5) != nullptr;

        p.Click(IDC_WELCOME_OPTIONS);
        seen.shownAfterOptions = p.OptionsShown() && p.PackageBox(0)->IsWindowVisible() &&
                                 p.Visible(IDC_WELCOME_OPTIONS_LABEL) && p.Visible(IDC_WELCOME_REQUIREMENTS_LINK);
        seen.pictureShown = background.Window().CurrentImageId();
        seen.optionsImageShown = p.OptionsButton().PngImage(ButtonState::Normal);

        // A person clicks the fixed box (nothing may change) and the free one.
        p.Click(IDC_PACKAGE_BOX_FIRST + 2);
        p.Click(IDC_PACKAGE_BOX_FIRST + 1);
        seen.fixedCheckAfterClick = Session().packages[2].check;
        seen.freeCheckAfterClick = Session().packages[1].check;

        p.Click(IDC_WELCOME_OPTIONS);
        seen.hiddenAgain = !p.OptionsShown() && !p.PackageBox(0)->IsWindowVisible() &&
                           !p.Visible(IDC_WELCOME_OPTIONS_LABEL) && !p.Visible(IDC_WELCOME_REQUIREMENTS_LINK);
        seen.pictureHidden = background.Window().CurrentImageId();
        p.Click(IDC_WELCOME_EXIT);
    };
    EXPECT_EQ(background.Run(page), kTipCancel) << "Exit confirmed ends the page with 2";

    EXPECT_EQ(seen.pictureAtStart, IDP_WELCOME_BACKGROUND);
    EXPECT_TRUE(seen.hiddenAtStart);
    EXPECT_EQ(seen.checked, (std::vector<bool>{true, false, true, false, false}));
    EXPECT_EQ(seen.enabled, (std::vector<bool>{true, true, false, true, true})) << "ticked and not shown: fixed";
    EXPECT_EQ(seen.labels[0], L"About ticked");
    EXPECT_FALSE(seen.sixthHasBox) << "five places for boxes";
    EXPECT_TRUE(seen.shownAfterOptions);
    EXPECT_EQ(seen.pictureShown, IDP_WELCOME_OPTIONS_BACKGROUND);
    EXPECT_EQ(seen.optionsImageShown, static_cast<UINT>(IDP_OPTIONS_OPEN_NORMAL));
    EXPECT_EQ(seen.fixedCheckAfterClick, 1);
    EXPECT_EQ(seen.freeCheckAfterClick, 1);
    EXPECT_TRUE(seen.hiddenAgain);
    EXPECT_EQ(seen.pictureHidden, IDP_WELCOME_BACKGROUND);
    EXPECT_EQ(Session().packages[5].check, 1) << "the sixth package keeps the medium's choice";

    // Only the exit question was asked, owned by the page.
    const std::vector<TipRequest> asked = answerer.Requests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, kTipQuestion);
    EXPECT_EQ(asked[0].text.rfind(L"After exiting the installation program of Korvanix 2024", 0), 0u);
}

TEST_F(WelcomePageTest, NoPackagesShowOnlyTheLabelsAndAnInvalidPathKeepsTheAreaClosed) {
    ScriptedAnswerer answerer;  // every message answered Cancel
    Welcome page(&background.Window());
    bool openedWithBadPath = true, openedWithGoodPath = false, focusInPath = false;
    page.script = [&](Welcome& p) {
        TypePath(p, L"Apps");
        p.Click(IDC_WELCOME_OPTIONS);
        openedWithBadPath = p.OptionsShown();
        focusInPath = GetFocus() == p.Control(IDC_WELCOME_PATH);
        TypePath(p, L"D:\\Apps");
        p.Click(IDC_WELCOME_OPTIONS);
        openedWithGoodPath = p.OptionsShown() && p.Visible(IDC_WELCOME_OPTIONS_LABEL) && p.PackageBox(0) == nullptr;
        // Exit, then Cancel on the question: the page stays as it was.
        p.Click(IDC_WELCOME_EXIT);
        p.EndDialog(77);
    };
    EXPECT_EQ(background.Run(page), 77);
    EXPECT_FALSE(openedWithBadPath);
    EXPECT_TRUE(focusInPath);
    EXPECT_TRUE(openedWithGoodPath);
    const std::vector<TipRequest> asked = answerer.Requests();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, L"Path input error, please input again.");
    EXPECT_EQ(asked[0].kind, kTipNotice);
    EXPECT_EQ(asked[1].kind, kTipQuestion) << "the exit question, answered Cancel";
}

// Install's gates in their order: the agreement, the folder rules (a root is
// a question here), the not-empty question, then the setup record.
TEST_F(WelcomePageTest, InstallGatesInTheirOrder) {
    TempFolder scratch(L"korv welcome");
    const std::wstring full = scratch / L"Full";
    CreateDirectoryW(full.c_str(), nullptr);
    scratch.Write(L"Full\\data.txt", "x");

    // Cancel the not-empty question once, then agree to it.
    ScriptedAnswerer answerer({{kTipCancel, kChoiceCancel}, {kTipCancel, kChoiceCancel},
                               {kTipCancel, kChoiceCancel}, {kTipOk, kChoiceOk}});
    Welcome page(&background.Window());
    struct Seen {
        UINT installLookUnticked = 0, installLookTicked = 0;
        bool openAfterAgreementGate = false, openAfterRoot = false, openAfterCancel = false;
        std::wstring pathAfterRoot;
    } seen;
    page.script = [&](Welcome& p) {
        seen.installLookUnticked = p.InstallButton().PngImage(ButtonState::Normal);
        TypePath(p, full);
        p.Click(IDC_WELCOME_INSTALL);  // 2034: agreement first, whatever the path
        seen.openAfterAgreementGate = p.GetSafeHwnd() != nullptr;
        p.Click(IDC_AGREEMENT_CHECK);
        seen.installLookTicked = p.InstallButton().PngImage(ButtonState::Normal);
        TypePath(p, L"C:\\\\");
        p.Click(IDC_WELCOME_INSTALL);  // 2029 as a question
        seen.openAfterRoot = p.GetSafeHwnd() != nullptr;
        seen.pathAfterRoot = p.PathText();
        TypePath(p, full + L"\\");
        p.Click(IDC_WELCOME_INSTALL);  // 2026, Cancel
        seen.openAfterCancel = p.GetSafeHwnd() != nullptr;
        p.Click(IDC_WELCOME_INSTALL);  // 2026, OK: the page ends
    };
    EXPECT_EQ(background.Run(page), IDC_WELCOME_INSTALL);

    EXPECT_EQ(seen.installLookUnticked, static_cast<UINT>(IDP_INSTALL_DISABLED));
    EXPECT_EQ(seen.installLookTicked, static_cast<UINT>(IDP_INSTALL_NORMAL));
    EXPECT_EQ(seen.pathAfterRoot, L"C:\\") << "the cleaned folder is written back into the path box";
    EXPECT_EQ(Session().agreementAccepted, 1);
    EXPECT_EQ(Session().targetFolder, full + L"\\");

    const std::vector<TipRequest> asked = answerer.Requests();
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].text, L"You must agree to the License Agreement before installing.");
    EXPECT_EQ(asked[0].kind, kTipNotice);
    EXPECT_EQ(asked[1].text, L"The software is not installed on the disk root directory, please input again.");
    EXPECT_EQ(asked[1].kind, kTipQuestion);
    EXPECT_EQ(asked[2].text, full + L"\\ is not empty. Are you sure you want to install to this position?");
    EXPECT_EQ(asked[3].kind, kTipQuestion);
    for (const TipRequest& r : asked) {
        EXPECT_NE(r.owner, nullptr) << "owned by the page";
    }

    // The accepted folder is in the setup record.
    DWORD type = 0, number = 0;
    std::wstring path;
    EXPECT_TRUE(RegistrySandbox::Query(HKEY_LOCAL_MACHINE,
                                       SetupRecordKeyPath(L"Korv Welcome Test", L"Korvanix"), L"path", type, path,
                                       number));
    EXPECT_EQ(path, full + L"\\");
}

// What Install (or Enter) makes of what the person left on the page: the
// folder that is used is the one the box shows, "." and ".." are judged
// resolved, a folder on the current drive is probed at that drive's root,
// and every refusal keeps the page open with no setup record written.
TEST_F(WelcomePageTest, InstallTakesTheFolderTheBoxShows) {
    TempFolder scratch(L"korv welcome folders");
    struct Case {
        const char* id;
        int agreement;
        std::wstring typed;
        std::vector<int> presses;  // controls clicked, in order; IDOK: Enter
        bool installs;
        std::wstring message;     // the start of the one message shown; empty: none
        std::wstring pathText;    // the box afterwards
    } cases[] = {
        {"blank before a separator", 1, scratch / L"New \\Korvanix", {IDC_WELCOME_INSTALL}, false,
         L"Path input error, please input again.", scratch / L"New \\Korvanix"},
        {"dots up to the root", 1, L"C:\\x\\..\\", {IDC_WELCOME_INSTALL}, false,
         L"The software is not installed on the disk root directory", L"C:\\"},
        {"dots resolved", 1, scratch / L"Sub\\..\\New", {IDC_WELCOME_INSTALL}, true, L"", scratch / L"New"},
        {"current drive", 1, L"\\korv-current-drive\\Korvanix", {IDC_WELCOME_INSTALL}, true, L"",
         L"\\korv-current-drive\\Korvanix"},
        {"free space unreadable", 1, L"Q:\\Korvanix", {IDC_WELCOME_INSTALL}, false, L"Get disk space failed.",
         L"Q:\\Korvanix"},
        {"agreement ticked and unticked again", 0, scratch / L"Again",
         {IDC_AGREEMENT_CHECK, IDC_AGREEMENT_CHECK, IDC_WELCOME_INSTALL}, false,
         L"You must agree to the License Agreement before installing.", scratch / L"Again"},
        {"Enter without the agreement", 0, scratch / L"Enter", {IDOK}, false,
         L"You must agree to the License Agreement before installing.", scratch / L"Enter"},
        {"Enter with the agreement", 1, scratch / L"Enter", {IDOK}, true, L"", scratch / L"Enter"},
    };
    const std::wstring recordKey = SetupRecordKeyPath(L"Korv Welcome Test", L"Korvanix");
    for (const Case& c : cases) {
        RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, recordKey, L"path", L"");
        session->agreementAccepted = c.agreement;
        ScriptedAnswerer answerer;
        Welcome page(&background.Window());
        std::wstring boxAfter;
        page.script = [&](Welcome& p) {
            TypePath(p, c.typed);
            for (int id : c.presses) {
                if (id == IDOK) {
                    // Enter, as the dialog manager delivers it from the
                    // focused control.
                    p.SendMessage(WM_COMMAND, IDOK);
                } else {
                    p.Click(id);
                }
            }
            if (p.Open()) {
                wchar_t text[MAX_PATH] = {};
                ::GetWindowTextW(p.Control(IDC_WELCOME_PATH), text, MAX_PATH);
                boxAfter = text;
                p.EndDialog(77);
            }
        };
        const INT_PTR result = background.Run(page);
        EXPECT_EQ(result, c.installs ? IDC_WELCOME_INSTALL : 77) << c.id;
        const std::vector<TipRequest> asked = answerer.Requests();
        if (c.message.empty()) {
            EXPECT_TRUE(asked.empty()) << c.id << ": " << Narrow(asked.empty() ? L"" : asked[0].text);
        } else {
            ASSERT_EQ(asked.size(), 1u) << c.id;
            EXPECT_EQ(asked[0].text.rfind(c.message, 0), 0u) << c.id << ": " << Narrow(asked[0].text);
        }
        DWORD type = 0, number = 0;
        std::wstring recorded;
        RegistrySandbox::Query(HKEY_LOCAL_MACHINE, recordKey, L"path", type, recorded, number);
        if (c.installs) {
            EXPECT_EQ(Session().targetFolder, c.pathText) << c.id;
            EXPECT_EQ(recorded, c.pathText) << c.id;
        } else {
            EXPECT_EQ(boxAfter, c.pathText) << c.id;
            EXPECT_EQ(recorded, L"") << c.id << ": no setup record";
        }
    }
}

// A document the medium does not name, or whose file is missing, is not
// opened: the file-missing notice instead, never a window on a folder.
TEST_F(WelcomePageTest, DocumentsThatAreNotThereAreToldNotOpened) {
    TempFolder medium(L"korv welcome medium");
    session->licenceAgreementPath = L"";
    session->privacyPolicyPath = medium / L"privacy.html";
    session->systemRequirementsPath = medium.Path() + L"\\";
    ScriptedAnswerer answerer;
    Welcome page(&background.Window());
    page.script = [&](Welcome& p) {
        // What a click on a link label sends.
        for (int link : {IDC_LICENCE_LINK, IDC_PRIVACY_LINK, IDC_WELCOME_REQUIREMENTS_LINK}) {
            p.SendMessage(WM_COMMAND, MAKEWPARAM(link, STN_CLICKED), reinterpret_cast<LPARAM>(p.Control(link)));
        }
        p.EndDialog(77);
    };
    background.Run(page);
    const std::vector<TipRequest> asked = answerer.Requests();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].text, L"File :'' does not exist!");
    EXPECT_EQ(asked[1].text, L"File :'" + medium / L"privacy.html" + L"' does not exist!");
    EXPECT_EQ(asked[2].text, L"File :'" + medium.Path() + L"\\' does not exist!");
    for (const TipRequest& r : asked) {
        EXPECT_EQ(r.kind, kTipNotice);
        EXPECT_NE(r.owner, nullptr);
    }
}

// A network folder keeps its two leading backslashes and passes the
// free-space gate as a network path (no disk-space message).
TEST_F(WelcomePageTest, NetworkFolderIsInstalledToAsTyped) {
    ScriptedAnswerer answerer;
    session->agreementAccepted = 1;
    Welcome page(&background.Window());
    page.script = [&](Welcome& p) {
        TypePath(p, L"\\\\server\\share\\Korvanix");
        p.Click(IDC_WELCOME_INSTALL);
    };
    EXPECT_EQ(background.Run(page), IDC_WELCOME_INSTALL);
    EXPECT_EQ(Session().targetFolder, L"\\\\server\\share\\Korvanix");
    EXPECT_TRUE(answerer.Requests().empty()) << Narrow(answerer.Requests()[0].text);
}

namespace {

// The shell's folder dialog owned by `owner`, when it is on screen.
HWND FindFolderDialog(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[32] = {};
            GetClassNameW(window, name, static_cast<int>(std::size(name)));
            if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == s->owner &&
                std::wstring(name) == L"#32770") {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

// The real shell folder dialog: Cancel changes nothing; OK on the folder it
// starts at gives that folder with the product folder below it. OLE is
// given back on both ways out.
TEST_F(WelcomePageTest, FolderPickerAddsTheProductFolder) {
    TempFolder scratch(L"korv picker");
    const std::wstring apps = scratch / L"Apps";
    CreateDirectoryW(apps.c_str(), nullptr);
    session->targetFolder = apps;

    Welcome page(&background.Window());
    int answer = IDCANCEL;
    int answered = 0;
    HWND lastAnswered = nullptr;
    Watcher watcher([&] {
        HWND dialog = page.GetSafeHwnd() != nullptr ? FindFolderDialog(page.GetSafeHwnd()) : nullptr;
        if (dialog != nullptr && dialog != lastAnswered) {
            ++answered;
            lastAnswered = dialog;
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        }
    });
    std::wstring afterCancel, afterOk;
    HRESULT oleAfterCancel = E_FAIL;
    page.script = [&](Welcome& p) {
        p.Click(IDC_WELCOME_BROWSE);
        afterCancel = p.PathText();
        oleAfterCancel = OleInitialize(nullptr);
        if (SUCCEEDED(oleAfterCancel)) {
            OleUninitialize();
        }
        answer = IDOK;
        p.Click(IDC_WELCOME_BROWSE);
        afterOk = p.PathText();
        p.EndDialog(77);
    };
    EXPECT_EQ(background.Run(page), 77);
    EXPECT_EQ(answered, 2) << "the folder dialog opened twice";
    EXPECT_EQ(afterCancel, apps);
    EXPECT_EQ(oleAfterCancel, S_OK) << "OLE released after the dialog";
    EXPECT_EQ(afterOk, apps + L"\\Korvanix2024");
    HRESULT ole = OleInitialize(nullptr);
    EXPECT_EQ(ole, S_OK);
    if (SUCCEEDED(ole)) {
        OleUninitialize();
    }
}
