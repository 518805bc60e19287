// The package boxes and descriptions that the welcome and feature pages
// create at run time, one pair per package of the session, at the five
// places their templates keep for them.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "session/PackageRecord.h"
#include "skin/Buttons.h"
#include "skin/Labels.h"

namespace korv {

class PackageBoxes {
public:
    // The five places the templates have for package boxes and descriptions.
    static constexpr int kSlots = 5;

    // Creates box IDC_PACKAGE_BOX_FIRST + i (the package's name) and label
    // IDC_PACKAGE_TEXT_FIRST + i (its description) for each package that has
    // a place, with the page's font; a ticked package is ticked, and one the
    // medium does not show (showFlag 0) cannot be unticked. Packages after
    // the fifth get no box and keep the choice the medium made for them.
    void Create(HWND page, const std::vector<PackageRecord>& packages);
    void Show(bool show);
    // Destroys the windows (the page does it with its own).
    void Destroy();

    CKorvShadeButtonST* Box(size_t i) const { return i < boxes_.size() ? boxes_[i].get() : nullptr; }
    CLabelEx* Label(size_t i) const { return i < labels_.size() ? labels_[i].get() : nullptr; }
    size_t Count() const { return boxes_.size(); }

private:
    std::vector<std::unique_ptr<CKorvShadeButtonST>> boxes_;
    std::vector<std::unique_ptr<CLabelEx>> labels_;
};

}  // namespace korv
