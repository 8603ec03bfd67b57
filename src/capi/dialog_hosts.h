// The dialog hosts of the C interface: dialog lines of the host-script language answering the
// dialogs of the host's calls (headless, or drawn as well), or the person at the screen working
// drawn dialogs. One of them at a time is the process's current UI host; finishing goes back to
// the headless default, which closes every form at once.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "quillon.h"

namespace quillon::script {
class ScriptedUiHost;
}

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

// Dialog lines for one call: parsed when made (failure() tells when they are no dialog lines),
// installed in place of whatever dialogs were set, and those set back by finish() or, when the
// call never got that far, by the destructor.
class OneCallDialogs {
 public:
  OneCallDialogs(const std::string& lines, bool drawn);
  ~OneCallDialogs();
  OneCallDialogs(const OneCallDialogs&) = delete;
  OneCallDialogs& operator=(const OneCallDialogs&) = delete;

  // Why the lines could not be installed; nothing changed then.
  const std::optional<DialogsFailure>& failure() const { return failure_; }
  // What the dialogs did, one line each.
  std::string transcript() const;
  // Whether every block and answer was used and held; the earlier dialogs are back afterwards.
  std::optional<DialogsFailure> finish();

 private:
  void restore();

  std::optional<DialogsFailure> failure_;
  std::shared_ptr<script::ScriptedUiHost> host_;
  std::shared_ptr<script::ScriptedUiHost> previous_;
  bool active_ = false;
};

}  // namespace quillon::capi
