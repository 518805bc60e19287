// Hosted OLE controls in a dialog template: the host window creates the
// control its text names, in place over its client area, and stays an
// empty window when it cannot (no OLE on the thread, a class nobody
// registered); calls and event handlers on an empty host fail cleanly.
#include <gtest/gtest.h>

#include <exdisp.h>

#include <optional>

#include "FrameworkTestSupport.h"

namespace {

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

}  // namespace

TEST(OleControlHost, CreatesTheNamedControlInPlaceOrStaysEmpty) {
    fwtest::TestResources resources;
    ASSERT_TRUE(resources.Loaded());
    ASSERT_TRUE(fw::EnableControlContainer());
    struct Case {
        const char* id;
        bool ole;
        int control;
        bool hosted;
    };
    const Case cases[] = {
        {"browser by class id", true, IDC_OLE_BY_CLASS_ID, true},
        {"browser by programmatic id", true, IDC_OLE_BY_PROG_ID, true},
        {"unregistered class id", true, IDC_OLE_UNKNOWN, false},
        {"browser without OLE on the thread", false, IDC_OLE_BY_CLASS_ID, false},
    };
    for (const Case& c : cases) {
        std::optional<fw::OleInit> ole;
        if (c.ole) {
            ole.emplace();
        }
        fw::CDialog dialog;
        ASSERT_TRUE(dialog.Create(IDD_OLE_HOSTS)) << c.id;
        fw::COleControlWnd host;
        ASSERT_TRUE(host.SubclassDlgItem(static_cast<UINT>(c.control), dialog.GetSafeHwnd())) << c.id;

        EXPECT_EQ(static_cast<bool>(host.GetControlUnknown()), c.hosted) << c.id;
        HWND inner = GetWindow(host.GetSafeHwnd(), GW_CHILD);
        if (c.hosted) {
            // In place: the control's window covers the host, also after a resize.
            ASSERT_NE(inner, nullptr) << c.id;
            RECT control = ScreenRect(inner);
            RECT area = ScreenRect(host.GetSafeHwnd());
            EXPECT_TRUE(EqualRect(&control, &area)) << c.id;
            host.MoveWindow(0, 0, 200, 150);
            RECT after = ScreenRect(inner);
            EXPECT_EQ(after.right - after.left, 200) << c.id;
            EXPECT_EQ(after.bottom - after.top, 150) << c.id;
            EXPECT_TRUE(host.SetEventHandler(DIID_DWebBrowserEvents2, [](DISPID, DISPPARAMS&) {})) << c.id;
        } else {
            EXPECT_EQ(inner, nullptr) << c.id;
            DISPPARAMS none{nullptr, nullptr, 0, 0};
            EXPECT_TRUE(FAILED(host.InvokeHelper(104, DISPATCH_METHOD, none))) << c.id;
            EXPECT_FALSE(host.SetEventHandler(DIID_DWebBrowserEvents2, [](DISPID, DISPPARAMS&) {})) << c.id;
        }
        // Leaving the scope destroys the dialog, which closes the control,
        // and only then gives OLE back.
    }
}
