#include "player/mail/header_values.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "player/mail/mail_address_dialog.h"
#include "player/mail/mail_errors.h"

namespace wdx::mail {
namespace {

TEST(ParseAddress, AcceptedForms) {
  struct Case {
    const char* text;
    const char* name;
    const char* address;
  } cases[] = {
      {"John Smith <john@example.com>", "John Smith", "john@example.com"},
      {"\"Smith, John\" <john@example.com>", "Smith, John", "john@example.com"},
      {"<john@example.com> John", "John", "john@example.com"},
      {"<john@example.com>", "", "john@example.com"},
      {"john@example.com (John Smith)", "John Smith", "john@example.com"},
      {"john@example.com", "", "john@example.com"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    TmsMailAddress a("old", "old");
    ParseAddress(c.text, a);
    EXPECT_EQ(a.Name(), c.name) << c.text;
    EXPECT_EQ(a.Address(), c.address) << c.text;
  }
}

TEST(ParseAddress, UnclosedAngleBracketRaises) {
  for (const char* text : {"John <john@example.com", "John > x <y"}) {
    TmsMailAddress a;
    try {
      ParseAddress(text, a);
      ADD_FAILURE() << text;
    } catch (const MailException& e) {
      EXPECT_STREQ("Unable to parse email address", e.what());
    }
  }
}

TEST(ParseAddress, FieldsAreShortStrings) {
  TmsMailAddress a;
  ParseAddress(std::string(300, 'n') + " <" + std::string(300, 'a') + ">", a);
  EXPECT_EQ(a.Name().size(), 255u);
  EXPECT_EQ(a.Address().size(), 255u);
}

TEST(HeaderValues, GetParameter) {
  const char* mixed = "multipart/mixed; boundary=\"12345678\"";
  EXPECT_EQ(GetParameter("boundary", mixed), "12345678");
  EXPECT_EQ(GetParameter("BOUNDARY", "multipart/mixed; boundary=abc"), "abc");
  EXPECT_EQ(GetParameter("boundary", "multipart/mixed; boundary="), "");
  EXPECT_EQ(GetParameter("boundary", "text/plain"), "");
  // An unquoted value ends at ";" even without a blank after it.
  EXPECT_EQ(GetParameter("boundary", "multipart/mixed;boundary=abc;charset=x"), "abc");
  EXPECT_EQ(GetParameter("charset", "text/plain; charset = us-ascii"), "us-ascii");
  // "name" is a parameter of its own, not the tail of "filename".
  EXPECT_EQ(GetParameter("name", "attachment; filename=\"a.txt\""), "");
  EXPECT_EQ(GetParameter("name", "text/plain; filename=\"b.txt\"; name=\"a.txt\""), "a.txt");
  // The extended form of 8-bit names.
  EXPECT_EQ(GetParameter("filename", "attachment; filename*=windows-1252''R%E9sum%E9.pdf"), "R\xE9sum\xE9.pdf");
}

TEST(HeaderValues, FirstTokenAndStripQuotes) {
  EXPECT_EQ(FirstToken("text/plain; charset=us-ascii"), "text/plain");
  EXPECT_EQ(FirstToken("text/plain;charset=us-ascii"), "text/plain");
  EXPECT_EQ(FirstToken("image/gif"), "image/gif");
  EXPECT_EQ(StripQuotes("  \"\"quoted\"  "), "quoted");
  EXPECT_EQ(StripQuotes("in\"side"), "in\"side");
}

TEST(HeaderValues, SaveLinesToFileWritesCrLfLines) {
  auto path = std::filesystem::temp_directory_path() / "wdx_mail_lines.txt";
  {
    std::ofstream old(path);
    old << "previous contents that are longer";
  }
  SaveLinesToFile({"first", "", "third"}, path.string());
  std::stringstream got;
  {
    std::ifstream in(path, std::ios::binary);
    got << in.rdbuf();
  }
  EXPECT_EQ(got.str(), "first\r\n\r\nthird\r\n");
  std::filesystem::remove(path);
  EXPECT_THROW(SaveLinesToFile({"x"}, (path / "no" / "such" / "folder.txt").string()), EInOutError);
}

TEST(AddressDialog, OkTakesTheFieldsCancelLeavesTheAddress) {
  TmsMailAddress address("old@example.com", "Old Name");
  EditMailAddress(address, [](TMailAddressDlg& dlg) {
    EXPECT_EQ(dlg.NameEdit, "Old Name");
    EXPECT_EQ(dlg.AddressEdit, "old@example.com");
    dlg.NameEdit = "New";
    dlg.AddressEdit = "";
    return false;  // Cancel
  });
  EXPECT_EQ(address, TmsMailAddress("old@example.com", "Old Name"));

  EditMailAddress(address, [](TMailAddressDlg& dlg) {
    dlg.NameEdit = std::string(300, 'x');
    dlg.AddressEdit = "";
    dlg.OKButtonClick();
    return true;
  });
  EXPECT_EQ(address.Name(), std::string(255, 'x'));
  EXPECT_EQ(address.Address(), "");
}

}  // namespace
}  // namespace wdx::mail
