// The passive run (PASSIVE=1, /passive): the wizard's installation, or the
// Repair of an installed copy, showing only the copy-progress page and
// answering every message unseen.
#pragma once

namespace korv {

// Start-up has put TARGETDIR and NUM into the session. A new installation
// writes the setup record, runs the page's job (uninstall record and
// shortcuts included) and then the configuration program with the medium's
// default workspace; over an installed copy the page runs its Repair with
// the installed choices. Returns 0 when done, 1602 when the page was
// cancelled, 1603 when the job or the configuration failed. With
// askBeforeCancel (no SUPPRESSMSGBOXES=1) the page's Cancel still asks the
// person who pressed it before it cancels; every other message stays unseen.
int RunPassive(bool askBeforeCancel);

}  // namespace korv
