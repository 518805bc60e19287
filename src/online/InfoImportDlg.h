// CInfoImportDlg: the information page shown after a finished interactive
// installation, a resizable window (template IDD_INFO_PAGE) filled by the
// system's web browser showing the page the advertisement lookup named.
//
// The page closes the window itself by loading, in any frame, an address
// that contains "closeWindows=yes"; the user closes it with Esc or the close
// box. Enter does nothing (a page's form must not close it). It runs in the
// elevated process: navigations to refused addresses (another scheme, user
// information, a UNC path) and new windows are cancelled.
#pragma once

#include <windows.h>

#include <string>

#include "framework/DialogEx.h"
#include "online/ExplorerLogin.h"

namespace korv {

class CInfoImportDlg : public fw::CDialogEx {
public:
    // The window's size when it opens, in pixels.
    static constexpr int kWidth = 695;
    static constexpr int kHeight = 620;
    // The extra request header of the page's first request.
    static constexpr const wchar_t* kAgentHeader = L"User-Agent: Korvanix Zuzude\r\n";

    explicit CInfoImportDlg(HWND owner = nullptr);
    ~CInfoImportDlg() override;

    // The page to open. The browser goes to no address that
    // IsAcceptedPageAddress(address, plainHttpAllowed) refuses, the first
    // one included, and opens no window of its own.
    void SetPageAddress(const std::wstring& address, bool plainHttpAllowed) {
        address_ = address;
        plainHttpAllowed_ = plainHttpAllowed;
    }
    const std::wstring& PageAddress() const { return address_; }

    const fw::MessageMap& GetMessageMap() const override;

    // The browser control; a window without one when the system could not
    // create it (the page stays empty; Esc and the close box still work).
    const CExplorer_login& Browser() const { return browser_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    // Enter: nothing.
    void OnOK() override {}

    // A document of the browser (the page or one of its frames) has loaded.
    void OnDocumentComplete(IDispatch* frame, const VARIANT* address);

private:
    void NavigateWithAgent(const std::wstring& address);
    void OnBrowserEvent(DISPID id, DISPPARAMS& params);
    void OnSize(UINT type, int cx, int cy);

    CExplorer_login browser_;
    HICON icon_ = nullptr;
    std::wstring address_;
    bool plainHttpAllowed_ = false;
};

// The window title: text 2042 with its "%s" filled by text 2022.
std::wstring InfoPageTitle();

// Shows the information page for address, modally, with OLE initialised
// around it (owned by the program's main window, if there is one).
// plainHttpAllowed: whether the browser may load http:// addresses as well
// as https:// ones (IsAcceptedPageAddress).
void ShowInfoPage(const std::wstring& address, bool plainHttpAllowed);

}  // namespace korv
