#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_host.h"
#include "shared/cipher.h"
#include "shared/stored_password.h"

namespace wdx::player::testing {
namespace {

using platform::MemoryRemoteAccess;
namespace rs = platform::rasstate;

constexpr char kMissing[] =
    "Dial-Up Connections cannot be performed on this computer. The necessary Windows files have not been "
    "installed.  Missing RASAPI32.DLL";

class DialUpTest : public ::testing::Test {
 protected:
  DialUpTest() {
    ras.scripts["Office"] = {{100, rs::kOpenPort, 0}, {300, rs::kConnected, 0}};
    ras.scripts["Busy"] = {{100, rs::kOpenPort, 0}, {200, 0, 691}};
  }
  CommandRun run;
  CommandHost& host = run.host;
  MemoryRemoteAccess& ras = run.mem.remoteAccess;
};

TEST_F(DialUpTest, ADialConnectsWithTheTagsUserAndPasswordInEitherForm) {
  host.state.vars.text[3] = "joe";
  run.Play("<DIAL:<NAME:%T3%><PASS:" + *EncodeStoredPassword("Wx>1") + ">Office>a");
  run.Play("<DIAL:<NAME:ann><PASS:" + ShiftText("secret") + ">Office>b");
  ASSERT_EQ(ras.dials.size(), 2u);
  EXPECT_EQ(ras.dials[0].userName, "joe");
  EXPECT_EQ(ras.dials[0].password, "Wx>1");
  EXPECT_EQ(ras.dials[0].entryName, "Office");
  EXPECT_EQ(ras.dials[1].password, "secret");
  EXPECT_EQ(TypedText(run.mem.input.keys), "ab");
  EXPECT_TRUE(host.longTexts.empty());
  const auto status = std::find_if(host.runner.shown.begin(), host.runner.shown.end(),
                                   [](const auto& s) { return s.caption == "Wendrix Dial-Up Networking"; });
  EXPECT_NE(status, host.runner.shown.end());
  EXPECT_TRUE(host.runner.OpenForms().empty());
}

TEST_F(DialUpTest, AFailedDialSaysWhyWithTheTextOfWdrasIniAndEndsThePass) {
  run.Play("<DIAL:<NAME:><PASS:>Busy>a");
  run.mem.profile.WriteString("C:\\Wendrix\\WDRAS.INI", "RAS Errors", "691", "Access denied");
  run.Play("<DIAL:<NAME:><PASS:>Busy>b");
  EXPECT_EQ(host.longTexts,
            (std::vector<Box>{
                {"Dial-Up Error", "Dial-Up Network Connection to Busy failed.  Error code: 691: Unknown Erorr  Macro "
                                  "will abort. (Macro Name: Mail)"},
                {"Dial-Up Error", "Dial-Up Network Connection to Busy failed.  Error code: 691: Access denied  Macro "
                                  "will abort. (Macro Name: Mail)"}}));
  EXPECT_FALSE(host.state.abortMacro);
  EXPECT_TRUE(run.mem.input.keys.empty());
  EXPECT_EQ(ras.hangUps.size(), 2u);  // the failed attempts are not left half up
}

TEST_F(DialUpTest, TheIfDialPlaysTheBranchOfItsOutcome) {
  const std::string block = "<IFVAR:1:01:1:x>i<ELSE>j<ENDIF>s<ELSE>f<ENDIF>e";
  host.state.vars.text[1] = "x";
  run.Play("<DIAL2:<NAME:><PASS:>Office>" + block);
  run.Play("<DIAL2:<NAME:><PASS:>Busy>" + block);
  run.Play("<DIAL2:<NAME:><PASS:>Busy>s<ENDIF>e");
  EXPECT_EQ(TypedText(run.mem.input.keys), "isefee");
  EXPECT_TRUE(host.longTexts.empty());
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(host.log.size(), 2u);  // the failures, logged only
  run.Play("<DIAL2:<NAME:><PASS:>Office>s");
  EXPECT_TRUE(host.state.abortMacro);
}

TEST_F(DialUpTest, HangUpEndsTheConnectionThisPlayerMade) {
  ras.connections.push_back({0x77, "Someone Else's", ""});
  run.Play("<HANG>");
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"Dial-Up Error", "There are no Dial-Up Networking connections to hang up."}}));
  run.Play("<DIAL:<NAME:><PASS:>Office><HANG>x");
  ASSERT_EQ(ras.hangUps.size(), 1u);
  EXPECT_NE(ras.hangUps[0], 0x77);
  ASSERT_EQ(ras.connections.size(), 1u);
  EXPECT_EQ(ras.connections[0].handle, 0x77);
  EXPECT_EQ(TypedText(run.mem.input.keys), "x");
}

TEST_F(DialUpTest, WithoutTheLibraryEachCommandWarns) {
  ras.available = false;
  run.Play("<DIAL:<NAME:><PASS:>Office>a");
  run.Play("<HANG>b");
  run.Play("<DIAL2:<NAME:><PASS:>Office>s<ELSE>f<ENDIF>c");
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"Warning", kMissing}, {"Warning", kMissing}}));
  EXPECT_EQ(host.log.size(), 3u);
  EXPECT_EQ(TypedText(run.mem.input.keys), "bfc");
}

class NetworkDriveTest : public ::testing::Test {
 protected:
  CommandRun run;
  CommandHost& host = run.host;
  platform::MemoryNetworkDrives& drives = run.mem.networkDrives;
};

TEST_F(NetworkDriveTest, ConnectAndDisconnectPassTheirOptionsAndReportOnlyWithStatus) {
  host.state.vars.text[1] = "\\\\srv\\share";
  run.Play("<NWCPS:<NAME:joe><PASS:" + *EncodeStoredPassword("pW") + ">F:%T1%>a");
  run.Play("<NWC:<NAME:><PASS:>F:\\\\srv\\other>b");  // taken: silent
  run.Play("<NWDPFS:F:>c");
  run.Play("<NWD:G:>d");  // not connected: silent
  ASSERT_EQ(drives.connects.size(), 2u);
  EXPECT_EQ(drives.connects[0].local, "F:");
  EXPECT_EQ(drives.connects[0].remote, "\\\\srv\\share");
  EXPECT_EQ(drives.connects[0].user, "joe");
  EXPECT_EQ(drives.connects[0].password, "pW");
  EXPECT_TRUE(drives.connects[0].persistent);
  EXPECT_FALSE(drives.connects[1].persistent);
  ASSERT_EQ(drives.disconnects.size(), 2u);
  EXPECT_TRUE(drives.disconnects[0].persistent && drives.disconnects[0].force);
  EXPECT_FALSE(drives.disconnects[1].persistent || drives.disconnects[1].force);
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"Map F: to \\\\srv\\share", "Drive mapped succesfully."},
                                          {"Unmap Network Drive F:", "Drive succesfully unmapped."}}));
  EXPECT_TRUE(host.log.empty());
  EXPECT_EQ(TypedText(run.mem.input.keys), "abcd");
}

TEST_F(NetworkDriveTest, EveryFailureCodeHasItsText) {
  namespace nr = platform::netresult;
  const std::vector<std::pair<std::uint32_t, std::string>> maps = {
      {nr::kAccessDenied, ". Map Failed.  Access to the nework device was denied."},
      {nr::kBadDeviceType, ".  Map Failed.  Nework device specified is not compatible with a drive."},
      {nr::kBadNetName, ".  Map Failed.  The specified networkd device was invalid."},
      {nr::kAlreadyAssigned, ". Map Failed.  Drive was already assigned to a nework device."},
      {nr::kInvalidPassword, ".  Map Failed.  The specified password was invalid."},
      {nr::kBusy, ".  Map Failed.  The network router was busy--possibly initializing.  Try again."},
      {nr::kBadDevice, ".  Map Failed.  The specified drive was invalid."},
      {nr::kNoNetwork, ".  Map Failed.  No network exists."},
      {1234, ".  Map Failed.  Unknown Error #1234"},
  };
  for (const auto& [code, logged] : maps) {
    host.boxes.clear();
    host.log.clear();
    drives.connectResults["H:"] = code;
    run.Play("<NWCS:<NAME:><PASS:>H:\\\\s\\x>");
    const std::string caption = "Map H: to \\\\s\\x";
    EXPECT_EQ(host.boxes, (std::vector<Box>{{caption, logged.substr(logged.find('M'))}}));
    EXPECT_EQ(host.log, std::vector<std::string>{caption + logged});
  }
  const std::vector<std::pair<std::uint32_t, std::string>> unmaps = {
      {nr::kDeviceInUse, "Unmap Failed.  Nework device is in use by an active process."},
      {nr::kNotConnected, "Unmap Failed.  Drive is not currently connected to a nework device."},
      {nr::kOpenFiles,
       "Unmap Failed.  There are open files on the network device and the \"Force\" option was not used."},
      {77, "Unmap Failed.  Unknown Error #77"},
  };
  for (const auto& [code, text] : unmaps) {
    host.boxes.clear();
    host.log.clear();
    drives.disconnectResults["H:"] = code;
    run.Play("<NWDS:H:>");
    EXPECT_EQ(host.boxes, (std::vector<Box>{{"Unmap Network Drive H:", text}}));
    EXPECT_EQ(host.log, std::vector<std::string>{"Unmap Network Drive H:.  " + text});
  }
  EXPECT_FALSE(host.state.abortMacro);
}

TEST_F(NetworkDriveTest, ToggleUnmapsAMappedDriveWhateverTheCaseOfItsLetter) {
  drives.connections.push_back({"F:", "\\\\srv\\share"});
  run.Play("<NWT:<NAME:><PASS:>f:\\\\srv\\share>");
  EXPECT_TRUE(drives.connects.empty());
  ASSERT_EQ(drives.disconnects.size(), 1u);
  EXPECT_FALSE(drives.disconnects[0].force);
  run.Play("<NWTP:<NAME:u><PASS:>f:\\\\srv\\share>");
  ASSERT_EQ(drives.connects.size(), 1u);
  EXPECT_EQ(drives.connects[0].user, "u");
  EXPECT_TRUE(drives.connects[0].persistent);
  drives.listFails = true;  // a listing that fails counts as not mapped
  run.Play("<NWT:<NAME:><PASS:>f:\\\\srv\\share>");
  EXPECT_EQ(drives.connects.size(), 2u);
}

}  // namespace
}  // namespace wdx::player::testing
