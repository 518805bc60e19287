// The install procedure planned from the session: order, command lines and
// the failure rule of every step, without starting anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/InstallPlan.h"
#include "engine/UninstallPlan.h"
#include "session/ProgressMessages.h"
#include "support/Text.h"

using namespace korv;
using korv::test::Narrow;

namespace {

std::wstring MessageName(UINT message) {
    switch (message) {
    case WM_INSTALL_STARTED: return L"STARTED";
    case WM_INSTALL_DONE: return L"DONE";
    case WM_INSTALL_FAILED: return L"FAILED";
    case WM_PACKAGE_BEGIN: return L"BEGIN";
    case WM_PACKAGE_END: return L"END";
    }
    return L"?" + std::to_wstring(message);
}

// One line per step: what it does, then "!" and the file name when its
// failure ends the install ("!reg" for the register question).
std::wstring Describe(const InstallStep& s) {
    std::wstring line;
    switch (s.kind) {
    case StepKind::kPostMessage: return L"post " + MessageName(s.message);
    case StepKind::kSetStage: return L"stage " + std::to_wstring(s.stage);
    case StepKind::kWriteSetupRecord: line = L"setup record"; break;
    case StepKind::kPrerequisite: line = L"prerequisite " + s.path; break;
    case StepKind::kProductPackage: line = L"package " + s.path; break;
    case StepKind::kRefusedItem: line = L"refused " + s.path; break;
    case StepKind::kSecureInstallFolder: line = L"secure " + s.path; break;
    case StepKind::kProgramWithArguments: line = L"program " + s.path + L"|" + s.arguments; break;
    case StepKind::kMsiPackage: line = L"msi " + s.path; break;
    case StepKind::kMsiWithProperties: line = L"msi " + s.path + L"|" + s.arguments; break;
    case StepKind::kDeleteFile: line = L"delete " + s.path; break;
    case StepKind::kCopyFile: line = L"copy " + s.path + L" -> " + s.destination; break;
    case StepKind::kWriteIniValue: line = L"ini " + s.path + L" [" + s.section + L"] " + s.key + L"=" + s.value; break;
    case StepKind::kCreateFolderTree: line = L"folders " + s.path; break;
    case StepKind::kStartNewInstallLog: line = L"new install.log in " + s.path; break;
    case StepKind::kEnsureInstallLog: line = L"install.log in " + s.path; break;
    case StepKind::kRegisterComServer: line = L"register " + s.path; break;
    case StepKind::kRunHidden:
        line = L"hidden " + s.path + L"|" + s.arguments + (s.role == ProgramRole::kNotJudged ? L" (code logged)" : L"");
        break;
    case StepKind::kConfigurator: line = L"configurator " + s.path; break;
    case StepKind::kProductRegistration: line = L"registration"; break;
    case StepKind::kHideMainWindow: line = L"hide main window"; break;
    case StepKind::kOpenWaitWindow: line = L"open wait window"; break;
    case StepKind::kStartProgram:
        line = L"start " + s.path + L"|" + s.arguments + (s.role == ProgramRole::kNotJudged ? L" (code logged)" : L"");
        break;
    case StepKind::kHandOverUninstaller:
        line = L"hand over " + s.path + L" via " + s.destination + L"|" + s.arguments + (s.wait ? L" (waited)" : L"");
        break;
    }
    if (s.onFailure == OnFailure::kFail) {
        line += L" !" + s.failureName;
    } else if (s.onFailure == OnFailure::kRegisterFail) {
        line += L" !reg " + s.failureName;
    } else if (s.onFailure == OnFailure::kRegisterAsk) {
        line += L" ?reg " + s.failureName;
    } else if (s.onFailure == OnFailure::kFailInstalled) {
        line += L" !kept " + s.failureName;
    }
    return line;
}

std::vector<std::wstring> Describe(const std::vector<InstallStep>& steps) {
    std::vector<std::wstring> lines;
    for (const InstallStep& step : steps) {
        lines.push_back(Describe(step));
    }
    return lines;
}

std::vector<std::wstring> Only(const std::vector<std::wstring>& lines, const std::wstring& prefix) {
    std::vector<std::wstring> kept;
    for (const std::wstring& line : lines) {
        if (line.rfind(prefix, 0) == 0) {
            kept.push_back(line);
        }
    }
    return kept;
}

std::string Show(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const std::wstring& line : lines) {
        text += "\n  " + Narrow(line);
    }
    return text;
}

PackageRecord Package(const wchar_t* name, const wchar_t* list, int check, bool removeFlag = false, int showFlag = 1) {
    PackageRecord record;
    record.name = name;
    record.package = list;
    record.check = check;
    record.removeFlag = removeFlag;
    record.showFlag = showFlag;
    return record;
}

InstallSession BaseSession() {
    InstallSession s;
    s.setupFolder = L"D:\\m\\";
    s.targetFolder = L"C:\\Korv T";
    s.companyName = L"Tallowick";
    s.product64Bit = 1;
    s.os64Bit = 1;
    s.dotNetVersion = L"4.8";
    s.maintenanceMode = kModeInstall;
    return s;
}

InstallFacts Facts(bool unattended = false) {
    InstallFacts f;
    f.setupFolder = L"D:\\m";
    f.commonFilesFolder = L"C:\\CF";
    f.windowsInstallerRegistered = true;
    f.unattended = unattended;
    return f;
}

}  // namespace

TEST(InstallPlan, JobOfANewInstallationInOrder) {
    InstallSession s = BaseSession();
    s.packages = {Package(L"IFC Beta", L"korv_ifc.exe", 1), Package(L"vezu", L"korv_vezu.exe", 0)};
    const std::vector<std::wstring> expected = {
        L"post STARTED",
        L"new install.log in C:\\Korv T",
        L"stage 1",
        L"prerequisite D:\\m\\Msi\\vc_redist.x64.exe !vc_redist.x64.exe",
        L"prerequisite D:\\m\\Msi\\vcredist_x64_10.exe !vcredist_x64_10.exe",
        L"msi D:\\m\\Msi\\msxml6_x64.msi !msxml6_x64.msi",
        L"stage 2",
        L"secure C:\\Korv T",
        L"package D:\\m\\files\\korv_kernel.exe !korv_kernel.exe",
        L"secure C:\\Korv T",
        L"package D:\\m\\files\\korv_korvfile.exe !korv_korvfile.exe",
        L"package D:\\m\\files\\korv_global.exe !korv_global.exe",
        L"package D:\\m\\files\\korv_local.exe !korv_local.exe",
        L"package D:\\m\\files\\korv_resfile.exe !korv_resfile.exe",
        L"package D:\\m\\files\\korv_ifc.exe !korv_ifc.exe",
        L"package D:\\m\\files\\korv_help.exe !korv_help.exe",
        L"package D:\\m\\files\\korv_encryption.exe !korv_encryption.exe",
        L"stage 3",
        L"program D:\\m\\files\\kvninst_x64.exe| /S /D=C:\\Korv T",
        L"stage 4",
        L"post BEGIN",
        L"install.log in C:\\Korv T",
        L"copy D:\\m\\Setup.exe -> C:\\Korv T\\Setup.exe",
        L"copy D:\\m\\IntallerRes.dll -> C:\\Korv T\\IntallerRes.dll",
        L"copy D:\\m\\KUninstall.exe -> C:\\Korv T\\KUninstall",
        L"copy D:\\m\\Setup.ini -> C:\\Korv T\\Setup.ini",
        L"ini C:\\Korv T\\Setup.ini [sub1] check=1",
        L"ini C:\\Korv T\\Setup.ini [sub2] check=0",
        L"folders C:\\CF\\Tallowick\\",
        L"copy C:\\Korv T\\drawthumb.dll -> C:\\CF\\Tallowick\\drawthumb.dll",
        L"register C:\\CF\\Tallowick\\drawthumb.dll !reg drawthumb.dll",
        L"copy C:\\Korv T\\TwOleImage.dll -> C:\\CF\\Tallowick\\TwOleImage.dll",
        L"register C:\\CF\\Tallowick\\TwOleImage.dll !reg TwOleImage.dll",
        L"hidden C:\\Korv T\\korv.exe| -Regserver -nologo !reg korv.exe",
        L"registration",
        L"delete C:\\Korv T\\uninst.exe",
        L"post END",
        L"post DONE",
    };
    const std::vector<std::wstring> actual = Describe(PlanInstall(s, Facts()));
    EXPECT_EQ(actual, expected) << Show(actual);
}

TEST(InstallPlan, UnattendedInstallDiffersFromTheJobInItsOwnSteps) {
    InstallSession s = BaseSession();
    s.product64Bit = 0;
    s.dotNetVersion = L"";  // not a key of the version map
    s.packages = {Package(L"Tables", L"AutoSheetgrid_x86.msi", 1), Package(L"IFC Beta", L"korv_ifc.exe", 0, true)};
    InstallFacts facts = Facts(true);
    facts.windowsInstallerRegistered = false;  // the update is never installed unattended
    const std::vector<std::wstring> expected = {
        L"setup record",
        L"new install.log in C:\\Korv T",
        L"prerequisite D:\\m\\Msi\\vc_redist.x86.exe !vc_redist.x86.exe",
        L"prerequisite D:\\m\\Msi\\vc_redist.x64.exe !vc_redist.x64.exe",
        L"msi D:\\m\\Msi\\msxml6.msi !msxml6.msi",
        L"secure C:\\Korv T",
        L"package D:\\m\\files\\korv_kernel.exe !korv_kernel.exe",
        L"secure C:\\Korv T",
        L"package D:\\m\\files\\korv_korvfile.exe !korv_korvfile.exe",
        L"package D:\\m\\files\\korv_global.exe !korv_global.exe",
        L"package D:\\m\\files\\korv_local.exe !korv_local.exe",
        L"package D:\\m\\files\\korv_resfile.exe !korv_resfile.exe",
        L"msi D:\\m\\Msi\\AutoSheetgrid_x86.msi|OFFICEBITVER=0 NETVER=35",
        L"package D:\\m\\files\\korv_help.exe !korv_help.exe",
        L"package D:\\m\\files\\korv_encryption.exe !korv_encryption.exe",
        L"program D:\\m\\files\\kvninst_x86.exe| /S /D=C:\\Korv T",
        L"install.log in C:\\Korv T",
        L"copy D:\\m\\Setup.exe -> C:\\Korv T\\Setup.exe",
        L"copy D:\\m\\IntallerRes.dll -> C:\\Korv T\\IntallerRes.dll",
        L"copy D:\\m\\KUninstall.exe -> C:\\Korv T\\KUninstall",
        L"copy D:\\m\\Setup.ini -> C:\\Korv T\\Setup.ini",
        L"folders C:\\CF\\Tallowick\\",
        L"copy C:\\Korv T\\drawthumb.dll -> C:\\CF\\Tallowick\\drawthumb.dll",
        L"register C:\\CF\\Tallowick\\drawthumb.dll !reg drawthumb.dll",
        L"copy C:\\Korv T\\TwOleImage.dll -> C:\\CF\\Tallowick\\TwOleImage.dll",
        L"register C:\\CF\\Tallowick\\TwOleImage.dll !reg TwOleImage.dll",
        L"hidden C:\\Korv T\\korv.exe| -Regserver -nologo !reg korv.exe",
        L"configurator D:\\m\\files\\SetupWriter.exe !kept SetupWriter.exe",
        L"delete C:\\Korv T\\uninst.exe",
    };
    const std::vector<std::wstring> actual = Describe(PlanInstall(s, facts));
    EXPECT_EQ(actual, expected) << Show(actual);
}

TEST(InstallPlan, PrerequisitesFollowTheBitnessOfProductAndWindows) {
    struct Case {
        const char* id;
        int product64, os64;
        bool installerRegistered, unattended;
        std::vector<std::wstring> expected;  // the prerequisite and XML parser steps
    };
    const std::wstring m = L"D:\\m\\Msi\\";
    const Case cases[] = {
        {"64-bit product, 64-bit Windows", 1, 1, true, false,
         {L"prerequisite " + m + L"vc_redist.x64.exe !vc_redist.x64.exe",
          L"prerequisite " + m + L"vcredist_x64_10.exe !vcredist_x64_10.exe",
          L"msi " + m + L"msxml6_x64.msi !msxml6_x64.msi"}},
        {"32-bit product, 64-bit Windows", 0, 1, true, false,
         {L"prerequisite " + m + L"vc_redist.x86.exe !vc_redist.x86.exe",
          L"prerequisite " + m + L"vc_redist.x64.exe !vc_redist.x64.exe",
          L"prerequisite " + m + L"vcredist_x64_10.exe !vcredist_x64_10.exe", L"msi " + m + L"msxml6.msi"}},
        {"32-bit product, 32-bit Windows", 0, 0, true, false,
         {L"prerequisite " + m + L"vc_redist.x86.exe !vc_redist.x86.exe", L"msi " + m + L"msxml6.msi"}},
        {"no Windows Installer automation", 1, 1, false, false,
         {L"prerequisite " + m + L"WindowsInstaller-KB893803-v2-x86.exe !WindowsInstaller-KB893803-v2-x86.exe",
          L"prerequisite " + m + L"vc_redist.x64.exe !vc_redist.x64.exe",
          L"prerequisite " + m + L"vcredist_x64_10.exe !vcredist_x64_10.exe",
          L"msi " + m + L"msxml6_x64.msi !msxml6_x64.msi"}},
        {"WOW64=2 is neither edition", 2, 1, true, false,
         {L"prerequisite " + m + L"vc_redist.x64.exe !vc_redist.x64.exe",
          L"prerequisite " + m + L"vcredist_x64_10.exe !vcredist_x64_10.exe", L"msi " + m + L"msxml6.msi"}},
        {"unattended, 64-bit product", 1, 1, false, true,
         {L"prerequisite " + m + L"vc_redist.x64.exe !vc_redist.x64.exe",
          L"msi " + m + L"msxml6_x64.msi !msxml6_x64.msi"}},
    };
    for (const Case& c : cases) {
        InstallSession s = BaseSession();
        s.product64Bit = c.product64;
        s.os64Bit = c.os64;
        InstallFacts facts = Facts(c.unattended);
        facts.windowsInstallerRegistered = c.installerRegistered;
        std::vector<std::wstring> lines = Describe(PlanInstall(s, facts));
        std::vector<std::wstring> actual = Only(lines, L"prerequisite ");
        std::vector<std::wstring> parser = Only(lines, L"msi " + m + L"msxml6");
        actual.insert(actual.end(), parser.begin(), parser.end());
        EXPECT_EQ(actual, c.expected) << c.id << Show(actual);
    }
}

TEST(InstallPlan, PackageLoopItems) {
    struct Case {
        const char* id;
        std::wstring list;
        int product64, office64;
        std::wstring dotNet;
        std::vector<std::wstring> expected;  // the steps between korv_resfile.exe and korv_help.exe
    };
    const std::wstring f = L"D:\\m\\files\\";
    const std::wstring m = L"D:\\m\\Msi\\";
    const Case cases[] = {
        {"program, package and table package on 64-bit Office", L"a.exe;b.msi;AutoSheetgrid_x86.msi", 0, 1, L"4.8",
         {L"package " + f + L"a.exe !a.exe", L"msi " + m + L"b.msi",
          L"msi " + m + L"AutoSheetgrid_x64.msi|OFFICEBITVER=1 NETVER=48"}},
        {"64-bit product on 32-bit Office", L"AutoSheetgrid_x64.msi", 1, 0, L"4.7",
         {L"msi " + m + L"AutoSheetgrid_x86.msi|OFFICEBITVER=0 NETVER=47"}},
        {"matching bitness keeps the name", L"x86_AutoSheetgrid_x86.msi", 0, 0, L"4.8",
         {L"msi " + m + L"x86_AutoSheetgrid_x86.msi|OFFICEBITVER=0 NETVER=48"}},
        {"unknown .NET version gives an empty code", L"AutoSheetgrid_x64.msi", 1, 1, L"9.9",
         {L"msi " + m + L"AutoSheetgrid_x64.msi|OFFICEBITVER=1 NETVER="}},
        {"trailing separator", L"a.exe;", 1, 1, L"4.8", {L"package " + f + L"a.exe !a.exe"}},
        {"empty item keeps its separator", L"a.exe;;b.exe", 1, 1, L"4.8",
         {L"package " + f + L"a.exe !a.exe", L"package " + f + L";b.exe !;b.exe"}},
        {"upper-case extension is a package", L"A.EXE", 1, 1, L"4.8", {L"msi " + m + L"A.EXE"}},
        {"marker compares letter case", L"autosheetgrid_x86.msi", 0, 1, L"4.8", {L"msi " + m + L"autosheetgrid_x86.msi"}},
        // Items that are no plain names run nothing: the step fails as a
        // missing file does, named by the item; the plain ones still run.
        {"program from a folder above files\\", L"..\\evil.exe;b.msi", 1, 1, L"4.8",
         {L"refused " + f + L"..\\evil.exe !..\\evil.exe", L"msi " + m + L"b.msi"}},
        {"package from elsewhere", L"a.exe;..\\..\\evil.msi;C:evil.msi;sub/x.msi", 1, 1, L"4.8",
         {L"package " + f + L"a.exe !a.exe", L"refused " + m + L"..\\..\\evil.msi !..\\..\\evil.msi",
          L"refused " + m + L"C:evil.msi !C:evil.msi", L"refused " + m + L"sub/x.msi !sub/x.msi"}},
        {"table package with a path", L"..\\AutoSheetgrid_x86.msi", 0, 1, L"4.8",
         {L"refused " + m + L"..\\AutoSheetgrid_x86.msi !..\\AutoSheetgrid_x86.msi"}},
        {"items keep their blanks", L" a.exe ; b.msi", 1, 1, L"4.8",
         {L"msi " + m + L" a.exe ", L"msi " + m + L" b.msi"}},
    };
    for (const Case& c : cases) {
        InstallSession s = BaseSession();
        s.product64Bit = c.product64;
        s.office64Bit = c.office64;
        s.dotNetVersion = c.dotNet;
        s.packages = {Package(L"P", c.list.c_str(), 1)};
        std::vector<std::wstring> lines = Describe(PlanInstall(s, Facts()));
        auto from = std::find(lines.begin(), lines.end(), L"package " + f + L"korv_resfile.exe !korv_resfile.exe");
        auto to = std::find(lines.begin(), lines.end(), L"package " + f + L"korv_help.exe !korv_help.exe");
        ASSERT_TRUE(from != lines.end() && to != lines.end()) << c.id;
        std::vector<std::wstring> actual(from + 1, to);
        EXPECT_EQ(actual, c.expected) << c.id << Show(actual);
    }
}

TEST(InstallPlan, ModifyRemovesTheModulesOfRecognisedDeselectedPackages) {
    struct Case {
        const char* id;
        PackageRecord record;
        size_t removals;
        std::wstring first;  // the first file removed
        std::wstring last;
    };
    const Case cases[] = {
        {"vezu", Package(L"vezu", L"v.exe", 0, true), 10, L"C:\\Korv T\\korvmodules.lst", L"C:\\Korv T\\vezulib.vlb"},
        {"IFC Beta, shown", Package(L"IFC Beta", L"i.exe", 0, true, 1), 13, L"C:\\Korv T\\korvmodules.lst",
         L"C:\\Korv T\\ifcbeta.txt"},
        {"another shown package", Package(L"Data Exchange", L"d.exe", 0, true, 1), 18,
         L"C:\\Korv T\\express\\BIM\\bimcore.dll", L"C:\\Korv T\\express\\BIM\\bim.cuix"},
        {"another hidden package", Package(L"Templates", L"t.msi", 0, true, 0), 0, L"", L""},
        {"name compares letter case", Package(L"VEZU", L"v.exe", 0, true, 0), 0, L"", L""},
        {"not deselected", Package(L"vezu", L"v.exe", 0, false), 0, L"", L""},
    };
    for (const Case& c : cases) {
        InstallSession s = BaseSession();
        s.maintenanceMode = kModeModify;
        s.packages = {c.record};
        std::vector<std::wstring> lines = Describe(PlanInstall(s, Facts()));
        std::vector<std::wstring> removals = Only(lines, L"delete ");
        removals.pop_back();  // uninst.exe, removed in every run
        ASSERT_EQ(removals.size(), c.removals) << c.id << Show(removals);
        if (c.removals > 0) {
            EXPECT_EQ(removals.front(), L"delete " + c.first) << c.id;
            EXPECT_EQ(removals.back(), L"delete " + c.last) << c.id;
        }
        // The unattended install never removes: only the Modify page deselects.
        EXPECT_EQ(Only(Describe(PlanInstall(s, Facts(true))), L"delete ").size(), 1u) << c.id;
        // Nor does a Repair, whatever marks the records carry.
        s.maintenanceMode = kModeRepair;
        EXPECT_EQ(Only(Describe(PlanInstall(s, Facts())), L"delete ").size(), 1u) << c.id;
    }
}

TEST(InstallPlan, MaintenanceAndCommandLineChoices) {
    struct Case {
        const char* id;
        bool unattended;
        int mode, classic, num, product64;
        std::vector<std::wstring> present;
        std::vector<std::wstring> absent;
    };
    const std::wstring f = L"D:\\m\\files\\";
    const std::wstring ini = L"ini C:\\Korv T\\Setup.ini [SETUP] CLASSIC=";
    const std::wstring regserver = L"hidden C:\\Korv T\\korv.exe| -Regserver -nologo !reg korv.exe";
    const std::wstring kvninst = L"program " + f + L"kvninst_x64.exe| /S /D=C:\\Korv T";
    const Case cases[] = {
        {"repair, classic workspace", false, kModeRepair, 1, 1, 1,
         {ini + L"1", L"configurator " + f + L"SetupWriter_x64.exe !kept SetupWriter_x64.exe", L"registration"},
         {L"new install.log in C:\\Korv T"}},
        {"modify of a 32-bit product", false, kModeModify, 0, 7, 0,
         {ini + L"0", L"configurator " + f + L"SetupWriter.exe !kept SetupWriter.exe", regserver},
         {L"new install.log in C:\\Korv T"}},
        {"new installation", false, kModeInstall, 1, 1, 1, {regserver, L"new install.log in C:\\Korv T"},
         {ini + L"1", ini + L"0"}},
        {"unattended, NUM 44", true, kModeInstall, 0, 44, 1, {regserver, kvninst}, {L"registration"}},
        {"unattended, NUM 2", true, kModeInstall, 0, 2, 1, {kvninst}, {regserver}},
        // The installed copy's log is added to, never started anew.
        {"unattended over an installed copy", true, kModeUninstall, 0, 1, 1, {regserver, L"install.log in C:\\Korv T"},
         {kvninst, L"new install.log in C:\\Korv T"}},
    };
    for (const Case& c : cases) {
        InstallSession s = BaseSession();
        s.maintenanceMode = c.mode;
        s.classicWorkspace = c.classic;
        s.numValue = c.num;
        s.product64Bit = c.product64;
        if (c.product64 == 0) {
            s.os64Bit = 0;
        }
        std::vector<std::wstring> lines = Describe(PlanInstall(s, Facts(c.unattended)));
        for (const std::wstring& line : c.present) {
            EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << c.id << ": " << Narrow(line);
        }
        for (const std::wstring& line : c.absent) {
            EXPECT_EQ(std::find(lines.begin(), lines.end(), line), lines.end()) << c.id << ": " << Narrow(line);
        }
    }
}

TEST(InstallPlan, WithoutTheCommonFilesFolderNoLibraryIsPlaced) {
    InstallSession s = BaseSession();
    InstallFacts facts = Facts();
    facts.commonFilesFolder.clear();
    std::vector<std::wstring> lines = Describe(PlanInstall(s, facts));
    EXPECT_TRUE(Only(lines, L"folders ").empty());
    EXPECT_TRUE(Only(lines, L"register ").empty());
    EXPECT_EQ(Only(lines, L"copy ").size(), 4u) << "the setup files are still copied";
}

TEST(InstallPlan, SplitPackageItems) {
    struct Case {
        const char* id;
        std::wstring list;
        std::vector<std::wstring> items;
    };
    const Case cases[] = {
        {"empty", L"", {}},
        {"one", L"a.exe", {L"a.exe"}},
        {"trailing separator", L"a.exe;", {L"a.exe"}},
        {"double separator", L"a.exe;;b.exe", {L"a.exe", L";b.exe"}},
        {"leading separator", L";a;b", {L";a;b"}},
        {"three", L"a;b;c", {L"a", L"b", L"c"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitPackageItems(c.list), c.items) << c.id;
    }
}

TEST(UninstallPlan, RemovalStepsAskAndGoOnTheHandOverDecides) {
    InstallSession s = BaseSession();
    UninstallFacts facts;
    facts.msiexecPath = L"C:\\windows\\system32\\msiexec.exe";
    facts.tempFolder = L"C:\\Temp\\";
    const std::vector<std::wstring> expected = {
        L"hide main window",
        L"open wait window",
        L"hidden C:\\Korv T\\korv.exe| -UnRegserver -nologo (code logged) ?reg korv.exe",
        L"hidden C:\\Korv T\\kvnunist.exe| /S (code logged) ?reg kvnunist.exe",
        L"start C:\\windows\\system32\\msiexec.exe|msiexec  -x {0D6A3F21-7C4B-4E8A-9B15-2F6E8C1D4A07} -q (code logged)",
        L"hand over C:\\Korv T\\ via C:\\Temp\\|/norestart !KUninstall",
    };
    std::vector<std::wstring> actual = Describe(PlanUninstall(s, facts));
    EXPECT_EQ(actual, expected) << Show(actual);

    // Unattended, KUninstall runs quietly and its result is the uninstall's.
    facts.unattended = true;
    actual = Describe(PlanUninstall(s, facts));
    EXPECT_EQ(actual.back(), L"hand over C:\\Korv T\\ via C:\\Temp\\|/quiet /norestart (waited) !KUninstall");
    facts.unattended = false;

    // Without msiexec in the system folder the product's MSI part is left
    // to KUninstall; without a temporary folder the hand-over fails at run time.
    facts.msiexecPath.clear();
    facts.tempFolder.clear();
    actual = Describe(PlanUninstall(s, facts));
    EXPECT_EQ(Only(actual, L"start "), std::vector<std::wstring>{}) << Show(actual);
    EXPECT_EQ(actual.back(), L"hand over C:\\Korv T\\ via |/norestart !KUninstall");
}
