// CKorvFeatureDlg: Modify's page. One box per package of the installed
// configuration; unticking a package the installed copy has marks it for
// removal. The boxes work on the page's own copy of the package records,
// which only Next hands to the session: Back and Cancel leave the records
// as they were, so a person who changes their mind and goes on to Repair
// loses nothing. Ends with 1001 (Next: the records hold the choices), 1000
// (Back) or 2 (Cancel confirmed with question 2053).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "pages/PackageBoxes.h"
#include "session/InstallSession.h"
#include "skin/Buttons.h"
#include "skin/Labels.h"
#include "skin/SkinDialogs.h"

namespace korv {

class CKorvFeatureDlg : public CArcBitmapDialog {
public:
    explicit CKorvFeatureDlg(CWnd* parent = nullptr);
    ~CKorvFeatureDlg() override;

    CKorvShadeButtonST* PackageBox(size_t i) const { return packages_.Box(i); }
    const std::wstring& PathText() const { return pathText_; }
    // The choices as the boxes stand (the session's records until Next).
    const std::vector<PackageRecord>& Choices() const { return choices_; }

    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    // Enter is Next; the close box and Cancel ask like Cancel.
    void OnOK() override { OnNext(); }
    void OnCancel() override;

private:
    void TakePathText();
    void OnBack();
    void OnNext();
    void OnPackageBox(UINT id);
    void OnPaint();
    HBRUSH OnPageCtlColor(HDC dc, HWND control, UINT type);
    void OnDestroy();

    std::wstring pathText_;
    std::vector<PackageRecord> choices_;
    bool broughtForward_ = false;

    CKorvStatic headline_;
    CPngButton back_;
    CPngButton next_;
    CPngButton cancel_;
    fw::CButton pathButton_;
    CKorvShadeButtonST agreement_;
    CLabelEx agreementLabel_;
    CLabelEx licenceLink_;
    CLabelEx privacyLink_;
    PackageBoxes packages_;
};

// The module-file test of a feature shown by showFlag 4: 1 when any of the
// building-design add-on's files lies in the folder, else 0.
int BuildingDesignInstalled(const std::wstring& folder);

// Whether the installed copy's Setup.ini in the folder lists package i
// (from 0) as installed (its [sub<i+1>] check is 1; a missing file lists
// nothing).
bool InstalledCopyHasPackage(const std::wstring& folder, size_t i);

// Repair installs what the installed copy has, nothing more and nothing
// less: every package record takes the choice the installed copy's Setup.ini
// in targetFolder lists (the building-design add-on: whether its files are
// there; a package nobody can untick: installed), and nothing is marked for
// removal. Without that file the records keep the medium's choices.
void TakeInstalledChoices(InstallSession& session);

}  // namespace korv
