#include "forms/dialog.h"

namespace wdx::forms {

bool Accept(Form& form, const std::optional<Fault>& fault, platform::MessageBoxes& boxes) {
  if (!fault) {
    if (form.IsModal()) {
      form.SetModalResult(ModalResult::kOk);
    } else {
      form.Close();
    }
    return true;
  }
  boxes.Show(form.Handle(), fault->message, fault->caption, platform::mb::kOk);
  if (Control* field = form.Find(fault->field)) form.SetFocus(field);
  return false;
}

}  // namespace wdx::forms
