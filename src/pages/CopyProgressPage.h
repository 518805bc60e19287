// CKorvCopyFilesDlg: the page shown while the install job runs on its
// worker thread (a new installation, Modify or Repair). It starts the
// worker, moves its bar with the job's steps, names the stage in its
// caption, runs a slideshow, and ends when the job reports its end:
// 1 after success, 2 after a failure or a cancel.
//
// Cancel (the button, Escape or the close box) asks once, with the focus on
// the answer that goes on; the job keeps running while the question is up.
// On yes the job stops before its next step (a Windows Installer package in
// progress is cancelled by its handler and rolls itself back; a started
// program is waited for, never ended); a new installation is then rolled
// back, a Modify or Repair keeps the copy. Session().cancelRequested tells
// the caller. Enter never cancels.
#pragma once

#include <windows.h>

#include "skin/Buttons.h"
#include "skin/GradientProgress.h"
#include "skin/Labels.h"
#include "skin/SkinDialogs.h"

namespace korv {

class CInstallThread;

class CKorvCopyFilesDlg : public CArcBitmapDialog {
public:
    static constexpr UINT_PTR kSlideTimer = 1;
    static constexpr UINT kSlidePeriodMs = 5000;
    // How long the full bar stays after a successful job.
    static constexpr UINT_PTR kSuccessHoldTimer = 2;
    static constexpr UINT kSuccessHoldMs = 1000;

    explicit CKorvCopyFilesDlg(CWnd* parent = nullptr);
    ~CKorvCopyFilesDlg() override;

    int TotalSteps() const { return totalSteps_; }
    int CurrentStep() const { return currentStep_; }
    int CurrentSlide() const { return slide_; }
    const CKorvStatic& Caption() const { return caption_; }
    const CKorvStatic& SlideTitle() const { return slideTitle_; }
    const CKorvStatic& SlideText() const { return slideText_; }
    const CGradientProgressCtrl& Bar() const { return bar_; }
    // How often the caption's text was replaced (it is replaced only when
    // the stage's text differs from the one shown).
    int CaptionChanges() const { return captionChanges_; }

    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    // Enter does not stop the job; Cancel, Escape and the close box ask.
    void OnOK() override {}
    void OnCancel() override;
    // The skinned pages swallow Escape; on this page it is Cancel.
    bool PreTranslateMessage(MSG& msg) override;

private:
    void ShowSlide(int n, bool opening);
    void RefreshCaption();
    void RedrawChild(const fw::CWnd& child);
    void EndWorker();
    // The job's end as the worker reported it (WM_INSTALL_DONE, or
    // WM_INSTALL_FAILED with its JobEnd).
    void EndJob(bool succeeded, WPARAM end);

    LRESULT OnInstallStarted(WPARAM, LPARAM) { return 0; }
    LRESULT OnPackageBegin(WPARAM, LPARAM) { return 0; }
    LRESULT OnPackageEnd(WPARAM, LPARAM);
    LRESULT OnTipOpened(WPARAM, LPARAM);
    LRESULT OnTipClosed(WPARAM, LPARAM);
    LRESULT OnProgressMoved(WPARAM, LPARAM);
    LRESULT OnInstallDone(WPARAM, LPARAM);
    LRESULT OnInstallFailed(WPARAM, LPARAM);
    void OnTimer(UINT_PTR id);
    HBRUSH OnPageCtlColor(HDC dc, HWND control, UINT type);
    void OnDestroy();

    int totalSteps_ = 0;
    int currentStep_ = 0;
    int slide_ = 1;
    int captionChanges_ = 0;
    bool ended_ = false;
    // The cancel question is up; an end the job reports meanwhile waits for
    // the answer.
    bool asking_ = false;
    bool endPending_ = false;
    bool pendingSucceeded_ = false;
    WPARAM pendingEnd_ = 0;
    CInstallThread* worker_ = nullptr;

    CGradientProgressCtrl bar_;
    CKorvStatic caption_;
    CKorvStatic slideTitle_;
    CKorvStatic slideText_;
    CKorvStatic spare_;
    CLabelEx label1_;
    CLabelEx label2_;
    CPngButton cancel_;
};

}  // namespace korv
