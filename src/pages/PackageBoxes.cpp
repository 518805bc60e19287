#include "pages/PackageBoxes.h"

#include <algorithm>

#include "resource.h"

namespace korv {

namespace {

constexpr COLORREF kDescriptionColour = RGB(60, 68, 94);

constexpr int kBoxSlots[PackageBoxes::kSlots] = {IDC_PACKAGE_BOX_SLOT1, IDC_PACKAGE_BOX_SLOT2, IDC_PACKAGE_BOX_SLOT3,
                                                 IDC_PACKAGE_BOX_SLOT4, IDC_PACKAGE_BOX_SLOT5};
constexpr int kTextSlots[PackageBoxes::kSlots] = {IDC_PACKAGE_TEXT_SLOT1, IDC_PACKAGE_TEXT_SLOT2,
                                                  IDC_PACKAGE_TEXT_SLOT3, IDC_PACKAGE_TEXT_SLOT4,
                                                  IDC_PACKAGE_TEXT_SLOT5};

// A placeholder's rectangle in the page's client coordinates.
bool SlotRect(HWND page, int id, RECT& rect) {
    HWND slot = GetDlgItem(page, id);
    if (slot == nullptr) {
        return false;
    }
    GetWindowRect(slot, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return true;
}

}  // namespace

void PackageBoxes::Create(HWND page, const std::vector<PackageRecord>& packages) {
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0));
    const size_t shown = std::min<size_t>(packages.size(), kSlots);
    for (size_t i = 0; i < shown; ++i) {
        const PackageRecord& record = packages[i];
        RECT r{};
        if (SlotRect(page, kBoxSlots[i], r)) {
            auto box = std::make_unique<CKorvShadeButtonST>();
            if (box->Create(record.name.c_str(), WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, r, page,
                            IDC_PACKAGE_BOX_FIRST + static_cast<UINT>(i))) {
                box->SetFont(font);
                const bool ticked = record.check == 1;
                box->SetCheck(ticked, false);
                box->EnableBox(!(ticked && record.showFlag == 0));
                boxes_.push_back(std::move(box));
            }
        }
        if (SlotRect(page, kTextSlots[i], r)) {
            auto label = std::make_unique<CLabelEx>();
            if (label->Create(record.description.c_str(), WS_VISIBLE, r, page,
                              IDC_PACKAGE_TEXT_FIRST + static_cast<UINT>(i))) {
                label->SetFont(font);
                label->SetLabelTextColor(kDescriptionColour);
                labels_.push_back(std::move(label));
            }
        }
    }
}

void PackageBoxes::Show(bool show) {
    const int command = show ? SW_SHOW : SW_HIDE;
    for (auto& box : boxes_) {
        box->ShowWindow(command);
    }
    for (auto& label : labels_) {
        label->ShowWindow(command);
    }
}

void PackageBoxes::Destroy() {
    for (auto& box : boxes_) {
        box->DestroyWindow();
    }
    for (auto& label : labels_) {
        label->DestroyWindow();
    }
    boxes_.clear();
    labels_.clear();
}

}  // namespace korv
