// Shared pieces of the encoder tests: a registry with the usual content types, items, and
// encoding with a seeded boundary generator.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/memory/memory_registry.h"
#include "player/mail/mail_message.h"

namespace wdx::mail::testing {

inline void FillContentTypes(platform::MemoryRegistry& registry) {
  using platform::RegistryRoot;
  registry.SetString(RegistryRoot::kClassesRoot, ".txt", "Content Type", "text/plain");
  registry.SetString(RegistryRoot::kClassesRoot, ".htm", "Content Type", "text/html");
  registry.SetString(RegistryRoot::kClassesRoot, ".jpg", "Content Type", "image/jpeg");
  registry.SetString(RegistryRoot::kClassesRoot, ".eml", "Content Type", "message/rfc822");
}

inline TmsAttItem MakeItem(platform::Registry& registry, const std::string& name, const std::string& data) {
  TmsAttItem item;
  item.SetFileName(name, registry);
  item.SetData(data);
  return item;
}

inline std::string Encode(TmsCustomMessage& message, std::uint32_t seed = 1) {
  BoundaryGenerator boundaries(seed);
  std::ostringstream out;
  message.Encode(out, {&boundaries, {}});
  return out.str();
}

// The lines of an encoded text (each ended by CR LF; a text not ending so fails the split).
inline std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, p - start));
    start = p + 2;
  }
  if (start != text.size()) lines.push_back("<<no CR LF at the end>>" + text.substr(start));
  return lines;
}

// The message text as a server stores it: the "." that the sender put before every line that
// begins with "." taken off again.
inline std::string Unstuff(const std::string& text) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    end = end == std::string::npos ? text.size() : end + 2;
    std::size_t from = text[start] == '.' ? start + 1 : start;
    out.append(text, from, end - from);
    start = end;
  }
  return out;
}

inline std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

// A message as the player's e-mail command fills it: sender, one recipient, its X-Mailer line
// and a subject, with a registry that knows the usual content types.
class UsualMessageTest : public ::testing::Test {
 protected:
  UsualMessageTest() : msg_(registry_) {
    FillContentTypes(registry_);
    msg_.Sender().SetName("Wendrix User");
    msg_.Sender().SetAddress("user@example.com");
    msg_.Recipients().AddAddress("ann@example.com", "Ann");
    msg_.Headers().Add(kPlayerMailerHeader);
    msg_.SetSubject("Report");
  }
  TmsAttItem Item(const std::string& name, const std::string& data) { return MakeItem(registry_, name, data); }

  platform::MemoryRegistry registry_;
  TmsMessage msg_;
};

}  // namespace wdx::mail::testing
