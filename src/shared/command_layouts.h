// The descriptions of the commands whose families are built: one field list per tag, with the
// indexes by which the readers name the fields. The tables are here, in a header, so that a
// reader that names its tag's layout has the compiler place every field at its constant offset;
// FindCommandLayout (command_fields.h) finds the same tables by tag id.
//
// A family that is built adds its layouts here and its rows to the id table in
// command_fields.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "shared/command_fields.h"

namespace wdx::cmd {

// Forms of the tags with one form: their fields, then ">"; or their fields, the last of which
// is a text whose own closing byte ends the tag (and the tags without fields).
inline constexpr CommandForm kEndsWithGt[] = {{kAllFields, 0, ">"}};
inline constexpr CommandForm kEndsWithField[] = {{kAllFields, 0, ""}};

using K = FieldKind;

// Tags of one field: the delays and speeds, "<ALT:", "<ALT4:", "<TOG:", "<VARSR:", "<REM:",
// "<DIS:".
inline constexpr std::uint8_t kOnly = 0;

// --- Keystrokes: Alt + keypad codes and the lock keys
inline constexpr FieldSpec kAltFields[] = {{"code", 5, 3, K::kDigits}};
inline constexpr FieldSpec kAlt4Fields[] = {{"code", 6, 4, K::kDigits}};
inline constexpr FieldSpec kTogFields[] = {{"kind", 5, 1, K::kDigits}};
inline constexpr CommandLayout kAlt{false, kAltFields, kEndsWithGt};
inline constexpr CommandLayout kAlt4{false, kAlt4Fields, kEndsWithGt};
inline constexpr CommandLayout kTog{false, kTogFields, kEndsWithGt};

// --- Delays and speed
inline constexpr FieldSpec kTdelayFields[] = {{"seconds", 8, 2, K::kDigits}};
inline constexpr FieldSpec kItdelayFields[] = {{"seconds", 9, 2, K::kDigits}};
inline constexpr FieldSpec kDelayFields[] = {{"seconds", 7, 5, K::kReal, '\0', 2}};
inline constexpr FieldSpec kIdelayFields[] = {{"seconds", 8, 5, K::kReal, '\0', 2}};
inline constexpr FieldSpec kSpeedFields[] = {{"factor", 7, 5, K::kReal, '\0', 2}};
inline constexpr FieldSpec kMsdFields[] = {{"milliseconds", 5, 4, K::kDigits}};
inline constexpr FieldSpec kImsdFields[] = {{"milliseconds", 6, 4, K::kDigits}};
inline constexpr FieldSpec kSpkeyFields[] = {{"milliseconds", 7, 4, K::kDigits}};
inline constexpr CommandLayout kTdelay{false, kTdelayFields, kEndsWithGt};
inline constexpr CommandLayout kItdelay{false, kItdelayFields, kEndsWithGt};
inline constexpr CommandLayout kDelay{false, kDelayFields, kEndsWithGt};
inline constexpr CommandLayout kIdelay{false, kIdelayFields, kEndsWithGt};
inline constexpr CommandLayout kSpeed{false, kSpeedFields, kEndsWithGt};
inline constexpr CommandLayout kMsd{false, kMsdFields, kEndsWithGt};
inline constexpr CommandLayout kImsd{false, kImsdFields, kEndsWithGt};
inline constexpr CommandLayout kSpkey{false, kSpkeyFields, kEndsWithGt};
inline constexpr CommandLayout kSpmse{false, kSpkeyFields, kEndsWithGt};

// --- Pause
namespace pause_at {
enum : std::uint8_t { kTop, kLeft, kMessage };
inline constexpr FieldSpec kFields[] = {
    {"top", 7, 3, K::kDigits}, {"left", 11, 3, K::kDigits, ','}, {"message", 14, 255, K::kText}};
}  // namespace pause_at
inline constexpr CommandLayout kPauseAt{false, pause_at::kFields, kEndsWithField};

// --- Remarks and disabled commands
inline constexpr FieldSpec kRemFields[] = {{"text", 5, 0, K::kText}};
inline constexpr FieldSpec kDisFields[] = {{"command", 5, 0, K::kText02}};
inline constexpr CommandLayout kRem{false, kRemFields, kEndsWithField};
inline constexpr CommandLayout kDis{false, kDisFields, kEndsWithField};

// --- Variables
inline constexpr FieldSpec kVarsrFields[] = {{"code", 7, 2, K::kDigits}};
inline constexpr CommandLayout kVarsr{false, kVarsrFields, kEndsWithGt};

namespace nmvar {
enum : std::uint8_t { kOperation, kVariable, kFlagA, kValueA, kFlagB, kValueB };
inline constexpr FieldSpec kFields[] = {{"operation", 7, 2, K::kDigits},     {"variable", 10, 2, K::kDigits, ':'},
                                        {"flag A", 13, 1, K::kLetter, ':'},  {"value A", 15, 7, K::kSigned, ':'},
                                        {"flag B", 23, 1, K::kLetter, ':'},  {"value B", 25, 7, K::kSigned, ':'}};
}  // namespace nmvar
inline constexpr CommandLayout kNmvar{false, nmvar::kFields, kEndsWithGt};

namespace dmvar {
enum : std::uint8_t { kOperation, kVariable, kFlagA, kValueA, kFlagB, kValueB };
inline constexpr FieldSpec kFields[] = {{"operation", 7, 2, K::kDigits},        {"variable", 10, 2, K::kDigits, ':'},
                                        {"flag A", 13, 1, K::kLetter, ':'},     {"value A", 15, 20, K::kReal, ':', 6},
                                        {"flag B", 36, 1, K::kLetter, ':'},     {"value B", 38, 20, K::kReal, ':', 6}};
}  // namespace dmvar
inline constexpr CommandLayout kDmvar{false, dmvar::kFields, kEndsWithGt};

namespace tmvar {
enum : std::uint8_t { kOperation, kVariable, kOther, kStart, kCount, kText };
inline constexpr FieldSpec kFields[] = {{"operation", 7, 2, K::kDigits},         {"variable", 10, 2, K::kDigits, ':'},
                                        {"other variable", 13, 2, K::kDigits, ':'}, {"start", 16, 3, K::kNumberOrN, ':'},
                                        {"count", 20, 3, K::kNumberOrN, ':'},    {"text", 24, 255, K::kText, ':'}};
}  // namespace tmvar
inline constexpr CommandLayout kTmvar{false, tmvar::kFields, kEndsWithField};

// --- Repeat and if blocks (the block body is no part of the tag)
namespace repeat {
enum : std::uint8_t { kCount };
inline constexpr FieldSpec kFields[] = {{"count", 8, 4, K::kDigits}};
}  // namespace repeat
inline constexpr CommandLayout kRepeat{false, repeat::kFields, kEndsWithGt};

namespace rep {
enum : std::uint8_t { kCount, kStart, kStep };
inline constexpr FieldSpec kFields[] = {
    {"count", 5, 4, K::kDigits}, {"start", 10, 6, K::kSigned, ':'}, {"step", 17, 6, K::kSigned, ':'}};
}  // namespace rep
inline constexpr CommandLayout kRep{false, rep::kFields, kEndsWithGt};

// "<REP3:": kind, then fields B, C, D, E, F whose meaning follows the kind (counted: start,
// step, count, store-the-pass flag, its integer variable; until: comparison, variable kind,
// variable; folder: mode, -, text variable), then the text (until: the value; folder: the
// folder).
namespace rep3 {
enum : std::uint8_t { kKind, kB, kC, kD, kE, kF, kText };
inline constexpr FieldSpec kFields[] = {{"kind", 6, 2, K::kDigits},       {"B", 9, 6, K::kSigned, ':'},
                                        {"C", 16, 6, K::kSigned, ':'},     {"D", 23, 4, K::kSigned, ':'},
                                        {"E", 28, 1, K::kLetter, ':'},     {"F", 30, 2, K::kDigits, ':'},
                                        {"text", 33, 255, K::kText, ':'}};
}  // namespace rep3
inline constexpr CommandLayout kRep3{false, rep3::kFields, kEndsWithField};

namespace ifvar {
enum : std::uint8_t { kType, kVariable, kComparison, kValue };
inline constexpr FieldSpec kFields[] = {{"type", 7, 1, K::kDigits},
                                        {"variable", 9, 2, K::kDigits, ':'},
                                        {"comparison", 12, 1, K::kDigits, ':'},
                                        {"value", 14, 255, K::kText, ':'}};
}  // namespace ifvar
inline constexpr CommandLayout kIfvar{false, ifvar::kFields, kEndsWithField};

namespace ifoth {
enum : std::uint8_t { kTest, kFlag, kText };
inline constexpr FieldSpec kFields[] = {
    {"test", 7, 2, K::kDigits}, {"flag", 10, 1, K::kLetter, ':'}, {"text", 12, 0, K::kText, ':'}};
}  // namespace ifoth
inline constexpr CommandLayout kIfoth{false, ifoth::kFields, kEndsWithField};

// "<IFMESS:": the button kind, then four texts each ended by 0x01, then one character (">").
namespace ifmess {
enum : std::uint8_t { kButtons, kCaption, kQuestion, kFirst, kSecond };
inline constexpr FieldSpec kFields[] = {{"buttons", 8, 1, K::kDigits},
                                        {"caption", 10, 255, K::kText01, ':'},
                                        {"question", kFollows, 255, K::kText01},
                                        {"first button", kFollows, 255, K::kText01},
                                        {"second button", kFollows, 255, K::kText01}};
}  // namespace ifmess
inline constexpr CommandLayout kIfmess{false, ifmess::kFields, kEndsWithGt};

// --- Macro control: a macro's nickname, or a library file, up to ">".
inline constexpr FieldSpec kMacrunFields[] = {{"nickname", 8, 255, K::kText}};
inline constexpr FieldSpec kMacdeactFields[] = {{"nickname", 10, 255, K::kText}};
inline constexpr FieldSpec kSwapFields[] = {{"library", 6, 255, K::kText}};
inline constexpr CommandLayout kMacrun{false, kMacrunFields, kEndsWithField};
inline constexpr CommandLayout kMacdel{false, kMacrunFields, kEndsWithField};
inline constexpr CommandLayout kMacact{false, kMacrunFields, kEndsWithField};
inline constexpr CommandLayout kMacdeact{false, kMacdeactFields, kEndsWithField};
inline constexpr CommandLayout kSwap{false, kSwapFields, kEndsWithField};
// --- Run-time prompts
// "<PASSP:": the enciphered password (hexadecimal pairs) up to the ">".
namespace passp {
enum : std::uint8_t { kPassword };
inline constexpr FieldSpec kFields[] = {{"password", 7, 0, K::kText}};
}  // namespace passp
inline constexpr CommandLayout kPassp{false, passp::kFields, kEndsWithField};

// "<MENU:": the kind (1 radio buttons, 2 check boxes), the text variable that gets the choice,
// then the title, the message and the items (CR LF between them), each ended by 0x01, then ">".
namespace menu {
enum : std::uint8_t { kKind, kVariable, kTitle, kMessage, kItems };
inline constexpr FieldSpec kFields[] = {{"kind", 6, 2, K::kDigits},
                                        {"variable", 9, 2, K::kDigits, ':'},
                                        {"title", 12, 255, K::kText01, ':'},
                                        {"message", kFollows, 255, K::kText01},
                                        {"items", kFollows, 0, K::kText01}};
}  // namespace menu
inline constexpr CommandLayout kMenu{false, menu::kFields, kEndsWithGt};

// --- Variables set from a source: "<TVAR:", "<IVAR:", "<DVAR:" name the variable and the
// source; the text says what the source reads (a text variable's text has no length limit).
namespace var_source {
enum : std::uint8_t { kVariable, kSource, kText };
inline constexpr FieldSpec kTextFields[] = {
    {"variable", 6, 2, K::kDigits}, {"source", 9, 2, K::kDigits, ':'}, {"text", 12, 0, K::kText, ':'}};
inline constexpr FieldSpec kNumberFields[] = {
    {"variable", 6, 2, K::kDigits}, {"source", 9, 2, K::kDigits, ':'}, {"text", 12, 255, K::kText, ':'}};
}  // namespace var_source
inline constexpr CommandLayout kTvar{false, var_source::kTextFields, kEndsWithField};
inline constexpr CommandLayout kIvar{false, var_source::kNumberFields, kEndsWithField};
inline constexpr CommandLayout kDvar{false, var_source::kNumberFields, kEndsWithField};

// --- Date and time tags ("<" + format name + "{" is the keyword): leading zeros, then for a
// date the direction ("F" later, "P" earlier) and the days, then the text variable that
// receives the result. The short forms end after the zeros or after the days.
namespace date_tag {
enum : std::uint8_t { kZeros, kDirection, kDays, kVariable };
inline constexpr FieldSpec kFields[] = {{"zeros", 0, 1, K::kLetter},
                                        {"direction", 1, 1, K::kLetter},
                                        {"days", 2, 3, K::kDigits},
                                        {"variable", 6, 2, K::kDigits, '}'}};
inline constexpr CommandForm kForms[] = {{1, 2, "}>"}, {3, 6, "}>"}, {4, 0, ">"}};
}  // namespace date_tag
inline constexpr CommandLayout kDateTag{true, date_tag::kFields, date_tag::kForms};

namespace time_tag {
enum : std::uint8_t { kZeros, kVariable };
inline constexpr FieldSpec kFields[] = {{"zeros", 0, 1, K::kLetter}, {"variable", 2, 2, K::kDigits, '}'}};
inline constexpr CommandForm kForms[] = {{1, 2, "}>"}, {2, 0, ">"}};
}  // namespace time_tag
inline constexpr CommandLayout kTimeTag{true, time_tag::kFields, time_tag::kForms};

// --- Window commands: the window (a title, part of one, or "CURRENT" in double quotes) is the
// text after the numbers, up to ">". Numbers may name an integer variable ("005N", "0005N").
namespace window_only {
enum : std::uint8_t { kWindow };
}  // namespace window_only
inline constexpr FieldSpec kWindowAt6Fields[] = {{"window", 6, 0, K::kText}};
inline constexpr FieldSpec kWindowAt7Fields[] = {{"window", 7, 0, K::kText}};
inline constexpr FieldSpec kWindowAt9Fields[] = {{"window", 9, 0, K::kText}};
inline constexpr FieldSpec kWindowAt10Fields[] = {{"window", 10, 0, K::kText}};
inline constexpr CommandLayout kWindowAt6{false, kWindowAt6Fields, kEndsWithField};
inline constexpr CommandLayout kWindowAt7{false, kWindowAt7Fields, kEndsWithField};
inline constexpr CommandLayout kWindowAt9{false, kWindowAt9Fields, kEndsWithField};
inline constexpr CommandLayout kWindowAt10{false, kWindowAt10Fields, kEndsWithField};

namespace window_pair {
enum : std::uint8_t { kFirst, kSecond, kWindow };
}  // namespace window_pair
inline constexpr FieldSpec kWsizeFields[] = {
    {"width", 7, 4, K::kNumberN}, {"height", 12, 4, K::kNumberN, ','}, {"window", 16, 0, K::kText}};
inline constexpr FieldSpec kWsizeByFields[] = {
    {"width", 10, 4, K::kNumberN}, {"height", 15, 4, K::kNumberN, ','}, {"window", 19, 0, K::kText}};
inline constexpr FieldSpec kWposFields[] = {
    {"left", 6, 4, K::kNumberN}, {"top", 11, 4, K::kNumberN, ','}, {"window", 15, 0, K::kText}};
inline constexpr FieldSpec kWpos2Fields[] = {
    {"left", 7, 5, K::kNumberN}, {"top", 13, 5, K::kNumberN, ','}, {"window", 18, 0, K::kText}};
inline constexpr FieldSpec kWpos2ByFields[] = {
    {"left", 10, 5, K::kNumberN}, {"top", 16, 5, K::kNumberN, ','}, {"window", 21, 0, K::kText}};
inline constexpr CommandLayout kWsize{false, kWsizeFields, kEndsWithField};
inline constexpr CommandLayout kWsizeBy{false, kWsizeByFields, kEndsWithField};
inline constexpr CommandLayout kWpos{false, kWposFields, kEndsWithField};
inline constexpr CommandLayout kWpos2{false, kWpos2Fields, kEndsWithField};
inline constexpr CommandLayout kWpos2By{false, kWpos2ByFields, kEndsWithField};

// --- Dial-up: the user name, the stored password (stored_password.h) and the phone-book
// entry, each up to ">". The block of "<DIAL2:<NAME:" is no part of the tag.
namespace dial {
enum : std::uint8_t { kUser, kPassword, kEntry };
inline constexpr FieldSpec kFields[] = {{"user", 12, 255, K::kText},
                                        {"password", kFollows, 255, K::kText, '\0', 0, "<PASS:"},
                                        {"entry", kFollows, 255, K::kText}};
inline constexpr FieldSpec kIfFields[] = {{"user", 13, 255, K::kText},
                                          {"password", kFollows, 255, K::kText, '\0', 0, "<PASS:"},
                                          {"entry", kFollows, 255, K::kText}};
}  // namespace dial
inline constexpr CommandLayout kDial{false, dial::kFields, kEndsWithField};
inline constexpr CommandLayout kDial2{false, dial::kIfFields, kEndsWithField};

// --- Network drives: the option letters ("P" permanent, "S" show the status; "F" forced for a
// disconnection) up to ":", then for a connection or a toggle the user name, the stored
// password (stored_password.h) and the drive with the network path ("F:" + path), for a
// disconnection the drive.
namespace net_drive {
enum : std::uint8_t { kOptions, kUser, kPassword, kConnection };
enum : std::uint8_t { kDrive = 1 };
inline constexpr char kPermanent = 'P';
inline constexpr char kShowStatus = 'S';
inline constexpr char kForce = 'F';
inline constexpr FieldSpec kConnectFields[] = {{"options", 4, 2, K::kOptions},
                                               {"user", kFollows, 255, K::kText, '\0', 0, "<NAME:"},
                                               {"password", kFollows, 255, K::kText, '\0', 0, "<PASS:"},
                                               {"connection", kFollows, 255, K::kText}};
inline constexpr FieldSpec kDisconnectFields[] = {{"options", 4, 3, K::kOptions}, {"drive", kFollows, 255, K::kText}};
}  // namespace net_drive
inline constexpr CommandLayout kNwc{false, net_drive::kConnectFields, kEndsWithField};
inline constexpr CommandLayout kNwt{false, net_drive::kConnectFields, kEndsWithField};
inline constexpr CommandLayout kNwd{false, net_drive::kDisconnectFields, kEndsWithField};
// --- File loops: "<ADFBEG:" (records of a delimited file into consecutive text variables from
// the first one) and "<BTFBEG:" (lines into one text variable); start is the first record
// played (1-based) and count how many (0: all), each a number or "N" + an integer variable.
namespace file_loop {
enum : std::uint8_t { kVariable, kStart, kCount, kFile };
inline constexpr FieldSpec kFields[] = {{"variable", 8, 3, K::kDigits},
                                        {"start", 12, 6, K::kNumberOrN, ':'},
                                        {"count", 19, 6, K::kNumberOrN, ':'},
                                        {"file", 26, 255, K::kText, ':'}};
}  // namespace file_loop
inline constexpr CommandLayout kAdfbeg{false, file_loop::kFields, kEndsWithField};
inline constexpr CommandLayout kBtfbeg{false, file_loop::kFields, kEndsWithField};

// --- Logs: "<LOGERR:" "Y" logs failures without showing them; "<LOGFILE:" writes the message
// to the error log ("Y") or to the file, with a date and time stamp ("Y").
namespace logerr {
enum : std::uint8_t { kLogOnly };
inline constexpr FieldSpec kFields[] = {{"log only", 8, 1, K::kLetter}};
}  // namespace logerr
inline constexpr CommandLayout kLogerr{false, logerr::kFields, kEndsWithGt};
namespace logfile {
enum : std::uint8_t { kToErrorLog, kStamp, kFile, kMessage };
inline constexpr FieldSpec kFields[] = {{"error log", 9, 1, K::kLetter},
                                        {"stamp", 10, 1, K::kLetter},
                                        {"file", 12, 255, K::kText01, ':'},
                                        {"message", kFollows, 255, K::kText01}};
}  // namespace logfile
inline constexpr CommandLayout kLogfile{false, logfile::kFields, kEndsWithGt};

// --- Enciphered and file text: the cipher text (hexadecimal pairs) played or put into a text
// variable, and a text file played.
namespace etext {
enum : std::uint8_t { kCipher };
inline constexpr FieldSpec kFields[] = {{"cipher", 7, 0, K::kText}};
}  // namespace etext
namespace etext2 {
enum : std::uint8_t { kVariable, kCipher };
inline constexpr FieldSpec kFields[] = {{"variable", 8, 2, K::kDigits}, {"cipher", 11, 0, K::kText, ':'}};
}  // namespace etext2
inline constexpr FieldSpec kTfileFields[] = {{"file", 7, 255, K::kText}};
inline constexpr CommandLayout kEtext{false, etext::kFields, kEndsWithField};
inline constexpr CommandLayout kEtext2{false, etext2::kFields, kEndsWithField};
inline constexpr CommandLayout kTfile{false, kTfileFields, kEndsWithField};

// --- Text boxes: "<TBOX2:" centred ("Y") or at top and left, its size, its type (1 waits for
// Ok, 2 closes after the seconds, 3 floats), the header and the body; "<TBOX:<HEAD:" the older
// modal box; "<TBCLOSE:" closes the box with that header.
namespace tbox2 {
enum : std::uint8_t { kCentred, kTop, kLeft, kWidth, kHeight, kType, kSeconds, kHeader, kBody };
inline constexpr FieldSpec kFields[] = {{"centred", 7, 1, K::kLetter},
                                        {"top", 9, 5, K::kDigits, ':'},
                                        {"left", 15, 5, K::kDigits, ':'},
                                        {"width", 21, 3, K::kDigits, ':'},
                                        {"height", 25, 3, K::kDigits, ':'},
                                        {"type", 29, 2, K::kDigits, ':'},
                                        {"seconds", 32, 3, K::kDigits, ':'},
                                        {"header", 36, 255, K::kText01, ':'},
                                        {"body", kFollows, 0, K::kText01}};
}  // namespace tbox2
inline constexpr CommandLayout kTbox2{false, tbox2::kFields, kEndsWithGt};
namespace tbox_head {
enum : std::uint8_t { kHeader, kBody };
inline constexpr FieldSpec kFields[] = {{"header", 12, 255, K::kText}, {"body", kFollows, 0, K::kText}};
}  // namespace tbox_head
inline constexpr CommandLayout kTboxHead{false, tbox_head::kFields, kEndsWithField};
inline constexpr FieldSpec kTbcloseFields[] = {{"header", 9, 255, K::kText01}};
inline constexpr CommandLayout kTbclose{false, kTbcloseFields, kEndsWithGt};

// --- Files and folders: one path up to ">", or two ("<COPYFILE:", "<RENFILE:") with ";"
// between; "<DOFILE:" an operation (01 change folder, 02 create folder, 03 rename folder, 04
// delete folder, 05 copy, 06 rename, 07 move, 08 delete files), the progress and recursion
// options and two paths, each ended by ">" (the second one empty where one path is enough).
namespace one_path {
enum : std::uint8_t { kPath };
}  // namespace one_path
namespace two_paths {
enum : std::uint8_t { kFrom, kTo };
}  // namespace two_paths
inline constexpr FieldSpec kPathAt7Fields[] = {{"path", 7, 255, K::kText}};
inline constexpr FieldSpec kPathAt9Fields[] = {{"path", 9, 255, K::kText}};
inline constexpr FieldSpec kCopyfileFields[] = {{"source", 10, 255, K::kTextSemi}, {"destination", kFollows, 255, K::kText}};
inline constexpr FieldSpec kRenfileFields[] = {{"old name", 9, 255, K::kTextSemi}, {"new name", kFollows, 255, K::kText}};
inline constexpr FieldSpec kPathAt8Fields[] = {{"path", 8, 255, K::kText}};
inline constexpr CommandLayout kChdir{false, kPathAt7Fields, kEndsWithField};
inline constexpr CommandLayout kMkdir{false, kPathAt7Fields, kEndsWithField};
inline constexpr CommandLayout kDelfile{false, kPathAt9Fields, kEndsWithField};
inline constexpr CommandLayout kCopyfile{false, kCopyfileFields, kEndsWithField};
inline constexpr CommandLayout kRenfile{false, kRenfileFields, kEndsWithField};
namespace dofile {
enum : std::uint8_t { kOperation, kProgress, kRecursion, kFirst, kSecond };
enum Operation : std::int32_t {
  kChangeFolder = 1, kCreateFolder, kRenameFolder, kDeleteFolder, kCopy, kRename, kMove, kDelete
};
inline constexpr FieldSpec kFields[] = {{"operation", 8, 2, K::kDigits},
                                        {"progress", 11, 1, K::kLetter, ':'},
                                        {"recursion", 12, 1, K::kLetter},
                                        {"first path", 14, 255, K::kText, ':'},
                                        {"second path", kFollows, 255, K::kText}};
}  // namespace dofile
inline constexpr CommandLayout kDofile{false, dofile::kFields, kEndsWithField};
// --- Program launch: the launch field holds the program or document, optionally "<PARAM>" and
// the parameters, and optionally a show-mode digit and the byte 0x01 at its end. The forms that
// wait for a window give its title (ended by "<LAUNCH:") before it; delays and time-outs are
// seconds.
namespace launch {
enum : std::uint8_t { kTarget };
inline constexpr FieldSpec kFields[] = {{"launch", 8, 0, K::kLaunchTarget}};
}  // namespace launch
namespace launch_delayed {
enum : std::uint8_t { kDelay, kTarget };
inline constexpr FieldSpec kFields[] = {{"delay", 11, 2, K::kDigits}, {"launch", 13, 0, K::kLaunchTarget}};
}  // namespace launch_delayed
namespace launch_waiting {
enum : std::uint8_t { kDelay, kTitle, kTarget };
inline constexpr FieldSpec kNoFields[] = {
    {"delay", 10, 2, K::kDigits}, {"title", 12, 0, K::kTextLt}, {"launch", kFollows, 0, K::kLaunchTarget, '\0', 0, "LAUNCH:"}};
inline constexpr FieldSpec kYesFields[] = {
    {"delay", 11, 2, K::kDigits}, {"title", 13, 0, K::kTextLt}, {"launch", kFollows, 0, K::kLaunchTarget, '\0', 0, "LAUNCH:"}};
}  // namespace launch_waiting
namespace launch_timed {
enum : std::uint8_t { kDelay, kTimeout, kTitle, kTarget };
inline constexpr FieldSpec kNoFields[] = {{"delay", 11, 2, K::kDigits},
                                          {"time-out", 13, 2, K::kDigits},
                                          {"title", 15, 0, K::kTextLt},
                                          {"launch", kFollows, 0, K::kLaunchTarget, '\0', 0, "LAUNCH:"}};
inline constexpr FieldSpec kYesFields[] = {{"delay", 12, 2, K::kDigits},
                                           {"time-out", 14, 2, K::kDigits},
                                           {"title", 16, 0, K::kTextLt},
                                           {"launch", kFollows, 0, K::kLaunchTarget, '\0', 0, "LAUNCH:"}};
}  // namespace launch_timed
inline constexpr CommandLayout kLaunch{false, launch::kFields, kEndsWithField};
inline constexpr CommandLayout kLaunchdel{false, launch_delayed::kFields, kEndsWithField};
inline constexpr CommandLayout kLaunchno{false, launch_waiting::kNoFields, kEndsWithField};
inline constexpr CommandLayout kLaunchyes{false, launch_waiting::kYesFields, kEndsWithField};
inline constexpr CommandLayout kLaunchno2{false, launch_timed::kNoFields, kEndsWithField};
inline constexpr CommandLayout kLaunchyes2{false, launch_timed::kYesFields, kEndsWithField};
// "<HTTP:", "<FTP:", "<EXPLORE:": an address or a folder up to ">".
inline constexpr FieldSpec kHttpFields[] = {{"address", 6, 0, K::kText}};
inline constexpr FieldSpec kFtpFields[] = {{"address", 5, 0, K::kText}};
inline constexpr CommandLayout kHttp{false, kHttpFields, kEndsWithField};
inline constexpr CommandLayout kFtp{false, kFtpFields, kEndsWithField};
inline constexpr CommandLayout kExplore{false, kWindowAt9Fields, kEndsWithField};

// --- Mouse: the wheel's steps; the moves' x and y in pixels (a sign and a fraction allowed), or
// an integer variable's number and "N" ("0003N").
namespace mouse_move {
enum : std::uint8_t { kX, kY };
inline constexpr FieldSpec kFields[] = {{"x", 5, 5, K::kNumberN}, {"y", 11, 5, K::kNumberN, ','}};
}  // namespace mouse_move
inline constexpr FieldSpec kWheelFields[] = {{"steps", 5, 3, K::kDigits}};
inline constexpr CommandLayout kWheel{false, kWheelFields, kEndsWithGt};
inline constexpr CommandLayout kMouseMove{false, mouse_move::kFields, kEndsWithGt};

// --- Waits: the time-out in minutes (0: none), then what is waited for up to ">" (a window
// title, a program name, a text, or the number 0..53 of a key); the mouse waits have the
// minutes alone, "<WAITTIME:" its seconds.
namespace wait_for {
enum : std::uint8_t { kMinutes, kWhat };
}  // namespace wait_for
inline constexpr FieldSpec kWaitAt9Fields[] = {{"minutes", 9, 3, K::kDigits}, {"what", 13, 255, K::kText, ':'}};
inline constexpr FieldSpec kWaitAt10Fields[] = {{"minutes", 10, 3, K::kDigits}, {"what", 14, 255, K::kText, ':'}};
inline constexpr FieldSpec kWaitKeyFields[] = {{"minutes", 9, 3, K::kDigits}, {"key", 13, 2, K::kText, ':'}};
inline constexpr FieldSpec kWaitMouseFields[] = {{"minutes", 8, 3, K::kDigits}};
inline constexpr FieldSpec kWaittimeFields[] = {{"seconds", 10, 8, K::kDigits}};
inline constexpr CommandLayout kWaitAt9{false, kWaitAt9Fields, kEndsWithField};
inline constexpr CommandLayout kWaitAt10{false, kWaitAt10Fields, kEndsWithField};
inline constexpr CommandLayout kWaitKey{false, kWaitKeyFields, kEndsWithField};
inline constexpr CommandLayout kWaitMouse{false, kWaitMouseFields, kEndsWithGt};
inline constexpr CommandLayout kWaittime{false, kWaittimeFields, kEndsWithGt};

// --- System settings: the display mode's number in the system's list, the two-digit settings
// (keyboard delay 0..3, keyboard speed 0..31, screen-saver minutes, border width), the keyboard
// delay's one-digit form, and the wallpaper's file (with its place for "<WALLP:").
inline constexpr FieldSpec kScreenFields[] = {{"mode", 8, 3, K::kDigits}};
inline constexpr FieldSpec kTwoDigitSettingFields[] = {{"value", 8, 2, K::kDigits}};
inline constexpr FieldSpec kOneDigitSettingFields[] = {{"value", 8, 1, K::kDigits}};
inline constexpr CommandLayout kScreen{false, kScreenFields, kEndsWithGt};
inline constexpr CommandLayout kTwoDigitSetting{false, kTwoDigitSettingFields, kEndsWithGt};
inline constexpr CommandLayout kOneDigitSetting{false, kOneDigitSettingFields, kEndsWithGt};
namespace wallpaper {
enum : std::uint8_t { kFile };
inline constexpr FieldSpec kFields[] = {{"file", 7, 255, K::kText}};
}  // namespace wallpaper
inline constexpr CommandLayout kWallpaper{false, wallpaper::kFields, kEndsWithField};
namespace wallp {
enum : std::uint8_t { kX, kY, kFile };
inline constexpr FieldSpec kFields[] = {
    {"x", 7, 4, K::kDigits}, {"y", 12, 4, K::kDigits, ','}, {"file", 16, 255, K::kText}};
}  // namespace wallp
inline constexpr CommandLayout kWallp{false, wallp::kFields, kEndsWithField};
// "<DEFPRT:": the printer's name as the system lists it.
inline constexpr FieldSpec kDefprtFields[] = {{"printer", 8, 255, K::kText}};
inline constexpr CommandLayout kDefprt{false, kDefprtFields, kEndsWithField};

// "<CPRUN:": the applet's file ended by ":" and the start tab's digit, then ">". The applets of
// the system's Control Panel that both programs know; another name is run only when it is a
// plain applet file name.
namespace cprun {
enum : std::uint8_t { kApplet, kTab };
inline constexpr FieldSpec kFields[] = {{"applet", 7, 0, K::kOptions}, {"start tab", kFollows, 1, K::kLetter}};
struct Applet {
  std::string_view name;
  std::string_view file;
};
inline constexpr Applet kApplets[] = {
    {"Accessibility Options", "access.cpl"},
    {"Add/Remove Program Properties", "appwiz.cpl"},
    {"Console Window Properties", "console.cpl"},
    {"Date/Time Properties", "timedate.cpl"},
    {"Dialing Properties (NT)", "telephon.cpl"},
    {"Dialup Networking Monitor (NT)", "rascpl.cpl"},
    {"Display Properties", "desk.cpl"},
    {"Internet Settings", "inetcpl.cpl"},
    {"Modem Properties", "modem.cpl"},
    {"Mouse Properties", "main.cpl"},
    {"Multimedia Properties", "mmsys.cpl"},
    {"Network (NT)", "ncpa.cpl"},
    {"Network (95)", "netcpl.cpl"},
    {"Ports (NT)", "ports.cpl"},
    {"Regional Setting Properties", "intl.cpl"},
    {"System Properties", "sysdm.cpl"},
};
}  // namespace cprun
inline constexpr CommandLayout kCprun{false, cprun::kFields, kEndsWithGt};

// --- Sound and video: the wave file or the clip, up to ">".
namespace media_file {
enum : std::uint8_t { kFile };
}  // namespace media_file
inline constexpr FieldSpec kFileAt5Fields[] = {{"file", 5, 255, K::kText}};
inline constexpr FieldSpec kFileAt6Fields[] = {{"file", 6, 255, K::kText}};
inline constexpr CommandLayout kWav{false, kFileAt6Fields, kEndsWithField};
inline constexpr CommandLayout kAvi{false, kFileAt5Fields, kEndsWithField};
inline constexpr CommandLayout kAviAt6{false, kFileAt6Fields, kEndsWithField};

// --- CD audio: the drive part (a flag and a drive letter: flag "F" the letter's drive, any
// other flag the first CD drive) and the two-digit track or seconds.
namespace cd {
enum : std::uint8_t { kFlag, kDrive, kNumber };
inline constexpr char kChosenDrive = 'F';
inline constexpr char kFirstDrive = 'T';
inline constexpr FieldSpec kDriveAt8Fields[] = {{"flag", 8, 1, K::kLetter}, {"drive", 9, 1, K::kLetter}};
inline constexpr FieldSpec kDriveAt9Fields[] = {{"flag", 9, 1, K::kLetter}, {"drive", 10, 1, K::kLetter}};
inline constexpr FieldSpec kNumberFields[] = {{"number", 8, 2, K::kDigits}};
inline constexpr FieldSpec kDriveNumberFields[] = {
    {"flag", 8, 1, K::kLetter}, {"drive", 9, 1, K::kLetter}, {"number", 10, 2, K::kDigits}};
}  // namespace cd
inline constexpr CommandLayout kCdDriveAt8{false, cd::kDriveAt8Fields, kEndsWithGt};
inline constexpr CommandLayout kCdDriveAt9{false, cd::kDriveAt9Fields, kEndsWithGt};
inline constexpr CommandLayout kCdNumber{false, cd::kNumberFields, kEndsWithGt};
inline constexpr CommandLayout kCdDriveNumber{false, cd::kDriveNumberFields, kEndsWithGt};

// --- Keys held down or let go: the key action 1..8 of the editor (Ctrl down, Ctrl up, Alt
// down, Alt up, Shift down, Shift up, Win down, Win up) and the tag each one writes. The short
// spellings "<CTLD>", "<CTLU>", "<SHFD>", "<SHFU>" read as the same actions.
namespace key_action {
inline constexpr TagId kTags[] = {TagId::kCtrld, TagId::kCtrlu,  TagId::kAltd, TagId::kAltu,
                                  TagId::kShiftd, TagId::kShiftu, TagId::kWind, TagId::kWinu};
inline constexpr int kFirst = 1;
inline constexpr int kLast = 8;
// The tag an action writes; nullopt outside 1..8.
constexpr std::optional<TagId> TagOf(int action) {
  if (action < kFirst || action > kLast) return std::nullopt;
  return kTags[action - kFirst];
}
// The action a key tag stands for; 0 for any other tag.
constexpr int Of(TagId id) {
  if (id == TagId::kCtld) return 1;
  if (id == TagId::kCtlu) return 2;
  if (id == TagId::kShfd) return 5;
  if (id == TagId::kShfu) return 6;
  for (int i = 0; i < kLast; ++i) {
    if (kTags[i] == id) return i + kFirst;
  }
  return 0;
}
}  // namespace key_action

// --- Lock keys: the one digit of "<TOG:" (Caps Lock on, off, Num Lock on, off, Scroll Lock on,
// off); the player acts on no other digit.
namespace lock_key {
enum : std::uint8_t { kCapsOn = 1, kCapsOff, kNumOn, kNumOff, kScrollOn, kScrollOff };
inline constexpr int kFirst = kCapsOn;
inline constexpr int kLast = kScrollOff;
}  // namespace lock_key

// --- The case of the selected block: upper, lower, swapped.
namespace block_case {
enum Kind : std::uint8_t { kUpper, kLower, kToggle };
inline constexpr TagId kTags[] = {TagId::kUppblock, TagId::kLowblock, TagId::kTogblock};
}  // namespace block_case

// --- Remarks: the longest comment that keeps "<REM:" + comment + ">" within a short text.
inline constexpr std::size_t kRemarkMaxLength = 255 - 6;

// --- Clipboard: the file a text or picture comes from ("<CLIPF:", "<CLIPB:") or goes to
// ("<CLIPSG:", "<CLIPST:", "<CLIPAT:"; ":PROMPT:" asks for it when the command runs).
inline constexpr char kPromptForFile[] = ":PROMPT:";
inline constexpr CommandLayout kClipf{false, kPathAt7Fields, kEndsWithField};
inline constexpr CommandLayout kClipb{false, kPathAt7Fields, kEndsWithField};
inline constexpr CommandLayout kClipsg{false, kPathAt8Fields, kEndsWithField};
inline constexpr CommandLayout kClipst{false, kPathAt8Fields, kEndsWithField};
inline constexpr CommandLayout kClipat{false, kPathAt8Fields, kEndsWithField};

}  // namespace wdx::cmd
