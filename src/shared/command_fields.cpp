#include "shared/command_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "shared/command_layouts.h"

namespace wdx {

namespace {

using K = FieldKind;

// --- The descriptions, family by family ---------------------------------------------------

struct Described {
  TagId id;
  const CommandLayout* layout;
};

constexpr Described kDescribed[] = {
    {TagId::kAlt, &cmd::kAlt},
    {TagId::kAlt4, &cmd::kAlt4},
    {TagId::kTog, &cmd::kTog},
    {TagId::kTdelay, &cmd::kTdelay},
    {TagId::kItdelay, &cmd::kItdelay},
    {TagId::kDelay, &cmd::kDelay},
    {TagId::kIdelay, &cmd::kIdelay},
    {TagId::kSpeed, &cmd::kSpeed},
    {TagId::kMsd, &cmd::kMsd},
    {TagId::kImsd, &cmd::kImsd},
    {TagId::kSpkey, &cmd::kSpkey},
    {TagId::kSpmse, &cmd::kSpmse},
    {TagId::kPauseAt, &cmd::kPauseAt},
    {TagId::kRem, &cmd::kRem},
    {TagId::kDis, &cmd::kDis},
    {TagId::kVarsr, &cmd::kVarsr},
    {TagId::kNmvar, &cmd::kNmvar},
    {TagId::kDmvar, &cmd::kDmvar},
    {TagId::kTmvar, &cmd::kTmvar},
    {TagId::kDateTag, &cmd::kDateTag},
    {TagId::kTimeTag, &cmd::kTimeTag},
    {TagId::kRepeat, &cmd::kRepeat},
    {TagId::kRep, &cmd::kRep},
    {TagId::kRep3, &cmd::kRep3},
    {TagId::kIfvar, &cmd::kIfvar},
    {TagId::kIfoth, &cmd::kIfoth},
    {TagId::kIfmess, &cmd::kIfmess},
    {TagId::kMacrun, &cmd::kMacrun},
    {TagId::kMacdel, &cmd::kMacdel},
    {TagId::kMacact, &cmd::kMacact},
    {TagId::kMacdeact, &cmd::kMacdeact},
    {TagId::kSwap, &cmd::kSwap},
    {TagId::kActivate, &cmd::kWindowAt10},
    {TagId::kWshut, &cmd::kWindowAt7},
    {TagId::kWhide, &cmd::kWindowAt7},
    {TagId::kWshow, &cmd::kWindowAt7},
    {TagId::kWmax, &cmd::kWindowAt6},
    {TagId::kWmin, &cmd::kWindowAt6},
    {TagId::kWcls, &cmd::kWindowAt6},
    {TagId::kWres, &cmd::kWindowAt6},
    {TagId::kWsize, &cmd::kWsize},
    {TagId::kWsizepix, &cmd::kWsizeBy},
    {TagId::kWsizeper, &cmd::kWsizeBy},
    {TagId::kWpos, &cmd::kWpos},
    {TagId::kWpos2, &cmd::kWpos2},
    {TagId::kWpos2pix, &cmd::kWpos2By},
    {TagId::kWpos2per, &cmd::kWpos2By},
    {TagId::kWpos2tl, &cmd::kWindowAt9},
    {TagId::kWpos2tc, &cmd::kWindowAt9},
    {TagId::kWpos2tr, &cmd::kWindowAt9},
    {TagId::kWpos2lc, &cmd::kWindowAt9},
    {TagId::kWpos2cc, &cmd::kWindowAt9},
    {TagId::kWpos2rc, &cmd::kWindowAt9},
    {TagId::kWpos2bl, &cmd::kWindowAt9},
    {TagId::kWpos2bc, &cmd::kWindowAt9},
    {TagId::kWpos2br, &cmd::kWindowAt9},
    {TagId::kLaunch, &cmd::kLaunch},
    {TagId::kLaunchdel, &cmd::kLaunchdel},
    {TagId::kLaunchno, &cmd::kLaunchno},
    {TagId::kLaunchyes, &cmd::kLaunchyes},
    {TagId::kLaunchno2, &cmd::kLaunchno2},
    {TagId::kLaunchyes2, &cmd::kLaunchyes2},
    {TagId::kHttp, &cmd::kHttp},
    {TagId::kFtp, &cmd::kFtp},
    {TagId::kExplore, &cmd::kExplore},
    {TagId::kWfw, &cmd::kWheel},
    {TagId::kWbw, &cmd::kWheel},
    {TagId::kMms, &cmd::kMouseMove},
    {TagId::kMmp, &cmd::kMouseMove},
    {TagId::kMmw, &cmd::kMouseMove},
    {TagId::kWaitwin, &cmd::kWaitAt9},
    {TagId::kWaitwlf, &cmd::kWaitAt9},
    {TagId::kWaitprog, &cmd::kWaitAt10},
    {TagId::kWaittxty, &cmd::kWaitAt10},
    {TagId::kWaittxtn, &cmd::kWaitAt10},
    {TagId::kWaitkey, &cmd::kWaitKey},
    {TagId::kWaitlm, &cmd::kWaitMouse},
    {TagId::kWaitrm, &cmd::kWaitMouse},
    {TagId::kWaitmm, &cmd::kWaitMouse},
    {TagId::kWaittime, &cmd::kWaittime},
    {TagId::kPassp, &cmd::kPassp},
    {TagId::kMenu, &cmd::kMenu},
    {TagId::kTvar, &cmd::kTvar},
    {TagId::kIvar, &cmd::kIvar},
    {TagId::kDvar, &cmd::kDvar},
    {TagId::kDial, &cmd::kDial},
    {TagId::kDial2, &cmd::kDial2},
    {TagId::kNwc, &cmd::kNwc},
    {TagId::kNwt, &cmd::kNwt},
    {TagId::kNwd, &cmd::kNwd},
    {TagId::kAdfbeg, &cmd::kAdfbeg},
    {TagId::kBtfbeg, &cmd::kBtfbeg},
    {TagId::kLogerr, &cmd::kLogerr},
    {TagId::kLogfile, &cmd::kLogfile},
    {TagId::kEtext, &cmd::kEtext},
    {TagId::kEtext2, &cmd::kEtext2},
    {TagId::kTfile, &cmd::kTfile},
    {TagId::kTbox2, &cmd::kTbox2},
    {TagId::kTboxHead, &cmd::kTboxHead},
    {TagId::kTbclose, &cmd::kTbclose},
    {TagId::kChdir, &cmd::kChdir},
    {TagId::kMkdir, &cmd::kMkdir},
    {TagId::kDelfile, &cmd::kDelfile},
    {TagId::kCopyfile, &cmd::kCopyfile},
    {TagId::kRenfile, &cmd::kRenfile},
    {TagId::kDofile, &cmd::kDofile},
    {TagId::kScreen, &cmd::kScreen},
    {TagId::kKeydel, &cmd::kTwoDigitSetting},
    {TagId::kKeydelShort, &cmd::kOneDigitSetting},
    {TagId::kKeyspd, &cmd::kTwoDigitSetting},
    {TagId::kSstime, &cmd::kTwoDigitSetting},
    {TagId::kWbsize, &cmd::kTwoDigitSetting},
    {TagId::kWallt, &cmd::kWallpaper},
    {TagId::kWallc, &cmd::kWallpaper},
    {TagId::kWalls, &cmd::kWallpaper},
    {TagId::kWallp, &cmd::kWallp},
    {TagId::kDefprt, &cmd::kDefprt},
    {TagId::kCprun, &cmd::kCprun},
    {TagId::kWav1, &cmd::kWav},
    {TagId::kWav2, &cmd::kWav},
    {TagId::kAvi, &cmd::kAvi},
    {TagId::kAvii, &cmd::kAviAt6},
    {TagId::kAvie, &cmd::kAviAt6},
    {TagId::kCdPlayDrive, &cmd::kCdDriveAt8},
    {TagId::kCdStopDrive, &cmd::kCdDriveAt8},
    {TagId::kCdPauseDrive, &cmd::kCdDriveAt9},
    {TagId::kCdNextDrive, &cmd::kCdDriveAt8},
    {TagId::kCdPrevDrive, &cmd::kCdDriveAt8},
    {TagId::kCdGoto, &cmd::kCdNumber},
    {TagId::kCdGotoDrive, &cmd::kCdDriveNumber},
    {TagId::kCdStep, &cmd::kCdNumber},
    {TagId::kCdStepDrive, &cmd::kCdDriveNumber},
    {TagId::kCdBack, &cmd::kCdNumber},
    {TagId::kCdBackDrive, &cmd::kCdDriveNumber},
    {TagId::kCdEjectDrive, &cmd::kCdDriveAt9},
    {TagId::kCdCloseDrive, &cmd::kCdDriveAt9},
    {TagId::kClipf, &cmd::kClipf},
    {TagId::kClipb, &cmd::kClipb},
    {TagId::kClipsg, &cmd::kClipsg},
    {TagId::kClipst, &cmd::kClipst},
    {TagId::kClipat, &cmd::kClipat},
};

constexpr CommandLayout kKeywordOnly{false, {}, cmd::kEndsWithField};

}  // namespace

// Built when compiling.
constexpr std::array<const CommandLayout*, static_cast<std::size_t>(TagId::kCount)> detail::kDescribedLayouts = [] {
  std::array<const CommandLayout*, static_cast<std::size_t>(TagId::kCount)> byId{};
  for (const Described& d : kDescribed) byId[static_cast<std::size_t>(d.id)] = d.layout;
  return byId;
}();

const CommandLayout* detail::KeywordOnlyLayout(TagId id) {
  const TagInfo* row = FindTagRow(id);
  return row != nullptr && row->extent == TagExtent::kKeyword ? &kKeywordOnly : nullptr;
}

namespace {

// --- Encoding of one value -----------------------------------------------------------------

// Digits of |n| with zeros in front up to width, after a minus when negative; nullopt when
// they do not fit.
std::optional<std::string> Padded(std::string digits, bool negative, std::size_t width) {
  const std::size_t used = digits.size() + (negative ? 1 : 0);
  if (used > width) return std::nullopt;
  return std::string(negative ? "-" : "") + std::string(width - used, '0') + digits;
}

std::optional<std::string> WholeText(std::int64_t n, std::size_t width, bool signedField) {
  if (n < 0 && !signedField) return std::nullopt;
  return Padded(std::to_string(n < 0 ? -n : n), n < 0, width);
}

std::optional<std::string> RealText(double x, std::size_t width, int decimals) {
  if (!std::isfinite(x)) return std::nullopt;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(x));
  // A value that rounds to zero is written without a minus.
  const bool negative = std::signbit(x) && std::strtod(buf, nullptr) != 0.0;
  return Padded(buf, negative, width);
}

std::optional<std::string> FieldText(const FieldSpec& f, const FieldValue& v) {
  switch (f.kind) {
    case K::kDigits:
      return WholeText(v.number, f.width, false);
    case K::kSigned:
      return WholeText(v.number, f.width, true);
    case K::kReal:
      return RealText(v.real, f.width, f.decimals);
    case K::kLetter:
      if (v.letter == '\0') return std::nullopt;
      return std::string(1, v.letter);
    case K::kNumberOrN: {
      if (!v.variable) return WholeText(v.number, f.width, false);
      auto n = WholeText(v.number, f.width - 1u, false);
      return n ? "N" + *n : n;
    }
    case K::kNumberN: {
      if (!v.variable) return WholeText(v.number, f.width, true);
      auto n = WholeText(v.number, f.width - 1u, false);
      return n ? *n + "N" : n;
    }
    case K::kText:
    case K::kText01:
    case K::kText02:
    case K::kOptions:
    case K::kTextSemi:
    case K::kTextLt:
    case K::kLaunchTarget: {
      if (f.width != 0 && v.text.size() > f.width) return std::nullopt;
      // The text must read back whole: its closing byte may not stand in it earlier.
      const std::string out = v.text + ClosingByte(f.kind);
      if (TextFieldClose(f.kind, out, 0) != v.text.size()) return std::nullopt;
      return out;
    }
  }
  return std::nullopt;
}

bool Empty(const FieldValue& v) { return v == FieldValue{}; }

}  // namespace

std::size_t TextFieldClose(FieldKind kind, std::string_view text, std::size_t start) {
  if (start >= text.size()) return std::string_view::npos;
  return kind == K::kLaunchTarget ? LaunchFieldClose(text, start) : text.find(ClosingByte(kind), start);
}

CommandFields::Place CommandFields::Span(const CommandLayout& layout, std::string_view text, std::size_t base,
                                         std::size_t i) {
  const FieldSpec& f = layout.fields[i];
  Place p;
  p.start = f.offset != kFollows ? base + f.offset
                                 : (i > 0 ? Span(layout, text, base, i - 1).next : base) + f.prefix.size();
  if (f.kind < K::kText) {
    p.length = f.width;
    p.next = p.start + p.length;
  } else {
    const std::size_t close = TextFieldClose(f.kind, text, p.start);
    const std::size_t end = close == std::string_view::npos ? std::max(text.size(), p.start) : close;
    p.length = end - p.start;
    p.next = end + 1;
    if (f.width != 0 && p.length > f.width) p.length = f.width;
  }
  return p;
}

FieldValue CommandFields::Value(std::size_t i) const {
  if (i >= count_) return {};
  switch (layout_->fields[i].kind) {
    case K::kDigits:
    case K::kSigned:
      return FieldValue::Number(Whole(i));
    case K::kReal:
      return FieldValue::Real(Real(i));
    case K::kLetter:
      return FieldValue::Letter(Letter(i));
    case K::kNumberOrN:
    case K::kNumberN: {
      const NumberOrVariable n = NumberOrVar(i);
      return n.variable ? FieldValue::Variable(n.number) : FieldValue::Number(n.number);
    }
    case K::kText:
    case K::kText01:
    case K::kText02:
    case K::kOptions:
    case K::kTextSemi:
    case K::kTextLt:
    case K::kLaunchTarget:
      return FieldValue::Text(std::string(Raw(i)));
  }
  return {};
}

std::vector<FieldValue> CommandFields::Values() const {
  std::vector<FieldValue> values;
  if (layout_ == nullptr) return values;
  for (std::size_t i = 0; i < layout_->fields.size(); ++i) values.push_back(Value(i));
  return values;
}

std::optional<std::string> EncodeCommand(const TagInfo& tag, std::span<const FieldValue> values) {
  const CommandLayout* layout = FindCommandLayout(tag.id);
  if (layout == nullptr) return std::nullopt;
  return EncodeFields(*layout, tag.keyword, values);
}

std::optional<std::string> EncodeFields(const CommandLayout& layout, std::string_view keyword,
                                        std::span<const FieldValue> values) {
  std::size_t needed = 0;  // one past the last value that is not empty
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!Empty(values[i])) needed = i + 1;
  }
  const CommandForm* form = nullptr;
  std::size_t count = 0;
  for (const CommandForm& f : layout.forms) {
    count = std::min<std::size_t>(f.fieldCount, layout.fields.size());
    if (count >= needed) {
      form = &f;
      break;
    }
  }
  if (form == nullptr || values.size() > layout.fields.size()) return std::nullopt;
  std::string out(keyword);
  const std::size_t base = layout.fromKeywordEnd ? out.size() : 0;
  static const FieldValue kEmpty;
  for (std::size_t i = 0; i < count; ++i) {
    const FieldSpec& f = layout.fields[i];
    if (f.offset != kFollows) {
      const std::size_t at = base + f.offset;
      if (out.size() > at) return std::nullopt;  // a description whose fields overlap
      out.append(at - out.size(), f.lead != '\0' ? f.lead : ':');
    } else {
      out += f.prefix;
    }
    const std::optional<std::string> text = FieldText(f, i < values.size() ? values[i] : kEmpty);
    if (!text) return std::nullopt;
    out += *text;
  }
  out += form->closing;
  return out;
}

std::optional<std::string> EncodeCommand(const Command& command) {
  const TagInfo* tag = FindTagRow(command.id);
  if (tag == nullptr) return std::nullopt;
  return EncodeCommand(*tag, command.values);
}

std::optional<Command> DecodeCommand(std::string_view text, std::size_t pos, std::size_t* end) {
  const TagInfo* tag = MatchTag(text, pos);
  if (tag == nullptr) return std::nullopt;
  const CommandFields fields(*tag, text, pos);
  if (!fields.Described()) return std::nullopt;
  if (end != nullptr) *end = TagEnd(*tag, text, pos);
  return Command{tag->id, fields.Values()};
}

}  // namespace wdx
