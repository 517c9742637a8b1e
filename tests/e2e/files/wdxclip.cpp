// wdxclip: "set TEXT" puts the text on the clipboard; "get" writes the clipboard's text (exit
// code 1 when it holds none).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool Open() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(20);
  }
  return false;
}

int Set(const char* text) {
  const std::size_t n = std::strlen(text) + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, n);
  if (memory == nullptr) return 1;
  std::memcpy(GlobalLock(memory), text, n);
  GlobalUnlock(memory);
  if (!Open()) return 1;
  EmptyClipboard();
  const bool stored = SetClipboardData(CF_TEXT, memory) != nullptr;
  CloseClipboard();
  return stored ? 0 : 1;
}

int Get() {
  if (!Open()) return 1;
  int code = 1;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* text = static_cast<const char*>(GlobalLock(data))) {
      std::fwrite(text, 1, strnlen(text, GlobalSize(data)), stdout);
      GlobalUnlock(data);
      code = 0;
    }
  }
  CloseClipboard();
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "set") return Set(argv[2]);
  if (argc == 2 && std::string(argv[1]) == "get") return Get();
  std::fprintf(stderr, "usage: wdxclip set TEXT | wdxclip get\n");
  return 2;
}
