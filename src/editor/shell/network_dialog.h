// The network considerations dialog: network mode (the file lock of macro libraries), the
// automatic reload and its interval. It has no Cancel: however it closes (Ok, Esc, the close
// box) it applies what it shows.
#pragma once

#include <string>

#include "forms/controls.h"
#include "forms/form.h"
#include "platform/types.h"
#include "shared/settings.h"

namespace wdx::editor {

// What the dialog edits, as it was on showing and as it is now.
struct NetworkModel {
  bool networkMode = false;
  bool autoSync = true;
  std::string minutes;  // the field's text
  bool networkModeShown = false;
  bool autoSyncShown = true;

  static NetworkModel From(const TSettingsRec& settings);
  // The minutes as stored: the trimmed text as a decimal number (0 for anything else), kept
  // to 16 bits.
  std::uint16_t SyncMinutes() const;
  // Into the [Network] settings: 0 minutes switch "Auto Sync" off.
  void Apply(TSettingsRec& settings) const;
};

class TNetworkConsiderations : public forms::Form {
 public:
  TNetworkConsiderations(NetworkModel& model, platform::Point screen);

  forms::CheckBox NetworkOption{this, "NetworkOption", "&File Locking of Macro Files"};
  forms::CheckBox AutoSync{this, "AutoSync", "&Automatic Synchronization Updating"};
  forms::Label EveryLabel{this, "EveryLabel", "Synchronize every"};
  forms::Edit Minutes{this, "Minutes"};
  forms::Label MinutesLabel{this, "MinutesLabel", "minutes"};
  forms::Button OKButton{this, "OKButton", "&Ok"};

 private:
  void FormShow();
  void FormClose();
  void EnableDisable();

  NetworkModel& model_;
  platform::Point screen_;
};

}  // namespace wdx::editor
