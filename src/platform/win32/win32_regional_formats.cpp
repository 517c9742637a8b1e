#include "platform/win32/win32_regional_formats.h"

#include <windows.h>

#include <optional>

namespace wdx::platform {

namespace {
// One value of the user's locale; nothing when Windows gives none.
std::optional<std::string> LocaleValue(LCTYPE type) {
  char buf[128] = {};
  const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, static_cast<int>(sizeof buf));
  if (n <= 0) return std::nullopt;
  return std::string(buf, static_cast<std::size_t>(n - 1));
}
}  // namespace

DateTimeFormats Win32RegionalFormats::DateTime() {
  DateTimeFormats f;
  // An empty picture is no format: the default stays.
  if (auto v = LocaleValue(LOCALE_SSHORTDATE); v && !v->empty()) f.shortDate = *v;
  if (auto v = LocaleValue(LOCALE_STIMEFORMAT); v && !v->empty()) f.longTime = *v;
  // A locale without a 12-hour clock has empty markers: they stay empty.
  if (auto v = LocaleValue(LOCALE_S1159)) f.am = *v;
  if (auto v = LocaleValue(LOCALE_S2359)) f.pm = *v;
  return f;
}

}  // namespace wdx::platform
