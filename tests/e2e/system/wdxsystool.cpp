// wdxsystool: "keydelay" and "keyspeed" write the keyboard's repeat delay and speed as the
// system reports them; "rect HWND" writes a window's left, top, right and bottom.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND ToHwnd(const char* text) {
  return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoul(text, nullptr, 10)));
}

int Parameter(UINT action) {
  UINT value = 0;
  if (!SystemParametersInfoA(action, 0, &value, 0)) return 1;
  std::printf("%u\n", value);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "keydelay") == 0) return Parameter(SPI_GETKEYBOARDDELAY);
  if (argc == 2 && std::strcmp(argv[1], "keyspeed") == 0) return Parameter(SPI_GETKEYBOARDSPEED);
  if (argc == 3 && std::strcmp(argv[1], "rect") == 0) {
    RECT r{};
    if (!GetWindowRect(ToHwnd(argv[2]), &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  std::fprintf(stderr, "usage: wdxsystool keydelay | keyspeed | rect HWND\n");
  return 2;
}
