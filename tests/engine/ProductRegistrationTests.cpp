// Registration writes the uninstall record into a sandboxed registry, and
// real shortcuts into the machine's all-users folders (removed afterwards).
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "session/TipMessage.h"
#include "config/RegistryValues.h"
#include "engine/EngineTestSupport.h"
#include "engine/InstallLog.h"
#include "engine/ProductRegistration.h"
#include "engine/ShortcutReader.h"
#include "engine/Shortcuts.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedAnswerer.h"
#include "support/TempFolder.h"
#include "support/Text.h"

using namespace korv;
using korv::test::Narrow;
using korv::test::Exists;
using korv::test::ReadBytes;
using korv::test::ReadLogEntries;
using korv::test::PostedMessages;
using korv::test::ReadShortcut;
using korv::test::RegistrySandbox;
using korv::test::ScriptedAnswerer;
using korv::test::SessionScope;
using korv::test::ShellPlaces;
using korv::test::ShortcutCleanup;
using korv::test::TempFolder;

namespace {

const std::wstring kUninstallRoot = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Where a planned shortcut is saved.
std::wstring LinkPath(const ShortcutStep& step, const ShellPlaces& places, const std::wstring& productName) {
    if (step.place == kPlaceCommonDesktop) {
        return places.desktop + L"\\" + step.name + L".lnk";
    }
    std::wstring link = places.programs + L"\\" + productName + L"\\";
    if (step.withArguments) {
        link += step.subfolder + L"\\";
    }
    return link + step.name + L".lnk";
}

std::wstring ReadString(const std::wstring& key, const wchar_t* name, DWORD* typeOut = nullptr) {
    DWORD type = 0;
    DWORD number = 0;
    std::wstring text;
    if (!RegistrySandbox::Query(HKEY_LOCAL_MACHINE, key, name, type, text, number)) {
        return L"<missing>";
    }
    if (typeOut) {
        *typeOut = type;
    }
    return text;
}

unsigned long ReadNumber(const std::wstring& key, const wchar_t* name) {
    DWORD type = 0;
    DWORD number = 0;
    std::wstring text;
    if (!RegistrySandbox::Query(HKEY_LOCAL_MACHINE, key, name, type, text, number) || type != REG_DWORD) {
        return 0xDEADBEEF;
    }
    return number;
}

// yyyymmdd of the local date, as Windows' list of programs shows it.
std::wstring Today() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    wchar_t text[16] = {};
    swprintf(text, std::size(text), L"%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

}  // namespace

TEST(ProductRegistration, FirstAndSecondRunWriteRecordLogAndShortcuts) {
    SessionScope session;
    RegistrySandbox registry;
    ScriptedAnswerer answerer;
    TempFolder folder(L"korv reg");
    korv::test::FillRegistrationSession(*session, folder.Path(), L"Korv Reg Golden");
    ShortcutCleanup cleanup(L"Korv Reg Golden", {L"Korv Reg Golden"});
    const ShellPlaces places;
    const std::wstring today = Today();

    // The folder holds nothing yet: the job's packages are stand-ins.
    WriteProductRegistration(nullptr);

    const auto golden = [&](const std::wstring& size) {
        return korv::test::ReadGoldenLines(korv::test::GoldenPath(L"registration_log.txt"),
                                           {{L"T", folder.Path()},
                                            {L"DESKTOP", places.desktop},
                                            {L"PROGRAMS", places.programs},
                                            {L"DATE", today},
                                            {L"SIZE", size}});
    };
    const std::vector<std::wstring> first = golden(L"0");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(ReadLogEntries(folder / L"install.log"), first);

    const std::wstring key = kUninstallRoot + L"Korv Reg Golden_zh_cn";
    const std::wstring t = folder.Path();
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"InstallLocation", t},
        {L"DisplayName", L"Korv Reg Golden"},
        {L"DisplayIcon", t + L"\\korv.exe"},
        {L"UninstallString", t + L"\\setup.exe"},
        {L"Platform", L"x64"},
        {L"Publisher", L"Tallowick Company"},
        {L"HelpLink", L"https://www.korvanix.com"},
        {L"DisplayVersion", L"21.0"},
        {L"QuietUninstallString", L"\"" + t + L"\\setup.exe\" quiet=1 Uninstall=1 SUPPRESSMSGBOXES=1"},
        {L"InstallDate", today},
    };
    for (const auto& [name, value] : values) {
        DWORD type = 0;
        EXPECT_EQ(ReadString(key, name, &type), value) << Narrow(name);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << Narrow(name);
    }
    EXPECT_EQ(ReadNumber(key, L"EstimatedSize"), 0u);
    EXPECT_EQ(ReadString(key, L"Version"), L"<missing>") << "Version is only logged";

    const RegistrationPlan plan = PlanProductRegistration(*session, LoadRegistrationTexts());
    ASSERT_EQ(plan.shortcuts.size(), 10u);
    for (const ShortcutStep& step : plan.shortcuts) {
        const std::wstring link = LinkPath(step, places, L"Korv Reg Golden");
        SCOPED_TRACE(Narrow(link));
        const korv::test::ShortcutContents contents = ReadShortcut(link);
        ASSERT_TRUE(contents.loaded);
        EXPECT_EQ(contents.target, step.target);
        EXPECT_EQ(contents.workingDirectory, t);
        EXPECT_EQ(contents.arguments, step.arguments);
    }
    EXPECT_EQ(ReadShortcut(places.programs + L"\\Korv Reg Golden\\Migration\\Migrate.lnk").arguments,
              L"/company 'Tallowick Company' /product 'Korvanix' /language 'zh-cn' /version '2023'");

    // Repair after install: the same values and shortcuts, and a second set
    // of entries behind the first (the folders exist by now). The folder now
    // holds the log and a file of 3000 bytes: its size in KiB, rounded up.
    folder.Write(L"korv.exe", std::string(3000, 'k'));
    const unsigned long kib = static_cast<unsigned long>((ReadBytes(folder / L"install.log").size() + 3000 + 1023) / 1024);
    wchar_t hex[16] = {};
    swprintf(hex, std::size(hex), L"%lx", kib);
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, key, L"DisplayName", L"changed");
    WriteProductRegistration(nullptr);
    std::vector<std::wstring> twice = first;
    for (const std::wstring& entry : golden(hex)) {
        if (entry.rfind(L"CreateDirectory: ", 0) != 0) {
            twice.push_back(entry);
        }
    }
    EXPECT_EQ(ReadLogEntries(folder / L"install.log"), twice);
    EXPECT_EQ(ReadString(key, L"DisplayName"), L"Korv Reg Golden");
    EXPECT_EQ(ReadNumber(key, L"EstimatedSize"), kib);
    EXPECT_TRUE(answerer.Requests().empty());
}

TEST(ProductRegistration, AToolValueWhoseEntryDoesNotFitTheLogIsNotWritten) {
    struct Case {
        const char* id;
        size_t folderChars;
        std::vector<std::wstring> written;
    };
    const Case cases[] = {
        {"the medium's default folder", 44,
         {L"DisplayVersion", L"QuietUninstallString", L"InstallDate", L"EstimatedSize"}},
        // The uninstaller never learns of a value whose entry it cannot
        // read, so the value would outlive the product.
        {"a folder too long for the silent uninstall's entry", 100,
         {L"DisplayVersion", L"InstallDate", L"EstimatedSize"}},
    };
    for (const Case& c : cases) {
        InstallSession s;
        korv::test::FillRegistrationSession(s, L"C:\\" + std::wstring(c.folderChars - 3, L'k'), L"Korvanix2024");
        s.languageCode = L"en_us";
        RecordFacts facts;
        facts.installDate = L"20240501";
        facts.estimatedSizeKiB = 0x1234;
        const RegistrationPlan plan = PlanProductRegistration(s, LoadRegistrationTexts(), facts);
        std::vector<std::wstring> written;
        for (const ToolValue& value : plan.toolValues) {
            written.push_back(value.name);
            std::string bytes;
            EXPECT_TRUE(EncodeLogEntry(value.entry, CP_ACP, bytes)) << c.id << ": " << Narrow(value.name);
        }
        EXPECT_EQ(written, c.written) << c.id;
        EXPECT_EQ(plan.values.size(), 7u) << c.id << ": the seven values are written whatever their entries";
        EXPECT_EQ(plan.toolValues.back().entry, RegDwordLogEntry(plan.keyPath, L"EstimatedSize", L"1234")) << c.id;
    }
}

TEST(ProductRegistration, BetaAndEditionTextChangeOnlyTheirNames) {
    struct Case {
        const char* id;
        int beta;
        std::wstring edition;
        std::wstring key;          // after the Uninstall key
        std::wstring displayName;
        std::wstring desktopName;
    };
    const Case cases[] = {
        {"release", 0, L"", L"P_zh_cn", L"P", L"P"},
        {"beta without edition text", 1, L"", L"P_zh_cn beta", L"P", L"P beta"},
        {"edition text", 0, L"Pro", L"P_zh_cn", L"P - Pro", L"P"},
        {"beta with edition text", 1, L"Pro", L"P_zh_cn beta", L"P - Pro beta", L"P beta"},
        {"other beta value", 2, L"Pro", L"P_zh_cn", L"P - Pro", L"P"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        InstallSession s;
        korv::test::FillRegistrationSession(s, L"C:\\T", L"P");
        s.beta = c.beta;
        RegistrationTexts texts = {L"Tallowick Company", L"https://w", c.edition, L"U", L"O", L"A", L"S"};
        const RegistrationPlan plan = PlanProductRegistration(s, texts);
        EXPECT_EQ(plan.keyPath, kUninstallRoot + c.key);
        ASSERT_EQ(plan.values.size(), 7u);
        EXPECT_EQ(plan.values[1].first, L"DisplayName");
        EXPECT_EQ(plan.values[1].second, c.displayName);
        EXPECT_EQ(plan.recordEntries[0], RegStrLogEntry(plan.keyPath, L"DisplayName", L"P"));
        ASSERT_EQ(plan.shortcuts.size(), 10u);
        EXPECT_EQ(plan.shortcuts[0].name, c.desktopName);
        EXPECT_EQ(plan.shortcuts[0].place, kPlaceCommonDesktop);
        EXPECT_EQ(plan.shortcuts[1].name, L"P");
        EXPECT_EQ(plan.shortcuts[1].place, kPlaceProductPrograms);
    }
    InstallSession s;
    korv::test::FillRegistrationSession(s, L"C:\\T", L"P");
    s.product64Bit = 0;
    const RegistrationPlan plan = PlanProductRegistration(s, LoadRegistrationTexts());
    EXPECT_EQ(plan.values[4], std::make_pair(std::wstring(L"Platform"), std::wstring(L"x86")));
}

TEST(ProductRegistration, BetaRecordAndDesktopShortcutOnTheMachine) {
    SessionScope session;
    RegistrySandbox registry;
    TempFolder folder(L"korv reg");
    korv::test::FillRegistrationSession(*session, folder.Path(), L"Korv Reg Beta");
    session->beta = 1;
    ShortcutCleanup cleanup(L"Korv Reg Beta", {L"Korv Reg Beta beta"});
    const ShellPlaces places;
    RegistrationTexts texts = LoadRegistrationTexts();
    texts.edition = L"Pro";

    ApplyProductRegistration(PlanProductRegistration(*session, texts), nullptr);

    EXPECT_EQ(ReadString(kUninstallRoot + L"Korv Reg Beta_zh_cn beta", L"DisplayName"), L"Korv Reg Beta - Pro beta");
    EXPECT_EQ(ReadString(kUninstallRoot + L"Korv Reg Beta_zh_cn", L"DisplayName"), L"<missing>");
    EXPECT_TRUE(ReadShortcut(places.desktop + L"\\Korv Reg Beta beta.lnk").loaded);
    EXPECT_TRUE(ReadShortcut(places.programs + L"\\Korv Reg Beta\\Korv Reg Beta.lnk").loaded);
    const std::vector<std::wstring> entries = ReadLogEntries(folder / L"install.log");
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries[0], RegStrLogEntry(kUninstallRoot + L"Korv Reg Beta_zh_cn beta", L"DisplayName",
                                         L"Korv Reg Beta"));
}

TEST(ProductRegistration, WithoutMigrationNamesTheToolsShareOneNamelessShortcut) {
    SessionScope session;
    RegistrySandbox registry;
    TempFolder folder(L"korv reg");
    korv::test::FillRegistrationSession(*session, folder.Path(), L"Korv Reg Nameless");
    session->migrateFolderName.clear();
    session->migratePrevious.clear();
    session->migrateExport.clear();
    session->migrateImport.clear();
    session->migrateReset.clear();
    ShortcutCleanup cleanup(L"Korv Reg Nameless", {L"Korv Reg Nameless"});
    const ShellPlaces places;

    WriteProductRegistration(nullptr);

    // Each of the four is saved as ".lnk" in the product folder; the last wins.
    const std::wstring nameless = places.programs + L"\\Korv Reg Nameless\\.lnk";
    const korv::test::ShortcutContents contents = ReadShortcut(nameless);
    ASSERT_TRUE(contents.loaded);
    EXPECT_EQ(contents.target, folder / L"prefreset.exe");
    EXPECT_EQ(contents.arguments, L"");
    int namelessEntries = 0;
    for (const std::wstring& entry : ReadLogEntries(folder / L"install.log")) {
        if (entry.find(L"\\Korv Reg Nameless\\\\.lnk\"") != std::wstring::npos) {
            ++namelessEntries;
        }
    }
    EXPECT_EQ(namelessEntries, 4);
}

TEST(ProductRegistration, KeyThatCannotBeCreatedStopsEverything) {
    SessionScope session;
    RegistrySandbox registry;
    PostedMessages owner;
    TempFolder folder(L"korv reg");
    korv::test::FillRegistrationSession(*session, folder.Path(), L"Korv Reg Refused");
    ShortcutCleanup cleanup(L"Korv Reg Refused", {L"Korv Reg Refused"});
    const ShellPlaces places;
    // A volatile parent takes no lasting subkey.
    HKEY parent = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", 0, nullptr, 0,
                              KEY_ALL_ACCESS | kRegistryView, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    HKEY uninstall = nullptr;
    ASSERT_EQ(RegCreateKeyExW(parent, L"Uninstall", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS | kRegistryView,
                              nullptr, &uninstall, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(uninstall);
    RegCloseKey(parent);

    ScriptedAnswerer answerer;
    WriteProductRegistration(owner.Window());

    const std::vector<TipRequest> requests = answerer.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, kTipNotice);
    EXPECT_EQ(requests[0].text, L"Error\uFF1AUnable to Create the registry information!");
    EXPECT_EQ(requests[0].owner, owner.Window());
    EXPECT_FALSE(Exists(folder / L"install.log"));
    EXPECT_FALSE(Exists(places.desktop + L"\\Korv Reg Refused.lnk"));
    EXPECT_FALSE(Exists(places.programs + L"\\Korv Reg Refused"));
}
