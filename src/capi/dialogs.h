// The dialog hosts of the C interface: dialog lines of the host-script language answering the
// dialogs of the host's calls (headless, or drawn as well), or the person at the screen working
// drawn dialogs. One of them at a time is the process's current UI host; finishing goes back to
// the headless default, which closes every form at once.
#pragma once

#include <optional>
#include <string>

#include "quillon.h"

namespace quillon::capi {

struct DialogsFailure {
  quillon_status status;
  std::string text;
};

// Parses the lines (on-blocks and queued answers only) and installs them; nothing changes when
// they do not parse or hold a host line.
std::optional<DialogsFailure> installDialogLines(const std::string& lines, bool drawn);
std::optional<DialogsFailure> installPerson();
// The transcript of the installed host, one line each ("" when none is installed).
std::string dialogsTranscript();
// Whether every block and answer was used and held; uninstalls in any case.
std::optional<DialogsFailure> finishDialogs();

}  // namespace quillon::capi
