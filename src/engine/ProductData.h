// The product's own file names the install job and the uninstall know by
// heart: its packages on the medium, the setup files an installed copy
// carries, the module files of the optional features and the MSI product the
// uninstall removes. Keep them here, in one place; tools/medium/make-medium.sh
// lays out a medium with the same names.
#pragma once

namespace korv::product {

// Msi\ on the medium.
inline constexpr wchar_t kWindowsInstallerUpdate[] = L"WindowsInstaller-KB893803-v2-x86.exe";
inline constexpr wchar_t kRuntimeX86[] = L"vc_redist.x86.exe";
inline constexpr wchar_t kRuntimeX64[] = L"vc_redist.x64.exe";
inline constexpr wchar_t kRuntime2010X64[] = L"vcredist_x64_10.exe";
inline constexpr wchar_t kXmlParserX64[] = L"msxml6_x64.msi";
inline constexpr wchar_t kXmlParser[] = L"msxml6.msi";

// files\ on the medium, in the order they are installed.
inline constexpr const wchar_t* kProductPackages[] = {
    L"korv_kernel.exe", L"korv_korvfile.exe", L"korv_global.exe", L"korv_local.exe", L"korv_resfile.exe",
};
inline constexpr wchar_t kHelpPackage[] = L"korv_help.exe";
inline constexpr wchar_t kEncryptionPackage[] = L"korv_encryption.exe";
inline constexpr wchar_t kCollaborationInstallerX64[] = L"kvninst_x64.exe";
inline constexpr wchar_t kCollaborationInstallerX86[] = L"kvninst_x86.exe";
inline constexpr wchar_t kConfiguratorX64[] = L"SetupWriter_x64.exe";
inline constexpr wchar_t kConfiguratorX86[] = L"SetupWriter.exe";

// The optional package whose MSI must match the bitness of Office.
inline constexpr wchar_t kSpreadsheetTableMarker[] = L"AutoSheetgrid";

// In the installation folder.
inline constexpr wchar_t kSetupProgram[] = L"Setup.exe";
inline constexpr wchar_t kResourceLibrary[] = L"IntallerRes.dll";
inline constexpr wchar_t kSetupIni[] = L"Setup.ini";
inline constexpr wchar_t kUninstallerOnMedium[] = L"KUninstall.exe";
// The installed copy of the uninstaller has no extension: the uninstall
// hands it over under its full name again, and nothing else can start it
// by accident from the installation folder.
inline constexpr wchar_t kUninstallerInstalled[] = L"KUninstall";
inline constexpr wchar_t kInstallLog[] = L"install.log";
inline constexpr wchar_t kProductProgram[] = L"korv.exe";
inline constexpr wchar_t kCollaborationUninstaller[] = L"kvnunist.exe";
inline constexpr wchar_t kLeftoverUninstaller[] = L"uninst.exe";
inline constexpr const wchar_t* kComLibraries[] = {L"drawthumb.dll", L"TwOleImage.dll"};

// The MSI product the uninstall removes (it comes with the product packages).
inline constexpr wchar_t kProductMsiCode[] = L"{0D6A3F21-7C4B-4E8A-9B15-2F6E8C1D4A07}";

// Optional features whose module files Modify deletes when they are
// deselected. Both named lists begin with the module loader's list file: the
// product reads it at start and must not try to load the removed modules.
inline constexpr wchar_t kRenderingPackageName[] = L"vezu";
inline constexpr const wchar_t* kRenderingModules[] = {
    L"korvmodules.lst", L"vezu.arx",        L"vezucore.dll", L"vezumat.dll",   L"vezulight.dll",
    L"vezuscene.dll",   L"vezupreview.exe", L"vezu.cuix",    L"vezures.dll",   L"vezulib.vlb",
};
inline constexpr wchar_t kIfcPackageName[] = L"IFC Beta";
inline constexpr const wchar_t* kIfcModules[] = {
    L"korvmodules.lst", L"ifcimport.arx", L"ifcexport.arx", L"ifccore.dll",    L"ifcgeom.dll",
    L"ifcschema2x3.dll", L"ifcschema4.dll", L"ifcmapping.xml", L"ifcprops.dll", L"ifcviewer.exe",
    L"ifc.cuix",        L"ifcres.dll",    L"ifcbeta.txt",
};
// Data-exchange and model modules below express\BIM\ for every other shown
// feature that is deselected.
inline constexpr wchar_t kModelModulesFolder[] = L"express\\BIM\\";
inline constexpr const wchar_t* kModelModules[] = {
    L"bimcore.dll",    L"bimmodel.dll",   L"bimview.dll",    L"bimcmd.arx",     L"bimwall.dll",    L"bimslab.dll",
    L"bimroof.dll",    L"bimstair.dll",   L"bimdoor.dll",    L"bimwindow.dll",  L"bimcolumn.dll",  L"bimbeam.dll",
    L"dxstep.dll",     L"dxiges.dll",     L"dxstl.dll",      L"dxobj.dll",      L"dxcollada.dll",  L"bim.cuix",
};

// The building-design add-ons: a feature whose record has showFlag 4 counts
// as installed when any of these lies in the installation folder (its
// application loader file first, then its modules).
inline constexpr int kShowWhenModulesInstalled = 4;
inline constexpr const wchar_t* kBuildingDesignModules[] = {
    L"bimdesign.lsp",  L"bimarch.arx",  L"bimstruct.arx", L"bimmep.arx",   L"bimsite.arx",
    L"bimarch.dll",    L"bimstruct.dll", L"bimmep.dll",   L"bimsite.dll",  L"bimdesign.cuix",
};

}  // namespace korv::product
