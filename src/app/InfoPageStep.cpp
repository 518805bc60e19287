#include "app/InfoPageStep.h"

#include "app/Startup.h"
#include "online/AdSettings.h"
#include "online/HttpRequestRules.h"
#include "online/InfoImportDlg.h"
#include "session/DiagnosticLog.h"

namespace korv {

void RunInfoPageStep(const InstallSession& session) {
    // A wizard that was cancelled, failed or never reached its finish page
    // cleared the flag: no request at all then.
    if (session.showInfoPage != 1) {
        return;
    }
    const std::wstring target =
        GetAdTargetUrl(session.globalServer, session.productVersion, session.languageCode, session.channel);
    if (target.empty()) {
        return;
    }
    // The page opens in this elevated process: only a web address of a
    // host, over https (or plain http when the service itself is, as on the
    // demo medium). A file:// or UNC address would log on to that host with
    // the administrator's credentials; javascript: or res: would run there.
    UrlParts service;
    const bool plainHttpAllowed = SplitUrl(session.globalServer, service) && !service.https;
    if (!IsAcceptedPageAddress(target, plainHttpAllowed)) {
        LogEvent(L"information page: the address the service named is refused, no page shown: " + target);
        return;
    }
    ShowInfoPage(InfoPageAddress(target, session.languageCode, session.productVersion), plainHttpAllowed);
}

}  // namespace korv
