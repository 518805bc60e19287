// The one way every loop of this framework (application, UI threads, modal
// dialogs) handles a message it has taken from the queue.
#pragma once

#include <windows.h>

namespace fw {

// Offers the message to the filters, in this order: the calling thread's
// CWinThread::PreTranslateMessage; for a thread message, that thread's map;
// for a window message, PreTranslateMessage of the window's object and those
// of its parents (innermost first, up to the top-level window), then
// IsDialogMessage of the innermost dialog among them. True when one of them
// consumed the message.
bool FilterMessage(MSG& msg);

// FilterMessage, then TranslateMessage and DispatchMessage.
void PumpMessage(MSG& msg);

}  // namespace fw
