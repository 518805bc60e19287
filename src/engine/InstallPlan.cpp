#include "engine/InstallPlan.h"

#include <objbase.h>

#include <iterator>

#include "config/NameRules.h"
#include "config/Probes.h"
#include "engine/ProductData.h"
#include "session/ProgressMessages.h"
#include "engine/ShellFolders.h"
#include "framework/Com.h"
#include "framework/DecimalText.h"

namespace korv {

namespace {

namespace p = product;

// Builds the step list; each helper appends one step.
class Planner {
public:
    explicit Planner(bool unattended) : unattended_(unattended) {}

    std::vector<InstallStep> Take() { return std::move(steps_); }

    // The page hears nothing of an unattended install, and its stage
    // caption does not exist there.
    void Post(UINT message) {
        if (!unattended_) {
            InstallStep& s = Add(StepKind::kPostMessage, L"");
            s.message = message;
        }
    }
    void Stage(int stage) {
        if (!unattended_) {
            Add(StepKind::kSetStage, L"").stage = stage;
        }
    }
    InstallStep& Add(StepKind kind, const std::wstring& path, OnFailure onFailure = OnFailure::kIgnore,
                     const std::wstring& failureName = {}) {
        InstallStep step;
        step.kind = kind;
        step.path = path;
        step.onFailure = onFailure;
        step.failureName = failureName;
        steps_.push_back(std::move(step));
        return steps_.back();
    }
    // A runner step whose failure ends the install, named by its file.
    InstallStep& Must(StepKind kind, const std::wstring& folder, const std::wstring& name) {
        return Add(kind, folder + name, OnFailure::kFail, name);
    }
    void Copy(const std::wstring& from, const std::wstring& to) {
        Add(StepKind::kCopyFile, from).destination = to;
    }
    void WriteIni(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                  const std::wstring& value) {
        InstallStep& s = Add(StepKind::kWriteIniValue, file);
        s.section = section;
        s.key = key;
        s.value = value;
    }

private:
    bool unattended_;
    std::vector<InstallStep> steps_;
};

template <size_t N>
void PlanRemovals(Planner& plan, const std::wstring& folder, const wchar_t* const (&files)[N]) {
    for (const wchar_t* file : files) {
        plan.Add(StepKind::kDeleteFile, folder + file);
    }
}

void PlanPackageLoop(Planner& plan, const InstallSession& session, const InstallFacts& facts) {
    const std::wstring files = facts.setupFolder + L"\\files\\";
    const std::wstring msi = facts.setupFolder + L"\\Msi\\";
    const std::wstring target = session.targetFolder + L"\\";
    // The unattended install knows no .NET version the spreadsheet table
    // would not: it asks for the oldest one that package supports.
    const std::wstring netFallback = facts.unattended ? L"35" : L"";

    for (const PackageRecord& record : session.packages) {
        if (record.check == 1) {
            for (const std::wstring& item : SplitPackageItems(record.package)) {
                const PackageItemKind kind = ClassifyPackageItem(item);
                // An item names a file in files\ or Msi\ of the medium and
                // nothing else: "..\x.exe" or "C:x.msi" would run, with
                // administrator rights, a program from elsewhere. Refused as
                // a missing file is: the install fails there.
                if (!IsPlainName(item)) {
                    plan.Must(StepKind::kRefusedItem, kind == PackageItemKind::kProgram ? files : msi, item);
                    continue;
                }
                if (kind == PackageItemKind::kProgram) {
                    plan.Must(StepKind::kProductPackage, files, item);
                } else if (kind == PackageItemKind::kSpreadsheetTable) {
                    plan.Add(StepKind::kMsiWithProperties,
                             msi + SpreadsheetTableItem(item, session.product64Bit, session.office64Bit))
                        .arguments =
                        SpreadsheetTableProperties(session.office64Bit, session.dotNetVersion, netFallback);
                } else {
                    plan.Add(StepKind::kMsiPackage, msi + item);
                }
            }
        } else if (record.removeFlag && !facts.unattended && session.maintenanceMode == kModeModify) {
            // Only Modify takes packages away; a Repair restores what is there.
            if (record.name == p::kRenderingPackageName) {
                PlanRemovals(plan, target, p::kRenderingModules);
            } else if (record.name == p::kIfcPackageName) {
                PlanRemovals(plan, target, p::kIfcModules);
            } else if (record.showFlag == 1) {
                PlanRemovals(plan, target + p::kModelModulesFolder, p::kModelModules);
            }
        }
    }
}

}  // namespace

std::wstring SpreadsheetTableProperties(int office64Bit, const std::wstring& dotNetVersion,
                                        const std::wstring& netFallback) {
    std::wstring code = DotNetShortCode(dotNetVersion);
    if (code.empty()) {
        code = netFallback;
    }
    return L"OFFICEBITVER=" + fw::DecimalText(office64Bit) + L" NETVER=" + code;
}

std::wstring MediumFolder(const InstallSession& session) {
    std::wstring folder = session.setupFolder;
    if (folder.empty()) {
        wchar_t module[MAX_PATH * 4] = {};
        DWORD length = GetModuleFileNameW(nullptr, module, static_cast<DWORD>(std::size(module)));
        folder.assign(module, length < std::size(module) ? length : 0);
        size_t slash = folder.find_last_of(L'\\');
        folder.resize(slash == std::wstring::npos ? 0 : slash);
    }
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

InstallFacts InstallFacts::OfThisMachine(const InstallSession& session, bool unattended) {
    InstallFacts facts;
    facts.unattended = unattended;

    facts.setupFolder = MediumFolder(session);

    if (!CommonProgramFilesFolder(facts.commonFilesFolder)) {
        facts.commonFilesFolder.clear();
    }

    fw::ComInit com;
    CLSID installer = {};
    facts.windowsInstallerRegistered = SUCCEEDED(CLSIDFromProgID(L"WindowsInstaller.Installer", &installer));
    return facts;
}

std::vector<InstallStep> PlanInstall(const InstallSession& session, const InstallFacts& facts) {
    const bool unattended = facts.unattended;
    const std::wstring& T = session.targetFolder;
    const std::wstring msi = facts.setupFolder + L"\\Msi\\";
    const std::wstring files = facts.setupFolder + L"\\files\\";
    const bool product64 = session.product64Bit == 1;
    Planner plan(unattended);

    if (unattended) {
        plan.Add(StepKind::kWriteSetupRecord, L"");
    }
    plan.Post(WM_INSTALL_STARTED);
    // The uninstaller removes what install.log names, with administrator
    // rights: a new installation never adds to a log it did not write (one
    // left in a folder that someone else prepared could name anything).
    if (session.maintenanceMode == kModeInstall) {
        plan.Add(StepKind::kStartNewInstallLog, T);
    }

    // Prerequisites.
    plan.Stage(kStagePrerequisites);
    if (!unattended && !facts.windowsInstallerRegistered) {
        plan.Must(StepKind::kPrerequisite, msi, p::kWindowsInstallerUpdate);
    }
    // A WOW64 value other than 0 or 1 names neither edition: such a medium
    // gets the x86 packages below but not the x86 runtime.
    if (session.product64Bit == 0) {
        plan.Must(StepKind::kPrerequisite, msi, p::kRuntimeX86);
    }
    if (session.os64Bit == 1) {
        plan.Must(StepKind::kPrerequisite, msi, p::kRuntimeX64);
        if (!unattended) {
            plan.Must(StepKind::kPrerequisite, msi, p::kRuntime2010X64);
        }
    }
    if (product64) {
        plan.Must(StepKind::kMsiPackage, msi, p::kXmlParserX64);
    } else if (unattended) {
        plan.Must(StepKind::kMsiPackage, msi, p::kXmlParser);
    } else {
        plan.Add(StepKind::kMsiPackage, msi + p::kXmlParser);
    }

    // The product and its optional packages.
    plan.Stage(kStageProductPackages);
    // Later elevated runs trust what lies in T: only SYSTEM and the
    // Administrators may write there. A folder that exists already (made by
    // anyone) before anything goes into it; a new one once the first
    // package has made it.
    plan.Add(StepKind::kSecureInstallFolder, T);
    for (const wchar_t* package : p::kProductPackages) {
        plan.Must(StepKind::kProductPackage, files, package);
        if (package == p::kProductPackages[0]) {
            plan.Add(StepKind::kSecureInstallFolder, T);
        }
    }
    PlanPackageLoop(plan, session, facts);
    plan.Must(StepKind::kProductPackage, files, p::kHelpPackage);
    plan.Must(StepKind::kProductPackage, files, p::kEncryptionPackage);

    // The collaboration system takes the folder unquoted and last: its
    // installer reads everything after /D= as the folder, blanks included.
    plan.Stage(kStageCollaboration);
    if (!unattended || session.maintenanceMode == kModeInstall) {
        plan.Add(StepKind::kProgramWithArguments,
                 files + (product64 ? p::kCollaborationInstallerX64 : p::kCollaborationInstallerX86))
            .arguments = L" /S /D=" + T;
    }

    // The installed copy's own setup files, so it can maintain and remove itself.
    plan.Stage(kStageSetupFiles);
    plan.Post(WM_PACKAGE_BEGIN);
    // Without install.log the copy could never be uninstalled, even when
    // the installation itself had nothing to log.
    plan.Add(StepKind::kEnsureInstallLog, T);
    const std::wstring S = facts.setupFolder + L"\\";
    plan.Copy(S + p::kSetupProgram, T + L"\\" + p::kSetupProgram);
    plan.Copy(S + p::kResourceLibrary, T + L"\\" + p::kResourceLibrary);
    plan.Copy(S + p::kUninstallerOnMedium, T + L"\\" + p::kUninstallerInstalled);
    plan.Copy(S + p::kSetupIni, T + L"\\" + p::kSetupIni);

    if (!unattended) {
        const std::wstring ini = T + L"\\" + p::kSetupIni;
        for (size_t i = 0; i < session.packages.size(); ++i) {
            plan.WriteIni(ini, L"sub" + fw::DecimalText(i + 1), L"check", fw::DecimalText(session.packages[i].check));
        }
        if (session.maintenanceMode != kModeInstall) {
            plan.WriteIni(ini, L"SETUP", L"CLASSIC", session.classicWorkspace != 0 ? L"1" : L"0");
        }
    }

    // The COM libraries live in the maker's folder under Common Files, where
    // other products of the maker find them too. Without that folder there is
    // nothing to place: a registration of a library that is not there counts
    // as done anyway.
    if (!facts.commonFilesFolder.empty()) {
        const std::wstring M = facts.commonFilesFolder + L"\\" + session.companyName + L"\\";
        plan.Add(StepKind::kCreateFolderTree, M);
        for (const wchar_t* library : p::kComLibraries) {
            plan.Copy(T + L"\\" + library, M + library);
            plan.Add(StepKind::kRegisterComServer, M + library, OnFailure::kRegisterFail, library);
        }
    }

    if (!unattended || session.numValue == 1 || session.numValue == 44) {
        plan.Add(StepKind::kRunHidden, T + L"\\" + p::kProductProgram, OnFailure::kRegisterFail, p::kProductProgram)
            .arguments = L" -Regserver -nologo";
    }
    // In a new installation the finish page runs the configuration program
    // with the workspace the user picks there.
    if (unattended || session.maintenanceMode != kModeInstall) {
        // It runs once every package is installed: its failure leaves an
        // installed but unconfigured copy, which a Repair configures.
        const wchar_t* configurator = product64 ? p::kConfiguratorX64 : p::kConfiguratorX86;
        plan.Add(StepKind::kConfigurator, files + configurator, OnFailure::kFailInstalled, configurator);
    }
    if (!unattended || session.registerUnattended) {
        plan.Add(StepKind::kProductRegistration, L"");
    }
    plan.Add(StepKind::kDeleteFile, T + L"\\" + p::kLeftoverUninstaller);
    plan.Post(WM_PACKAGE_END);
    plan.Post(WM_INSTALL_DONE);
    return plan.Take();
}

}  // namespace korv
