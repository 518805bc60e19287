#include "app/MediumCheck.h"

#include <windows.h>

#include "config/MediumManifest.h"
#include "config/MediumVerification.h"
#include "engine/InstallPlan.h"
#include "framework/DecimalText.h"
#include "session/DiagnosticLog.h"
#include "session/TipMessage.h"

namespace korv {

namespace {

bool StartsWithFolder(const std::wstring& path, const std::wstring& folder) {
    return path.size() > folder.size() &&
           CompareStringOrdinal(path.c_str(), static_cast<int>(folder.size()), folder.c_str(),
                                static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Indexed by MediumFileState.
const wchar_t* const kFileWords[] = {L"matched", L"missing", L"other size", L"other hash", L"not listed"};
// Indexed by MediumState.
const wchar_t* const kMediumWords[] = {L"unsigned", L"verified", L"unsigned, a signed one is required",
                                       L"bad signature", L"bad manifest", L"refused"};

}  // namespace

std::vector<std::wstring> PlannedMediumFiles(InstallSession& session) {
    // Planned on the session itself with every package chosen, then put
    // back: a copy of the whole session costs more program size than this.
    const int mode = session.maintenanceMode;
    std::vector<int> checks;
    for (PackageRecord& record : session.packages) {
        checks.push_back(record.check);
        record.check = 1;
    }
    InstallFacts facts;
    facts.setupFolder = MediumFolder(session);
    facts.windowsInstallerRegistered = false;
    const std::wstring prefix = facts.setupFolder + L"\\";
    std::vector<std::wstring> files;
    for (int pass = 0; pass < 4; ++pass) {
        facts.unattended = (pass & 1) != 0;
        session.maintenanceMode = pass < 2 ? kModeInstall : kModeRepair;
        for (const InstallStep& step : PlanInstall(session, facts)) {
            if (StartsWithFolder(step.path, prefix)) {
                std::wstring relative = step.path.substr(prefix.size());
                bool known = false;
                for (const std::wstring& file : files) {
                    known = known || SamePath(file, relative);
                }
                if (!known) {
                    files.push_back(relative);
                }
            }
        }
    }
    session.maintenanceMode = mode;
    for (size_t i = 0; i < checks.size(); ++i) {
        session.packages[i].check = checks[i];
    }
    return files;
}

bool CheckMedium(InstallSession& session, std::vector<std::wstring>* planLines) {
    const std::vector<std::wstring> planned = PlannedMediumFiles(session);
    const DWORD started = GetTickCount();
    const MediumReport report = VerifyMedium(MediumFolder(session) + L"\\", planned, BuildRequiresSignedMedium());
    const DWORD took = GetTickCount() - started;
    std::wstring line = L"medium: ";
    line += kMediumWords[static_cast<int>(report.state)];
    line += L", bytes hashed, ms: ";
    line += fw::DecimalText(report.bytes);
    line += L' ';
    line += fw::DecimalText(took);
    std::vector<std::wstring> lines = {line};
    for (const MediumFileCheck& check : report.files) {
        bool isPlanned = false;
        for (const std::wstring& file : planned) {
            isPlanned = isPlanned || SamePath(file, check.path);
        }
        // A plan lists the files it would use; a run logs what it refuses.
        if (planLines != nullptr ? isPlanned : check.state != MediumFileState::kMatched) {
            line = check.path;
            line += L": ";
            line += kFileWords[static_cast<int>(check.state)];
            line += L", sha256 expected, found: ";
            line += check.expected;
            line += L' ';
            line += check.found;
            lines.push_back(line);
        }
    }
    const bool refused = report.state != MediumState::kUnsigned && report.state != MediumState::kVerified;
    if (planLines != nullptr) {
        if (refused) {
            lines.push_back(L"a run ends here with 1603: " + report.refusedFile);
        }
        for (const std::wstring& line : lines) {
            planLines->push_back(L"  " + line);
        }
        ReleaseMediumFiles();
        return true;
    }
    for (const std::wstring& line : lines) {
        LogEvent(line);
    }
    if (refused) {
        ReleaseMediumFiles();
        ShowTipMessage(kTipNotice, (L"The installation medium is damaged or changed: " + report.refusedFile).c_str());
    }
    return !refused;
}

}  // namespace korv
