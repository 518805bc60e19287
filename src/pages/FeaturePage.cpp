#include "pages/FeaturePage.h"

#include "config/InstalledRecords.h"
#include "engine/ProductData.h"
#include "framework/DecimalText.h"
#include "framework/ResourceModule.h"
#include "pages/FolderGates.h"
#include "pages/FolderRules.h"
#include "resource.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "skin/Dpi.h"

namespace korv {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);

}  // namespace

int BuildingDesignInstalled(const std::wstring& folder) {
    for (const wchar_t* file : product::kBuildingDesignModules) {
        if (GetFileAttributesW((folder + L"\\" + file).c_str()) != INVALID_FILE_ATTRIBUTES) {
            return 1;
        }
    }
    return 0;
}

bool InstalledCopyHasPackage(const std::wstring& folder, size_t i) {
    const std::wstring ini = folder + L"\\Setup.ini";
    if (GetFileAttributesW(ini.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const std::wstring section = L"sub" + fw::DecimalText(i + 1);
    return GetPrivateProfileIntW(section.c_str(), L"check", 0, ini.c_str()) == 1;
}

void TakeInstalledChoices(InstallSession& session) {
    const std::wstring ini = session.targetFolder + L"\\Setup.ini";
    const bool listed = GetFileAttributesW(ini.c_str()) != INVALID_FILE_ATTRIBUTES;
    for (size_t i = 0; i < session.packages.size(); ++i) {
        PackageRecord& record = session.packages[i];
        record.removeFlag = false;
        if (record.showFlag == product::kShowWhenModulesInstalled) {
            record.check = BuildingDesignInstalled(session.targetFolder);
        } else if (listed && !(record.showFlag == 0 && record.check == 1)) {
            const std::wstring section = L"sub" + fw::DecimalText(i + 1);
            record.check = GetPrivateProfileIntW(section.c_str(), L"check", 0, ini.c_str()) == 1 ? 1 : 0;
        }
    }
}

CKorvFeatureDlg::CKorvFeatureDlg(CWnd* parent) : CArcBitmapDialog(IDD_FEATURES, parent) {
    SetBackgroundImageId(IDP_FEATURES_BACKGROUND);
}

CKorvFeatureDlg::~CKorvFeatureDlg() {
    if (GetSafeHwnd() != nullptr) {
        DestroyWindow();
    }
}

void CKorvFeatureDlg::DoDataExchange(fw::CDataExchange& dx) {
    CArcBitmapDialog::DoDataExchange(dx);
    fw::DDX_Control(dx, IDC_MAINTENANCE_HEADLINE, headline_);
    fw::DDX_Control(dx, IDC_FEATURES_BACK, back_);
    fw::DDX_Control(dx, IDC_FEATURES_NEXT, next_);
    fw::DDX_Control(dx, IDC_FEATURES_CANCEL, cancel_);
    fw::DDX_Control(dx, IDC_FEATURES_PATH_BUTTON, pathButton_);
    fw::DDX_Control(dx, IDC_AGREEMENT_CHECK, agreement_);
    fw::DDX_Control(dx, IDC_AGREEMENT_LABEL, agreementLabel_);
    fw::DDX_Control(dx, IDC_LICENCE_LINK, licenceLink_);
    fw::DDX_Control(dx, IDC_PRIVACY_LINK, privacyLink_);
}

bool CKorvFeatureDlg::OnInitDialog() {
    InstallSession& s = Session();
    CArcBitmapDialog::OnInitDialog();
    SetIcon(LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP)), true);
    SetIcon(LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP)), false);
    agreementLabel_.SetLabelTextColor(RGB(0, 0, 0));

    headline_.SetText(LoadText(IDS_MAINTENANCE_HEADLINE,
                               L"Korvanix 2024 Maintenance Program allows you to modify, repair and uninstall the "
                               L"software."));
    headline_.SetCentered(true);
    back_.SetButtonText(LoadText(IDS_BUTTON_BACK, L"Back"));
    back_.SetPngImages(IDP_BACK_NORMAL, IDP_BACK_PRESSED, IDP_BACK_HOVER, IDP_BACK_DISABLED);
    back_.SetTextColors(kWhite);
    back_.SetFontHeight(21);
    next_.SetButtonText(LoadText(IDS_BUTTON_NEXT, L"Next"));
    next_.SetPngImages(IDP_NEXT_NORMAL, IDP_NEXT_PRESSED, IDP_NEXT_HOVER);
    next_.SetTextColors(kWhite);
    next_.SetFontHeight(21);
    cancel_.SetButtonText(LoadText(IDS_BUTTON_CANCEL, L"Cancel"));
    cancel_.SetPngImages(IDP_CANCEL_NORMAL, IDP_CANCEL_PRESSED, IDP_CANCEL_HOVER);
    cancel_.SetTextColors(RGB(78, 89, 105), RGB(51, 51, 51), RGB(89, 90, 90), RGB(78, 89, 105));
    cancel_.SetFontHeight(21);
    for (CLabelEx* link : {&licenceLink_, &privacyLink_}) {
        link->SetLabelTextColor(kLinkBlue);
        link->SetLinkCursor(nullptr);
        link->SetUnderline(true, kLinkBlue);
    }
    {
        RECT r = agreement_.GetWindowRect();
        MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
        const int side = ScaleToDpi(16);
        agreement_.MoveWindow((r.left + r.right - side) / 2, (r.top + r.bottom - side) / 2, side, side);
    }

    // A feature of the building-design add-on counts as installed exactly
    // when its files are in the installation folder.
    choices_ = s.packages;
    for (PackageRecord& record : choices_) {
        if (record.showFlag == product::kShowWhenModulesInstalled) {
            record.check = BuildingDesignInstalled(s.targetFolder);
        }
    }
    packages_.Create(GetSafeHwnd(), choices_);

    pathText_ = s.targetFolder;
    if (s.maintenanceMode == kModeModify) {
        pathButton_.EnableWindow(false);
        pathButton_.ShowWindow(SW_HIDE);
        agreement_.ShowWindow(SW_HIDE);
        agreementLabel_.ShowWindow(SW_HIDE);
        licenceLink_.ShowWindow(SW_HIDE);
        privacyLink_.ShowWindow(SW_HIDE);
    }
    packages_.Show(true);
    next_.SetFocus();
    return false;
}

void CKorvFeatureDlg::TakePathText() {
    Session().targetFolder = TrimPathText(pathText_);
}

void CKorvFeatureDlg::OnBack() {
    TakePathText();
    bool changed = false;
    if (ValidateInstallFolder(GetSafeHwnd(), RootMessage::kNotice, pathText_, changed)) {
        EndDialog(IDC_FEATURES_BACK);
    }
}

void CKorvFeatureDlg::OnNext() {
    TakePathText();
    if (PassFreeSpaceGate(GetSafeHwnd())) {
        Session().packages = choices_;
        EndDialog(IDC_FEATURES_NEXT);
        WriteSetupRecord();
    }
}

void CKorvFeatureDlg::OnPackageBox(UINT id) {
    InstallSession& s = Session();
    const size_t i = id - IDC_PACKAGE_BOX_FIRST;
    if (i >= packages_.Count() || i >= choices_.size()) {
        return;
    }
    PackageRecord& record = choices_[i];
    if (record.showFlag == 0 && record.check == 1) {
        return;
    }
    if (record.check != 0) {
        // Unticking a package the installed copy has: the job removes its
        // files. The mark stays when the box is ticked again, so the job
        // installs it afresh over whatever was removed.
        if (s.maintenanceMode == kModeModify && InstalledCopyHasPackage(s.targetFolder, i)) {
            record.removeFlag = true;
        }
        record.check = 0;
    } else {
        record.check = 1;
    }
    Invalidate();
}

void CKorvFeatureDlg::OnCancel() {
    const std::wstring question =
        LoadText(IDS_CONFIRM_EXIT_MODIFY,
                 L"After exiting the modification program of Korvanix 2024, you will not be able to continue "
                 L"executing this program. Are you sure to exit?");
    if (ShowTipMessage(kTipQuestion, question.c_str(), GetSafeHwnd()) == kTipOk) {
        EndDialog(IDCANCEL);
    }
}

void CKorvFeatureDlg::OnPaint() {
    Default();
    if (!broughtForward_) {
        broughtForward_ = true;
        SetForegroundWindow(GetSafeHwnd());
    }
}

HBRUSH CKorvFeatureDlg::OnPageCtlColor(HDC dc, HWND control, UINT type) {
    HBRUSH brush = OnCtlColor(dc, control, type);
    if (type == CTLCOLOR_STATIC) {
        SetTextColor(dc, Session().textColour);
    }
    return brush;
}

void CKorvFeatureDlg::OnDestroy() {
    packages_.Destroy();
    Default();
}

const fw::MessageMap& CKorvFeatureDlg::GetMessageMap() const {
    static const fw::MessageMap map(CArcBitmapDialog::GetMessageMap(), {
        fw::on::Command(IDC_FEATURES_BACK, &CKorvFeatureDlg::OnBack),
        fw::on::Command(IDC_FEATURES_NEXT, &CKorvFeatureDlg::OnNext),
        fw::on::CommandRange(IDC_PACKAGE_BOX_FIRST, IDC_PACKAGE_BOX_FIRST + PackageBoxes::kSlots - 1,
                             &CKorvFeatureDlg::OnPackageBox),
        fw::on::Paint(&CKorvFeatureDlg::OnPaint),
        fw::on::CtlColor(&CKorvFeatureDlg::OnPageCtlColor),
        fw::on::Destroy(&CKorvFeatureDlg::OnDestroy),
    });
    return map;
}

}  // namespace korv
