// One optional package of the product: a [subN] section of Setup.ini, or
// an entry of an installed copy's list. Plain values only, so the readers
// that fill it also build without the platform.
#pragma once

#include <string>

namespace korv {

struct PackageRecord {
    std::wstring name;
    std::wstring description;
    std::wstring package;  // package file or files, items separated by ";"
    int check = 0;         // state of the entry's box
    int enable = 0;        // the box can be changed
    bool removeFlag = false;  // set by the modify page when an installed package is deselected
    int showFlag = 0;      // the entry is shown
};

}  // namespace korv
