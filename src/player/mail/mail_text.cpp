#include "player/mail/mail_text.h"

namespace wdx::mail {

std::string LastPathComponent(std::string_view path) {
  std::size_t cut = path.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace wdx::mail
