#include "wendplay/main_window.h"

namespace wdx::wendplay {

int RunMainWindow(platform::Platform& p) {
  platform::WindowSystem& windows = *p.windows;
  platform::MessageLoop& loop = *p.loop;
  const platform::WindowHandle w =
      windows.CreateOwnWindow(kMainWindowClass, kMainWindowTitle, [&loop](const platform::Message& m) -> std::int64_t {
        // Closing ends the loop; the window itself is destroyed after the loop, not from
        // inside its own handler.
        if (m.message == platform::msg::kClose) loop.Quit(0);
        return 0;
      });
  if (w == platform::kNoWindow) return 1;
  const int code = loop.Run();
  windows.DestroyOwnWindow(w);
  return code;
}

}  // namespace wdx::wendplay
