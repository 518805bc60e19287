// Message maps: a class lists which messages, commands and notifications go
// to which member functions; the entry builders in fw::on unpack wParam and
// lParam into typed arguments. A class's map names its base's map, so
// derived entries are looked at first and the base's follow.
//
//   const fw::MessageMap& CMyDlg::GetMessageMap() const {
//       static const fw::MessageMap map(CDialog::GetMessageMap(), {
//           fw::on::Command(IDC_BROWSE, &CMyDlg::OnBrowse),
//           fw::on::CommandRange(IDC_FIRST, IDC_LAST, &CMyDlg::OnOption),
//           fw::on::Message(WM_MY_DONE, &CMyDlg::OnDone),
//           fw::on::Timer(&CMyDlg::OnTimer),
//       });
//       return map;
//   }
//
// A handler builder that returns bool "declines" with false: the search goes
// on to later entries and the base maps, and finally to the default window
// procedure.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <vector>

namespace fw {

class CCmdTarget;

enum class EntryKind : unsigned char {
    Message,         // window messages firstId..lastId (by number)
    Command,         // WM_COMMAND from a menu, an accelerator or a button click, ids firstId..lastId
    Control,         // WM_COMMAND with notification code `code`, ids firstId..lastId
    Notify,          // WM_NOTIFY with code `code`, control ids firstId..lastId
    ReflectCommand,  // WM_COMMAND code about this control, offered to it before its parent
    ReflectNotify,   // WM_NOTIFY code about this control
    ReflectMessage,  // WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR* about this control (by number)
    ThreadMessage,   // a thread message (no window) to a CWinThread
};

struct MessageArgs {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// True: handled, result set. False: declined.
using MessageHandler = std::function<bool(CCmdTarget& target, const MessageArgs& args, LRESULT& result)>;

struct MessageEntry {
    EntryKind kind;
    UINT code;     // notification code (Control, Notify, Reflect*) else 0
    UINT firstId;  // control ids, or message numbers for Message/ReflectMessage/ThreadMessage
    UINT lastId;
    MessageHandler handler;
};

class MessageMap {
public:
    // A map with no base (CCmdTarget's own).
    explicit MessageMap(std::initializer_list<MessageEntry> entries) : entries_(entries) {}
    MessageMap(const MessageMap& base, std::initializer_list<MessageEntry> entries)
        : base_(&base), entries_(entries) {}
    MessageMap(MessageMap&&) = delete;

    const MessageMap* Base() const { return base_; }
    const std::vector<MessageEntry>& Entries() const { return entries_; }

    // Whether entry e answers a message of this kind, code and id. A WM_COMMAND
    // is looked up as kind Control; Command entries answer those with code 0
    // (a click, or a menu item) or 1 (an accelerator).
    static bool Matches(const MessageEntry& e, EntryKind kind, UINT code, UINT id);

private:
    const MessageMap* base_ = nullptr;
    std::vector<MessageEntry> entries_;
};

// The base of everything that has a message map: windows and threads.
class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    virtual const MessageMap& GetMessageMap() const;

protected:
    // Looks the message up in this object's map and its bases, most derived
    // first; true when a handler took it (result set).
    bool DispatchToMap(EntryKind kind, UINT code, UINT id, const MessageArgs& args, LRESULT& result);
};

}  // namespace fw

#include "framework/MessageEntries.h"
