#include "session/InstallSession.h"

namespace korv {

void InstallSession::FreePackages() {
    packages.clear();
    packageCount = 0;
}

void InstallSession::Reset() {
    *this = InstallSession{};
}

InstallSession& Session() {
    static InstallSession session;
    return session;
}

}  // namespace korv
