#include "pages/WelcomePage.h"

#include <shellapi.h>

#include "config/InstalledRecords.h"
#include "engine/EngineMessages.h"
#include "framework/ResourceModule.h"
#include "pages/FolderGates.h"
#include "pages/FolderRules.h"
#include "resource.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "skin/BackgroundWindows.h"
#include "skin/Dpi.h"

namespace korv {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLinkBlue = RGB(22, 93, 255);
constexpr COLORREF kUnderlineBlue = RGB(0, 0, 255);
constexpr COLORREF kFrameGrey = RGB(197, 197, 197);
constexpr COLORREF kInstallTextUnticked = RGB(207, 214, 238);

// A document the medium does not name, or whose file is not there, gets the
// file-missing notice instead: the shell would open a window on a folder
// (the medium's, or the current one for an empty name) rather than fail.
void OpenDocument(const std::wstring& path, HWND owner) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ShowFileMissing(path, owner);
        return;
    }
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SetLink(CLabelEx& label, bool oneLine) {
    label.SetLabelTextColor(kLinkBlue);
    label.SetLinkCursor(nullptr);
    if (oneLine) {
        label.SetWordWrap(false);
        label.SetUnderline(true, kUnderlineBlue);
    }
}

}  // namespace

CKorvWelcomeDlg::CKorvWelcomeDlg(CWnd* parent) : CArcBitmapDialog(IDD_WELCOME, parent) {
    SetBackgroundImageId(IDP_WELCOME_BACKGROUND);
}

CKorvWelcomeDlg::~CKorvWelcomeDlg() {
    if (GetSafeHwnd() != nullptr) {
        DestroyWindow();
    }
}

void CKorvWelcomeDlg::DoDataExchange(fw::CDataExchange& dx) {
    CArcBitmapDialog::DoDataExchange(dx);
    fw::DDX_Control(dx, IDC_WELCOME_HEADLINE, headline_);
    fw::DDX_Control(dx, IDC_WELCOME_SUBLINE, subline_);
    fw::DDX_Control(dx, IDC_WELCOME_PATH, path_);
    fw::DDX_Control(dx, IDC_WELCOME_BROWSE, browse_);
    fw::DDX_Control(dx, IDC_WELCOME_OPTIONS, options_);
    fw::DDX_Control(dx, IDC_WELCOME_INSTALL, install_);
    fw::DDX_Control(dx, IDC_WELCOME_EXIT, exit_);
    fw::DDX_Control(dx, IDC_AGREEMENT_CHECK, agreement_);
    fw::DDX_Control(dx, IDC_WELCOME_SPARE_CHECK, spare_);
    fw::DDX_Control(dx, IDC_AGREEMENT_LABEL, agreementLabel_);
    fw::DDX_Control(dx, IDC_WELCOME_AND, andLabel_);
    fw::DDX_Control(dx, IDC_LICENCE_LINK, licenceLink_);
    fw::DDX_Control(dx, IDC_PRIVACY_LINK, privacyLink_);
    fw::DDX_Control(dx, IDC_WELCOME_REQUIREMENTS_LINK, requirementsLink_);
    fw::DDX_Control(dx, IDC_WELCOME_OPTIONS_LABEL, optionsLabel_);
    fw::DDX_Text(dx, IDC_WELCOME_PATH, pathText_);
}

bool CKorvWelcomeDlg::OnInitDialog() {
    InstallSession& s = Session();
    // The path box shows the session's folder from the start.
    pathText_ = s.targetFolder;
    CArcBitmapDialog::OnInitDialog();

    SetLink(requirementsLink_, false);
    packages_.Create(GetSafeHwnd(), Session().packages);
    ShowOptionsArea(false);

    SetIcon(LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP)), true);
    SetIcon(LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP)), false);

    headline_.SetText(headline_.GetWindowText());
    headline_.SetTextStyle(35, kWhite);
    headline_.UseFrameworkFont(2);
    subline_.SetText(subline_.GetWindowText());
    subline_.SetTextStyle(17, kWhite);

    browse_.SetPngImages(IDP_BROWSE_NORMAL, IDP_BROWSE_PRESSED, IDP_BROWSE_HOVER);
    options_.SetButtonText(LoadText(IDS_BUTTON_OPTIONS, L"Options"));
    options_.SetTextColors(kLinkBlue, RGB(138, 173, 255), RGB(92, 142, 255), kLinkBlue);
    options_.SetFontHeight(17);
    install_.SetButtonText(LoadText(IDS_BUTTON_INSTALL, L"Install"));
    install_.SetFontHeight(21);
    exit_.SetButtonText(LoadText(IDS_BUTTON_EXIT, L"Exit"));
    exit_.SetPngImages(IDP_EXIT_NORMAL, IDP_EXIT_PRESSED, IDP_EXIT_HOVER);
    exit_.SetTextColors(RGB(78, 89, 105), RGB(51, 51, 51), RGB(89, 90, 90), RGB(78, 89, 105));
    exit_.SetFontHeight(21);
    // Install looks unticked whatever the session holds: the box below
    // shows the real state, and Install checks it when pressed.
    install_.SetPngImages(IDP_INSTALL_DISABLED);
    install_.SetTextColors(kInstallTextUnticked, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME),
                           kInstallTextUnticked);

    path_.SetWindowText(pathText_.c_str());
    path_.ShowWindow(SW_SHOW);

    agreementLabel_.SetLabelTextColor(RGB(0, 0, 0));
    agreementLabel_.SetWordWrap(false);
    andLabel_.SetLabelTextColor(RGB(0, 0, 0));
    andLabel_.SetWordWrap(false);
    SetLink(licenceLink_, true);
    SetLink(privacyLink_, true);
    agreement_.SetCheckIcons(IDI_CHECK_ON, IDI_CHECK_OFF);
    agreement_.SetCheck(s.agreementAccepted != 0, true);
    {
        // 16 x 16 (scaled) about the template box's centre.
        RECT r = agreement_.GetWindowRect();
        MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
        const int side = ScaleToDpi(16);
        const int cx = (r.left + r.right) / 2;
        const int cy = (r.top + r.bottom) / 2;
        agreement_.MoveWindow(cx - side / 2, cy - side / 2, side, side);
    }

    if (BackWindowHandle() != nullptr) {
        ::ShowWindow(BackWindowHandle(), SW_SHOW);
    }
    return true;
}

void CKorvWelcomeDlg::ShowOptionsArea(bool show) {
    optionsShown_ = show;
    const int command = show ? SW_SHOW : SW_HIDE;
    requirementsLink_.ShowWindow(command);
    optionsLabel_.ShowWindow(command);
    packages_.Show(show);
    if (BackWindowHandle() != nullptr) {
        ::SendMessageW(BackWindowHandle(), WM_BKWND_COMMAND,
                       show ? IDP_WELCOME_OPTIONS_BACKGROUND : IDP_WELCOME_BACKGROUND, 0);
    }
    if (show) {
        options_.SetPngImages(IDP_OPTIONS_OPEN_NORMAL, IDP_OPTIONS_OPEN_PRESSED, IDP_OPTIONS_OPEN_HOVER);
    } else {
        options_.SetPngImages(IDP_OPTIONS_NORMAL, IDP_OPTIONS_PRESSED, IDP_OPTIONS_HOVER);
    }
    Invalidate();
}

void CKorvWelcomeDlg::StyleInstallButton() {
    if (Session().agreementAccepted == 1) {
        install_.SetPngImages(IDP_INSTALL_NORMAL, IDP_INSTALL_PRESSED, IDP_INSTALL_HOVER, IDP_INSTALL_DISABLED);
        install_.SetTextColors(kWhite);
    } else {
        install_.SetPngImages(IDP_INSTALL_DISABLED);
        install_.SetTextColors(kInstallTextUnticked, GetSysColor(COLOR_WINDOWFRAME),
                               GetSysColor(COLOR_WINDOWFRAME), kInstallTextUnticked);
    }
    install_.Invalidate(false);
}

void CKorvWelcomeDlg::TakePathText(bool dropDots) {
    UpdateData(true);
    std::wstring text = pathText_;
    if (dropDots) {
        text = TrimPathText(text);
    } else {
        size_t end = text.find_last_not_of(L' ');
        text.resize(end == std::wstring::npos ? 0 : end + 1);
    }
    Session().targetFolder = text;
}

bool CKorvWelcomeDlg::ValidateFolder() {
    bool changed = false;
    const bool accepted = ValidateInstallFolder(GetSafeHwnd(), RootMessage::kQuestion, pathText_, changed);
    if (changed) {
        path_.SetWindowText(pathText_.c_str());
    }
    if (!accepted) {
        FocusPathBox();
    }
    return accepted;
}

void CKorvWelcomeDlg::FocusPathBox() {
    path_.ShowWindow(SW_SHOW);
    path_.SetFocus();
    const int end = static_cast<int>(path_.GetWindowText().size());
    path_.SetSel(end, end);
}

void CKorvWelcomeDlg::OnInstall() {
    InstallSession& s = Session();
    UpdateData(true);
    if (s.agreementAccepted == 0) {
        ShowTipMessage(kTipNotice,
                       LoadText(IDS_ACCEPT_LICENCE_FIRST, L"You must agree to the License Agreement before installing.")
                           .c_str(),
                       GetSafeHwnd());
        return;
    }
    TakePathText(true);
    if (!ValidateFolder()) {
        return;
    }
    if (!ConfirmFolderNotEmpty(GetSafeHwnd())) {
        return;
    }
    if (!PassFreeSpaceGate(GetSafeHwnd())) {
        return;
    }
    WriteSetupRecord();
    EndDialog(IDC_WELCOME_INSTALL);
}

void CKorvWelcomeDlg::OnOptions() {
    TakePathText(true);
    if (ValidateFolder()) {
        ShowOptionsArea(!optionsShown_);
    }
}

void CKorvWelcomeDlg::OnBrowse() {
    UpdateData(true);
    if (startFolder_.empty()) {
        startFolder_ = pathText_;
    }
    if (!PickInstallFolder(GetSafeHwnd(), startFolder_, pathText_)) {
        return;
    }
    path_.SetWindowText(pathText_.c_str());
    FocusPathBox();
}

void CKorvWelcomeDlg::OnPathCaret() {
    TakePathText(false);
    FocusPathBox();
}

void CKorvWelcomeDlg::OnAgreement() {
    InstallSession& s = Session();
    s.agreementAccepted = s.agreementAccepted == 1 ? 0 : 1;
    StyleInstallButton();
}

void CKorvWelcomeDlg::OnPackageBox(UINT id) {
    InstallSession& s = Session();
    const size_t i = id - IDC_PACKAGE_BOX_FIRST;
    if (i >= packages_.Count() || i >= s.packages.size()) {
        return;
    }
    PackageRecord& record = s.packages[i];
    if (record.showFlag != 0 || record.check != 1) {
        record.check = record.check == 1 ? 0 : 1;
    }
}

void CKorvWelcomeDlg::OnLicence() {
    OpenDocument(Session().licenceAgreementPath, GetSafeHwnd());
}

void CKorvWelcomeDlg::OnPrivacy() {
    OpenDocument(Session().privacyPolicyPath, GetSafeHwnd());
}

void CKorvWelcomeDlg::OnRequirements() {
    OpenDocument(Session().systemRequirementsPath, GetSafeHwnd());
}

void CKorvWelcomeDlg::OnOK() {
    OnInstall();
}

void CKorvWelcomeDlg::OnCancel() {
    const std::wstring question =
        LoadText(IDS_CONFIRM_EXIT_INSTALL,
                 L"After exiting the installation program of Korvanix 2024, you will not be able to continue "
                 L"executing this program. Are you sure to exit?");
    if (ShowTipMessage(kTipQuestion, question.c_str(), GetSafeHwnd()) == kTipOk) {
        EndDialog(IDCANCEL);
    }
}

void CKorvWelcomeDlg::OnPaint() {
    Default();
    if (path_.GetSafeHwnd() == nullptr) {
        return;
    }
    // A rounded frame around the path box, with room on the right for the
    // folder picker button.
    RECT r = path_.GetWindowRect();
    MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    r.left -= ScaleToDpi(2);
    r.top -= ScaleToDpi(4);
    r.right += ScaleToDpi(25);
    r.bottom += ScaleToDpi(2);
    fw::ClientDC dc(GetSafeHwnd());
    fw::UniquePen pen(CreatePen(PS_SOLID, 1, kFrameGrey));
    fw::SelectGuard selectPen(dc, pen.Get());
    fw::SelectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, 8, 8);
}

HBRUSH CKorvWelcomeDlg::OnPageCtlColor(HDC dc, HWND control, UINT type) {
    HBRUSH brush = OnCtlColor(dc, control, type);
    if (type == CTLCOLOR_STATIC) {
        SetTextColor(dc, Session().textColour);
    }
    return brush;
}

void CKorvWelcomeDlg::OnDestroy() {
    // The run-time controls go with the page.
    packages_.Destroy();
    Default();
}

const fw::MessageMap& CKorvWelcomeDlg::GetMessageMap() const {
    static const fw::MessageMap map(CArcBitmapDialog::GetMessageMap(), {
        fw::on::Command(IDC_WELCOME_INSTALL, &CKorvWelcomeDlg::OnInstall),
        fw::on::Command(IDC_WELCOME_OPTIONS, &CKorvWelcomeDlg::OnOptions),
        fw::on::Command(IDC_WELCOME_BROWSE, &CKorvWelcomeDlg::OnBrowse),
        fw::on::Command(IDC_WELCOME_PATH_CARET, &CKorvWelcomeDlg::OnPathCaret),
        fw::on::Command(IDC_AGREEMENT_CHECK, &CKorvWelcomeDlg::OnAgreement),
        fw::on::Command(IDC_LICENCE_LINK, &CKorvWelcomeDlg::OnLicence),
        fw::on::Command(IDC_PRIVACY_LINK, &CKorvWelcomeDlg::OnPrivacy),
        fw::on::Command(IDC_WELCOME_REQUIREMENTS_LINK, &CKorvWelcomeDlg::OnRequirements),
        fw::on::CommandRange(IDC_PACKAGE_BOX_FIRST, IDC_PACKAGE_BOX_FIRST + PackageBoxes::kSlots - 1,
                             &CKorvWelcomeDlg::OnPackageBox),
        fw::on::Paint(&CKorvWelcomeDlg::OnPaint),
        fw::on::CtlColor(&CKorvWelcomeDlg::OnPageCtlColor),
        fw::on::Destroy(&CKorvWelcomeDlg::OnDestroy),
    });
    return map;
}

}  // namespace korv
