// CD audio commands: play, stop, pause and resume, next and previous track, go to a track, step
// forward or back by seconds, eject and close the tray, through the media control interface.
// The device is opened by the first command that needs it and stays open, across runs, until a
// stop, eject or close-tray command closes it. A failing device command is reported and the
// macro goes on.
#include <cstdint>
#include <optional>
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "shared/globals.h"

namespace wdx::player {

namespace {

namespace ms = platform::media_status;
constexpr const char* kCaption = "CD Audio Error";

// A place on the disc: a track and the seconds into it.
struct DiscPlace {
  std::int32_t track = 1;
  std::int32_t seconds = 0;
};

class CdAudioFamily final : public CommandFamily {
 public:
  explicit CdAudioFamily(Interpreter& in) { in.Claim<&CdAudioFamily::Run>(TagFamily::kCdAudio, *this); }

 private:
  // A device command that failed: reported, and false.
  static bool Ok(Interpreter& in, platform::MediaControl& media, std::uint32_t result) {
    if (result == 0) return true;
    ReportOnly(in, kCaption, media.ErrorText(result));
    return false;
  }

  // The first CD drive, found once.
  std::string CdDrive(platform::MediaControl& media) {
    if (cdDrive_.empty()) cdDrive_ = media.FirstCdDrive();
    return cdDrive_;
  }

  // Opens the device when it is closed: the drive the tag names when its flag says so (the
  // flag the editor writes for a chosen drive), the first CD drive otherwise.
  bool Open(Interpreter& in, platform::MediaControl& media, const CommandFields& f, bool hasDrive) {
    if (device_ != 0) return true;
    std::string drive;
    if (hasDrive && f.Letter(cmd::cd::kFlag) == cmd::cd::kChosenDrive && f.Letter(cmd::cd::kDrive) != '\0') {
      drive = std::string{f.Letter(cmd::cd::kDrive), ':'};
    } else {
      drive = CdDrive(media);
    }
    if (drive.empty()) {
      ReportOnly(in, kCaption, "There is no CD drive on this computer.");
      return false;
    }
    std::uint32_t device = 0;
    if (!Ok(in, media, media.OpenCd(drive, true, device))) return false;
    device_ = device;
    if (!Ok(in, media, media.SetTimeFormat(device_, platform::media_time::kTmsf))) {
      Close(media);
      return false;
    }
    return true;
  }

  void Close(platform::MediaControl& media) {
    if (device_ != 0) media.Close(device_);
    device_ = 0;
  }

  static std::uint32_t Tmsf(const DiscPlace& p) {
    return static_cast<std::uint32_t>(MakeTmsfPosition(static_cast<std::uint8_t>(p.track),
                                                       static_cast<std::uint8_t>(p.seconds / 60),
                                                       static_cast<std::uint8_t>(p.seconds % 60), 0));
  }

  // The track's length in seconds; nullopt when the device failed (reported).
  std::optional<std::int32_t> Length(Interpreter& in, platform::MediaControl& media, std::int32_t track) {
    std::uint32_t value = 0;
    if (!Ok(in, media, media.Status(device_, ms::kLength, static_cast<std::uint32_t>(track), value))) return std::nullopt;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    SplitMsfLength(static_cast<std::int16_t>(value & 0xFFFF), minutes, seconds);
    return minutes * 60 + seconds;
  }

  // Stepping by seconds: a step that passes the end of the track goes on into the next ones
  // (and stops at the end of the last), a step back before its start into the ones before (and
  // stops at the start of the disc).
  std::optional<DiscPlace> Stepped(Interpreter& in, platform::MediaControl& media, DiscPlace p, std::int32_t by,
                                   std::int32_t tracks) {
    p.seconds += by;
    while (p.seconds < 0) {
      if (p.track <= 1) return DiscPlace{1, 0};
      --p.track;
      const std::optional<std::int32_t> length = Length(in, media, p.track);
      if (!length) return std::nullopt;
      p.seconds += *length;
    }
    for (;;) {
      const std::optional<std::int32_t> length = Length(in, media, p.track);
      if (!length) return std::nullopt;
      if (p.seconds < *length) return p;
      if (p.track >= tracks) return DiscPlace{p.track, *length > 0 ? *length - 1 : 0};
      p.seconds -= *length;
      ++p.track;
    }
  }

  void Run(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::MediaControl* media = Facility(in, &platform::Platform::media, kCaption, "media control interface");
    if (media == nullptr) return;
    const CommandFields f = FieldsOf(level, tag);
    const bool hasDrive = tag.keyword.back() == ':' && tag.id != TagId::kCdGoto && tag.id != TagId::kCdStep &&
                          tag.id != TagId::kCdBack;
    if (!Open(in, *media, f, hasDrive)) return;
    switch (tag.id) {
      case TagId::kCdPlay:
      case TagId::kCdPlayDrive: Ok(in, *media, media->Play(device_, std::nullopt, false)); break;
      case TagId::kCdStop:
      case TagId::kCdStopDrive:
        Ok(in, *media, media->Stop(device_));
        Close(*media);
        break;
      case TagId::kCdPause:
      case TagId::kCdPauseDrive: {
        std::uint32_t mode = 0;
        if (!Ok(in, *media, media->Status(device_, ms::kMode, std::nullopt, mode))) break;
        if (mode == platform::media_mode::kPlaying) Ok(in, *media, media->Pause(device_));
        if (mode == platform::media_mode::kPaused) Ok(in, *media, media->Resume(device_));
        break;
      }
      case TagId::kCdNext:
      case TagId::kCdNextDrive:
      case TagId::kCdPrev:
      case TagId::kCdPrevDrive: NextOrPrevious(in, *media, tag.id == TagId::kCdNext || tag.id == TagId::kCdNextDrive); break;
      case TagId::kCdGoto:
      case TagId::kCdGotoDrive: {
        const std::int32_t track = tag.id == TagId::kCdGoto ? f.Whole(0) : f.Whole(cmd::cd::kNumber);
        std::uint32_t start = 0;
        if (Ok(in, *media, media->Status(device_, ms::kPosition, static_cast<std::uint32_t>(track), start))) {
          Ok(in, *media, media->Play(device_, start, false));
        }
        break;
      }
      case TagId::kCdStep:
      case TagId::kCdStepDrive:
      case TagId::kCdBack:
      case TagId::kCdBackDrive: {
        const bool plain = tag.id == TagId::kCdStep || tag.id == TagId::kCdBack;
        const std::int32_t seconds = plain ? f.Whole(0) : f.Whole(cmd::cd::kNumber);
        const bool back = tag.id == TagId::kCdBack || tag.id == TagId::kCdBackDrive;
        Step(in, *media, back ? -seconds : seconds);
        break;
      }
      case TagId::kCdEject:
      case TagId::kCdEjectDrive:
        Ok(in, *media, media->SetDoor(device_, true));
        Close(*media);
        break;
      case TagId::kCdClose:
      case TagId::kCdCloseDrive:
        media->SetDoor(device_, false);  // a tray that is closed already is no failure
        Close(*media);
        break;
      default: break;
    }
  }

  // The position and the number of tracks; nullopt when the device failed (reported).
  std::optional<DiscPlace> Position(Interpreter& in, platform::MediaControl& media, std::int32_t& tracks) {
    std::uint32_t position = 0;
    std::uint32_t count = 0;
    if (!Ok(in, media, media.Status(device_, ms::kPosition, std::nullopt, position)) ||
        !Ok(in, media, media.Status(device_, ms::kNumberOfTracks, std::nullopt, count))) {
      return std::nullopt;
    }
    std::int32_t t = 0, m = 0, s = 0, frames = 0;
    SplitTmsfPosition(static_cast<std::int32_t>(position), t, m, s, frames);
    tracks = static_cast<std::int32_t>(count);
    return DiscPlace{t, m * 60 + s};
  }

  void NextOrPrevious(Interpreter& in, platform::MediaControl& media, bool next) {
    std::int32_t tracks = 0;
    const std::optional<DiscPlace> at = Position(in, media, tracks);
    if (!at) return;
    std::int32_t target = at->track;
    if (next && at->track < tracks) target = at->track + 1;
    // At the very start of a track, "previous" goes to the one before.
    if (!next && at->seconds == 0 && at->track > 1) target = at->track - 1;
    std::uint32_t start = 0;
    if (!Ok(in, media, media.Status(device_, ms::kPosition, static_cast<std::uint32_t>(target), start))) return;
    std::uint32_t mode = 0;
    const bool playing = media.Status(device_, ms::kMode, std::nullopt, mode) == 0 && mode == platform::media_mode::kPlaying;
    Ok(in, media, playing ? media.Play(device_, start, false) : media.Seek(device_, start));
  }

  void Step(Interpreter& in, platform::MediaControl& media, std::int32_t by) {
    std::int32_t tracks = 0;
    const std::optional<DiscPlace> at = Position(in, media, tracks);
    if (!at) return;
    const std::optional<DiscPlace> to = Stepped(in, media, *at, by, tracks);
    if (!to) return;
    if (Ok(in, media, media.Seek(device_, Tmsf(*to)))) Ok(in, media, media.Play(device_, std::nullopt, false));
  }

  std::uint32_t device_ = 0;  // 0: closed
  std::string cdDrive_;
};

}  // namespace

std::unique_ptr<CommandFamily> MakeCdAudioFamily(Interpreter& in) { return std::make_unique<CdAudioFamily>(in); }

}  // namespace wdx::player
