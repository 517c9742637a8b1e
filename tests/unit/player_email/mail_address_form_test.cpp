#include "player/prompts/mail_address_form.h"

#include <gtest/gtest.h>

#include "forms/scripted_runner.h"
#include "forms/user.h"

namespace wdx::player {
namespace {

namespace user = forms::user;

TEST(MailAddressForm, OkTakesTheFieldsAndCancelKeepsTheAddress) {
  forms::ScriptedRunner runner;
  mail::TmsMailAddress address("ann@example.com", "Ann");
  runner.Then([](forms::Form& f) {
    auto& form = static_cast<TMailAddressForm&>(f);
    EXPECT_EQ(form.caption(), "Address");
    EXPECT_EQ(form.NameEdit.text(), "Ann");
    EXPECT_EQ(form.AddressEdit.text(), "ann@example.com");
    user::EnterText(form.NameEdit, "Bob");
    user::Click(form.CancelButton);
  });
  EditMailAddress(address, runner);
  EXPECT_EQ(address, mail::TmsMailAddress("ann@example.com", "Ann"));

  runner.Then([](forms::Form& f) {
    auto& form = static_cast<TMailAddressForm&>(f);
    user::EnterText(form.NameEdit, "Bob, Jr.");
    user::EnterText(form.AddressEdit, "");
    user::Click(form.OKButton);
  });
  EditMailAddress(address, runner);
  EXPECT_EQ(address, mail::TmsMailAddress("", "Bob, Jr."));
}

}  // namespace
}  // namespace wdx::player
