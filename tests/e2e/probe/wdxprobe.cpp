// wdxprobe: a small console helper for the end-to-end tests under Wine. It looks at and drives
// the desktop the way a user (or another program) would: finds windows, reads an edit control's
// text, synthesises keystrokes and posts messages. The shell harness (tests/e2e/lib.sh) wraps it.
//
// Window handles are printed and accepted as decimal numbers (0x... is accepted too). Exit code
// 0 means done / found, 1 means not found / timed out / failed, 2 means a usage error.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: wdxprobe <command> [arguments]\n"
    "  list                                   every top-level window: handle pid visible class title\n"
    "  find [--class C] [--title T] [--title-has S] [--visible]\n"
    "                                         handle of the first matching top-level window\n"
    "  wait [same filters] [--timeout MS]     like find, polling until it appears (default 10000 ms)\n"
    "  gone HWND [--timeout MS]               waits until the window no longer exists\n"
    "  text HWND [--child CLASS]              text of the window or of its first CLASS descendant,\n"
    "                                         written unchanged (binary stdout)\n"
    "  post HWND MSG [WPARAM [LPARAM]] [--child CLASS]   PostMessage\n"
    "  send HWND MSG [WPARAM [LPARAM]] [--child CLASS]   SendMessage, prints the result\n"
    "  close HWND                             posts WM_CLOSE\n"
    "  front HWND                             brings the window to the front\n"
    "  foreground                             handle of the foreground window\n"
    "  pid HWND                               process id of the window's owner\n"
    "  keys COMBO...                          keystrokes, e.g. ctrl+alt+h enter shift+f10 0x41\n"
    "  type TEXT                              types TEXT character by character (\\n is Enter)\n"
    "  notepad [FILE]                         starts notepad.exe, prints its process id\n"
    "  tray                                   every icon of the shell's notification area (Wine's):\n"
    "                                         its window, the screen centre X Y, and its tip\n"
    "MSG is a number or one of WM_CLOSE WM_QUIT WM_DESTROY WM_NULL WM_USER[+N] WM_SETTEXT EM_SETMODIFY.\n";

int Usage(const char* why) {
  std::fprintf(stderr, "wdxprobe: %s (\"wdxprobe help\" lists the commands)\n", why);
  return kUsage;
}

bool ParseNumber(const std::string& s, unsigned long long* out) {
  if (s.empty()) return false;
  char* end = nullptr;
  const char* begin = s.c_str();
  bool negative = false;
  if (*begin == '-') {
    negative = true;
    ++begin;
  }
  unsigned long long v = std::strtoull(begin, &end, 0);
  if (end == begin || *end != '\0') return false;
  *out = negative ? static_cast<unsigned long long>(-static_cast<long long>(v)) : v;
  return true;
}

HWND ToHwnd(std::uint32_t value) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value)); }
std::uint32_t FromHwnd(HWND w) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(w)); }

bool ParseHwnd(const std::string& s, HWND* out) {
  unsigned long long v = 0;
  if (!ParseNumber(s, &v) || v == 0) return false;
  *out = ToHwnd(static_cast<std::uint32_t>(v));
  return true;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string TitleOf(HWND w) {
  char buf[1024] = {};
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

std::string ClassOf(HWND w) {
  char buf[256] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

// Options shared by the commands; positional arguments stay in `args`.
struct Options {
  std::vector<std::string> args;
  std::string className, title, titleHas, child;
  bool haveClass = false, haveTitle = false, haveTitleHas = false, visibleOnly = false;
  unsigned long timeoutMs = 10000;
};

bool ParseOptions(int argc, char** argv, int first, Options* o, std::string* error) {
  for (int i = first; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string* dst) {
      if (i + 1 >= argc) {
        *error = a + " needs a value";
        return false;
      }
      *dst = argv[++i];
      return true;
    };
    if (a == "--class") {
      if (!value(&o->className)) return false;
      o->haveClass = true;
    } else if (a == "--title") {
      if (!value(&o->title)) return false;
      o->haveTitle = true;
    } else if (a == "--title-has") {
      if (!value(&o->titleHas)) return false;
      o->haveTitleHas = true;
    } else if (a == "--child") {
      if (!value(&o->child)) return false;
    } else if (a == "--visible") {
      o->visibleOnly = true;
    } else if (a == "--timeout") {
      std::string t;
      unsigned long long v = 0;
      if (!value(&t) || !ParseNumber(t, &v)) {
        *error = "--timeout needs a number of milliseconds";
        return false;
      }
      o->timeoutMs = static_cast<unsigned long>(v);
    } else {
      o->args.push_back(a);
    }
  }
  return true;
}

struct Match {
  const Options* o;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectMatch(HWND w, LPARAM lp) {
  auto* m = reinterpret_cast<Match*>(lp);
  const Options& o = *m->o;
  if (o.visibleOnly && !IsWindowVisible(w)) return TRUE;
  // Class and title compare without case, as FindWindow does.
  if (o.haveClass && Upper(ClassOf(w)) != Upper(o.className)) return TRUE;
  if (o.haveTitle && Upper(TitleOf(w)) != Upper(o.title)) return TRUE;
  if (o.haveTitleHas && Upper(TitleOf(w)).find(Upper(o.titleHas)) == std::string::npos) return TRUE;
  m->found.push_back(w);
  return TRUE;
}

HWND FindTopLevel(const Options& o) {
  Match m{&o, {}};
  EnumWindows(CollectMatch, reinterpret_cast<LPARAM>(&m));
  return m.found.empty() ? nullptr : m.found.front();
}

struct ChildSearch {
  std::string upperClass;
  HWND found = nullptr;
};

BOOL CALLBACK FindChildOfClass(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<ChildSearch*>(lp);
  if (Upper(ClassOf(w)) == s->upperClass) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// The window itself, or its first descendant of the given class.
bool Target(HWND top, const std::string& childClass, HWND* out) {
  if (childClass.empty()) {
    *out = top;
    return true;
  }
  ChildSearch s{Upper(childClass)};
  EnumChildWindows(top, FindChildOfClass, reinterpret_cast<LPARAM>(&s));
  if (!s.found) {
    std::fprintf(stderr, "wdxprobe: window %u has no child of class %s\n", FromHwnd(top), childClass.c_str());
    return false;
  }
  *out = s.found;
  return true;
}

bool ParseMessage(const std::string& s, UINT* out) {
  std::string u = Upper(s);
  unsigned long long v = 0;
  if (u == "WM_CLOSE") *out = WM_CLOSE;
  else if (u == "WM_QUIT") *out = WM_QUIT;
  else if (u == "WM_DESTROY") *out = WM_DESTROY;
  else if (u == "WM_NULL") *out = WM_NULL;
  else if (u == "WM_SETTEXT") *out = WM_SETTEXT;
  else if (u == "EM_SETMODIFY") *out = EM_SETMODIFY;
  else if (u == "WM_USER") *out = WM_USER;
  else if (u.rfind("WM_USER+", 0) == 0 && ParseNumber(u.substr(8), &v)) *out = WM_USER + static_cast<UINT>(v);
  else if (ParseNumber(s, &v)) *out = static_cast<UINT>(v);
  else return false;
  return true;
}

int CmdList() {
  struct Lister {
    static BOOL CALLBACK Each(HWND w, LPARAM) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      std::printf("%u\t%lu\t%d\t%s\t%s\n", FromHwnd(w), static_cast<unsigned long>(pid),
                  IsWindowVisible(w) ? 1 : 0, ClassOf(w).c_str(), TitleOf(w).c_str());
      return TRUE;
    }
  };
  EnumWindows(Lister::Each, 0);
  return kOk;
}

int CmdFind(const Options& o, bool wait) {
  if (!o.haveClass && !o.haveTitle && !o.haveTitleHas) return Usage("find/wait need --class, --title or --title-has");
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND w = FindTopLevel(o)) {
      std::printf("%u\n", FromHwnd(w));
      return kOk;
    }
    if (!wait || GetTickCount() - start >= o.timeoutMs) break;
    Sleep(50);
  }
  std::fprintf(stderr, "wdxprobe: no window matches (class '%s', title '%s', title containing '%s')\n",
               o.className.c_str(), o.title.c_str(), o.titleHas.c_str());
  return kFailed;
}

int CmdGone(const Options& o) {
  HWND w = nullptr;
  if (o.args.size() != 1 || !ParseHwnd(o.args[0], &w)) return Usage("gone needs one window handle");
  DWORD start = GetTickCount();
  while (IsWindow(w)) {
    if (GetTickCount() - start >= o.timeoutMs) {
      std::fprintf(stderr, "wdxprobe: window %u still exists after %lu ms\n", FromHwnd(w), o.timeoutMs);
      return kFailed;
    }
    Sleep(50);
  }
  return kOk;
}

int CmdText(const Options& o) {
  HWND top = nullptr, w = nullptr;
  if (o.args.size() != 1 || !ParseHwnd(o.args[0], &top)) return Usage("text needs one window handle");
  if (!IsWindow(top)) {
    std::fprintf(stderr, "wdxprobe: no window %u\n", FromHwnd(top));
    return kFailed;
  }
  if (!Target(top, o.child, &w)) return kFailed;
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    std::fprintf(stderr, "wdxprobe: window %u does not answer\n", FromHwnd(w));
    return kFailed;
  }
  std::vector<char> buf(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  std::fwrite(buf.data(), 1, std::strlen(buf.data()), stdout);
  std::fflush(stdout);
  return kOk;
}

int CmdMessage(const Options& o, bool post) {
  HWND top = nullptr, w = nullptr;
  UINT message = 0;
  unsigned long long wp = 0, lp = 0;
  if (o.args.size() < 2 || o.args.size() > 4 || !ParseHwnd(o.args[0], &top)) {
    return Usage("post/send need a window handle and a message");
  }
  if (!ParseMessage(o.args[1], &message)) return Usage("unknown message");
  if ((o.args.size() > 2 && !ParseNumber(o.args[2], &wp)) || (o.args.size() > 3 && !ParseNumber(o.args[3], &lp))) {
    return Usage("WPARAM and LPARAM are numbers");
  }
  if (!Target(top, o.child, &w)) return kFailed;
  if (post) {
    if (!PostMessageA(w, message, static_cast<WPARAM>(wp), static_cast<LPARAM>(lp))) {
      std::fprintf(stderr, "wdxprobe: PostMessage to %u failed (error %lu)\n", FromHwnd(w), GetLastError());
      return kFailed;
    }
    return kOk;
  }
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(w, message, static_cast<WPARAM>(wp), static_cast<LPARAM>(lp), SMTO_ABORTIFHUNG, 5000,
                           &result)) {
    std::fprintf(stderr, "wdxprobe: SendMessage to %u failed or timed out\n", FromHwnd(w));
    return kFailed;
  }
  std::printf("%lld\n", static_cast<long long>(result));
  return kOk;
}

int CmdFront(const Options& o) {
  HWND w = nullptr;
  if (o.args.size() != 1 || !ParseHwnd(o.args[0], &w)) return Usage("front needs one window handle");
  if (!IsWindow(w)) {
    std::fprintf(stderr, "wdxprobe: no window %u\n", FromHwnd(w));
    return kFailed;
  }
  if (IsIconic(w)) ShowWindow(w, SW_RESTORE);
  SetForegroundWindow(w);
  BringWindowToTop(w);
  for (int i = 0; i < 40 && GetForegroundWindow() != w; ++i) Sleep(25);
  if (GetForegroundWindow() != w) {
    std::fprintf(stderr, "wdxprobe: window %u did not come to the front\n", FromHwnd(w));
    return kFailed;
  }
  return kOk;
}

struct NamedKey {
  const char* name;
  BYTE vk;
};
constexpr NamedKey kKeyNames[] = {
    {"CTRL", VK_CONTROL},  {"CONTROL", VK_CONTROL}, {"ALT", VK_MENU},      {"SHIFT", VK_SHIFT},
    {"WIN", VK_LWIN},      {"ENTER", VK_RETURN},    {"RETURN", VK_RETURN}, {"TAB", VK_TAB},
    {"ESC", VK_ESCAPE},    {"ESCAPE", VK_ESCAPE},   {"SPACE", VK_SPACE},   {"BACKSPACE", VK_BACK},
    {"DELETE", VK_DELETE}, {"DEL", VK_DELETE},      {"INSERT", VK_INSERT}, {"HOME", VK_HOME},
    {"END", VK_END},       {"PGUP", VK_PRIOR},      {"PGDN", VK_NEXT},     {"LEFT", VK_LEFT},
    {"RIGHT", VK_RIGHT},   {"UP", VK_UP},           {"DOWN", VK_DOWN},     {"CAPSLOCK", VK_CAPITAL},
    {"NUMLOCK", VK_NUMLOCK}, {"SCROLLLOCK", VK_SCROLL}, {"PAUSE", VK_PAUSE}, {"APPS", VK_APPS},
};

bool IsExtended(BYTE vk) {
  switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_LWIN: case VK_RWIN: case VK_APPS:
    case VK_RCONTROL: case VK_RMENU: case VK_DIVIDE: case VK_NUMLOCK:
      return true;
    default:
      return false;
  }
}

void Key(BYTE vk, bool up) {
  DWORD flags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)), flags, 0);
}

bool ParseKey(const std::string& name, BYTE* vk) {
  std::string u = Upper(name);
  for (const NamedKey& k : kKeyNames) {
    if (u == k.name) {
      *vk = k.vk;
      return true;
    }
  }
  unsigned long long v = 0;
  if (u.size() >= 2 && u[0] == 'F' && ParseNumber(u.substr(1), &v) && v >= 1 && v <= 24) {
    *vk = static_cast<BYTE>(VK_F1 + v - 1);
    return true;
  }
  if (u.size() == 1 && (std::isalnum(static_cast<unsigned char>(u[0])))) {
    *vk = static_cast<BYTE>(u[0]);  // letters and digits are their own virtual keys
    return true;
  }
  if (u.size() > 2 && u.rfind("0X", 0) == 0 && ParseNumber(u, &v) && v > 0 && v < 256) {
    *vk = static_cast<BYTE>(v);
    return true;
  }
  return false;
}

// One combination like "ctrl+alt+h": every key pressed in order, then released in reverse.
int SendCombo(const std::string& combo) {
  std::vector<BYTE> keys;
  std::size_t start = 0;
  for (;;) {
    std::size_t plus = combo.find('+', start);
    std::string part = combo.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
    BYTE vk = 0;
    if (!ParseKey(part, &vk)) {
      std::fprintf(stderr, "wdxprobe: unknown key '%s' in '%s'\n", part.c_str(), combo.c_str());
      return kUsage;
    }
    keys.push_back(vk);
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  for (BYTE vk : keys) Key(vk, false);
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) Key(*it, true);
  return kOk;
}

int CmdKeys(const Options& o) {
  if (o.args.empty()) return Usage("keys needs at least one key combination");
  for (const std::string& combo : o.args) {
    if (int rc = SendCombo(combo); rc != kOk) return rc;
    Sleep(10);
  }
  return kOk;
}

int CmdType(const Options& o) {
  if (o.args.size() != 1) return Usage("type needs one text");
  std::string text;
  const std::string& raw = o.args[0];
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size()) {
      char n = raw[++i];
      text += n == 'n' ? '\n' : n == 't' ? '\t' : n;
    } else {
      text += raw[i];
    }
  }
  for (char c : text) {
    if (c == '\n') {
      Key(VK_RETURN, false);
      Key(VK_RETURN, true);
      continue;
    }
    SHORT scan = VkKeyScanA(c);
    if (scan == -1) {
      std::fprintf(stderr, "wdxprobe: no key types character %d\n", static_cast<unsigned char>(c));
      return kFailed;
    }
    BYTE vk = LOBYTE(scan), shift = HIBYTE(scan);
    if (shift & 1) Key(VK_SHIFT, false);
    if (shift & 2) Key(VK_CONTROL, false);
    if (shift & 4) Key(VK_MENU, false);
    Key(vk, false);
    Key(vk, true);
    if (shift & 4) Key(VK_MENU, true);
    if (shift & 2) Key(VK_CONTROL, true);
    if (shift & 1) Key(VK_SHIFT, true);
  }
  return kOk;
}

int CmdNotepad(const Options& o) {
  std::string cmd = "notepad.exe";
  if (o.args.size() > 1) return Usage("notepad takes at most one file");
  if (o.args.size() == 1) cmd += " \"" + o.args[0] + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "wdxprobe: cannot start notepad.exe (error %lu)\n", GetLastError());
    return kFailed;
  }
  std::printf("%lu\n", static_cast<unsigned long>(pi.dwProcessId));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return kOk;
}

// ---------------------------------------------------------------------------------------------
// The notification area as Wine's shell keeps it: one small window per icon (the X11 driver's
// stand-alone tray, or the shell's own), which hears the mouse and tells the icon's owner, and a
// tooltip control that holds the icon's tip. The tip lives in the shell's process, so it is read
// through memory lent there.

bool IsTrayIconClass(const std::string& c) { return c == "__winex11_tray_icon" || c == "__wine_tray_icon"; }

struct TrayWindows {
  std::vector<HWND> icons, tooltips;
  static BOOL CALLBACK Child(HWND w, LPARAM lp) {
    if (IsTrayIconClass(ClassOf(w))) reinterpret_cast<TrayWindows*>(lp)->icons.push_back(w);
    return TRUE;
  }
  static BOOL CALLBACK Top(HWND w, LPARAM lp) {
    auto* t = reinterpret_cast<TrayWindows*>(lp);
    const std::string c = ClassOf(w);
    if (IsTrayIconClass(c)) t->icons.push_back(w);
    if (c == "tooltips_class32") t->tooltips.push_back(w);
    EnumChildWindows(w, Child, lp);
    return TRUE;
  }
};

// The tip that `tooltip` holds for the tool `icon` (its whole window), or "" when it has none.
std::string RemoteTip(HWND tooltip, HWND icon) {
  DWORD pid = 0;
  GetWindowThreadProcessId(tooltip, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                               FALSE, pid);
  if (!process) return {};
  // The tool record is laid out for this program's width; a shell of the other width would read
  // it wrongly (and might fall over), so its tips are left to the probe of its own width.
  BOOL selfWow = FALSE;
  BOOL shellWow = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &selfWow) || !IsWow64Process(process, &shellWow) || selfWow != shellWow) {
    CloseHandle(process);
    return {};
  }
  constexpr std::size_t kChars = 128;
  wchar_t text[kChars] = {};
  const SIZE_T size = sizeof(TTTOOLINFOW) + sizeof text;
  auto* remote = static_cast<BYTE*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = icon;
    ti.uId = reinterpret_cast<UINT_PTR>(icon);
    ti.lpszText = reinterpret_cast<LPWSTR>(remote + sizeof ti);
    DWORD_PTR result = 0;
    if (WriteProcessMemory(process, remote, &ti, sizeof ti, nullptr) &&
        WriteProcessMemory(process, remote + sizeof ti, text, sizeof text, nullptr) &&
        SendMessageTimeoutW(tooltip, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000,
                            &result)) {
      ReadProcessMemory(process, remote + sizeof ti, text, sizeof text, nullptr);
    }
    text[kChars - 1] = L'\0';
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  char utf8[kChars * 3] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

int CmdTray() {
  TrayWindows t;
  EnumWindows(TrayWindows::Top, reinterpret_cast<LPARAM>(&t));
  for (HWND icon : t.icons) {
    DWORD iconPid = 0;
    GetWindowThreadProcessId(icon, &iconPid);
    std::string tip;
    for (HWND tooltip : t.tooltips) {
      DWORD pid = 0;
      GetWindowThreadProcessId(tooltip, &pid);
      if (pid == iconPid && !(tip = RemoteTip(tooltip, icon)).empty()) break;
    }
    RECT r{};
    GetWindowRect(icon, &r);
    std::printf("%u\t%ld\t%ld\t%s\n", FromHwnd(icon), (r.left + r.right) / 2, (r.top + r.bottom) / 2, tip.c_str());
  }
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  // Binary mode: what we print (handles, a window's text) must come out unchanged, with no
  // LF turned into CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) return Usage("no command");
  std::string cmd = argv[1];
  Options o;
  std::string error;
  if (!ParseOptions(argc, argv, 2, &o, &error)) return Usage(error.c_str());

  if (cmd == "list") return CmdList();
  if (cmd == "find") return CmdFind(o, false);
  if (cmd == "wait") return CmdFind(o, true);
  if (cmd == "gone") return CmdGone(o);
  if (cmd == "text") return CmdText(o);
  if (cmd == "post") return CmdMessage(o, true);
  if (cmd == "send") return CmdMessage(o, false);
  if (cmd == "close") {
    if (o.args.size() != 1) return Usage("close needs one window handle");
    o.args.push_back("WM_CLOSE");
    return CmdMessage(o, true);
  }
  if (cmd == "front") return CmdFront(o);
  if (cmd == "foreground") {
    std::printf("%u\n", FromHwnd(GetForegroundWindow()));
    return kOk;
  }
  if (cmd == "pid") {
    HWND w = nullptr;
    if (o.args.size() != 1 || !ParseHwnd(o.args[0], &w)) return Usage("pid needs one window handle");
    DWORD pid = 0;
    if (!IsWindow(w) || !GetWindowThreadProcessId(w, &pid)) return kFailed;
    std::printf("%lu\n", static_cast<unsigned long>(pid));
    return kOk;
  }
  if (cmd == "keys") return CmdKeys(o);
  if (cmd == "type") return CmdType(o);
  if (cmd == "notepad") return CmdNotepad(o);
  if (cmd == "tray") return CmdTray();
  if (cmd == "help" || cmd == "--help") {
    std::fputs(kUsageText, stdout);
    return kOk;
  }
  return Usage(("unknown command " + cmd).c_str());
}
