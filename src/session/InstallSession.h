// The one record of a run. Start-up, the pages and the install worker read
// and write it directly; see the notes on each field for who sets it.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "session/PackageRecord.h"

namespace korv {

enum MaintenanceMode : int {
    kModeInstall = 0,
    kModeModify = 1,
    kModeRepair = 2,
    kModeUninstall = 3,
};

// Stages of the install job, as the copy-progress page reads them.
enum InstallStage : int {
    kStageNone = 0,
    kStagePrerequisites = 1,
    kStageProductPackages = 2,
    kStageCollaboration = 3,
    kStageSetupFiles = 4,
};

// An int that one thread writes while another reads it. Copying copies the
// value, so the record that holds it stays an ordinary copyable struct.
class SharedInt {
public:
    SharedInt(int value = 0) : value_(value) {}
    SharedInt(const SharedInt& other) : value_(other.load()) {}
    SharedInt& operator=(const SharedInt& other) { store(other.load()); return *this; }
    SharedInt& operator=(int value) { store(value); return *this; }
    operator int() const { return load(); }
    int load() const { return value_.load(std::memory_order_acquire); }
    void store(int value) { value_.store(value, std::memory_order_release); }

private:
    std::atomic<int> value_;
};

struct InstallSession {
    std::wstring setupFolder;     // folder of the running setup program, ending in "\"
    std::wstring targetFolder;    // installation folder, no trailing "\"
    std::wstring productName;     // text 2015
    std::wstring productRegName;  // text 1996, the product word of the own registry key
    std::wstring companyName;
    std::wstring productVersion;
    std::wstring languageName;    // [RES] LANGUAGE as written
    std::wstring languageCode;    // the same in lower case
    std::wstring languageId;      // decimal Windows language identifier
    int netTest = 0;

    // packageCount always equals packages.size(); it is kept because the
    // configuration reader and the installed-copy lookup set it explicitly.
    int packageCount = 0;
    std::vector<PackageRecord> packages;

    int classicWorkspace = 0;
    int numValue = 1;
    // REGISTER=1: an unattended install registers the copy (uninstall
    // record, shortcuts) as the wizard does.
    bool registerUnattended = false;
    COLORREF textColour = RGB(0, 0, 0);
    int beta = 0;
    int product64Bit = 0;
    int os64Bit = 0;
    int installed = 0;
    int installed64Bit = 0;
    int maintenanceMode = kModeUninstall;
    int agreementAccepted = 0;
    int office64Bit = 0;
    std::wstring dotNetVersion;

    std::wstring migrateFolderName;
    std::wstring migratePrevious;
    std::wstring migrateExport;
    std::wstring migrateImport;
    std::wstring migrateReset;
    std::wstring migrateVersion;

    std::wstring globalServer;
    std::wstring channel;

    std::wstring privacyPolicyPath;
    std::wstring systemRequirementsPath;
    std::wstring licenceAgreementPath;

    int showInfoPage = 1;
    HMODULE resourceModule = nullptr;

    // Written by the install worker while the copy-progress page reads it on
    // the UI thread, so it is atomic rather than a plain int.
    SharedInt installStage{kStageNone};

    // 1 once an installer package has reported that it installed and the
    // machine must restart to finish (the Windows Installer's 3010 or 1641).
    // The install worker sets it; start-up ends the run with 3010 then.
    SharedInt restartNeeded{0};

    // 1 once the person confirmed Cancel on the copy-progress page (the UI
    // thread sets it, the install worker reads it between steps and the
    // Windows Installer's handler during a package).
    SharedInt cancelRequested{0};

    // The copy-progress page's Cancel asks before it cancels even while
    // every other message is answered unseen (a passive run without
    // SUPPRESSMSGBOXES=1): the person who pressed it is there to answer.
    bool askBeforeCancel = false;

    // PACKAGETIMEOUT: how long a started program may run before its step
    // fails (the program is left running); INFINITE waits without a limit.
    DWORD packageTimeoutMs = INFINITE;

    HMODULE msiModule = nullptr;
    HWND progressWindow = nullptr;

    // Empties the package list (start-up frees it before it ends).
    void FreePackages();

    // Puts every field back to its value at program start. Only tests need
    // this: a real run has exactly one session from start to end.
    void Reset();
};

// The session of this run, alive from before start-up to process exit.
InstallSession& Session();

}  // namespace korv
