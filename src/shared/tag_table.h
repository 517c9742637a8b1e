// The macro tag table: every keyword of the macro text language in the order the interpreter
// tests them, with the ">" the dispatch checks at a fixed offset, the command family, and the
// extent of the tag (how far its fields reach). The player's interpreter dispatches through it;
// the editor's script parser and command dialogs read the same rows for their layouts.
//
// Also here: the language's two standard text-to-number conversions, which every command
// family uses for its fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace wdx {

// One identifier per row of the table (a keyword with two layouts has two rows), followed by
// the date and time tags, whose keywords come from the date and time format table.
enum class TagId : std::uint16_t {
  kTab,  // <TAB>
  kEnter,  // <ENTER>
  kRightwin,  // <RIGHTWIN>
  kLeftwin,  // <LEFTWIN>
  kApp,  // <APP>
  kBackspace,  // <BACKSPACE>
  kEsc,  // <ESC>
  kSpace,  // <SPACE>
  kLeftArrow,  // <LEFT ARROW>
  kRightArrow,  // <RIGHT ARROW>
  kUpArrow,  // <UP ARROW>
  kDownArrow,  // <DOWN ARROW>
  kTest,  // <TEST>
  kHome,  // <HOME>
  kEnd,  // <END>
  kInsert,  // <INSERT>
  kDelete,  // <DELETE>
  kPageDown,  // <PAGE DOWN>
  kPageUp,  // <PAGE UP>
  kCtld,  // <CTLD>
  kCtrld,  // <CTRLD>
  kCtlu,  // <CTLU>
  kCtrlu,  // <CTRLU>
  kAltd,  // <ALTD>
  kAltu,  // <ALTU>
  kShfd,  // <SHFD>
  kShiftd,  // <SHIFTD>
  kShfu,  // <SHFU>
  kShiftu,  // <SHIFTU>
  kWind,  // <WIND>
  kWinu,  // <WINU>
  kRightMouse,  // <RIGHT MOUSE>
  kMiddleMouse,  // <MIDDLE MOUSE>
  kPauseAt,  // <PAUSE:
  kPause,  // <PAUSE>
  kScreen,  // <SCREEN:
  kVarsr,  // <VARSR:
  kKeydel,  // <KEYDEL:
  kKeydelShort,  // <KEYDEL: with one digit
  kKeyspd,  // <KEYSPD:
  kSstime,  // <SSTIME:
  kWbsize,  // <WBSIZE:
  kWallt,  // <WALLT:
  kWallc,  // <WALLC:
  kWalls,  // <WALLS:
  kWallp,  // <WALLP:
  kTbox2,  // <TBOX2:
  kTboxHead,  // <TBOX:<HEAD:
  kTbclose,  // <TBCLOSE:
  kTdelay,  // <TDELAY:
  kItdelay,  // <ITDELAY:
  kDelay,  // <DELAY:
  kIdelay,  // <IDELAY:
  kSpeed,  // <SPEED:
  kMsd,  // <MSD:
  kImsd,  // <IMSD:
  kCpopen,  // <CPOPEN>
  kCprun,  // <CPRUN:
  kRem,  // <REM:
  kDis,  // <DIS:
  kWshut,  // <WSHUT:
  kWhide,  // <WHIDE:
  kWshow,  // <WSHOW:
  kWsize,  // <WSIZE:
  kWsizepix,  // <WSIZEPIX:
  kWsizeper,  // <WSIZEPER:
  kWpos,  // <WPOS:
  kWpos2,  // <WPOS2:
  kWpos2pix,  // <WPOS2PIX:
  kWpos2per,  // <WPOS2PER:
  kWpos2tl,  // <WPOS2TL:
  kWpos2tc,  // <WPOS2TC:
  kWpos2tr,  // <WPOS2TR:
  kWpos2lc,  // <WPOS2LC:
  kWpos2cc,  // <WPOS2CC:
  kWpos2rc,  // <WPOS2RC:
  kWpos2bl,  // <WPOS2BL:
  kWpos2bc,  // <WPOS2BC:
  kWpos2br,  // <WPOS2BR:
  kAlt,  // <ALT:
  kAlt4,  // <ALT4:
  kIiii,  // <IIII>
  kIii,  // <III>
  kIi,  // <II>
  kI,  // <I>
  kClipf,  // <CLIPF:
  kClipb,  // <CLIPB:
  kClipe,  // <CLIPE>
  kClipc,  // <CLIPC>
  kClipp,  // <CLIPP>
  kBegclip,  // <BEGCLIP>
  kCliptype,  // <CLIPTYPE>
  kCliptypei,  // <CLIPTYPEI>
  kClipsg,  // <CLIPSG:
  kClipst,  // <CLIPST:
  kClipat,  // <CLIPAT:
  kPromptrep,  // <PROMPTREP>
  kMacrun,  // <MACRUN:
  kMacdel,  // <MACDEL:
  kMacact,  // <MACACT:
  kMacdeact,  // <MACDEACT:
  kRepeat,  // <REPEAT:
  kRep,  // <REP:
  kRep3,  // <REP3:
  kIfvar,  // <IFVAR:
  kIfoth,  // <IFOTH:
  kIfmess,  // <IFMESS:
  kSpkey,  // <SPKEY:
  kSpmse,  // <SPMSE:
  kSwap,  // <SWAP:
  kWaitwin,  // <WAITWIN:
  kWaitwlf,  // <WAITWLF:
  kWaitprog,  // <WAITPROG:
  kWaittxty,  // <WAITTXTY:
  kWaittxtn,  // <WAITTXTN:
  kWaitpb,  // <WAITPB>
  kWaitkey,  // <WAITKEY:
  kWaitlm,  // <WAITLM:
  kWaitmm,  // <WAITMM:
  kWaitrm,  // <WAITRM:
  kWaittime,  // <WAITTIME:
  kEtext,  // <ETEXT:
  kEtext2,  // <ETEXT2:
  kTfile,  // <TFILE:
  kHttp,  // <HTTP:
  kFtp,  // <FTP:
  kLogerr,  // <LOGERR:
  kLogfile,  // <LOGFILE:
  kBtfend,  // <BTFEND>
  kAdfend,  // <ADFEND>
  kEndrep,  // <ENDREP>
  kEndclip,  // <ENDCLIP>
  kEndif,  // <ENDIF>
  kElse,  // <ELSE>
  kMstop,  // <MSTOP>
  kTerme,  // <TERME>
  kAudoff,  // <AUDOFF>
  kAudon,  // <AUDON>
  kAudup,  // <AUDUP>
  kAuddown,  // <AUDDOWN>
  kAudmute,  // <AUDMUTE>
  kAudleft,  // <AUDLEFT>
  kAudright,  // <AUDRIGHT>
  kAudcenter,  // <AUDCENTER>
  kTrebup,  // <TREBUP>
  kTrebdown,  // <TREBDOWN>
  kMidioff,  // <MIDIOFF>
  kMidion,  // <MIDION>
  kMidiup,  // <MIDIUP>
  kMididown,  // <MIDIDOWN>
  kMidimute,  // <MIDIMUTE>
  kMidileft,  // <MIDILEFT>
  kMidiright,  // <MIDIRIGHT>
  kMidicenter,  // <MIDICENTER>
  kBassup,  // <BASSUP>
  kBassdown,  // <BASSDOWN>
  kLdn,  // <LDN>
  kLup,  // <LUP>
  kLclk,  // <LCLK>
  kLdclk,  // <LDCLK>
  kRdn,  // <RDN>
  kRup,  // <RUP>
  kRclk,  // <RCLK>
  kRdclk,  // <RDCLK>
  kMdn,  // <MDN>
  kMup,  // <MUP>
  kMclk,  // <MCLK>
  kMdclk,  // <MDCLK>
  kTog,  // <TOG:
  kWfw,  // <WFW:
  kWbw,  // <WBW:
  kMmp,  // <MMP:
  kMms,  // <MMS:
  kMmw,  // <MMW:
  kMmc,  // <MMC>
  kF1,  // <F1>
  kF2,  // <F2>
  kF3,  // <F3>
  kF4,  // <F4>
  kF5,  // <F5>
  kF6,  // <F6>
  kF7,  // <F7>
  kF8,  // <F8>
  kF9,  // <F9>
  kF10,  // <F10>
  kF11,  // <F11>
  kF12,  // <F12>
  kF13,  // <F13>
  kF14,  // <F14>
  kF15,  // <F15>
  kF16,  // <F16>
  kF17,  // <F17>
  kF18,  // <F18>
  kF19,  // <F19>
  kF20,  // <F20>
  kF21,  // <F21>
  kF22,  // <F22>
  kF23,  // <F23>
  kF24,  // <F24>
  kShiftNext,  // <SHIFT>
  kCtrlNext,  // <CTRL>
  kAltNext,  // <ALT>
  kAttn,  // <ATTN>
  kCrsel,  // <CRSEL>
  kExsel,  // <EXSEL>
  kEreof,  // <EREOF>
  kPlay,  // <PLAY>
  kZoom,  // <ZOOM>
  kWav1,  // <WAV1:
  kWav2,  // <WAV2:
  kBeep,  // <BEEP>
  kChdir,  // <CHDIR:
  kMkdir,  // <MKDIR:
  kNwt,  // <NWT
  kNwc,  // <NWC
  kNwd,  // <NWD
  kDial2,  // <DIAL2:<NAME:
  kDial,  // <DIAL:<NAME:
  kHang,  // <HANG>
  kDofile,  // <DOFILE:
  kDelfile,  // <DELFILE:
  kCopyfile,  // <COPYFILE:
  kRenfile,  // <RENFILE:
  kActivate,  // <ACTIVATE:
  kEmail,  // <EMAIL:
  kLaunch,  // <LAUNCH:
  kLaunchdel,  // <LAUNCHDEL:
  kLaunchno,  // <LAUNCHNO:
  kLaunchyes,  // <LAUNCHYES:
  kLaunchno2,  // <LAUNCHNO2:
  kLaunchyes2,  // <LAUNCHYES2:
  kDohook,  // <DOHOOK>
  kDefprt,  // <DEFPRT:
  kPassp,  // <PASSP:
  kExplore,  // <EXPLORE:
  kMenu,  // <MENU:
  kDmvar,  // <DMVAR:
  kNmvar,  // <NMVAR:
  kTmvar,  // <TMVAR:
  kTvar,  // <TVAR:
  kIvar,  // <IVAR:
  kDvar,  // <DVAR:
  kAdfbeg,  // <ADFBEG:
  kBtfbeg,  // <BTFBEG:
  kAvi,  // <AVI:
  kAvii,  // <AVII:
  kAvie,  // <AVIE:
  kCdPlay,  // <CDPLAY>
  kCdPlayDrive,  // <CDPLAY:
  kCdStop,  // <CDSTOP>
  kCdStopDrive,  // <CDSTOP:
  kCdPause,  // <CDPAUSE>
  kCdPauseDrive,  // <CDPAUSE:
  kCdNext,  // <CDNEXT>
  kCdNextDrive,  // <CDNEXT:
  kCdPrev,  // <CDPREV>
  kCdPrevDrive,  // <CDPREV:
  kCdGoto,  // <CDGOTO:
  kCdGotoDrive,  // <CDGOTO:
  kCdStep,  // <CDSTEP:
  kCdStepDrive,  // <CDSTEP:
  kCdBack,  // <CDBACK:
  kCdBackDrive,  // <CDBACK:
  kCdEject,  // <CDEJECT>
  kCdEjectDrive,  // <CDEJECT:
  kCdClose,  // <CDCLOSE>
  kCdCloseDrive,  // <CDCLOSE:
  kUppblock,  // <UPPBLOCK>
  kLowblock,  // <LOWBLOCK>
  kTogblock,  // <TOGBLOCK>
  kLogoff,  // <LOGOFF>
  kReboot,  // <REBOOT>
  kShutdown,  // <SHUTDOWN>
  kPoweroff,  // <POWEROFF>
  kSson,  // <SSON>
  kSsoff,  // <SSOFF>
  kCascdesk,  // <CASCDESK>
  kTilhdesk,  // <TILHDESK>
  kTilvdesk,  // <TILVDESK>
  kMinidesk,  // <MINIDESK>
  kRestdesk,  // <RESTDESK>
  kSuspend,  // <SUSPEND>
  kUndock,  // <UNDOCK>
  kRundt,  // <RUNDT>
  kRunfc,  // <RUNFC>
  kRunff,  // <RUNFF>
  kRunrp,  // <RUNRP>
  kExpcp,  // <EXPCP>
  kExpdt,  // <EXPDT>
  kExpdp,  // <EXPDP>
  kExpfv,  // <EXPFV>
  kExpft,  // <EXPFT>
  kExpmc,  // <EXPMC>
  kExpnw,  // <EXPNW>
  kExppr,  // <EXPPR>
  kExppf,  // <EXPPF>
  kExprd,  // <EXPRD>
  kExprb,  // <EXPRB>
  kExpsm,  // <EXPSM>
  kExpsu,  // <EXPSU>
  kExpud,  // <EXPUD>
  kEmptybin,  // <EMPTYBIN>
  kPa1,  // <PA1>
  kPrtscr,  // <PRTSCR>
  kScrlock,  // <SCRLOCK>
  kPausekey,  // <PAUSEKEY>
  kCaplock,  // <CAPLOCK>
  kNumlock,  // <NUMLOCK>
  kKeyp0,  // <KEYP0>
  kKeyp1,  // <KEYP1>
  kKeyp2,  // <KEYP2>
  kKeyp3,  // <KEYP3>
  kKeyp4,  // <KEYP4>
  kKeyp5,  // <KEYP5>
  kKeyp6,  // <KEYP6>
  kKeyp7,  // <KEYP7>
  kKeyp8,  // <KEYP8>
  kKeyp9,  // <KEYP9>
  kKeypDecimal,  // <KEYP.>
  kKeypDivide,  // <KEYP/>
  kKeypMultiply,  // <KEYP*>
  kKeypSubtract,  // <KEYP->
  kKeypAdd,  // <KEYP+>
  kWmax,  // <WMAX:
  kWmin,  // <WMIN:
  kWcls,  // <WCLS:
  kWres,  // <WRES:
  kDateTag,  // "<" + date format name + "{"
  kTimeTag,  // "<" + time format name + "{"
  kCount
};

enum class TagFamily : std::uint8_t {
  kNamedKey,
  kKeyTest,
  kModifierDownUp,
  kMouseButtonKey,
  kPause,
  kSystemSettings,
  kVariables,
  kTextBoxes,
  kDelays,
  kControlPanel,
  kRemark,
  kWindow,
  kAltKeypad,
  kRepeatCounter,
  kClipboard,
  kRepeatBlock,
  kMacroControl,
  kIfBlock,
  kKeyMouseDelay,
  kWaits,
  kEncryptedText,
  kInternetShortcut,
  kLogs,
  kBlockEnd,
  kVolume,
  kMouseButtons,
  kLockKeys,
  kMouseMoves,
  kFunctionKey,
  kNextKeyModifier,
  kTerminalKey,
  kSound,
  kFilesFolders,
  kNetworkDrives,
  kDialUp,
  kEmail,
  kProgramLaunch,
  kPrinter,
  kPassword,
  kExplorer,
  kChoiceMenu,
  kVariableSources,
  kFileLoops,
  kVideo,
  kCdAudio,
  kBlockCase,
  kShutdownDesktop,
  kShellDialogs,
  kDateTag,
  kTimeTag,
  kCount
};

// How far a tag reaches from its "<" (offset 0). Block commands reach to the end of their
// opener; the block body is not part of the tag.
enum class TagExtent : std::uint8_t {
  kKeyword,         // the keyword is the whole tag
  kFixed,           // fieldOffset characters in all
  kPastGt,          // past the count-th ">" at or after fieldOffset (text fields)
  kPast01,          // past the count-th byte 0x01 at or after fieldOffset, and one more character
  kControlPanelRun, // applet from fieldOffset up to ":", one page character, one more character
  kDisabled,        // past the byte 0x02 at or after fieldOffset
  kEmail,           // codes and 0x01-ended fields of the e-mail command
  kDateTag,         // the date tag's option, days and variable fields
  kTimeTag,         // the time tag's option and variable fields
  kLaunch,          // a launch field from fieldOffset (LaunchFieldClose); with count 1 a window
                    // title up to "<" and the 8 characters "<LAUNCH:" come first
};

struct TagInfo {
  std::string_view keyword;  // compared case-sensitively over its whole length
  std::uint8_t gtOffset;     // the dispatch requires ">" at this offset; 0: no such test
  TagId id;
  TagFamily family;
  TagExtent extent;
  std::uint8_t fieldOffset;  // see TagExtent
  std::uint8_t count;        // see TagExtent; the format number for date and time tags
};

// The fixed rows in test order (the date and time tags are not rows: they come from the date
// and time format table and are tested after every row).
std::span<const TagInfo> TagTable();

// The row of an id of the fixed table; nullptr for kDateTag, kTimeTag and kCount.
const TagInfo* FindTagRow(TagId id);

// The row of a date tag (kind kDateTag, format 1..51) or a time tag (kTimeTag, format 1..26);
// nullptr for any other kind or format.
const TagInfo* FindDateTimeRow(TagId kind, int format);

// The character of the text at pos; NUL at and beyond the end (stored macro text is always
// followed by NUL bytes, and fixed-offset reads past the end see them).
inline char TextAt(std::string_view text, std::size_t pos) { return pos < text.size() ? text[pos] : '\0'; }

// The tag whose keyword starts at pos (text[pos] is "<"), with its ">" test passed; nullptr
// when none does (the "<" is then an ordinary character). For a date or time tag the result
// is a row of a small internal table that carries the format number in `count`.
const TagInfo* MatchTag(std::string_view text, std::size_t pos);

// What stands between a launch command's window title and its launch field.
inline constexpr std::string_view kLaunchSeparator = "<LAUNCH:";

// The ">" that closes a launch field starting at `from`: the first one, or the next one when the
// text before it holds "<PARAM" (the marker "<PARAM>" between the program and its parameters
// ends in ">" itself); npos when there is none.
std::size_t LaunchFieldClose(std::string_view text, std::size_t from);

// The position just after the tag that starts at pos, by the row's extent. A field whose
// closing character is missing runs to the end of the text; the result is then text.size()
// or one more (as the commands themselves move the cursor).
std::size_t TagEnd(const TagInfo& tag, std::string_view text, std::size_t pos);

}  // namespace wdx
