// The items of a package's "package" text and what each of them is: the
// decisions of the install job's package loop and of the copy-progress
// page's step count. Plain text in, plain values out: no platform, so the
// fuzzers build this for Linux as well.
#pragma once

#include <string>
#include <vector>

namespace korv {

// The items of a package list: the text before the first ";", as long as
// the rest is not empty; a ";" at the start of the rest, or none, makes the
// whole rest the last item. Items are not trimmed.
std::vector<std::wstring> SplitPackageItems(const std::wstring& list);

enum class PackageItemKind {
    kProgram,          // ends in exactly ".exe": run from files\ on the medium
    kSpreadsheetTable, // holds "AutoSheetgrid": the MSI that must match Office's bitness
    kMsiPackage,       // anything else: an MSI from Msi\ on the medium
};

// What the package loop does with an item (the tests are case-sensitive:
// "A.EXE" is an MSI package).
PackageItemKind ClassifyPackageItem(const std::wstring& item);

// The spreadsheet-table package for the bitness of Office: a 32-bit product
// on 64-bit Office takes the x64 package, a 64-bit product on 32-bit Office
// the x86 one.
std::wstring SpreadsheetTableItem(const std::wstring& item, int product64Bit, int office64Bit);

// The steps the copy-progress page counts for a ticked package: the number
// of ";"-separated parts of its text, counting stopping at the first empty
// part, and at least 1 (an empty text, or one that begins with ";", counts 1).
int CountPackageSteps(const std::wstring& list);

}  // namespace korv
