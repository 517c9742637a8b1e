// wdxformdriver: drives the controls of another program's window from outside, the way the
// forms end-to-end test needs (wdxprobe finds windows and types; this reaches single controls).
//
//   click HWND TEXT                  posts BM_CLICK to the descendant button captioned TEXT
//   settext HWND CLASS INDEX TEXT    WM_SETTEXT on the INDEX-th (0-based) descendant of CLASS
//   select HWND CLASS INDEX ITEM     picks ITEM in that combo box as a mouse pick would
//   pickrow HWND CLASS INDEX ITEM    picks ITEM in that list box as a mouse pick would
//   spinup|spindown HWND             presses an arrow of the first up-down control
//   childtext HWND CLASS INDEX       prints the text of that descendant
//   focus HWND                       prints the class of the focused window of HWND's thread
//   exstyle HWND                     prints the extended window style (decimal)
//   rows HWND                        prints the titles and then every row of the first list view,
//                                    cells joined by " | ", as the list gives them to any reader
//   titleclick HWND COL              a right click on title COL of the first list view's header
//
// Exit code 0 done, 1 not found / failed, 2 usage.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND ParseHwnd(const char* s) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoul(s, nullptr, 0)));
}

std::string ClassOf(HWND w) {
  char buf[256] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

// WM_GETTEXT, not GetWindowText: for a window of another process the latter gives only the
// name it was made with, never what an edit field holds now.
std::string TextOf(HWND w) {
  char buf[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, &copied);
  return buf;
}

BOOL CALLBACK CollectChild(HWND w, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  return TRUE;
}

std::vector<HWND> Descendants(HWND top) {
  std::vector<HWND> all;
  EnumChildWindows(top, &CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

HWND NthOfClass(HWND top, const std::string& cls, int index) {
  for (HWND w : Descendants(top)) {
    if (lstrcmpiA(ClassOf(w).c_str(), cls.c_str()) == 0 && index-- == 0) return w;
  }
  return nullptr;
}

// Texts of a list view in another process: the list writes them into memory of its own
// process, which this program lends it and reads back.
class RemoteBuffer {
 public:
  explicit RemoteBuffer(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) remote_ = VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  bool ok() const { return remote_ != nullptr; }
  char* at(std::size_t offset) const { return static_cast<char*>(remote_) + offset; }
  bool Write(const void* data, std::size_t size) {
    return WriteProcessMemory(process_, remote_, data, size, nullptr) != FALSE;
  }
  std::string Text(std::size_t offset) {
    char text[kTextSize] = {};
    ReadProcessMemory(process_, at(offset), text, sizeof text - 1, nullptr);
    return text;
  }
  static constexpr std::size_t kTextSize = 512;
  static constexpr std::size_t kTextOffset = 256;
  static constexpr std::size_t kSize = kTextOffset + kTextSize;

 private:
  HANDLE process_ = nullptr;
  void* remote_ = nullptr;
};

// Sends `message` with a copy of `request` (an LVITEMA or LVCOLUMNA whose text goes to the
// buffer's text part) and returns the text the list wrote.
template <class Request>
std::string AskText(RemoteBuffer& buf, HWND list, UINT message, WPARAM wp, Request request) {
  request.pszText = buf.at(RemoteBuffer::kTextOffset);
  request.cchTextMax = RemoteBuffer::kTextSize;
  char bytes[RemoteBuffer::kSize] = {};
  std::memcpy(bytes, &request, sizeof request);
  buf.Write(bytes, sizeof bytes);
  SendMessageA(list, message, wp, reinterpret_cast<LPARAM>(buf.at(0)));
  return buf.Text(RemoteBuffer::kTextOffset);
}

std::string ItemText(RemoteBuffer& buf, HWND list, int item, int sub) {
  LVITEMA lv{};
  lv.iSubItem = sub;
  return AskText(buf, list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), lv);
}

std::string ColumnTitle(RemoteBuffer& buf, HWND list, int col) {
  LVCOLUMNA c{};
  c.mask = LVCF_TEXT;
  return AskText(buf, list, LVM_GETCOLUMNA, static_cast<WPARAM>(col), c);
}

int Usage() {
  std::fprintf(stderr, "usage: wdxformdriver click|settext|select|pickrow|spinup|spindown|childtext|focus|exstyle HWND ...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // Line ends as written: a text-mode stdout would turn each LF into CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 3) return Usage();
  const std::string cmd = argv[1];
  HWND top = ParseHwnd(argv[2]);
  if (!IsWindow(top)) {
    std::fprintf(stderr, "wdxformdriver: no window %s\n", argv[2]);
    return 1;
  }
  if (cmd == "click" && argc == 4) {
    for (HWND w : Descendants(top)) {
      if (TextOf(w) == argv[3]) return PostMessageA(w, BM_CLICK, 0, 0) ? 0 : 1;
    }
    std::fprintf(stderr, "wdxformdriver: no control captioned %s\n", argv[3]);
    return 1;
  }
  if ((cmd == "settext" || cmd == "select") && argc == 6) {
    HWND w = NthOfClass(top, argv[3], std::atoi(argv[4]));
    if (!w) return 1;
    if (cmd == "settext") {
      SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[5]));
      return 0;
    }
    LRESULT i = SendMessageA(w, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(argv[5]));
    if (i == CB_ERR) return 1;
    SendMessageA(w, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    // A pick with the mouse reports the change to the parent; setting the selection does not.
    SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), CBN_SELCHANGE), reinterpret_cast<LPARAM>(w));
    return 0;
  }
  if (cmd == "pickrow" && argc == 6) {
    HWND w = NthOfClass(top, argv[3], std::atoi(argv[4]));
    if (!w) return 1;
    LRESULT i = SendMessageA(w, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(argv[5]));
    if (i == LB_ERR) return 1;
    SendMessageA(w, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), LBN_SELCHANGE), reinterpret_cast<LPARAM>(w));
    return 0;
  }
  if ((cmd == "spinup" || cmd == "spindown") && argc == 3) {
    HWND w = NthOfClass(top, "msctls_updown32", 0);
    if (!w) return 1;
    RECT r;
    GetClientRect(w, &r);
    // A press on the upper (lower) arrow, as the mouse would make it.
    const LPARAM at = MAKELPARAM(r.right / 2, cmd == "spinup" ? r.bottom / 4 : r.bottom * 3 / 4);
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(w, WM_LBUTTONUP, 0, at);
    return 0;
  }
  if (cmd == "childtext" && argc == 5) {
    HWND w = NthOfClass(top, argv[3], std::atoi(argv[4]));
    if (!w) return 1;
    std::printf("%s\n", TextOf(w).c_str());
    return 0;
  }
  if (cmd == "focus" && argc == 3) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) || !info.hwndFocus) return 1;
    std::printf("%s\n", ClassOf(info.hwndFocus).c_str());
    return 0;
  }
  if (cmd == "rows" && argc == 3) {
    HWND list = NthOfClass(top, "SysListView32", 0);
    if (!list) return 1;
    RemoteBuffer buf(list);
    if (!buf.ok()) return 1;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int cols = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::string line;
    for (int c = 0; c < cols; ++c) line += (c ? " | " : "") + ColumnTitle(buf, list, c);
    std::printf("%s\n", line.c_str());
    for (int r = 0; r < rows; ++r) {
      line.clear();
      for (int c = 0; c < cols; ++c) line += (c ? " | " : "") + ItemText(buf, list, r, c);
      std::printf("%s\n", line.c_str());
    }
    return 0;
  }
  if (cmd == "titleclick" && argc == 4) {
    HWND list = NthOfClass(top, "SysListView32", 0);
    if (!list) return 1;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT r{};
    // The header's item rectangle lies in the header's own memory: sum the column widths.
    int x = 0;
    const int col = std::atoi(argv[3]);
    for (int c = 0; c < col; ++c) x += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
    x += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(col), 0)) / 2;
    GetClientRect(header, &r);
    const LPARAM at = MAKELPARAM(x, r.bottom / 2);
    SendMessageA(header, WM_RBUTTONDOWN, MK_RBUTTON, at);
    SendMessageA(header, WM_RBUTTONUP, 0, at);
    return 0;
  }
  if (cmd == "exstyle" && argc == 3) {
    std::printf("%lu\n", static_cast<unsigned long>(GetWindowLongA(top, GWL_EXSTYLE)));
    return 0;
  }
  return Usage();
}
