// CKorvWelcomeDlg: the first page of a new installation. The folder (typed
// or picked), an options area with one box per package of Setup.ini, the
// licence agreement box, the documents, and Install or Exit.
//
// Ends with 1018 (Install: targetFolder holds the accepted folder, the
// setup record is written and the package records hold the choices) or 2
// (Exit confirmed).
#pragma once

#include <windows.h>

#include <string>

#include "pages/PackageBoxes.h"
#include "skin/Buttons.h"
#include "skin/Labels.h"
#include "skin/SkinDialogs.h"

namespace korv {

class CKorvWelcomeDlg : public CArcBitmapDialog {
public:
    explicit CKorvWelcomeDlg(CWnd* parent = nullptr);
    ~CKorvWelcomeDlg() override;

    bool OptionsShown() const { return optionsShown_; }
    const std::wstring& PathText() const { return pathText_; }
    // The run-time package box of package i, or null (no place for it).
    CKorvShadeButtonST* PackageBox(size_t i) const { return packages_.Box(i); }
    CLabelEx* PackageLabel(size_t i) const { return packages_.Label(i); }
    const CPngButton& InstallButton() const { return install_; }
    const CPngButton& OptionsButton() const { return options_; }

    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    // Enter is Install; the close box and Cancel ask like Exit.
    void OnOK() override;
    void OnCancel() override;

private:
    void ShowOptionsArea(bool show);
    void StyleInstallButton();
    // Reads the path box and hands its text to the folder rules.
    void TakePathText(bool dropDots);
    bool ValidateFolder();
    void FocusPathBox();

    void OnInstall();
    void OnOptions();
    void OnBrowse();
    void OnPathCaret();
    void OnAgreement();
    void OnPackageBox(UINT id);
    void OnLicence();
    void OnPrivacy();
    void OnRequirements();
    void OnPaint();
    HBRUSH OnPageCtlColor(HDC dc, HWND control, UINT type);
    void OnDestroy();

    std::wstring pathText_;
    std::wstring startFolder_;
    bool optionsShown_ = false;

    CKorvStatic headline_;
    CKorvStatic subline_;
    fw::CEdit path_;
    CPngButton browse_;
    CPngButton options_;
    CPngButton install_;
    CPngButton exit_;
    CKorvShadeButtonST agreement_;
    CKorvShadeButtonST spare_;
    CLabelEx agreementLabel_;
    CLabelEx andLabel_;
    CLabelEx licenceLink_;
    CLabelEx privacyLink_;
    CLabelEx requirementsLink_;
    CLabelEx optionsLabel_;
    PackageBoxes packages_;
};

}  // namespace korv
