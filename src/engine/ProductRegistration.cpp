#include "engine/ProductRegistration.h"

#include "framework/DecimalText.h"
#include "session/DiagnosticLog.h"
#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "config/InstalledRecords.h"
#include "config/RegistryValues.h"
#include "engine/FileOperations.h"
#include "engine/InstallLog.h"
#include "engine/ProductData.h"
#include "engine/Shortcuts.h"
#include "resource.h"

namespace korv {

namespace {

std::wstring Hyphenated(std::wstring code) {
    for (wchar_t& c : code) {
        if (c == L'_') {
            c = L'-';
        }
    }
    return code;
}

ShortcutStep Plain(const std::wstring& name, const std::wstring& target, int place) {
    ShortcutStep step;
    step.name = name;
    step.target = target;
    step.place = place;
    return step;
}

ShortcutStep WithArguments(const std::wstring& subfolder, const std::wstring& name, const std::wstring& target,
                           const std::wstring& arguments) {
    ShortcutStep step;
    step.withArguments = true;
    step.subfolder = subfolder;
    step.name = name;
    step.target = target;
    step.arguments = arguments;
    step.place = kPlaceProductPrograms;
    return step;
}

// Opens the key with full access, or creates it for reading and writing.
bool OpenOrCreateKey(const std::wstring& keyPath, ScopedKey& key) {
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_ALL_ACCESS | kRegistryView, key.Receive()) ==
        ERROR_SUCCESS) {
        return true;
    }
    return RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_READ | KEY_WRITE | kRegistryView, nullptr, key.Receive(), nullptr) == ERROR_SUCCESS;
}

// The install.log entry the uninstaller removes a number value by: the
// number in hexadecimal, as the Version entry has always been logged.
std::wstring HexText(unsigned long value) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring text;
    do {
        text.insert(text.begin(), digits[value % 16]);
        value /= 16;
    } while (value != 0);
    return text;
}

ToolValue TextValue(const std::wstring& keyPath, const wchar_t* name, const std::wstring& text) {
    ToolValue value;
    value.name = name;
    value.text = text;
    value.entry = RegStrLogEntry(keyPath, name, text);
    return value;
}

ToolValue NumberValue(const std::wstring& keyPath, const wchar_t* name, unsigned long number) {
    ToolValue value;
    value.name = name;
    value.number = true;
    value.dword = number;
    value.entry = RegDwordLogEntry(keyPath, name, HexText(number));
    return value;
}

}  // namespace

std::wstring QuietUninstallCommand(const std::wstring& targetFolder) {
    // No TARGETDIR: the installed setup program finds the folder in this
    // very record (InstallLocation), and the entry that logs this value must
    // stay within the uninstaller's line length for the usual folders.
    return L"\"" + targetFolder + L"\\setup.exe\" quiet=1 Uninstall=1 SUPPRESSMSGBOXES=1";
}

RecordFacts RecordFacts::Now(const std::wstring& targetFolder) {
    RecordFacts facts;
    facts.installDate = TodayCompactDate();
    // The job deletes a leftover uninst.exe right after the registration.
    facts.estimatedSizeKiB = FolderSizeKiB(targetFolder, product::kLeftoverUninstaller);
    return facts;
}

RegistrationTexts LoadRegistrationTexts() {
    RegistrationTexts texts;
    texts.publisher = LoadText(IDS_COMPANY_NAME, L"Tallowick Company");
    texts.helpLink = LoadText(IDS_PRODUCT_WEBSITE, L"https://www.korvanix.com");
    texts.edition = LoadText(IDS_EDITION_SUFFIX, L"");
    texts.uninstallShortcut = LoadText(IDS_SHORTCUT_UNINSTALL, L"Uninstall Korvanix 2024");
    texts.converterShortcut = LoadText(IDS_SHORTCUT_OLE_CONVERTER, L"Office OLE Drawing Object Converter");
    texts.paletteShortcut = LoadText(IDS_SHORTCUT_PALETTE_IMPORT, L"AutoCAD Tool Palettes Import Tool");
    texts.signatureShortcut = LoadText(IDS_SHORTCUT_SIGNATURES, L"Attach Digital Signatures");
    return texts;
}

std::wstring MigrationArguments(const InstallSession& session) {
    return L"/company '" + session.companyName + L"' /product '" + session.productRegName + L"' /language '" +
           Hyphenated(session.languageCode) + L"' /version '" + session.migrateVersion + L"'";
}

RegistrationPlan PlanProductRegistration(const InstallSession& session, const RegistrationTexts& texts,
                                         const RecordFacts& facts) {
    const std::wstring& t = session.targetFolder;
    const bool beta = session.beta == 1;

    RegistrationPlan plan;
    plan.keyPath = UninstallKeyPath(session, true);

    // The edition text and the beta mark belong to the name Windows lists;
    // a plain English medium (empty edition text) shows the product name alone.
    std::wstring displayName = session.productName;
    if (!texts.edition.empty()) {
        displayName += L" - " + texts.edition;
        if (beta) {
            displayName += L" beta";
        }
    }
    const std::wstring program = t + L"\\korv.exe";
    const std::wstring setup = t + L"\\setup.exe";
    const std::wstring platform = session.product64Bit == 1 ? L"x64" : L"x86";
    plan.values = {
        {L"InstallLocation", t},
        {L"DisplayName", displayName},
        {L"DisplayIcon", program},
        {L"UninstallString", setup},
        {L"Platform", platform},
        {L"Publisher", texts.publisher},
        {L"HelpLink", texts.helpLink},
    };

    // The log names the record for the uninstaller. DisplayName is logged
    // with the product name alone, whatever name Windows lists, and the log
    // also names a Version value (86, logged in hexadecimal) that is not
    // written to the record.
    plan.recordEntries = {
        RegStrLogEntry(plan.keyPath, L"DisplayName", session.productName),
        RegStrLogEntry(plan.keyPath, L"InstallLocation", t),
        RegStrLogEntry(plan.keyPath, L"DisplayIcon", program),
        RegStrLogEntry(plan.keyPath, L"UninstallString", setup),
        RegStrLogEntry(plan.keyPath, L"Platform", platform),
        RegStrLogEntry(plan.keyPath, L"Publisher", texts.publisher),
        RegStrLogEntry(plan.keyPath, L"HelpLink", texts.helpLink),
        RegDwordLogEntry(plan.keyPath, L"Version", L"56"),
    };

    const std::wstring& migration = session.migrateFolderName;
    plan.shortcuts = {
        Plain(beta ? session.productName + L" beta" : session.productName, program, kPlaceCommonDesktop),
        Plain(session.productName, program, kPlaceProductPrograms),
        Plain(texts.uninstallShortcut, setup, kPlaceProductPrograms),
        Plain(texts.converterShortcut, t + L"\\olecvt.exe", kPlaceProductPrograms),
        Plain(texts.paletteShortcut, t + L"\\PaletteFetch.exe", kPlaceProductPrograms),
        Plain(texts.signatureShortcut, t + L"\\signstamp.exe", kPlaceProductPrograms),
        WithArguments(migration, session.migratePrevious, t + L"\\prefmover.exe", MigrationArguments(session)),
        WithArguments(migration, session.migrateExport, t + L"\\prefkeeper.exe", L"/e"),
        WithArguments(migration, session.migrateImport, t + L"\\prefkeeper.exe", L"/i"),
        WithArguments(migration, session.migrateReset, t + L"\\prefreset.exe", L""),
    };

    plan.closingEntries = {UninstallerFileEntry(), UninstallerWrittenEntry(t)};

    // The values Windows' list of programs, deployment and inventory tools
    // read. Each is logged after everything else, so the entries above keep
    // their places, and only a value whose entry fits the log is written at
    // all: one the uninstaller never hears of would outlive the product.
    const ToolValue toolValues[] = {
        TextValue(plan.keyPath, L"DisplayVersion", session.productVersion),
        TextValue(plan.keyPath, L"QuietUninstallString", QuietUninstallCommand(t)),
        TextValue(plan.keyPath, L"InstallDate", facts.installDate),
        NumberValue(plan.keyPath, L"EstimatedSize", facts.estimatedSizeKiB),
    };
    for (const ToolValue& value : toolValues) {
        std::string bytes;
        if ((value.number || !value.text.empty()) && EncodeLogEntry(value.entry, CP_ACP, bytes)) {
            plan.toolValues.push_back(value);
        }
    }
    return plan;
}

void ApplyProductRegistration(const RegistrationPlan& plan, HWND owner) {
    {
        ScopedKey key;
        if (!OpenOrCreateKey(plan.keyPath, key)) {
            ShowTipMessage(kTipNotice,
                           LoadText(IDS_REGISTRY_WRITE_FAILED, L"Error\uFF1AUnable to Create the registry information!")
                               .c_str(),
                           owner);
            return;
        }
        for (const auto& [name, value] : plan.values) {
            RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        }
        for (const ToolValue& value : plan.toolValues) {
            if (value.number) {
                const DWORD number = value.dword;
                RegSetValueExW(key.Get(), value.name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                               sizeof(number));
            } else {
                RegSetValueExW(key.Get(), value.name.c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(value.text.c_str()),
                               static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
            }
        }
        for (const std::wstring& entry : plan.recordEntries) {
            AppendInstallLog(entry);
        }
    }
    for (const ShortcutStep& step : plan.shortcuts) {
        if (step.withArguments) {
            CreateShellShortcutWithArguments(step.subfolder, step.name, step.target, step.arguments, step.place);
        } else {
            CreateShellShortcut(step.name, step.target, step.place);
        }
    }
    for (const std::wstring& entry : plan.closingEntries) {
        AppendInstallLog(entry);
    }
    for (const ToolValue& value : plan.toolValues) {
        AppendInstallLog(value.entry);
    }
    LogEvent(L"uninstall record HKEY_LOCAL_MACHINE\\" + plan.keyPath + L" written with " +
             fw::DecimalText(plan.values.size() + plan.toolValues.size()) + L" values");
}

void WriteProductRegistration(HWND owner) {
    const InstallSession& session = Session();
    ApplyProductRegistration(
        PlanProductRegistration(session, LoadRegistrationTexts(), RecordFacts::Now(session.targetFolder)), owner);
}

}  // namespace korv
