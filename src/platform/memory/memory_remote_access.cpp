#include "platform/memory/memory_remote_access.h"

#include <algorithm>

namespace wdx::platform {

namespace {
constexpr std::uint32_t kEntryNotFound = 623;
constexpr std::uint32_t kInvalidHandle = 6;
}  // namespace

std::uint32_t MemoryRemoteAccess::EnumEntries(std::size_t limit, std::vector<std::string>& names) {
  names.clear();
  if (entries.size() > limit) return kRasBufferTooSmall;
  names = entries;
  return 0;
}

std::uint32_t MemoryRemoteAccess::EnumConnections(std::size_t limit, std::vector<RasConnection>& list) {
  list.clear();
  if (connections.size() > limit) return kRasBufferTooSmall;
  for (const Line& l : connections) list.push_back({l.handle, l.entry});
  return 0;
}

std::uint32_t MemoryRemoteAccess::GetIpAddress(RasConnectionHandle connection, std::string& address) {
  for (const Line& l : connections) {
    if (l.handle != connection) continue;
    address = l.ipAddress;
    return 0;
  }
  return kInvalidHandle;
}

std::uint32_t MemoryRemoteAccess::GetEntryDialParams(const std::string& entry, RasDialParams& params,
                                                     bool& passwordSaved) {
  if (std::find(entries.begin(), entries.end(), entry) == entries.end()) return kEntryNotFound;
  params = RasDialParams{entry, "user", "", ""};
  auto saved = savedPasswords.find(entry);
  passwordSaved = saved != savedPasswords.end();
  if (passwordSaved) params.password = saved->second;
  return 0;
}

std::uint32_t MemoryRemoteAccess::SetEntryDialParams(const RasDialParams& params, bool removePassword) {
  storedParams.emplace_back(params, removePassword);
  if (removePassword)
    savedPasswords.erase(params.entryName);
  else
    savedPasswords[params.entryName] = params.password;
  return 0;
}

std::uint32_t MemoryRemoteAccess::Dial(const RasDialParams& params, RasConnectionHandle& connection) {
  dials.push_back(params);
  if (dialError != 0) return dialError;
  connection = nextHandle_++;
  auto script = scripts.find(params.entryName);
  pending_.push_back({connection, params.entryName, clock_.Monotonic(),
                      script == scripts.end() ? std::vector<Step>{} : script->second});
  return 0;
}

std::vector<RasDialEvent> MemoryRemoteAccess::TakeDialEvents() {
  std::vector<RasDialEvent> events;
  const std::uint64_t now = clock_.Monotonic();
  for (auto it = pending_.begin(); it != pending_.end();) {
    bool ended = false;
    for (; it->next < it->steps.size() && it->start + it->steps[it->next].afterMs <= now; ++it->next) {
      const Step& s = it->steps[it->next];
      events.push_back({it->handle, s.state, s.error});
      if (s.state == rasstate::kConnected && s.error == 0) connections.push_back({it->handle, it->entry, dialledAddress});
      if (s.error != 0 || s.state == rasstate::kConnected) ended = true;
    }
    it = ended ? pending_.erase(it) : it + 1;
  }
  return events;
}

std::uint32_t MemoryRemoteAccess::HangUp(RasConnectionHandle connection) {
  hangUps.push_back(connection);
  std::erase_if(connections, [&](const Line& l) { return l.handle == connection; });
  std::erase_if(pending_, [&](const Pending& p) { return p.handle == connection; });
  return 0;
}

std::optional<std::string> MemoryRemoteAccess::ErrorString(std::uint32_t error) {
  auto it = errorTexts.find(error);
  if (it == errorTexts.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> MemoryRemoteAccess::LibraryString(std::uint32_t id) {
  auto it = libraryStrings.find(id);
  if (it == libraryStrings.end()) return std::nullopt;
  return it->second;
}

}  // namespace wdx::platform
