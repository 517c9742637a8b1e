// wdxdialogopener: a test opener of the editor's command dialogs. It opens them one after the
// other on the real Win32 form view, as the direct text editor does (a fresh command, the
// confirmed tag put in at the caret of its text) and as the macro editors open the schedule
// dialog (on the macro record being edited), and writes what each opener received:
//
//   wdxdialogopener RESULT-FILE
//
// 1. "Keys Up Or Down" and 2. "Toggle Keys": key=..., keyAction=..., toggle=..., toggleKind=...
//    (the text the opener's caret text became; "" after Cancel);
// 3. "Set Schedule" over a daily 12:00 PM record (its other panels filled for 15 June 2030): scheduleClosed=Update|Cancel and the
//    record's schedule fields.
#include <cstdio>
#include <string>

#include "editor/dialogs/key_down.h"
#include "editor/dialogs/openers.h"
#include "editor/dialogs/sched.h"
#include "forms/win32/win32_runner.h"
#include "platform/win32/win32_platform.h"
#include "shared/text_util.h"

namespace {

using namespace wdx;
using namespace wdx::editor;

// The direct text editor's side of the protocol, over a text of its own with the caret at
// its end.
class TextOpener : public DirectEditorOpener {
 public:
  bool InsertAtCaret(std::string_view tag) override {
    text.append(tag);
    return true;
  }
  bool AppendToText(std::string_view tag) override { return InsertAtCaret(tag); }
  std::string text;
};

template <class Dialog>
void OpenFresh(forms::FormRunner& runner, Dialog& dialog, TextOpener& opener) {
  dialog.NewCommand = 1;
  if (ShowCommandDialog(runner, dialog)) opener.InsertAtCaret(dialog.ResultText);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: wdxdialogopener RESULT-FILE\n");
    return 2;
  }
  platform::Win32Platform win32;
  platform::Platform p = win32.Get();
  forms::Win32Runner runner;
  const DialogServices services = DialogServices::Of(p, ProgramFolderOf(p.processes->OwnExecutablePath()));

  TextOpener keys;
  TDoKeyUpDown keyDialog(services);
  OpenFresh(runner, keyDialog, keys);

  TextOpener toggles;
  TDoToggleKeys toggleDialog(services);
  OpenFresh(runner, toggleDialog, toggles);

  TMacroRec record;
  record.SetActivationCode(10000);
  record.SetScheduleKind(schedule::kDaily);
  for (int d = 0; d < 7; ++d) record.SetDayFlag(d, 1);
  record.SetHour(12);
  record.SetMinute(0);
  record.SetPm(1);
  record.SetEveryMinutes(15);
  record.SetMinutePastHour(15);
  record.SetYear(2030);
  record.SetMonth(6);
  record.SetDay(15);
  record.SetWeekday(7);
  TDoSchedule schedule(record, *p.clock, services);
  const forms::ModalResult closed = runner.ShowModal(schedule);

  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) return 3;
  std::fprintf(out, "key=%s\nkeyAction=%d\n", keys.text.c_str(), static_cast<int>(keyDialog.model.KeyAction));
  std::fprintf(out, "toggle=%s\ntoggleKind=%u\n", toggles.text.c_str(), static_cast<unsigned>(toggleDialog.model.ToggleKind));
  std::fprintf(out, "scheduleClosed=%s\n", closed == forms::ModalResult::kCancel ? "Cancel" : "Update");
  std::fprintf(out, "kind=%u\ninterval=%u\nhour=%u\nminute=%u\npm=%u\n", record.ScheduleKind(), record.EveryMinutes(),
               record.Hour(), record.Minute(), record.Pm());
  std::fprintf(out, "days=");
  for (int d = 0; d < 7; ++d) std::fprintf(out, "%u", record.DayFlag(d));
  std::fprintf(out, "\n");
  return std::fclose(out) == 0 ? 0 : 3;
}
