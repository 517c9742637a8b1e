// The address dialog of the mail suite ("Address"): a name and an address in two fields over
// the dialog's model (player/mail/mail_address_dialog.h), which hands the edited copy back only
// when OK closes it.
#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/runner.h"
#include "player/mail/mail_address_dialog.h"

namespace wdx::player {

class TMailAddressForm : public forms::Form {
 public:
  static constexpr int kClientWidth = 240;
  static constexpr int kClientHeight = 124;

  explicit TMailAddressForm(mail::TMailAddressDlg& model);

  forms::Panel Bevel1{this, "Bevel1"};
  forms::Label Label2{this, "Label2", mail::TMailAddressDlg::kNameLabel};
  forms::Edit NameEdit{this, "NameEdit"};
  forms::Label Label1{this, "Label1", mail::TMailAddressDlg::kAddressLabel};
  forms::Edit AddressEdit{this, "AddressEdit"};
  forms::Button OKButton{this, "OKButton", mail::TMailAddressDlg::kOkCaption};
  forms::Button CancelButton{this, "CancelButton", mail::TMailAddressDlg::kCancelCaption};

 private:
  void OKButtonClick();
  mail::TMailAddressDlg& model_;
};

// Edits the address in the dialog; Cancel leaves it as it was.
void EditMailAddress(mail::TmsMailAddress& address, forms::FormRunner& runner);

}  // namespace wdx::player
