#include "pages/MaintenancePage.h"

#include "config/InstalledRecords.h"
#include "framework/ResourceModule.h"
#include "resource.h"
#include "session/LocalText.h"
#include "session/TipMessage.h"

namespace korv {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

struct OptionLook {
    UINT normal, pressed, hover;
    int titleId;
    const wchar_t* title;
    int descriptionId;
    int titleStatic, descriptionStatic;
};

constexpr OptionLook kOptions[3] = {
    {IDB_MODIFY_NORMAL, IDB_MODIFY_PRESSED, IDB_MODIFY_HOVER, IDS_MODIFY_TITLE, L"Modify Korvanix features",
     IDS_MODIFY_DESCRIPTION, IDC_MODIFY_TITLE, IDC_MODIFY_DESCRIPTION},
    {IDB_REPAIR_NORMAL, IDB_REPAIR_PRESSED, IDB_REPAIR_HOVER, IDS_REPAIR_TITLE, L"Repair Korvanix 2024",
     IDS_REPAIR_DESCRIPTION, IDC_REPAIR_TITLE, IDC_REPAIR_DESCRIPTION},
    {IDB_UNINSTALL_NORMAL, IDB_UNINSTALL_PRESSED, IDB_UNINSTALL_HOVER, IDS_UNINSTALL_TITLE,
     L"Uninstall Korvanix 2024", IDS_UNINSTALL_DESCRIPTION, IDC_UNINSTALL_TITLE, IDC_UNINSTALL_DESCRIPTION},
};

}  // namespace

CKVUninstallWelcomeDialog::CKVUninstallWelcomeDialog(CWnd* parent) : CArcBitmapDialog(IDD_MAINTENANCE, parent) {
    SetBackgroundImageId(IDP_MAINTENANCE_BACKGROUND);
}

CKVUninstallWelcomeDialog::~CKVUninstallWelcomeDialog() {
    if (GetSafeHwnd() != nullptr) {
        DestroyWindow();
    }
}

void CKVUninstallWelcomeDialog::DoDataExchange(fw::CDataExchange& dx) {
    CArcBitmapDialog::DoDataExchange(dx);
    fw::DDX_Control(dx, IDC_MAINTENANCE_HEADLINE, headline_);
    fw::DDX_Control(dx, IDC_MAINTENANCE_MODIFY, options_[kModify]);
    fw::DDX_Control(dx, IDC_MAINTENANCE_REPAIR, options_[kRepair]);
    fw::DDX_Control(dx, IDC_MAINTENANCE_UNINSTALL, options_[kUninstall]);
    fw::DDX_Control(dx, IDC_MAINTENANCE_NEXT, next_);
    fw::DDX_Control(dx, IDC_MAINTENANCE_CANCEL, cancel_);
}

bool CKVUninstallWelcomeDialog::OnInitDialog() {
    CArcBitmapDialog::OnInitDialog();
    SetIcon(LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP)), true);
    SetIcon(LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP)), false);

    headline_.SetText(LoadText(IDS_MAINTENANCE_HEADLINE,
                               L"Korvanix 2024 Maintenance Program allows you to modify, repair and uninstall the "
                               L"software."));
    headline_.SetCentered(true);

    for (int k = 0; k < 3; ++k) {
        const OptionLook& look = kOptions[k];
        SelectBitmapButton& option = options_[k];
        option.LoadStateBitmaps(look.normal, look.pressed, look.hover, 0);
        option.SetOptionTexts(LoadText(look.titleId, look.title), LoadText(look.descriptionId, L""));
        option.SetOptionStatics(GetDlgItem(look.titleStatic), GetDlgItem(look.descriptionStatic));
        // Painted bottom to top with double buffering: the pictures do not
        // flicker when the choice moves.
        option.ModifyStyleEx(0, WS_EX_COMPOSITED);
    }

    next_.SetButtonText(LoadText(IDS_BUTTON_NEXT, L"Next"));
    next_.SetPngImages(IDP_NEXT_NORMAL, IDP_NEXT_PRESSED, IDP_NEXT_HOVER, IDP_NEXT_DISABLED);
    next_.SetTextColors(kWhite, kWhite, kWhite, RGB(207, 214, 238));
    next_.SetFontHeight(21);
    next_.EnableWindow(false);
    cancel_.SetButtonText(LoadText(IDS_BUTTON_CANCEL, L"Cancel"));
    cancel_.SetPngImages(IDP_CANCEL_NORMAL, IDP_CANCEL_PRESSED, IDP_CANCEL_HOVER);
    cancel_.SetTextColors(RGB(78, 89, 105), RGB(51, 51, 51), RGB(89, 90, 90), RGB(78, 89, 105));
    cancel_.SetFontHeight(21);

    if (BackWindowHandle() != nullptr) {
        ::ShowWindow(BackWindowHandle(), SW_SHOW);
    }
    Invalidate();
    // Nothing is chosen yet: the focus starts on the first option, never on
    // Uninstall.
    options_[kModify].SetFocus();
    return false;
}

void CKVUninstallWelcomeDialog::OnOption(UINT id) {
    const int k = static_cast<int>(id) - IDC_MAINTENANCE_MODIFY;
    if (k < 0 || k > 2) {
        return;
    }
    if (chosen_ && selection_ != k) {
        options_[selection_].SetChosen(false);
        options_[selection_].Invalidate(false);
    }
    selection_ = k;
    chosen_ = true;
    options_[k].SetChosen(true);
    options_[k].Invalidate(false);
    next_.EnableWindow(true);
}

void CKVUninstallWelcomeDialog::OnOK() {
    // Enter before an option was clicked must not start anything: Next is
    // not there yet.
    if (!chosen_) {
        return;
    }
    if (selection_ == kUninstall) {
        const std::wstring question =
            LoadText(IDS_CONFIRM_UNINSTALL,
                     L"You are trying to uninstall Korvanix. Once the operation is determined to be irreversible, "
                     L"please save the data properly. Are you sure to uninstall Korvanix?");
        if (ShowTipMessage(kTipQuestion, question.c_str(), GetSafeHwnd()) != kTipOk) {
            return;
        }
    } else {
        WriteSetupRecord();
    }
    EndDialog(IDOK);
}

void CKVUninstallWelcomeDialog::OnCancel() {
    const std::wstring question =
        LoadText(IDS_CONFIRM_EXIT_MAINTENANCE,
                 L"After exiting the installation and maintenance program of Korvanix 2024, you will not be able to "
                 L"continue executing this program. Are you sure to exit?");
    if (ShowTipMessage(kTipQuestion, question.c_str(), GetSafeHwnd()) == kTipOk) {
        EndDialog(IDCANCEL);
    }
}

const fw::MessageMap& CKVUninstallWelcomeDialog::GetMessageMap() const {
    static const fw::MessageMap map(CArcBitmapDialog::GetMessageMap(), {
        fw::on::CommandRange(IDC_MAINTENANCE_MODIFY, IDC_MAINTENANCE_UNINSTALL,
                             &CKVUninstallWelcomeDialog::OnOption),
    });
    return map;
}

}  // namespace korv
