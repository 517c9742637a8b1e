// The soak test's program: several copies of it share one macro library in one folder, each
// taking the network lock, changing records and giving the lock back with its change count, as
// players and editors on a shared drive do. Afterwards no change may be lost or torn, and the
// stamp's counter must equal the changes made.
//
//   netlock_driver prepare DIR             the library DIR/SHARED.WDX and its stamp
//   netlock_driver work DIR ID SECONDS     one copy (ID 1..9) for that long
//   netlock_driver check DIR COPIES        the verdict and the figures
//   netlock_driver edit LIBRARY (NICK CODE TEXT)...
//        another user's change: under one lock, macro NICK of LIBRARY gets the activation CODE
//        and the TEXT (one change counted for each)
//
// Each change adds one to the shared tally record and to the copy's own record; each record's
// text is a pattern derived from its number, so a record half of one write and half of
// another shows. The figures of a copy go to DIR/WORKER<ID>.TXT.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "shared/glob_data.h"
#include "shared/macro_library.h"
#include "shared/network_lock.h"
#include "shared/settings.h"
#include "shared/sync_stamp.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>

#include "platform/win32/win32_file_locks.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_text_services.h"
#else
#include "platform/memory/memory_file_locks.h"
#endif

namespace {

using namespace wdx;
namespace fs = std::filesystem;

constexpr char kTally[] = "TALLY";
constexpr std::size_t kPatternSize = 4000;

#if defined(_WIN32)
using RealClock = platform::Win32Clock;
using RealFileLocks = platform::Win32FileLocks;
using RealFiles = platform::Win32Files;
#else
// The machine's own time, as the stored day count.
class RealClock : public platform::Clock {
 public:
  double Now() override {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
    return 25569.0 + static_cast<double>(ms) / 86400000.0;  // 1970-01-01 is day 25569
  }
  std::uint32_t TickCount() override {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }
  void Sleep(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};
using RealFileLocks = platform::MemoryFileLocks;
// The paths as given: the copies share a real folder.
class RealFiles : public platform::Files {
 public:
  std::string NativePath(const std::string& path) override { return path; }
};
#endif

// Nothing to show: problems reach the lock's host, which counts them.
class NoBoxes : public platform::MessageBoxes {
 public:
  int Show(platform::WindowHandle, const std::string& text, const std::string&, std::uint32_t) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return 0;
  }
};

class Quiet : public LibraryListener {
  void MacroEntriesChanged(int) override {}
  void MacroCountChanged() override {}
  void TellPeer(int, int) override {}
};

std::string Pattern(const std::string& name, long n) {
  std::string text = name + " " + std::to_string(n) + ";";
  text.resize(kPatternSize, static_cast<char>('A' + n % 26));
  return text;
}

// The number a record's text holds, or -1 when the text is no whole pattern of its name.
long Count(const TMacroRec& r) {
  const std::string text = r.Text();
  const std::string name = r.Nickname();
  if (text.rfind(name + " ", 0) != 0) return -1;
  const long n = std::strtol(text.c_str() + name.size() + 1, nullptr, 10);
  return n >= 0 && text == Pattern(name, n) ? n : -1;
}

struct Copy : LockHost {
  explicit Copy(const fs::path& dir) : Copy(dir / "SHARED.WDX", 0) {}
  Copy(const fs::path& libraryFile, int) {
    settings.networkMode = true;
    settings.currentLibrary = libraryFile.string();
    library = std::make_unique<MacroLibrary>(settings, glob, files, boxes, clock, quiet);
    lock = std::make_unique<NetworkLock>(settings, files, clock, locks, *this);
  }
  void ReloadEverything() override {
    ++reloads;
    library->ReloadMacroLibrary(false);
  }
  void SetHeartbeat(bool) override {}
  void LockProblem(const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    ++problems;
  }
  int Find(const std::string& nickname) {
    for (int i = 1; i <= glob.MacroCount(); ++i) {
      TMacroRec r;
      if (library->ReadMacroRecord(i, r) && r.Nickname() == nickname) return i;
    }
    return 0;
  }
  // Adds one to record `number`; false when it could not be read whole or written.
  bool Bump(int number, long* torn) {
    TMacroRec r;
    if (!library->ReadMacroRecord(number, r)) return false;
    const long n = Count(r);
    if (n < 0) {
      ++*torn;
      return false;
    }
    r.SetText(Pattern(r.Nickname(), n + 1));
    return library->WriteMacroRecord(number, r, false);
  }

  TSettingsRec settings;
  TGlobData glob;
  RealClock clock;
  RealFileLocks locks;
  RealFiles files;
  NoBoxes boxes;
  Quiet quiet;
  std::unique_ptr<MacroLibrary> library;
  std::unique_ptr<NetworkLock> lock;
  long reloads = 0;
  long problems = 0;
};

std::string WorkerName(int id) { return "WORKER" + std::to_string(id); }
fs::path Figures(const fs::path& dir, int id) { return dir / (WorkerName(id) + ".TXT"); }

int Prepare(const fs::path& dir, int copies) {
  Copy c(dir);
  c.library->LoadMacroLibrary(c.settings.currentLibrary, false);  // created, system macros added
  for (int id = 0; id <= copies; ++id) {
    TMacroRec r;
    const std::string name = id == 0 ? kTally : WorkerName(id);
    r.SetNickname(name);
    r.SetActivationCode(activation::kNone);
    r.SetScopeKind(scope::kGlobal);
    r.SetActive(1);
    r.SetText(Pattern(name, 0));
    c.glob.SetMacroCount(c.glob.MacroCount() + 1);
    if (!c.library->WriteMacroRecord(-1, r, false)) {
      std::fprintf(stderr, "cannot write %s\n", c.settings.currentLibrary.c_str());
      return 1;
    }
  }
  // The stamp: counter 1, free.
  c.lock->ReadKnownCounter();
  return c.lock->Stamp() == TSyncRec{1, sync_state::kFree, 0.0} ? 0 : 1;
}

int Work(const fs::path& dir, int id, double seconds) {
  Copy c(dir);
  // As a program starts: the counter as known, then the library.
  c.lock->ReadKnownCounter();
  c.library->LoadMacroLibrary(c.settings.currentLibrary, false);
  const int tally = c.Find(kTally), own = c.Find(WorkerName(id));
  if (tally == 0 || own == 0) {
    std::fprintf(stderr, "worker %d: records not found\n", id);
    return 1;
  }
  long changes = 0, waits = 0, torn = 0, failed = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    switch (c.lock->Acquire()) {
      case LockAnswer::kTaken: {
        const bool ok = c.Bump(tally, &torn) && c.Bump(own, &torn);
        if (!ok) ++failed;
        // Now and then a beat while holding, as a long change would have.
        if (changes % 16 == 0) c.lock->NetTimerTimer();
        c.lock->ReleaseSyncFile(ok ? 1 : 0);
        if (ok) ++changes;
        break;
      }
      case LockAnswer::kHeld:
        ++waits;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        break;
      case LockAnswer::kChanged:
        break;  // reloaded: ask again
      default:
        ++failed;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        break;
    }
  }
  std::ofstream out(Figures(dir, id));
  out << changes << ' ' << waits << ' ' << c.reloads << ' ' << c.lock->StepWaits() << ' ' << torn << ' ' << failed
      << ' ' << c.problems << '\n';
  out.close();
  std::printf("worker %d: changes %ld, lock waits %ld, reloads %ld, stamp step waits %llu, torn %ld, failed %ld\n", id,
              changes, waits, c.reloads, static_cast<unsigned long long>(c.lock->StepWaits()), torn, failed);
  return out && torn == 0 && failed == 0 && c.problems == 0 ? 0 : 1;
}

int Check(const fs::path& dir, int copies) {
  Copy c(dir);
  c.library->LoadMacroLibrary(c.settings.currentLibrary, false);
  bool good = true;
  const auto expect = [&good](bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    good = good && ok;
  };
  long sum = 0, waits = 0, reloads = 0, stepWaits = 0;
  for (int id = 1; id <= copies; ++id) {
    long f[7] = {-1, -1, -1, -1, -1, -1, -1};
    std::ifstream in(Figures(dir, id));
    for (long& v : f) in >> v;
    expect(static_cast<bool>(in), WorkerName(id) + " left its figures");
    TMacroRec r;
    const int own = c.Find(WorkerName(id));
    const long count = own && c.library->ReadMacroRecord(own, r) ? Count(r) : -1;
    expect(count == f[0] && f[0] > 0, WorkerName(id) + "'s record counts its " + std::to_string(f[0]) +
                                          " changes (holds " + std::to_string(count) + ")");
    expect(f[4] == 0 && f[5] == 0 && f[6] == 0, WorkerName(id) + " met no torn record, failed step or lock problem");
    sum += f[0];
    waits += f[1];
    reloads += f[2];
    stepWaits += f[3];
  }
  TMacroRec r;
  const int tally = c.Find(kTally);
  const long total = tally && c.library->ReadMacroRecord(tally, r) ? Count(r) : -1;
  expect(total == sum, "the shared record holds every change: " + std::to_string(total) + " of " +
                           std::to_string(sum) + ", lost " + std::to_string(sum - total));
  TSyncRec stamp;
  const bool read = ReadSyncStamp(dir / "SHARED.WDY", stamp);
  expect(read && stamp.counter == 1 + sum, "the stamp's counter is 1 + the changes: " + std::to_string(stamp.counter));
  expect(read && stamp.state == sync_state::kFree, "the lock is free at the end");
  std::printf("figures: copies %d, changes %ld, lost %ld, lock waits %ld, reloads %ld, stamp step waits %ld\n", copies,
              sum, sum - total, waits, reloads, stepWaits);
  return good ? 0 : 1;
}

// Under one lock: each named macro gets its activation code and text; one change each.
int Edit(const fs::path& library, char** assignments, int count) {
  Copy c(library, 0);
  c.lock->ReadKnownCounter();
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(90);
  for (;;) {
    const LockAnswer answer = c.lock->Acquire();
    if (answer == LockAnswer::kTaken) break;
    if (answer == LockAnswer::kUnavailable || std::chrono::steady_clock::now() > end) {
      std::fprintf(stderr, "the lock of %s cannot be had\n", library.string().c_str());
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  c.library->LoadMacroLibrary(c.settings.currentLibrary, false);
  int changed = 0;
  for (int i = 0; i + 2 < count; i += 3) {
    const int n = c.Find(assignments[i]);
    TMacroRec r;
    if (n == 0 || !c.library->ReadMacroRecord(n, r)) continue;
    r.SetActivationCode(static_cast<std::uint16_t>(std::atoi(assignments[i + 1])));
    r.SetText(assignments[i + 2]);
    if (c.library->WriteMacroRecord(n, r, false)) ++changed;
  }
  c.lock->ReleaseSyncFile(changed);
  std::printf("changed %d: counter %d\n", changed, c.lock->Stamp().counter);
  return changed == count / 3 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);  // LF stays LF for the test's reading
#endif
  const std::string mode = argc > 1 ? argv[1] : "";
  const auto number = [&](int i) { return argc > i ? std::atof(argv[i]) : 0.0; };
  if (mode == "prepare" && argc == 4) return Prepare(argv[2], static_cast<int>(number(3)));
  if (mode == "work" && argc == 5) return Work(argv[2], static_cast<int>(number(3)), number(4));
  if (mode == "check" && argc == 4) return Check(argv[2], static_cast<int>(number(3)));
  if (mode == "edit" && argc >= 6 && (argc - 3) % 3 == 0) return Edit(argv[2], argv + 3, argc - 3);
  std::fprintf(stderr,
               "usage: netlock_driver prepare DIR COPIES | work DIR ID SECONDS | check DIR COPIES | edit LIBRARY (NICK CODE TEXT)...\n");
  return 2;
}
