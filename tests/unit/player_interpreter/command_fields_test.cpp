#include "shared/command_fields.h"

#include "shared/command_layouts.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace wdx {

void PrintTo(const FieldValue& v, std::ostream* os) {
  *os << "{number " << v.number << (v.variable ? " (variable)" : "") << ", real " << v.real << ", letter '"
      << (v.letter != '\0' ? std::string(1, v.letter) : "") << "', text \"" << v.text << "\"}";
}

namespace {

using V = FieldValue;

const TagInfo& Row(TagId id) { return *FindTagRow(id); }
const TagInfo& Date(int format) { return *FindDateTimeRow(TagId::kDateTag, format); }
const TagInfo& Time(int format) { return *FindDateTimeRow(TagId::kTimeTag, format); }

struct RoundTrip {
  const TagInfo& tag;
  std::vector<FieldValue> values;
  std::string text;
};

// Encoding the values gives the text; the dispatch finds the tag in it and ends it where the
// text ends; reading the text (with more text after it) gives the values back, the fields a short
// form leaves out as empty values.
void CheckRoundTrips(const std::vector<RoundTrip>& cases) {
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(EncodeCommand(c.tag, c.values), c.text);
    const std::string played = c.text + "x>y";
    const TagInfo* tag = MatchTag(played, 0);
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->id, c.tag.id);
    EXPECT_EQ(TagEnd(*tag, played, 0), c.text.size());
    const CommandFields fields(*tag, played, 0);
    ASSERT_TRUE(fields.Described());
    std::vector<FieldValue> expected = c.values;
    expected.resize(FindCommandLayout(tag->id)->fields.size());
    EXPECT_EQ(fields.Values(), expected);
  }
}

TEST(CommandFields, KeystrokeTags) {
  CheckRoundTrips({
      {Row(TagId::kEnter), {}, "<ENTER>"},
      {Row(TagId::kF10), {}, "<F10>"},
      {Row(TagId::kAlt), {V::Number(65)}, "<ALT:065>"},
      {Row(TagId::kAlt4), {V::Number(233)}, "<ALT4:0233>"},
      {Row(TagId::kTog), {V::Number(1)}, "<TOG:1>"},
  });
}

TEST(CommandFields, WindowCommandTags) {
  CheckRoundTrips({
      {Row(TagId::kActivate), {V::Text("Untitled - Notepad")}, "<ACTIVATE:Untitled - Notepad>"},
      {Row(TagId::kWshut), {V::Text("\"CURRENT\"")}, "<WSHUT:\"CURRENT\">"},
      {Row(TagId::kWmax), {V::Text("Notepad")}, "<WMAX:Notepad>"},
      {Row(TagId::kWsize), {V::Number(640), V::Number(480), V::Text("Notepad")}, "<WSIZE:0640,0480Notepad>"},
      {Row(TagId::kWsizeper), {V::Number(50), V::Number(-50), V::Text("Pad")}, "<WSIZEPER:0050,-050Pad>"},
      {Row(TagId::kWpos), {V::Variable(5), V::Number(-10), V::Text("Pad")}, "<WPOS:005N,-010Pad>"},
      {Row(TagId::kWpos2pix), {V::Number(-10), V::Variable(12), V::Text("Pad")}, "<WPOS2PIX:-0010,0012NPad>"},
      {Row(TagId::kWpos2cc), {V::Text("Pad")}, "<WPOS2CC:Pad>"},
  });
}

// The launch field keeps the ">" of its "<PARAM>" marker; the window title before it ends at
// "<LAUNCH:".
TEST(CommandFields, LaunchMouseAndWaitTags) {
  CheckRoundTrips({
      {Row(TagId::kLaunch), {V::Text("notepad.exe")}, "<LAUNCH:notepad.exe>"},
      {Row(TagId::kLaunch), {V::Text("C:\\A B\\ed.exe<PARAM>notes.txt2\x01")},
       "<LAUNCH:C:\\A B\\ed.exe<PARAM>notes.txt2\x01>"},
      {Row(TagId::kLaunchdel), {V::Number(5), V::Text("calc.exe")}, "<LAUNCHDEL:05calc.exe>"},
      {Row(TagId::kLaunchno), {V::Number(3), V::Text("Notepad"), V::Text("notepad.exe<PARAM>a.txt")},
       "<LAUNCHNO:03Notepad<LAUNCH:notepad.exe<PARAM>a.txt>"},
      {Row(TagId::kLaunchyes), {V::Number(0), V::Text("Calc"), V::Text("calc.exe")},
       "<LAUNCHYES:00Calc<LAUNCH:calc.exe>"},
      {Row(TagId::kLaunchno2), {V::Number(1), V::Number(12), V::Text("Pad"), V::Text("x.exe<PARAM>-v")},
       "<LAUNCHNO2:0112Pad<LAUNCH:x.exe<PARAM>-v>"},
      {Row(TagId::kLaunchyes2), {V::Number(2), V::Number(30), V::Text("Pad"), V::Text("x.exe")},
       "<LAUNCHYES2:0230Pad<LAUNCH:x.exe>"},
      {Row(TagId::kHttp), {V::Text("http://example.test/a")}, "<HTTP:http://example.test/a>"},
      {Row(TagId::kFtp), {V::Text("ftp://example.test")}, "<FTP:ftp://example.test>"},
      {Row(TagId::kExplore), {V::Text("C:\\Temp")}, "<EXPLORE:C:\\Temp>"},
      {Row(TagId::kWfw), {V::Number(3)}, "<WFW:003>"},
      {Row(TagId::kMms), {V::Number(1024), V::Variable(3)}, "<MMS:01024,0003N>"},
      {Row(TagId::kMmp), {V::Number(-10), V::Number(0)}, "<MMP:-0010,00000>"},
      {Row(TagId::kWaitwin), {V::Number(1), V::Text("Notepad")}, "<WAITWIN:001:Notepad>"},
      {Row(TagId::kWaitprog), {V::Number(0), V::Text("NOTEPAD.EXE")}, "<WAITPROG:000:NOTEPAD.EXE>"},
      {Row(TagId::kWaitkey), {V::Number(5), V::Text("50")}, "<WAITKEY:005:50>"},
      {Row(TagId::kWaitrm), {V::Number(2)}, "<WAITRM:002>"},
      {Row(TagId::kWaittime), {V::Number(5)}, "<WAITTIME:00000005>"},
      {Row(TagId::kWaitpb), {}, "<WAITPB>"},
      {Row(TagId::kDohook), {}, "<DOHOOK>"},
  });
}

TEST(CommandFields, DelayAndSpeedTags) {
  CheckRoundTrips({
      {Row(TagId::kDelay), {V::Real(5.0)}, "<DELAY:05.00>"},
      {Row(TagId::kIdelay), {V::Real(0.5)}, "<IDELAY:00.50>"},
      {Row(TagId::kTdelay), {V::Number(5)}, "<TDELAY:05>"},
      {Row(TagId::kItdelay), {V::Number(60)}, "<ITDELAY:60>"},
      {Row(TagId::kSpeed), {V::Real(12.25)}, "<SPEED:12.25>"},
      {Row(TagId::kMsd), {V::Number(250)}, "<MSD:0250>"},
      {Row(TagId::kImsd), {V::Number(9999)}, "<IMSD:9999>"},
      {Row(TagId::kSpkey), {V::Number(50)}, "<SPKEY:0050>"},
      {Row(TagId::kSpmse), {V::Number(0)}, "<SPMSE:0000>"},
  });
}

TEST(CommandFields, PauseRemarkAndDisabledTags) {
  CheckRoundTrips({
      {Row(TagId::kPause), {}, "<PAUSE>"},
      {Row(TagId::kPauseAt), {V::Number(100), V::Number(20), V::Text("Done")}, "<PAUSE:100,020Done>"},
      {Row(TagId::kPauseAt), {V::Number(0), V::Number(0), V::Text("")}, "<PAUSE:000,000>"},
      {Row(TagId::kRem), {V::Text("any text")}, "<REM:any text>"},
      {Row(TagId::kDis), {V::Text("<DELAY:00010>")}, "<DIS:<DELAY:00010>\x02"},
  });
}

TEST(CommandFields, MacroControlTags) {
  CheckRoundTrips({
      {Row(TagId::kMacrun), {V::Text("Other Macro")}, "<MACRUN:Other Macro>"},
      {Row(TagId::kMacdel), {V::Text("%T1%")}, "<MACDEL:%T1%>"},
      {Row(TagId::kMacact), {V::Text("x")}, "<MACACT:x>"},
      {Row(TagId::kMacdeact), {V::Text("x")}, "<MACDEACT:x>"},
      {Row(TagId::kSwap), {V::Text("C:\\LIB\\TWO.WDX")}, "<SWAP:C:\\LIB\\TWO.WDX>"},
      {Row(TagId::kMstop), {}, "<MSTOP>"},
      {Row(TagId::kTerme), {}, "<TERME>"},
  });
}

TEST(CommandFields, VariableTags) {
  CheckRoundTrips({
      {Row(TagId::kVarsr), {V::Number(1)}, "<VARSR:01>"},
      {Row(TagId::kNmvar),
       {V::Number(2), V::Number(4), V::Letter('1'), V::Number(4), V::Letter('2'), V::Number(-12)},
       "<NMVAR:02:04:1:0000004:2:-000012>"},
      {Row(TagId::kDmvar),
       {V::Number(3), V::Number(1), V::Letter('1'), V::Real(1.0), V::Letter('2'), V::Real(-2.5)},
       "<DMVAR:03:01:1:0000000000001.000000:2:-000000000002.500000>"},
      {Row(TagId::kTmvar),
       {V::Number(10), V::Number(2), V::Number(4), V::Variable(7), V::Number(10), V::Text("")},
       "<TMVAR:10:02:04:N07:010:>"},
      {Row(TagId::kTmvar),
       {V::Number(18), V::Number(3), V::Number(0), V::Number(0), V::Number(0), V::Text("A.INI\x01S\x01K")},
       "<TMVAR:18:03:00:000:000:A.INI\x01S\x01K>"},
  });
}

TEST(CommandFields, RepeatAndIfBlockOpeners) {
  CheckRoundTrips({
      {Row(TagId::kRepeat), {V::Number(3)}, "<REPEAT:0003>"},
      {Row(TagId::kRep), {V::Number(3), V::Number(10), V::Number(-5)}, "<REP:0003:000010:-00005>"},
      {Row(TagId::kRep3),
       {V::Number(1), V::Number(1), V::Number(1), V::Number(10), V::Letter('0'), V::Number(1), V::Text("")},
       "<REP3:01:000001:000001:0010:0:01:>"},
      {Row(TagId::kRep3),
       {V::Number(7), V::Number(4), V::Number(1), V::Number(4), V::Letter('0'), V::Number(1),
        V::Text("C:\\Data\\Reports")},
       "<REP3:07:000004:000001:0004:0:01:C:\\Data\\Reports>"},
      {Row(TagId::kIfvar), {V::Number(2), V::Number(1), V::Number(1), V::Text("5")}, "<IFVAR:2:01:1:5>"},
      {Row(TagId::kIfoth), {V::Number(4), V::Letter('1'), V::Text("Untitled - Notepad")},
       "<IFOTH:04:1:Untitled - Notepad>"},
      {Row(TagId::kIfmess),
       {V::Number(4), V::Text("Title"), V::Text("Go on?"), V::Text("&Go"), V::Text("&Stop")},
       "<IFMESS:4:Title\x01Go on?\x01&Go\x01&Stop\x01>"},
  });
}

TEST(CommandFields, PromptsAndVariableSources) {
  CheckRoundTrips({
      {Row(TagId::kPassp), {V::Text("5A1B2C")}, "<PASSP:5A1B2C>"},
      {Row(TagId::kMenu),
       {V::Number(1), V::Number(5), V::Text("Pick"), V::Text("Choose one"), V::Text("Red\r\nGreen\r\nBlue")},
       "<MENU:01:05:Pick\x01" "Choose one\x01Red\r\nGreen\r\nBlue\x01>"},
      {Row(TagId::kMenu), {V::Number(2), V::Number(12), V::Text("A > B"), V::Text(""), V::Text("x")},
       "<MENU:02:12:A > B\x01\x01x\x01>"},
      {Row(TagId::kTvar), {V::Number(1), V::Number(8), V::Text("app.ini\x01Main\x01Name")},
       "<TVAR:01:08:app.ini\x01Main\x01Name>"},
      {Row(TagId::kTvar), {V::Number(99), V::Number(6), V::Text("")}, "<TVAR:99:06:>"},
      {Row(TagId::kIvar), {V::Number(50), V::Number(13), V::Text("05:de")}, "<IVAR:50:13:05:de>"},
      {Row(TagId::kDvar), {V::Number(3), V::Number(1), V::Text("-2.5")}, "<DVAR:03:01:-2.5>"},
  });
  // A text variable's text has no limit; the number kinds take a short text.
  const std::string longText(300, 'x');
  EXPECT_TRUE(EncodeCommand(Row(TagId::kTvar), std::vector<V>{V::Number(1), V::Number(1), V::Text(longText)}));
  EXPECT_FALSE(EncodeCommand(Row(TagId::kIvar), std::vector<V>{V::Number(1), V::Number(1), V::Text(longText)}));
  EXPECT_FALSE(EncodeCommand(Row(TagId::kTvar), std::vector<V>{V::Number(100), V::Number(1), V::Text("")}));
  EXPECT_FALSE(EncodeCommand(Row(TagId::kTvar), std::vector<V>{V::Number(1), V::Number(1), V::Text("a>b")}));
}

TEST(CommandFields, DialUpAndNetworkDriveTags) {
  CheckRoundTrips({
      {Row(TagId::kDial), {V::Text("joe"), V::Text("#4142"), V::Text("Office")}, "<DIAL:<NAME:joe><PASS:#4142>Office>"},
      {Row(TagId::kDial2), {V::Text(""), V::Text(""), V::Text("Home")}, "<DIAL2:<NAME:><PASS:>Home>"},
      {Row(TagId::kHang), {}, "<HANG>"},
      {Row(TagId::kNwc), {V::Text("PS"), V::Text("u"), V::Text("#70"), V::Text("F:\\\\srv\\share")},
       "<NWCPS:<NAME:u><PASS:#70>F:\\\\srv\\share>"},
      {Row(TagId::kNwt), {V::Text(""), V::Text(""), V::Text(""), V::Text("G:\\\\s\\x")}, "<NWT:<NAME:><PASS:>G:\\\\s\\x>"},
      {Row(TagId::kNwd), {V::Text("PFS"), V::Text("F:")}, "<NWDPFS:F:>"},
      {Row(TagId::kNwd), {V::Text(""), V::Text("F:")}, "<NWD:F:>"},
  });
  // Option letters that do not fit, and a password whose old stored form holds the ">" that
  // ends its field, are refused.
  EXPECT_FALSE(EncodeCommand(Row(TagId::kNwc), std::vector<V>{V::Text("PSX"), V::Text(""), V::Text(""), V::Text("F:\\s")}));
  EXPECT_FALSE(EncodeCommand(Row(TagId::kDial), std::vector<V>{V::Text(""), V::Text("a>"), V::Text("Office")}));
}

TEST(CommandFields, DateAndTimeTagsInEachForm) {
  CheckRoundTrips({
      {Date(1), {V::Letter('Y')}, "<MM/DD/YY{Y}>"},
      {Date(1), {V::Letter('Y'), V::Letter('P'), V::Number(7)}, "<MM/DD/YY{YP007}>"},
      {Date(24), {V::Letter('N'), V::Letter('F'), V::Number(1), V::Number(5)}, "<DD Mmm YYYY{NF001}05>"},
      {Date(51), {V::Letter('N'), V::Letter('F'), V::Number(0), V::Number(99)}, "<Day of Week 4{NF000}99>"},
      {Time(12), {V::Letter('Y')}, "<hh:mm am{Y}>"},
      {Time(8), {V::Letter('N'), V::Number(12)}, "<hhmmss{N}12>"},
  });
}

TEST(CommandFields, ValuesThatDoNotFitAreRefused) {
  struct Refused {
    const TagInfo& tag;
    std::vector<FieldValue> values;
    const char* why;
  };
  const Refused cases[] = {
      {Row(TagId::kAlt), {V::Number(1000)}, "four digits in three"},
      {Row(TagId::kTdelay), {V::Number(-1)}, "a minus where the field has none"},
      {Row(TagId::kNmvar), {V::Number(1), V::Number(1), V::Letter('2'), V::Number(-1000000)}, "eight characters in seven"},
      {Row(TagId::kDelay), {V::Real(123.5)}, "six characters in five"},
      {Row(TagId::kSpeed), {V::Real(0.0 / 0.0)}, "no number"},
      {Row(TagId::kRem), {V::Text("a>b")}, "the closing character in a text"},
      {Row(TagId::kDis), {V::Text("a\x02")}, "the closing byte in a disabled command"},
      {Row(TagId::kPauseAt), {V::Number(1), V::Number(1), V::Text(std::string(256, 'm'))}, "a message beyond 255"},
      {Row(TagId::kTmvar), {V::Number(10), V::Number(1), V::Number(2), V::Variable(100)}, "N100 in three"},
      {Date(1), {V::Letter('Y'), V::Letter('\0'), V::Number(3)}, "days without their direction"},
      {Row(TagId::kVarsr), {V::Number(1), V::Number(2)}, "more values than fields"},
      {Row(TagId::kEmail), {V::Text("x")}, "a tag without a description"},
      {Row(TagId::kKeydelShort), {V::Number(10)}, "two digits in the one-digit form"},
      {Row(TagId::kCprun), {V::Text("a:b.cpl"), V::Letter('1')}, "a colon in the applet"},
      {Row(TagId::kLaunchno2), {V::Number(0), V::Number(5), V::Text("a<b"), V::Text("x")}, "a window title with \"<\""},
      {Row(TagId::kLaunch), {V::Text("a>b")}, "a launch field with \">\" of its own"},
      {Row(TagId::kLaunch), {V::Text("a<PARAM>b>c")}, "a \">\" in the parameters"},
  };
  for (const Refused& c : cases) EXPECT_EQ(EncodeCommand(c.tag, c.values), std::nullopt) << c.why;
}

TEST(CommandFields, ReadingStopsAtTheEndOfTheText) {
  // Fields beyond the end are empty; the conversions read what there is.
  const std::string text = "<TMVAR:10:02:0";
  const CommandFields f(Row(TagId::kTmvar), text, 0);
  EXPECT_EQ(f.Whole(cmd::tmvar::kOperation), 10);
  EXPECT_EQ(f.Raw(cmd::tmvar::kOther), "0");
  EXPECT_EQ(f.Raw(cmd::tmvar::kStart), "");
  EXPECT_EQ(f.Raw(cmd::tmvar::kText), "");
  // A text without its ">" runs to the end.
  const std::string open = "ab<PAUSE:010,020Msg";
  const CommandFields p(Row(TagId::kPauseAt), open, 2);
  EXPECT_EQ(p.Raw(cmd::pause_at::kMessage), "Msg");
  EXPECT_EQ(p.Whole(cmd::pause_at::kLeft), 20);
  // A tag without a description reads nothing.
  const CommandFields none(Row(TagId::kEmail), "<EMAIL:x>", 0);
  EXPECT_FALSE(none.Described());
  EXPECT_EQ(none.Raw(0), "");
}

// The number fields that may name an integer variable instead, in both spellings the tags use.
TEST(CommandFields, FileLoopLogFileTextAndTextBoxTags) {
  CheckRoundTrips({
      {Row(TagId::kAdfbeg), {V::Number(1), V::Number(1), V::Number(0), V::Text("C:\\data\\in.csv")},
       "<ADFBEG:001:000001:000000:C:\\data\\in.csv>"},
      {Row(TagId::kBtfbeg), {V::Number(5), V::Variable(1), V::Variable(12), V::Text("%T1%")},
       "<BTFBEG:005:N00001:N00012:%T1%>"},
      {Row(TagId::kLogerr), {V::Letter('Y')}, "<LOGERR:Y>"},
      {Row(TagId::kLogfile), {V::Letter('N'), V::Letter('Y'), V::Text("c:\\log.txt"), V::Text("Total %T1%")},
       "<LOGFILE:NY:c:\\log.txt\x01Total %T1%\x01>"},
      {Row(TagId::kEtext), {V::Text("5A1B2C")}, "<ETEXT:5A1B2C>"},
      {Row(TagId::kEtext2), {V::Number(7), V::Text("5A1B")}, "<ETEXT2:07:5A1B>"},
      {Row(TagId::kTfile), {V::Text("c:\\macros\\long.txt")}, "<TFILE:c:\\macros\\long.txt>"},
      {Row(TagId::kTbox2),
       {V::Letter('Y'), V::Number(10), V::Number(20), V::Number(300), V::Number(150), V::Number(2), V::Number(5),
        V::Text("Head > line"), V::Text("Body\r\nwith > and lines")},
       "<TBOX2:Y:00010:00020:300:150:02:005:Head > line\x01" "Body\r\nwith > and lines\x01>"},
      {Row(TagId::kTboxHead), {V::Text("Head"), V::Text("Body")}, "<TBOX:<HEAD:Head>Body>"},
      {Row(TagId::kTbclose), {V::Text("Head")}, "<TBCLOSE:Head\x01>"},
      {Row(TagId::kUppblock), {}, "<UPPBLOCK>"},
  });
}

TEST(CommandFields, ClipboardTags) {
  CheckRoundTrips({
      {Row(TagId::kClipf), {V::Text("C:\\notes\\%T1%.txt")}, "<CLIPF:C:\\notes\\%T1%.txt>"},
      {Row(TagId::kClipb), {V::Text("C:\\pics\\photo.jpg")}, "<CLIPB:C:\\pics\\photo.jpg>"},
      {Row(TagId::kClipsg), {V::Text(":PROMPT:")}, "<CLIPSG::PROMPT:>"},
      {Row(TagId::kClipst), {V::Text("C:\\out.txt")}, "<CLIPST:C:\\out.txt>"},
      {Row(TagId::kClipat), {V::Text("log.txt")}, "<CLIPAT:log.txt>"},
      {Row(TagId::kBegclip), {}, "<BEGCLIP>"},
      {Row(TagId::kCliptypei), {}, "<CLIPTYPEI>"},
  });
}

TEST(CommandFields, FileAndFolderTags) {
  CheckRoundTrips({
      {Row(TagId::kChdir), {V::Text("C:\\Data")}, "<CHDIR:C:\\Data>"},
      {Row(TagId::kMkdir), {V::Text("C:\\a\\b\\c")}, "<MKDIR:C:\\a\\b\\c>"},
      {Row(TagId::kDelfile), {V::Text("C:\\x.txt")}, "<DELFILE:C:\\x.txt>"},
      {Row(TagId::kCopyfile), {V::Text("C:\\a.txt"), V::Text("D:\\b.txt")}, "<COPYFILE:C:\\a.txt;D:\\b.txt>"},
      {Row(TagId::kRenfile), {V::Text("old.txt"), V::Text("new.txt")}, "<RENFILE:old.txt;new.txt>"},
      {Row(TagId::kDofile),
       {V::Number(6), V::Letter('N'), V::Letter('Y'), V::Text("C:\\Data\\old.txt"), V::Text("new.txt")},
       "<DOFILE:06:NY:C:\\Data\\old.txt>new.txt>"},
      {Row(TagId::kDofile), {V::Number(8), V::Letter('Y'), V::Letter('N'), V::Text("C:\\Data\\*.tmp"), V::Text("")},
       "<DOFILE:08:YN:C:\\Data\\*.tmp>>"},
  });
  // The first of two paths cannot hold the ";" that ends it.
  EXPECT_FALSE(EncodeCommand(Row(TagId::kCopyfile), std::vector<V>{V::Text("a;b"), V::Text("c")}));
  // A ";" in the old name splits there, as the player reads it.
  const CommandFields f(Row(TagId::kRenfile), "<RENFILE:a;b.txt;c.txt>", 0);
  EXPECT_EQ(f.Raw(0), "a");
  EXPECT_EQ(f.Raw(1), "b.txt;c.txt");
}

TEST(CommandFields, SystemSoundCdAndVideoTags) {
  CheckRoundTrips({
      {Row(TagId::kScreen), {V::Number(12)}, "<SCREEN:012>"},
      {Row(TagId::kKeydel), {V::Number(3)}, "<KEYDEL:03>"},
      {Row(TagId::kKeydelShort), {V::Number(3)}, "<KEYDEL:3>"},
      {Row(TagId::kKeyspd), {V::Number(31)}, "<KEYSPD:31>"},
      {Row(TagId::kSstime), {V::Number(10)}, "<SSTIME:10>"},
      {Row(TagId::kWbsize), {V::Number(4)}, "<WBSIZE:04>"},
      {Row(TagId::kWallt), {V::Text("c:\\pics\\a.bmp")}, "<WALLT:c:\\pics\\a.bmp>"},
      {Row(TagId::kWallp), {V::Number(100), V::Number(50), V::Text("c:\\b.bmp")}, "<WALLP:0100,0050c:\\b.bmp>"},
      {Row(TagId::kDefprt), {V::Text("Laser Printer")}, "<DEFPRT:Laser Printer>"},
      {Row(TagId::kCprun), {V::Text("desk.cpl"), V::Letter('2')}, "<CPRUN:desk.cpl:2>"},
      {Row(TagId::kCpopen), {}, "<CPOPEN>"},
      {Row(TagId::kWav1), {V::Text("c:\\ding.wav")}, "<WAV1:c:\\ding.wav>"},
      {Row(TagId::kBeep), {}, "<BEEP>"},
      {Row(TagId::kAvi), {V::Text("clip.avi")}, "<AVI:clip.avi>"},
      {Row(TagId::kAvie), {V::Text("%T2%")}, "<AVIE:%T2%>"},
      {Row(TagId::kCdPlayDrive), {V::Letter('F'), V::Letter('E')}, "<CDPLAY:FE>"},
      {Row(TagId::kCdPauseDrive), {V::Letter('T'), V::Letter('D')}, "<CDPAUSE:TD>"},
      {Row(TagId::kCdGoto), {V::Number(3)}, "<CDGOTO:03>"},
      {Row(TagId::kCdGotoDrive), {V::Letter('F'), V::Letter('E'), V::Number(3)}, "<CDGOTO:FE03>"},
      {Row(TagId::kCdBackDrive), {V::Letter('T'), V::Letter('D'), V::Number(10)}, "<CDBACK:TD10>"},
  });
}

TEST(CommandFields, NumberOrVariableFields) {
  constexpr FieldSpec kFields[] = {{"prefixed", 3, 3, FieldKind::kNumberOrN},
                                   {"suffixed", 7, 4, FieldKind::kNumberN, ','}};
  constexpr CommandForm kForms[] = {{kAllFields, 0, ">"}};
  const CommandLayout layout{false, kFields, kForms};
  struct Case {
    FieldValue prefixed, suffixed;
    const char* text;
  };
  const Case cases[] = {
      {V::Number(3), V::Number(-5), "<X:003,-005>"},
      {V::Variable(5), V::Variable(7), "<X:N05,007N>"},
      {V::Number(999), V::Number(640), "<X:999,0640>"},
  };
  for (const Case& c : cases) {
    const std::vector<FieldValue> values = {c.prefixed, c.suffixed};
    EXPECT_EQ(EncodeFields(layout, "<X:", values), c.text);
    const CommandFields f(&layout, 3, c.text, 0);
    EXPECT_EQ(f.Values(), values) << c.text;
  }
  const std::vector<FieldValue> negativeVariable = {V::Variable(-1)};
  EXPECT_EQ(EncodeFields(layout, "<X:", negativeVariable), std::nullopt);
}

}  // namespace
}  // namespace wdx
