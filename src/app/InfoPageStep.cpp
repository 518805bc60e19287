#include "app/InfoPageStep.h"

#include "app/Startup.h"
#include "online/AdSettings.h"
#include "online/InfoImportDlg.h"

namespace korv {

void RunInfoPageStep(const InstallSession& session) {
    // A wizard that was cancelled, failed or never reached its finish page
    // cleared the flag: no request at all then.
    if (session.showInfoPage != 1) {
        return;
    }
    std::wstring address =
        InfoPageAddress(GetAdTargetUrl(session.globalServer, session.productVersion, session.languageCode,
                                       session.channel),
                        session.languageCode, session.productVersion);
    if (!address.empty()) {
        ShowInfoPage(address);
    }
}

}  // namespace korv
