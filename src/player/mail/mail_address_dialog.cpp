#include "player/mail/mail_address_dialog.h"

namespace wdx::mail {

void TMailAddressDlg::SetAddress(const TmsMailAddress& address) {
  address_.Assign(address);
  NameEdit = address_.Name();
  AddressEdit = address_.Address();
}

void TMailAddressDlg::OKButtonClick() {
  address_.SetName(NameEdit);
  address_.SetAddress(AddressEdit);
}

void EditMailAddress(TmsMailAddress& address, const std::function<bool(TMailAddressDlg&)>& showModal) {
  TMailAddressDlg dialog;
  dialog.SetAddress(address);
  if (showModal(dialog)) address.Assign(dialog.EditedAddress());
}

}  // namespace wdx::mail
