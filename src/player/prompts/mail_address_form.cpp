#include "player/prompts/mail_address_form.h"

namespace wdx::player {

TMailAddressForm::TMailAddressForm(mail::TMailAddressDlg& model)
    : forms::Form("MailAddressDlg", mail::TMailAddressDlg::kCaption), model_(model) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(kClientWidth, kClientHeight);
  Bevel1.SetBounds(8, 8, 225, 73);
  Label2.SetBounds(24, 20, 36, 16);
  NameEdit.SetBounds(64, 16, 161, 21);
  Label1.SetBounds(16, 52, 44, 16);
  AddressEdit.SetBounds(64, 48, 161, 21);
  OKButton.SetBounds(64, 88, 75, 25);
  OKButton.SetDefault(true);
  OKButton.SetModalResult(forms::ModalResult::kOk);
  OKButton.onClick = [this] { OKButtonClick(); };
  CancelButton.SetBounds(152, 88, 75, 25);
  CancelButton.SetCancel(true);
  CancelButton.SetModalResult(forms::ModalResult::kCancel);
  onShow = [this] {
    NameEdit.SetText(model_.NameEdit);
    AddressEdit.SetText(model_.AddressEdit);
    SetFocus(&NameEdit);
  };
}

void TMailAddressForm::OKButtonClick() {
  model_.NameEdit = NameEdit.text();
  model_.AddressEdit = AddressEdit.text();
  model_.OKButtonClick();
}

void EditMailAddress(mail::TmsMailAddress& address, forms::FormRunner& runner) {
  mail::EditMailAddress(address, [&runner](mail::TMailAddressDlg& dialog) {
    TMailAddressForm form(dialog);
    return runner.ShowModal(form) == forms::ModalResult::kOk;
  });
}

}  // namespace wdx::player
