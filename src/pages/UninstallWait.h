// The window the uninstall procedure shows while it works: a plain wait
// dialog (CKorvInitUninstallDlg) hosted by a fully transparent layered
// window (CPngTransparentWndDlg) that creates it and lives as long as it.
#pragma once

#include <windows.h>

#include <memory>

#include "engine/UninstallWindows.h"
#include "framework/Framework.h"
#include "resource.h"
#include "skin/Labels.h"

namespace korv {

class CKorvInitUninstallDlg : public fw::CDialogEx {
public:
    CKorvInitUninstallDlg() : CDialogEx(IDD_UNINSTALL_WAIT, static_cast<HWND>(nullptr)) {}
    bool Create(HWND parent);

    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    void OnPaint();
    HCURSOR OnQueryDragIcon() { return icon_; }

    HICON icon_ = nullptr;
    CLabelEx text_;
};

class CPngTransparentWndDlg : public fw::CDialog {
public:
    CPngTransparentWndDlg() : CDialog(0, static_cast<HWND>(nullptr)) {}
    // From the background template, without owner.
    bool Create(HWND parent = nullptr);

    CKorvInitUninstallDlg* WaitWindow() const { return wait_.get(); }
    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;

private:
    int OnCreate(CREATESTRUCTW*);
    void OnDestroy();
    void OnPaint();
    HCURSOR OnQueryDragIcon() { return icon_; }

    HICON icon_ = nullptr;
    BLENDFUNCTION blend_{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    std::unique_ptr<CKorvInitUninstallDlg> wait_;
};

// The windows for the uninstall procedure: hiding `mainWindow` (may be
// null), and opening and closing one wait window on the calling thread.
UninstallWindows MakeUninstallWindows(fw::CWnd* mainWindow);

}  // namespace korv
