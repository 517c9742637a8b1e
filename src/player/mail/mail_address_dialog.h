// The address dialog's logic: it edits a private copy of one address in two fields and hands
// it back only when OK closes it. The form that shows it is built on this model.
#pragma once

#include <functional>
#include <string>

#include "player/mail/mail_address.h"

namespace wdx::mail {

class TMailAddressDlg {
 public:
  static constexpr const char* kCaption = "Address";
  static constexpr const char* kNameLabel = "Name";
  static constexpr const char* kAddressLabel = "Address";
  static constexpr const char* kOkCaption = "OK";
  static constexpr const char* kCancelCaption = "Cancel";

  // Copies the address; the fields show its name and mailbox.
  void SetAddress(const TmsMailAddress& address);
  // The fields into the copy (each cut to 255 characters); empty or odd texts are accepted.
  void OKButtonClick();
  const TmsMailAddress& EditedAddress() const { return address_; }

  std::string NameEdit;
  std::string AddressEdit;

 private:
  TmsMailAddress address_;
};

// Shows the dialog for `address`; `showModal` runs it and answers true when OK closed it, and
// only then does `address` take the edited copy. Cancel leaves it unchanged.
void EditMailAddress(TmsMailAddress& address, const std::function<bool(TMailAddressDlg&)>& showModal);

}  // namespace wdx::mail
