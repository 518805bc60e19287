#include "framework/MessageMap.h"

namespace fw {

bool MessageMap::Matches(const MessageEntry& e, EntryKind kind, UINT code, UINT id) {
    bool inRange = id >= e.firstId && id <= e.lastId;
    if (e.kind == EntryKind::Command && kind == EntryKind::Control) {
        return (code == 0 || code == 1) && inRange;
    }
    if (e.kind != kind) {
        return false;
    }
    switch (kind) {
    case EntryKind::Control:
    case EntryKind::Notify:
        return e.code == code && inRange;
    case EntryKind::ReflectCommand:
    case EntryKind::ReflectNotify:
        return e.code == code;
    case EntryKind::Command:
    case EntryKind::Message:
    case EntryKind::ReflectMessage:
    case EntryKind::ThreadMessage:
        return inRange;
    }
    return false;
}

const MessageMap& CCmdTarget::GetMessageMap() const {
    static const MessageMap map({});
    return map;
}

bool CCmdTarget::DispatchToMap(EntryKind kind, UINT code, UINT id, const MessageArgs& args, LRESULT& result) {
    for (const MessageMap* map = &GetMessageMap(); map != nullptr; map = map->Base()) {
        for (const MessageEntry& entry : map->Entries()) {
            if (MessageMap::Matches(entry, kind, code, id) && entry.handler(*this, args, result)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace fw
