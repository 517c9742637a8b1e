#include "shared/tag_table.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "shared/date_time_formats.h"

namespace wdx {

namespace {

// Test order of the interpreter's dispatch. No keyword is a prefix of another, so at most one
// keyword matches at a position; the order decides only between the two layouts of the CD
// go-to, step and back commands and of the keyboard delay, told apart by where their ">"
// stands.
constexpr TagInfo kRows[] = {
    {"<TAB>", 0, TagId::kTab, TagFamily::kNamedKey, TagExtent::kKeyword, 5, 0},
    {"<ENTER>", 0, TagId::kEnter, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<RIGHTWIN>", 0, TagId::kRightwin, TagFamily::kNamedKey, TagExtent::kKeyword, 10, 0},
    {"<LEFTWIN>", 0, TagId::kLeftwin, TagFamily::kNamedKey, TagExtent::kKeyword, 9, 0},
    {"<APP>", 0, TagId::kApp, TagFamily::kNamedKey, TagExtent::kKeyword, 5, 0},
    {"<BACKSPACE>", 0, TagId::kBackspace, TagFamily::kNamedKey, TagExtent::kKeyword, 11, 0},
    {"<ESC>", 0, TagId::kEsc, TagFamily::kNamedKey, TagExtent::kKeyword, 5, 0},
    {"<SPACE>", 0, TagId::kSpace, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<LEFT ARROW>", 0, TagId::kLeftArrow, TagFamily::kNamedKey, TagExtent::kKeyword, 12, 0},
    {"<RIGHT ARROW>", 0, TagId::kRightArrow, TagFamily::kNamedKey, TagExtent::kKeyword, 13, 0},
    {"<UP ARROW>", 0, TagId::kUpArrow, TagFamily::kNamedKey, TagExtent::kKeyword, 10, 0},
    {"<DOWN ARROW>", 0, TagId::kDownArrow, TagFamily::kNamedKey, TagExtent::kKeyword, 12, 0},
    {"<TEST>", 0, TagId::kTest, TagFamily::kKeyTest, TagExtent::kKeyword, 6, 0},
    {"<HOME>", 0, TagId::kHome, TagFamily::kNamedKey, TagExtent::kKeyword, 6, 0},
    {"<END>", 0, TagId::kEnd, TagFamily::kNamedKey, TagExtent::kKeyword, 5, 0},
    {"<INSERT>", 0, TagId::kInsert, TagFamily::kNamedKey, TagExtent::kKeyword, 8, 0},
    {"<DELETE>", 0, TagId::kDelete, TagFamily::kNamedKey, TagExtent::kKeyword, 8, 0},
    {"<PAGE DOWN>", 0, TagId::kPageDown, TagFamily::kNamedKey, TagExtent::kKeyword, 11, 0},
    {"<PAGE UP>", 0, TagId::kPageUp, TagFamily::kNamedKey, TagExtent::kKeyword, 9, 0},
    {"<CTLD>", 0, TagId::kCtld, TagFamily::kModifierDownUp, TagExtent::kKeyword, 6, 0},
    {"<CTRLD>", 0, TagId::kCtrld, TagFamily::kModifierDownUp, TagExtent::kKeyword, 7, 0},
    {"<CTLU>", 0, TagId::kCtlu, TagFamily::kModifierDownUp, TagExtent::kKeyword, 6, 0},
    {"<CTRLU>", 0, TagId::kCtrlu, TagFamily::kModifierDownUp, TagExtent::kKeyword, 7, 0},
    {"<ALTD>", 0, TagId::kAltd, TagFamily::kModifierDownUp, TagExtent::kKeyword, 6, 0},
    {"<ALTU>", 0, TagId::kAltu, TagFamily::kModifierDownUp, TagExtent::kKeyword, 6, 0},
    {"<SHFD>", 0, TagId::kShfd, TagFamily::kModifierDownUp, TagExtent::kKeyword, 6, 0},
    {"<SHIFTD>", 0, TagId::kShiftd, TagFamily::kModifierDownUp, TagExtent::kKeyword, 8, 0},
    {"<SHFU>", 0, TagId::kShfu, TagFamily::kModifierDownUp, TagExtent::kKeyword, 6, 0},
    {"<SHIFTU>", 0, TagId::kShiftu, TagFamily::kModifierDownUp, TagExtent::kKeyword, 8, 0},
    {"<WIND>", 0, TagId::kWind, TagFamily::kModifierDownUp, TagExtent::kKeyword, 6, 0},
    {"<WINU>", 0, TagId::kWinu, TagFamily::kModifierDownUp, TagExtent::kKeyword, 6, 0},
    {"<RIGHT MOUSE>", 0, TagId::kRightMouse, TagFamily::kMouseButtonKey, TagExtent::kKeyword, 13, 0},
    {"<MIDDLE MOUSE>", 0, TagId::kMiddleMouse, TagFamily::kMouseButtonKey, TagExtent::kKeyword, 14, 0},
    {"<PAUSE:", 0, TagId::kPauseAt, TagFamily::kPause, TagExtent::kPastGt, 14, 1},
    {"<PAUSE>", 0, TagId::kPause, TagFamily::kPause, TagExtent::kKeyword, 7, 0},
    {"<SCREEN:", 11, TagId::kScreen, TagFamily::kSystemSettings, TagExtent::kFixed, 12, 0},
    {"<VARSR:", 9, TagId::kVarsr, TagFamily::kVariables, TagExtent::kFixed, 10, 0},
    {"<KEYDEL:", 10, TagId::kKeydel, TagFamily::kSystemSettings, TagExtent::kFixed, 11, 0},
    {"<KEYDEL:", 9, TagId::kKeydelShort, TagFamily::kSystemSettings, TagExtent::kFixed, 10, 0},
    {"<KEYSPD:", 10, TagId::kKeyspd, TagFamily::kSystemSettings, TagExtent::kFixed, 11, 0},
    {"<SSTIME:", 10, TagId::kSstime, TagFamily::kSystemSettings, TagExtent::kFixed, 11, 0},
    {"<WBSIZE:", 10, TagId::kWbsize, TagFamily::kSystemSettings, TagExtent::kFixed, 11, 0},
    {"<WALLT:", 0, TagId::kWallt, TagFamily::kSystemSettings, TagExtent::kPastGt, 7, 1},
    {"<WALLC:", 0, TagId::kWallc, TagFamily::kSystemSettings, TagExtent::kPastGt, 7, 1},
    {"<WALLS:", 0, TagId::kWalls, TagFamily::kSystemSettings, TagExtent::kPastGt, 7, 1},
    {"<WALLP:", 0, TagId::kWallp, TagFamily::kSystemSettings, TagExtent::kPastGt, 16, 1},
    {"<TBOX2:", 0, TagId::kTbox2, TagFamily::kTextBoxes, TagExtent::kPast01, 36, 2},
    {"<TBOX:<HEAD:", 0, TagId::kTboxHead, TagFamily::kTextBoxes, TagExtent::kPastGt, 12, 2},
    {"<TBCLOSE:", 0, TagId::kTbclose, TagFamily::kTextBoxes, TagExtent::kPast01, 9, 1},
    {"<TDELAY:", 10, TagId::kTdelay, TagFamily::kDelays, TagExtent::kFixed, 11, 0},
    {"<ITDELAY:", 11, TagId::kItdelay, TagFamily::kDelays, TagExtent::kFixed, 12, 0},
    {"<DELAY:", 12, TagId::kDelay, TagFamily::kDelays, TagExtent::kFixed, 13, 0},
    {"<IDELAY:", 13, TagId::kIdelay, TagFamily::kDelays, TagExtent::kFixed, 14, 0},
    {"<SPEED:", 12, TagId::kSpeed, TagFamily::kDelays, TagExtent::kFixed, 13, 0},
    {"<MSD:", 9, TagId::kMsd, TagFamily::kDelays, TagExtent::kFixed, 10, 0},
    {"<IMSD:", 10, TagId::kImsd, TagFamily::kDelays, TagExtent::kFixed, 11, 0},
    {"<CPOPEN>", 0, TagId::kCpopen, TagFamily::kControlPanel, TagExtent::kKeyword, 8, 0},
    {"<CPRUN:", 0, TagId::kCprun, TagFamily::kControlPanel, TagExtent::kControlPanelRun, 7, 0},
    {"<REM:", 0, TagId::kRem, TagFamily::kRemark, TagExtent::kPastGt, 5, 1},
    {"<DIS:", 0, TagId::kDis, TagFamily::kRemark, TagExtent::kDisabled, 5, 0},
    {"<WSHUT:", 0, TagId::kWshut, TagFamily::kWindow, TagExtent::kPastGt, 7, 1},
    {"<WHIDE:", 0, TagId::kWhide, TagFamily::kWindow, TagExtent::kPastGt, 7, 1},
    {"<WSHOW:", 0, TagId::kWshow, TagFamily::kWindow, TagExtent::kPastGt, 7, 1},
    {"<WSIZE:", 0, TagId::kWsize, TagFamily::kWindow, TagExtent::kPastGt, 16, 1},
    {"<WSIZEPIX:", 0, TagId::kWsizepix, TagFamily::kWindow, TagExtent::kPastGt, 19, 1},
    {"<WSIZEPER:", 0, TagId::kWsizeper, TagFamily::kWindow, TagExtent::kPastGt, 19, 1},
    {"<WPOS:", 0, TagId::kWpos, TagFamily::kWindow, TagExtent::kPastGt, 15, 1},
    {"<WPOS2:", 0, TagId::kWpos2, TagFamily::kWindow, TagExtent::kPastGt, 18, 1},
    {"<WPOS2PIX:", 0, TagId::kWpos2pix, TagFamily::kWindow, TagExtent::kPastGt, 21, 1},
    {"<WPOS2PER:", 0, TagId::kWpos2per, TagFamily::kWindow, TagExtent::kPastGt, 21, 1},
    {"<WPOS2TL:", 0, TagId::kWpos2tl, TagFamily::kWindow, TagExtent::kPastGt, 9, 1},
    {"<WPOS2TC:", 0, TagId::kWpos2tc, TagFamily::kWindow, TagExtent::kPastGt, 9, 1},
    {"<WPOS2TR:", 0, TagId::kWpos2tr, TagFamily::kWindow, TagExtent::kPastGt, 9, 1},
    {"<WPOS2LC:", 0, TagId::kWpos2lc, TagFamily::kWindow, TagExtent::kPastGt, 9, 1},
    {"<WPOS2CC:", 0, TagId::kWpos2cc, TagFamily::kWindow, TagExtent::kPastGt, 9, 1},
    {"<WPOS2RC:", 0, TagId::kWpos2rc, TagFamily::kWindow, TagExtent::kPastGt, 9, 1},
    {"<WPOS2BL:", 0, TagId::kWpos2bl, TagFamily::kWindow, TagExtent::kPastGt, 9, 1},
    {"<WPOS2BC:", 0, TagId::kWpos2bc, TagFamily::kWindow, TagExtent::kPastGt, 9, 1},
    {"<WPOS2BR:", 0, TagId::kWpos2br, TagFamily::kWindow, TagExtent::kPastGt, 9, 1},
    {"<ALT:", 8, TagId::kAlt, TagFamily::kAltKeypad, TagExtent::kFixed, 9, 0},
    {"<ALT4:", 10, TagId::kAlt4, TagFamily::kAltKeypad, TagExtent::kFixed, 11, 0},
    {"<IIII>", 0, TagId::kIiii, TagFamily::kRepeatCounter, TagExtent::kKeyword, 6, 0},
    {"<III>", 0, TagId::kIii, TagFamily::kRepeatCounter, TagExtent::kKeyword, 5, 0},
    {"<II>", 0, TagId::kIi, TagFamily::kRepeatCounter, TagExtent::kKeyword, 4, 0},
    {"<I>", 0, TagId::kI, TagFamily::kRepeatCounter, TagExtent::kKeyword, 3, 0},
    {"<CLIPF:", 0, TagId::kClipf, TagFamily::kClipboard, TagExtent::kPastGt, 7, 1},
    {"<CLIPB:", 0, TagId::kClipb, TagFamily::kClipboard, TagExtent::kPastGt, 7, 1},
    {"<CLIPE>", 0, TagId::kClipe, TagFamily::kClipboard, TagExtent::kKeyword, 7, 0},
    {"<CLIPC>", 0, TagId::kClipc, TagFamily::kClipboard, TagExtent::kKeyword, 7, 0},
    {"<CLIPP>", 0, TagId::kClipp, TagFamily::kClipboard, TagExtent::kKeyword, 7, 0},
    {"<BEGCLIP>", 0, TagId::kBegclip, TagFamily::kClipboard, TagExtent::kKeyword, 9, 0},
    {"<CLIPTYPE>", 0, TagId::kCliptype, TagFamily::kClipboard, TagExtent::kKeyword, 10, 0},
    {"<CLIPTYPEI>", 0, TagId::kCliptypei, TagFamily::kClipboard, TagExtent::kKeyword, 11, 0},
    {"<CLIPSG:", 0, TagId::kClipsg, TagFamily::kClipboard, TagExtent::kPastGt, 8, 1},
    {"<CLIPST:", 0, TagId::kClipst, TagFamily::kClipboard, TagExtent::kPastGt, 8, 1},
    {"<CLIPAT:", 0, TagId::kClipat, TagFamily::kClipboard, TagExtent::kPastGt, 8, 1},
    {"<PROMPTREP>", 0, TagId::kPromptrep, TagFamily::kRepeatBlock, TagExtent::kKeyword, 11, 0},
    {"<MACRUN:", 0, TagId::kMacrun, TagFamily::kMacroControl, TagExtent::kPastGt, 8, 1},
    {"<MACDEL:", 0, TagId::kMacdel, TagFamily::kMacroControl, TagExtent::kPastGt, 8, 1},
    {"<MACACT:", 0, TagId::kMacact, TagFamily::kMacroControl, TagExtent::kPastGt, 8, 1},
    {"<MACDEACT:", 0, TagId::kMacdeact, TagFamily::kMacroControl, TagExtent::kPastGt, 10, 1},
    {"<REPEAT:", 12, TagId::kRepeat, TagFamily::kRepeatBlock, TagExtent::kFixed, 13, 0},
    {"<REP:", 23, TagId::kRep, TagFamily::kRepeatBlock, TagExtent::kFixed, 24, 0},
    {"<REP3:", 0, TagId::kRep3, TagFamily::kRepeatBlock, TagExtent::kPastGt, 33, 1},
    {"<IFVAR:", 0, TagId::kIfvar, TagFamily::kIfBlock, TagExtent::kPastGt, 14, 1},
    {"<IFOTH:", 0, TagId::kIfoth, TagFamily::kIfBlock, TagExtent::kPastGt, 12, 1},
    {"<IFMESS:", 0, TagId::kIfmess, TagFamily::kIfBlock, TagExtent::kPast01, 10, 4},
    {"<SPKEY:", 11, TagId::kSpkey, TagFamily::kKeyMouseDelay, TagExtent::kFixed, 12, 0},
    {"<SPMSE:", 11, TagId::kSpmse, TagFamily::kKeyMouseDelay, TagExtent::kFixed, 12, 0},
    {"<SWAP:", 0, TagId::kSwap, TagFamily::kMacroControl, TagExtent::kPastGt, 6, 1},
    {"<WAITWIN:", 0, TagId::kWaitwin, TagFamily::kWaits, TagExtent::kPastGt, 13, 1},
    {"<WAITWLF:", 0, TagId::kWaitwlf, TagFamily::kWaits, TagExtent::kPastGt, 13, 1},
    {"<WAITPROG:", 0, TagId::kWaitprog, TagFamily::kWaits, TagExtent::kPastGt, 14, 1},
    {"<WAITTXTY:", 0, TagId::kWaittxty, TagFamily::kWaits, TagExtent::kPastGt, 14, 1},
    {"<WAITTXTN:", 0, TagId::kWaittxtn, TagFamily::kWaits, TagExtent::kPastGt, 14, 1},
    {"<WAITPB>", 0, TagId::kWaitpb, TagFamily::kWaits, TagExtent::kKeyword, 8, 0},
    {"<WAITKEY:", 0, TagId::kWaitkey, TagFamily::kWaits, TagExtent::kPastGt, 13, 1},
    {"<WAITLM:", 0, TagId::kWaitlm, TagFamily::kWaits, TagExtent::kFixed, 12, 0},
    {"<WAITMM:", 0, TagId::kWaitmm, TagFamily::kWaits, TagExtent::kFixed, 12, 0},
    {"<WAITRM:", 0, TagId::kWaitrm, TagFamily::kWaits, TagExtent::kFixed, 12, 0},
    {"<WAITTIME:", 0, TagId::kWaittime, TagFamily::kWaits, TagExtent::kFixed, 19, 0},
    {"<ETEXT:", 0, TagId::kEtext, TagFamily::kEncryptedText, TagExtent::kPastGt, 7, 1},
    {"<ETEXT2:", 0, TagId::kEtext2, TagFamily::kEncryptedText, TagExtent::kPastGt, 11, 1},
    {"<TFILE:", 0, TagId::kTfile, TagFamily::kEncryptedText, TagExtent::kPastGt, 7, 1},
    {"<HTTP:", 0, TagId::kHttp, TagFamily::kInternetShortcut, TagExtent::kPastGt, 6, 1},
    {"<FTP:", 0, TagId::kFtp, TagFamily::kInternetShortcut, TagExtent::kPastGt, 5, 1},
    {"<LOGERR:", 0, TagId::kLogerr, TagFamily::kLogs, TagExtent::kFixed, 10, 0},
    {"<LOGFILE:", 0, TagId::kLogfile, TagFamily::kLogs, TagExtent::kPast01, 12, 2},
    {"<BTFEND>", 0, TagId::kBtfend, TagFamily::kBlockEnd, TagExtent::kKeyword, 8, 0},
    {"<ADFEND>", 0, TagId::kAdfend, TagFamily::kBlockEnd, TagExtent::kKeyword, 8, 0},
    {"<ENDREP>", 0, TagId::kEndrep, TagFamily::kBlockEnd, TagExtent::kKeyword, 8, 0},
    {"<ENDCLIP>", 0, TagId::kEndclip, TagFamily::kBlockEnd, TagExtent::kKeyword, 9, 0},
    {"<ENDIF>", 0, TagId::kEndif, TagFamily::kBlockEnd, TagExtent::kKeyword, 7, 0},
    {"<ELSE>", 0, TagId::kElse, TagFamily::kBlockEnd, TagExtent::kKeyword, 6, 0},
    {"<MSTOP>", 0, TagId::kMstop, TagFamily::kMacroControl, TagExtent::kKeyword, 7, 0},
    {"<TERME>", 0, TagId::kTerme, TagFamily::kMacroControl, TagExtent::kKeyword, 7, 0},
    {"<AUDOFF>", 0, TagId::kAudoff, TagFamily::kVolume, TagExtent::kKeyword, 8, 0},
    {"<AUDON>", 0, TagId::kAudon, TagFamily::kVolume, TagExtent::kKeyword, 7, 0},
    {"<AUDUP>", 0, TagId::kAudup, TagFamily::kVolume, TagExtent::kKeyword, 7, 0},
    {"<AUDDOWN>", 0, TagId::kAuddown, TagFamily::kVolume, TagExtent::kKeyword, 9, 0},
    {"<AUDMUTE>", 0, TagId::kAudmute, TagFamily::kVolume, TagExtent::kKeyword, 9, 0},
    {"<AUDLEFT>", 0, TagId::kAudleft, TagFamily::kVolume, TagExtent::kKeyword, 9, 0},
    {"<AUDRIGHT>", 0, TagId::kAudright, TagFamily::kVolume, TagExtent::kKeyword, 10, 0},
    {"<AUDCENTER>", 0, TagId::kAudcenter, TagFamily::kVolume, TagExtent::kKeyword, 11, 0},
    {"<TREBUP>", 0, TagId::kTrebup, TagFamily::kVolume, TagExtent::kKeyword, 8, 0},
    {"<TREBDOWN>", 0, TagId::kTrebdown, TagFamily::kVolume, TagExtent::kKeyword, 10, 0},
    {"<MIDIOFF>", 0, TagId::kMidioff, TagFamily::kVolume, TagExtent::kKeyword, 9, 0},
    {"<MIDION>", 0, TagId::kMidion, TagFamily::kVolume, TagExtent::kKeyword, 8, 0},
    {"<MIDIUP>", 0, TagId::kMidiup, TagFamily::kVolume, TagExtent::kKeyword, 8, 0},
    {"<MIDIDOWN>", 0, TagId::kMididown, TagFamily::kVolume, TagExtent::kKeyword, 10, 0},
    {"<MIDIMUTE>", 0, TagId::kMidimute, TagFamily::kVolume, TagExtent::kKeyword, 10, 0},
    {"<MIDILEFT>", 0, TagId::kMidileft, TagFamily::kVolume, TagExtent::kKeyword, 10, 0},
    {"<MIDIRIGHT>", 0, TagId::kMidiright, TagFamily::kVolume, TagExtent::kKeyword, 11, 0},
    {"<MIDICENTER>", 0, TagId::kMidicenter, TagFamily::kVolume, TagExtent::kKeyword, 12, 0},
    {"<BASSUP>", 0, TagId::kBassup, TagFamily::kVolume, TagExtent::kKeyword, 8, 0},
    {"<BASSDOWN>", 0, TagId::kBassdown, TagFamily::kVolume, TagExtent::kKeyword, 10, 0},
    {"<LDN>", 0, TagId::kLdn, TagFamily::kMouseButtons, TagExtent::kKeyword, 5, 0},
    {"<LUP>", 0, TagId::kLup, TagFamily::kMouseButtons, TagExtent::kKeyword, 5, 0},
    {"<LCLK>", 0, TagId::kLclk, TagFamily::kMouseButtons, TagExtent::kKeyword, 6, 0},
    {"<LDCLK>", 0, TagId::kLdclk, TagFamily::kMouseButtons, TagExtent::kKeyword, 7, 0},
    {"<RDN>", 0, TagId::kRdn, TagFamily::kMouseButtons, TagExtent::kKeyword, 5, 0},
    {"<RUP>", 0, TagId::kRup, TagFamily::kMouseButtons, TagExtent::kKeyword, 5, 0},
    {"<RCLK>", 0, TagId::kRclk, TagFamily::kMouseButtons, TagExtent::kKeyword, 6, 0},
    {"<RDCLK>", 0, TagId::kRdclk, TagFamily::kMouseButtons, TagExtent::kKeyword, 7, 0},
    {"<MDN>", 0, TagId::kMdn, TagFamily::kMouseButtons, TagExtent::kKeyword, 5, 0},
    {"<MUP>", 0, TagId::kMup, TagFamily::kMouseButtons, TagExtent::kKeyword, 5, 0},
    {"<MCLK>", 0, TagId::kMclk, TagFamily::kMouseButtons, TagExtent::kKeyword, 6, 0},
    {"<MDCLK>", 0, TagId::kMdclk, TagFamily::kMouseButtons, TagExtent::kKeyword, 7, 0},
    {"<TOG:", 6, TagId::kTog, TagFamily::kLockKeys, TagExtent::kFixed, 7, 0},
    {"<WFW:", 8, TagId::kWfw, TagFamily::kMouseMoves, TagExtent::kFixed, 9, 0},
    {"<WBW:", 8, TagId::kWbw, TagFamily::kMouseMoves, TagExtent::kFixed, 9, 0},
    {"<MMP:", 16, TagId::kMmp, TagFamily::kMouseMoves, TagExtent::kFixed, 17, 0},
    {"<MMS:", 16, TagId::kMms, TagFamily::kMouseMoves, TagExtent::kFixed, 17, 0},
    {"<MMW:", 16, TagId::kMmw, TagFamily::kMouseMoves, TagExtent::kFixed, 17, 0},
    {"<MMC>", 0, TagId::kMmc, TagFamily::kMouseMoves, TagExtent::kKeyword, 5, 0},
    {"<F1>", 0, TagId::kF1, TagFamily::kFunctionKey, TagExtent::kKeyword, 4, 0},
    {"<F2>", 0, TagId::kF2, TagFamily::kFunctionKey, TagExtent::kKeyword, 4, 0},
    {"<F3>", 0, TagId::kF3, TagFamily::kFunctionKey, TagExtent::kKeyword, 4, 0},
    {"<F4>", 0, TagId::kF4, TagFamily::kFunctionKey, TagExtent::kKeyword, 4, 0},
    {"<F5>", 0, TagId::kF5, TagFamily::kFunctionKey, TagExtent::kKeyword, 4, 0},
    {"<F6>", 0, TagId::kF6, TagFamily::kFunctionKey, TagExtent::kKeyword, 4, 0},
    {"<F7>", 0, TagId::kF7, TagFamily::kFunctionKey, TagExtent::kKeyword, 4, 0},
    {"<F8>", 0, TagId::kF8, TagFamily::kFunctionKey, TagExtent::kKeyword, 4, 0},
    {"<F9>", 0, TagId::kF9, TagFamily::kFunctionKey, TagExtent::kKeyword, 4, 0},
    {"<F10>", 0, TagId::kF10, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F11>", 0, TagId::kF11, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F12>", 0, TagId::kF12, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F13>", 0, TagId::kF13, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F14>", 0, TagId::kF14, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F15>", 0, TagId::kF15, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F16>", 0, TagId::kF16, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F17>", 0, TagId::kF17, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F18>", 0, TagId::kF18, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F19>", 0, TagId::kF19, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F20>", 0, TagId::kF20, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F21>", 0, TagId::kF21, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F22>", 0, TagId::kF22, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F23>", 0, TagId::kF23, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<F24>", 0, TagId::kF24, TagFamily::kFunctionKey, TagExtent::kKeyword, 5, 0},
    {"<SHIFT>", 0, TagId::kShiftNext, TagFamily::kNextKeyModifier, TagExtent::kKeyword, 7, 0},
    {"<CTRL>", 0, TagId::kCtrlNext, TagFamily::kNextKeyModifier, TagExtent::kKeyword, 6, 0},
    {"<ALT>", 0, TagId::kAltNext, TagFamily::kNextKeyModifier, TagExtent::kKeyword, 5, 0},
    {"<ATTN>", 0, TagId::kAttn, TagFamily::kTerminalKey, TagExtent::kKeyword, 6, 0},
    {"<CRSEL>", 0, TagId::kCrsel, TagFamily::kTerminalKey, TagExtent::kKeyword, 7, 0},
    {"<EXSEL>", 0, TagId::kExsel, TagFamily::kTerminalKey, TagExtent::kKeyword, 7, 0},
    {"<EREOF>", 0, TagId::kEreof, TagFamily::kTerminalKey, TagExtent::kKeyword, 7, 0},
    {"<PLAY>", 0, TagId::kPlay, TagFamily::kTerminalKey, TagExtent::kKeyword, 6, 0},
    {"<ZOOM>", 0, TagId::kZoom, TagFamily::kTerminalKey, TagExtent::kKeyword, 6, 0},
    {"<WAV1:", 0, TagId::kWav1, TagFamily::kSound, TagExtent::kPastGt, 6, 1},
    {"<WAV2:", 0, TagId::kWav2, TagFamily::kSound, TagExtent::kPastGt, 6, 1},
    {"<BEEP>", 0, TagId::kBeep, TagFamily::kSound, TagExtent::kKeyword, 6, 0},
    {"<CHDIR:", 0, TagId::kChdir, TagFamily::kFilesFolders, TagExtent::kPastGt, 7, 1},
    {"<MKDIR:", 0, TagId::kMkdir, TagFamily::kFilesFolders, TagExtent::kPastGt, 7, 1},
    {"<NWT", 0, TagId::kNwt, TagFamily::kNetworkDrives, TagExtent::kPastGt, 4, 3},
    {"<NWC", 0, TagId::kNwc, TagFamily::kNetworkDrives, TagExtent::kPastGt, 4, 3},
    {"<NWD", 0, TagId::kNwd, TagFamily::kNetworkDrives, TagExtent::kPastGt, 4, 1},
    {"<DIAL2:<NAME:", 0, TagId::kDial2, TagFamily::kDialUp, TagExtent::kPastGt, 13, 3},
    {"<DIAL:<NAME:", 0, TagId::kDial, TagFamily::kDialUp, TagExtent::kPastGt, 12, 3},
    {"<HANG>", 0, TagId::kHang, TagFamily::kDialUp, TagExtent::kKeyword, 6, 0},
    {"<DOFILE:", 0, TagId::kDofile, TagFamily::kFilesFolders, TagExtent::kPastGt, 14, 2},
    {"<DELFILE:", 0, TagId::kDelfile, TagFamily::kFilesFolders, TagExtent::kPastGt, 9, 1},
    {"<COPYFILE:", 0, TagId::kCopyfile, TagFamily::kFilesFolders, TagExtent::kPastGt, 10, 1},
    {"<RENFILE:", 0, TagId::kRenfile, TagFamily::kFilesFolders, TagExtent::kPastGt, 9, 1},
    {"<ACTIVATE:", 0, TagId::kActivate, TagFamily::kWindow, TagExtent::kPastGt, 10, 1},
    {"<EMAIL:", 0, TagId::kEmail, TagFamily::kEmail, TagExtent::kEmail, 7, 0},
    {"<LAUNCH:", 0, TagId::kLaunch, TagFamily::kProgramLaunch, TagExtent::kLaunch, 8, 0},
    {"<LAUNCHDEL:", 0, TagId::kLaunchdel, TagFamily::kProgramLaunch, TagExtent::kLaunch, 13, 0},
    {"<LAUNCHNO:", 0, TagId::kLaunchno, TagFamily::kProgramLaunch, TagExtent::kLaunch, 12, 1},
    {"<LAUNCHYES:", 0, TagId::kLaunchyes, TagFamily::kProgramLaunch, TagExtent::kLaunch, 13, 1},
    {"<LAUNCHNO2:", 0, TagId::kLaunchno2, TagFamily::kProgramLaunch, TagExtent::kLaunch, 15, 1},
    {"<LAUNCHYES2:", 0, TagId::kLaunchyes2, TagFamily::kProgramLaunch, TagExtent::kLaunch, 16, 1},
    {"<DOHOOK>", 0, TagId::kDohook, TagFamily::kProgramLaunch, TagExtent::kKeyword, 8, 0},
    {"<DEFPRT:", 0, TagId::kDefprt, TagFamily::kPrinter, TagExtent::kPastGt, 8, 1},
    {"<PASSP:", 0, TagId::kPassp, TagFamily::kPassword, TagExtent::kPastGt, 7, 1},
    {"<EXPLORE:", 0, TagId::kExplore, TagFamily::kExplorer, TagExtent::kPastGt, 9, 1},
    {"<MENU:", 0, TagId::kMenu, TagFamily::kChoiceMenu, TagExtent::kPast01, 12, 3},
    {"<DMVAR:", 0, TagId::kDmvar, TagFamily::kVariables, TagExtent::kFixed, 59, 0},
    {"<NMVAR:", 0, TagId::kNmvar, TagFamily::kVariables, TagExtent::kFixed, 33, 0},
    {"<TMVAR:", 0, TagId::kTmvar, TagFamily::kVariables, TagExtent::kPastGt, 24, 1},
    {"<TVAR:", 0, TagId::kTvar, TagFamily::kVariableSources, TagExtent::kPastGt, 12, 1},
    {"<IVAR:", 0, TagId::kIvar, TagFamily::kVariableSources, TagExtent::kPastGt, 12, 1},
    {"<DVAR:", 0, TagId::kDvar, TagFamily::kVariableSources, TagExtent::kPastGt, 12, 1},
    {"<ADFBEG:", 0, TagId::kAdfbeg, TagFamily::kFileLoops, TagExtent::kPastGt, 26, 1},
    {"<BTFBEG:", 0, TagId::kBtfbeg, TagFamily::kFileLoops, TagExtent::kPastGt, 26, 1},
    {"<AVI:", 0, TagId::kAvi, TagFamily::kVideo, TagExtent::kPastGt, 5, 1},
    {"<AVII:", 0, TagId::kAvii, TagFamily::kVideo, TagExtent::kPastGt, 6, 1},
    {"<AVIE:", 0, TagId::kAvie, TagFamily::kVideo, TagExtent::kPastGt, 6, 1},
    {"<CDPLAY>", 0, TagId::kCdPlay, TagFamily::kCdAudio, TagExtent::kKeyword, 8, 0},
    {"<CDPLAY:", 0, TagId::kCdPlayDrive, TagFamily::kCdAudio, TagExtent::kFixed, 11, 0},
    {"<CDSTOP>", 0, TagId::kCdStop, TagFamily::kCdAudio, TagExtent::kKeyword, 8, 0},
    {"<CDSTOP:", 0, TagId::kCdStopDrive, TagFamily::kCdAudio, TagExtent::kFixed, 11, 0},
    {"<CDPAUSE>", 0, TagId::kCdPause, TagFamily::kCdAudio, TagExtent::kKeyword, 9, 0},
    {"<CDPAUSE:", 0, TagId::kCdPauseDrive, TagFamily::kCdAudio, TagExtent::kFixed, 12, 0},
    {"<CDNEXT>", 0, TagId::kCdNext, TagFamily::kCdAudio, TagExtent::kKeyword, 8, 0},
    {"<CDNEXT:", 0, TagId::kCdNextDrive, TagFamily::kCdAudio, TagExtent::kFixed, 11, 0},
    {"<CDPREV>", 0, TagId::kCdPrev, TagFamily::kCdAudio, TagExtent::kKeyword, 8, 0},
    {"<CDPREV:", 0, TagId::kCdPrevDrive, TagFamily::kCdAudio, TagExtent::kFixed, 11, 0},
    {"<CDGOTO:", 10, TagId::kCdGoto, TagFamily::kCdAudio, TagExtent::kFixed, 11, 0},
    {"<CDGOTO:", 12, TagId::kCdGotoDrive, TagFamily::kCdAudio, TagExtent::kFixed, 13, 0},
    {"<CDSTEP:", 10, TagId::kCdStep, TagFamily::kCdAudio, TagExtent::kFixed, 11, 0},
    {"<CDSTEP:", 12, TagId::kCdStepDrive, TagFamily::kCdAudio, TagExtent::kFixed, 13, 0},
    {"<CDBACK:", 10, TagId::kCdBack, TagFamily::kCdAudio, TagExtent::kFixed, 11, 0},
    {"<CDBACK:", 12, TagId::kCdBackDrive, TagFamily::kCdAudio, TagExtent::kFixed, 13, 0},
    {"<CDEJECT>", 0, TagId::kCdEject, TagFamily::kCdAudio, TagExtent::kKeyword, 9, 0},
    {"<CDEJECT:", 0, TagId::kCdEjectDrive, TagFamily::kCdAudio, TagExtent::kFixed, 12, 0},
    {"<CDCLOSE>", 0, TagId::kCdClose, TagFamily::kCdAudio, TagExtent::kKeyword, 9, 0},
    {"<CDCLOSE:", 0, TagId::kCdCloseDrive, TagFamily::kCdAudio, TagExtent::kFixed, 12, 0},
    {"<UPPBLOCK>", 0, TagId::kUppblock, TagFamily::kBlockCase, TagExtent::kKeyword, 10, 0},
    {"<LOWBLOCK>", 0, TagId::kLowblock, TagFamily::kBlockCase, TagExtent::kKeyword, 10, 0},
    {"<TOGBLOCK>", 0, TagId::kTogblock, TagFamily::kBlockCase, TagExtent::kKeyword, 10, 0},
    {"<LOGOFF>", 0, TagId::kLogoff, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 8, 0},
    {"<REBOOT>", 0, TagId::kReboot, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 8, 0},
    {"<SHUTDOWN>", 0, TagId::kShutdown, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 10, 0},
    {"<POWEROFF>", 0, TagId::kPoweroff, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 10, 0},
    {"<SSON>", 0, TagId::kSson, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 6, 0},
    {"<SSOFF>", 0, TagId::kSsoff, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 7, 0},
    {"<CASCDESK>", 0, TagId::kCascdesk, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 10, 0},
    {"<TILHDESK>", 0, TagId::kTilhdesk, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 10, 0},
    {"<TILVDESK>", 0, TagId::kTilvdesk, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 10, 0},
    {"<MINIDESK>", 0, TagId::kMinidesk, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 10, 0},
    {"<RESTDESK>", 0, TagId::kRestdesk, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 10, 0},
    {"<SUSPEND>", 0, TagId::kSuspend, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 9, 0},
    {"<UNDOCK>", 0, TagId::kUndock, TagFamily::kShutdownDesktop, TagExtent::kKeyword, 8, 0},
    {"<RUNDT>", 0, TagId::kRundt, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<RUNFC>", 0, TagId::kRunfc, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<RUNFF>", 0, TagId::kRunff, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<RUNRP>", 0, TagId::kRunrp, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPCP>", 0, TagId::kExpcp, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPDT>", 0, TagId::kExpdt, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPDP>", 0, TagId::kExpdp, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPFV>", 0, TagId::kExpfv, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPFT>", 0, TagId::kExpft, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPMC>", 0, TagId::kExpmc, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPNW>", 0, TagId::kExpnw, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPPR>", 0, TagId::kExppr, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPPF>", 0, TagId::kExppf, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPRD>", 0, TagId::kExprd, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPRB>", 0, TagId::kExprb, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPSM>", 0, TagId::kExpsm, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPSU>", 0, TagId::kExpsu, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EXPUD>", 0, TagId::kExpud, TagFamily::kShellDialogs, TagExtent::kKeyword, 7, 0},
    {"<EMPTYBIN>", 0, TagId::kEmptybin, TagFamily::kShellDialogs, TagExtent::kKeyword, 10, 0},
    {"<PA1>", 0, TagId::kPa1, TagFamily::kNamedKey, TagExtent::kKeyword, 5, 0},
    {"<PRTSCR>", 0, TagId::kPrtscr, TagFamily::kNamedKey, TagExtent::kKeyword, 8, 0},
    {"<SCRLOCK>", 0, TagId::kScrlock, TagFamily::kNamedKey, TagExtent::kKeyword, 9, 0},
    {"<PAUSEKEY>", 0, TagId::kPausekey, TagFamily::kNamedKey, TagExtent::kKeyword, 10, 0},
    {"<CAPLOCK>", 0, TagId::kCaplock, TagFamily::kNamedKey, TagExtent::kKeyword, 9, 0},
    {"<NUMLOCK>", 0, TagId::kNumlock, TagFamily::kNamedKey, TagExtent::kKeyword, 9, 0},
    {"<KEYP0>", 0, TagId::kKeyp0, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP1>", 0, TagId::kKeyp1, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP2>", 0, TagId::kKeyp2, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP3>", 0, TagId::kKeyp3, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP4>", 0, TagId::kKeyp4, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP5>", 0, TagId::kKeyp5, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP6>", 0, TagId::kKeyp6, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP7>", 0, TagId::kKeyp7, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP8>", 0, TagId::kKeyp8, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP9>", 0, TagId::kKeyp9, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP.>", 0, TagId::kKeypDecimal, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP/>", 0, TagId::kKeypDivide, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP*>", 0, TagId::kKeypMultiply, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP->", 0, TagId::kKeypSubtract, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<KEYP+>", 0, TagId::kKeypAdd, TagFamily::kNamedKey, TagExtent::kKeyword, 7, 0},
    {"<WMAX:", 0, TagId::kWmax, TagFamily::kWindow, TagExtent::kPastGt, 6, 1},
    {"<WMIN:", 0, TagId::kWmin, TagFamily::kWindow, TagExtent::kPastGt, 6, 1},
    {"<WCLS:", 0, TagId::kWcls, TagFamily::kWindow, TagExtent::kPastGt, 6, 1},
    {"<WRES:", 0, TagId::kWres, TagFamily::kWindow, TagExtent::kPastGt, 6, 1},
};

constexpr std::size_t kRowCount = sizeof(kRows) / sizeof(kRows[0]);
static_assert(kRowCount == static_cast<std::size_t>(TagId::kDateTag), "one row per fixed tag id");

// Rows of the date and time tags, built once from the format table, and the rows of both
// tables grouped by the character after "<" (test order kept within a group), so a "<" is
// compared only with the keywords that can match it.
struct Index {
  std::array<std::string, kDateFormatCount + kTimeFormatCount> keywords;
  std::vector<TagInfo> dateTimeRows;
  std::array<std::vector<const TagInfo*>, 256> byFirst;

  Index() {
    dateTimeRows.reserve(keywords.size());
    for (int i = 0; i < kDateFormatCount + kTimeFormatCount; ++i) {
      const bool date = i < kDateFormatCount;
      const int format = date ? i + 1 : i + 1 - kDateFormatCount;
      keywords[i] = "<" + std::string(date ? DateFormatName(format) : TimeFormatName(format)) + "{";
      dateTimeRows.push_back({keywords[i], 0, date ? TagId::kDateTag : TagId::kTimeTag,
                              date ? TagFamily::kDateTag : TagFamily::kTimeTag,
                              date ? TagExtent::kDateTag : TagExtent::kTimeTag,
                              static_cast<std::uint8_t>(keywords[i].size()), static_cast<std::uint8_t>(format)});
    }
    for (const TagInfo& row : kRows) byFirst[static_cast<unsigned char>(row.keyword[1])].push_back(&row);
    for (const TagInfo& row : dateTimeRows) byFirst[static_cast<unsigned char>(row.keyword[1])].push_back(&row);
  }
};

const Index& TheIndex() {
  static const Index index;
  return index;
}

bool KeywordAt(std::string_view text, std::size_t pos, std::string_view keyword) {
  // Compared character by character: positions past the end read as NUL and never match.
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if (TextAt(text, pos + i) != keyword[i]) return false;
  }
  return true;
}

// Position just after the n-th occurrence of c at or after from; text.size() when missing.
std::size_t PastNth(std::string_view text, std::size_t from, char c, int n) {
  std::size_t p = from;
  for (int i = 0; i < n; ++i) {
    if (p >= text.size()) return text.size();
    const std::size_t found = text.find(c, p);
    if (found == std::string_view::npos) return text.size();
    p = found + 1;
  }
  return p;
}

std::size_t EmailEnd(std::string_view text, std::size_t pos) {
  auto pairAt = [&](std::size_t p) { return std::string{TextAt(text, p), TextAt(text, p + 1)}; };
  std::size_t p = pos + 7 + 2;  // keyword, receipt code
  if (pairAt(p) == "R1") {
    p += 2;
    for (const char* code : {"TO", "CC", "BL"}) {
      if (pairAt(p) == code) p = PastNth(text, p + 2, '\x01', 1);
    }
  } else {
    p += 2;
  }
  const std::string body = pairAt(p);
  p = (body == "S1" || body == "S4") ? PastNth(text, p + 2, '\x01', 1) : p + 2;
  if (body != "S2") p = PastNth(text, p, '\x01', 1);  // subject
  const std::string attach = pairAt(p);
  p = attach == "A2" ? PastNth(text, p + 2, '\x01', 1) : p + 2;
  return p + 1;  // the closing ">", not tested
}

}  // namespace

std::span<const TagInfo> TagTable() { return kRows; }

const TagInfo* FindTagRow(TagId id) {
  const auto i = static_cast<std::size_t>(id);
  return i < kRowCount ? &kRows[i] : nullptr;
}

const TagInfo* FindDateTimeRow(TagId kind, int format) {
  const Index& index = TheIndex();
  if (kind == TagId::kDateTag && format >= 1 && format <= kDateFormatCount) {
    return &index.dateTimeRows[static_cast<std::size_t>(format - 1)];
  }
  if (kind == TagId::kTimeTag && format >= 1 && format <= kTimeFormatCount) {
    return &index.dateTimeRows[static_cast<std::size_t>(kDateFormatCount + format - 1)];
  }
  return nullptr;
}

const TagInfo* MatchTag(std::string_view text, std::size_t pos) {
  if (TextAt(text, pos) != '<') return nullptr;
  for (const TagInfo* row : TheIndex().byFirst[static_cast<unsigned char>(TextAt(text, pos + 1))]) {
    if (!KeywordAt(text, pos, row->keyword)) continue;
    if (row->gtOffset != 0 && TextAt(text, pos + row->gtOffset) != '>') continue;
    return row;
  }
  return nullptr;
}

std::size_t LaunchFieldClose(std::string_view text, std::size_t from) {
  if (from > text.size()) return std::string_view::npos;
  std::size_t gt = text.find('>', from);
  if (gt != std::string_view::npos && text.substr(from, gt - from).find("<PARAM") != std::string_view::npos) {
    gt = text.find('>', gt + 1);
  }
  return gt;
}

std::size_t TagEnd(const TagInfo& tag, std::string_view text, std::size_t pos) {
  const std::size_t fields = pos + tag.fieldOffset;
  std::size_t end = 0;
  switch (tag.extent) {
    case TagExtent::kKeyword:
      end = pos + tag.keyword.size();
      break;
    case TagExtent::kFixed:
      end = fields;
      break;
    case TagExtent::kPastGt:
      end = PastNth(text, fields, '>', tag.count);
      break;
    case TagExtent::kPast01:
      end = PastNth(text, fields, '\x01', tag.count) + 1;
      break;
    case TagExtent::kControlPanelRun:
      end = PastNth(text, fields, ':', 1) + 2;
      break;
    case TagExtent::kDisabled:
      end = PastNth(text, fields, '\x02', 1);
      break;
    case TagExtent::kEmail:
      end = EmailEnd(text, pos);
      break;
    case TagExtent::kDateTag: {
      const std::size_t l = tag.keyword.size();
      if (TextAt(text, pos + l + 2) == '>') {
        end = pos + l + 3;
      } else {
        end = pos + (TextAt(text, pos + l + 6) == '>' ? l + 7 : l + 9);
      }
      break;
    }
    case TagExtent::kLaunch: {
      std::size_t from = fields;
      if (tag.count == 1) {
        const std::size_t lt = fields < text.size() ? text.find('<', fields) : std::string_view::npos;
        from = lt == std::string_view::npos ? text.size() : lt + kLaunchSeparator.size();
      }
      const std::size_t gt = LaunchFieldClose(text, from);
      end = gt == std::string_view::npos ? std::max(text.size(), from) + 1 : gt + 1;
      break;
    }
    case TagExtent::kTimeTag: {
      const std::size_t l = tag.keyword.size();
      end = pos + (TextAt(text, pos + l + 2) == '>' ? l + 3 : l + 5);
      break;
    }
  }
  return end < text.size() ? end : text.size();
}

}  // namespace wdx
