#include "editor/shell/network_dialog.h"

#include "editor/shell/companion_files.h"

namespace wdx::editor {

NetworkModel NetworkModel::From(const TSettingsRec& settings) {
  NetworkModel m;
  m.networkMode = m.networkModeShown = settings.networkMode;
  m.autoSync = m.autoSyncShown = settings.autoSync;
  m.minutes = std::to_string(settings.syncMinutes);
  return m;
}

std::uint16_t NetworkModel::SyncMinutes() const { return static_cast<std::uint16_t>(DecimalOrZero(minutes)); }

void NetworkModel::Apply(TSettingsRec& settings) const {
  settings.networkMode = networkMode;
  settings.syncMinutes = SyncMinutes();
  settings.autoSync = autoSync && settings.syncMinutes != 0;
}

TNetworkConsiderations::TNetworkConsiderations(NetworkModel& model, platform::Point screen)
    : Form("NetworkConsiderations", "Network Considerations"), model_(model), screen_(screen) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(300, 124);
  NetworkOption.SetBounds(16, 14, 268, 20);
  AutoSync.SetBounds(32, 40, 252, 20);
  EveryLabel.SetBounds(50, 70, 100, 18);
  Minutes.SetBounds(152, 67, 28, 22);
  Minutes.SetMaxLength(2);
  MinutesLabel.SetBounds(186, 70, 60, 18);
  OKButton.SetBounds(112, 94, 76, 25);
  // The only button: Enter and Esc both press it, and every close applies the choices.
  OKButton.SetDefault(true);
  OKButton.SetCancel(true);
  OKButton.SetModalResult(forms::ModalResult::kOk);
  NetworkOption.onClick = [this] { EnableDisable(); };
  onShow = [this] { FormShow(); };
  onClose = [this](forms::CloseAction&) { FormClose(); };
}

void TNetworkConsiderations::FormShow() {
  SetBounds((screen_.x - width()) / 2, (screen_.y - height()) / 2, width(), height());
  NetworkOption.SetChecked(model_.networkMode);
  AutoSync.SetChecked(model_.autoSync);
  Minutes.SetText(model_.minutes);
  EnableDisable();
}

void TNetworkConsiderations::EnableDisable() {
  const bool on = NetworkOption.checked();
  AutoSync.SetEnabled(on);
  Minutes.SetEnabled(on);
  EveryLabel.SetEnabled(on);
  MinutesLabel.SetEnabled(on);
}

void TNetworkConsiderations::FormClose() {
  model_.networkMode = NetworkOption.checked();
  model_.autoSync = AutoSync.checked();
  model_.minutes = Minutes.text();
}

}  // namespace wdx::editor
