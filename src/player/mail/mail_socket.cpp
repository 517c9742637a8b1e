#include "player/mail/mail_socket.h"

#include <condition_variable>
#include <mutex>

#include "player/mail/header_values.h"
#include "player/mail/mail_errors.h"
#include "player/mail/ras_component.h"

namespace wdx::mail {
namespace {

// Longest single wait for the socket between two turns of the message queue.
constexpr std::uint32_t kSliceMs = 20;
constexpr const char* kSuppressedBody = "Suppressing the message body";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// ---- time counter ----

void TTimeCounter::Start() {
  start_ = std::chrono::steady_clock::now();
  running_ = true;
}

bool TTimeCounter::TimedOut() {
  if (running_ && !timedOut_ && std::chrono::steady_clock::now() - start_ >= std::chrono::seconds(timeOut_))
    timedOut_ = true;
  return timedOut_;
}

// ---- library ----

bool WinsockAvailable(platform::Sockets& sockets) {
  if (sockets.IsLoaded()) return true;
  if (!sockets.Load().loaded) return false;
  sockets.Unload();
  return true;
}

struct TagSocket::Lookup {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  int error = 0;
  std::uint32_t value = 0;
};

TagSocket::TagSocket(platform::Sockets& sockets, platform::MessageLoop& loop) : sockets_(sockets), loop_(loop) {}

TagSocket::~TagSocket() {
  if (IsConnected()) sockets_.Close(socket_);
  socket_ = platform::kInvalidSocket;
  ReleaseStartups();
  if (!transcriptFile_.empty()) {
    try {
      SaveLinesToFile(transcript_, transcriptFile_);
    } catch (const MailException&) {
      // A transcript that cannot be written is lost; the connection's work is done.
    }
  }
  JoinFinishedLookups(true);
}

void TagSocket::SetWinsockLoaded(bool loaded) {
  if (loaded) {
    if (sockets_.IsLoaded()) return;
    platform::SocketLibraryLoad result = sockets_.Load();
    if (result.loaded) return;
    if (result.missingFunction.empty()) throw EWinsockDLLError(MailString(sid::kWinsockNotFound));
    std::string text = MailString(sid::kFunctionNotFound);
    text.replace(text.find("%s"), 2, result.missingFunction);
    throw EWinsockDLLError(text);
  }
  // Nothing may stay open on a library that goes away.
  Close();
  sockets_.Unload();
}

void TagSocket::CheckLoaded() {
  if (!sockets_.IsLoaded()) throw EWinsockDLLError(MailString(sid::kWinsockNotLoaded));
}

// ---- parts of the server text ----

std::string TagSocket::HostPart(std::string_view server) { return std::string(server.substr(0, server.find(':'))); }

std::uint16_t TagSocket::PortPart(std::string_view server) {
  std::size_t colon = server.find(':');
  if (colon == std::string_view::npos) return 0;
  std::string_view digits = server.substr(colon + 1);
  if (digits.empty() || digits.size() > 5) return 0;
  std::uint32_t port = 0;
  for (char c : digits) {
    if (!IsDigit(c)) return 0;
    port = port * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return port <= 0xFFFF ? static_cast<std::uint16_t>(port) : 0;
}

bool TagSocket::ParseDotted(std::string_view text, std::uint32_t& address) {
  std::uint32_t result = 0;
  int parts = 0;
  std::size_t i = 0;
  while (parts < 4) {
    std::size_t start = i;
    std::uint32_t value = 0;
    while (i < text.size() && IsDigit(text[i]) && i - start < 3) value = value * 10 + static_cast<std::uint32_t>(text[i++] - '0');
    if (i == start || value > 255) return false;
    result = (result << 8) | value;
    if (++parts < 4) {
      if (i >= text.size() || text[i] != '.') return false;
      ++i;
    }
  }
  if (i != text.size()) return false;
  address = result;
  return true;
}

int TagSocket::GetReplyCode(std::string_view line) {
  if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2])) return -1;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

// ---- failures ----

void TagSocket::RaiseSocketError(int code) {
  if (code == 0) return;
  counter_.Stop();
  std::string text = SocketErrorText(code);
  if (OnError) OnError(text);
  if (code == platform::sockerr::kConnectionReset) Close();
  throw ESocketError(text);
}

void TagSocket::RaiseCancel() {
  counter_.Stop();
  if (OnError) OnError(MailString(sid::kOperationCanceled));
  throw ECanceledError();
}

void TagSocket::RaiseTimeOut() {
  counter_.Stop();
  if (OnError) OnError(MailString(sid::kOperationTimedOut));
  pendingLookup_.reset();
  Close();
  throw ETimedOutError();
}

// ---- state ----

void TagSocket::Reset() {
  canceled_ = false;
  counter_.Clear();
  pendingLookup_.reset();
}

void TagSocket::ReleaseStartups() {
  for (; startups_ > 0; --startups_) sockets_.Cleanup();
}

void TagSocket::AddTranscript(std::string line) {
  if (!transcriptFile_.empty()) transcript_.push_back(std::move(line));
}

void TagSocket::Close() {
  if (IsConnected()) {
    if (OnClosing) OnClosing();
    sockets_.Close(socket_);
    socket_ = platform::kInvalidSocket;
    if (OnClosed) OnClosed();
  }
  received_.clear();
  peerClosed_ = false;
  ReleaseStartups();
  if (ras_ != nullptr) ras_->Cancel();
}

void TagSocket::Cancel() {
  canceled_ = true;
  if (OnCancel) OnCancel();
  pendingLookup_.reset();
  Close();
}

// ---- waits ----

platform::SocketReady TagSocket::AwaitSocket(bool read, bool write) {
  for (;;) {
    loop_.PumpPending();
    if (canceled_) RaiseCancel();
    if (counter_.TimedOut()) RaiseTimeOut();
    // A message handler may have closed the connection meanwhile.
    if (!IsConnected()) RaiseSocketError(sid::kConnectFirst);
    platform::SocketReady ready;
    RaiseSocketError(sockets_.Wait(socket_, read, write, kSliceMs, ready));
    if (ready.readable || ready.writable || ready.failed) return ready;
  }
}

void TagSocket::JoinFinishedLookups(bool all) {
  for (auto it = lookupThreads_.begin(); it != lookupThreads_.end();) {
    bool done = false;
    {
      std::lock_guard lock(it->first->mutex);
      done = it->first->done;
    }
    if (done || all) {
      it->second.join();
      it = lookupThreads_.erase(it);
    } else {
      ++it;
    }
  }
}

TagSocket::WaitEnd TagSocket::AwaitLookup(std::function<int(std::uint32_t&)> work, int& error, std::uint32_t& value) {
  JoinFinishedLookups(false);
  auto lookup = std::make_shared<Lookup>();
  std::thread thread([lookup, work = std::move(work)] {
    std::uint32_t result = 0;
    int rc = work(result);
    std::lock_guard lock(lookup->mutex);
    lookup->error = rc;
    lookup->value = result;
    lookup->done = true;
    lookup->finished.notify_all();
  });
  lookupThreads_.emplace_back(lookup, std::move(thread));
  pendingLookup_ = lookup;
  counter_.Start();
  for (;;) {
    loop_.PumpPending();
    // A cancel or a time-out abandons the look-up; its thread ends on its own.
    if (canceled_ || pendingLookup_ != lookup) {
      counter_.Stop();
      return WaitEnd::kCanceled;
    }
    if (counter_.TimedOut()) return WaitEnd::kTimedOut;
    std::unique_lock lock(lookup->mutex);
    if (lookup->finished.wait_for(lock, std::chrono::milliseconds(kSliceMs), [&] { return lookup->done; })) {
      counter_.Stop();
      pendingLookup_.reset();
      error = lookup->error;
      value = lookup->value;
      return WaitEnd::kDone;
    }
  }
}

// ---- connecting ----

void TagSocket::Open() {
  if (ras_ != nullptr) ras_->Dial();
  if (OnOpen) OnOpen();
  if (server_.empty()) RaiseSocketError(sid::kServerRequired);
  CheckLoaded();
  if (sockets_.Startup() != 0) RaiseSocketError(sid::kInvalidWinsockVersion);
  ++startups_;
  const std::string host = HostPart(server_);
  if (sockets_.LocalHostName(localHost_) != 0 || localHost_.empty()) localHost_ = host;

  if (!ParseDotted(host, address_)) {
    int error = 0;
    std::uint32_t value = 0;
    platform::Sockets* sockets = &sockets_;
    WaitEnd end = AwaitLookup([sockets, host](std::uint32_t& v) { return sockets->ResolveHost(host, v); }, error, value);
    if (end == WaitEnd::kCanceled) RaiseCancel();
    if (end == WaitEnd::kTimedOut) RaiseTimeOut();
    if (error != 0) RaiseSocketError(error);
    if (value == 0 || value == 0xFFFFFFFFu) RaiseSocketError(sid::kErrorResolvingHost);
    address_ = value;
  }

  port_ = PortPart(server_);
  if (port_ == 0) {
    if (serviceName_.empty()) RaiseSocketError(sid::kServiceNameRequired);
    if (canceled_) RaiseCancel();
    int error = 0;
    std::uint32_t value = 0;
    platform::Sockets* sockets = &sockets_;
    std::string service = serviceName_;
    WaitEnd end = AwaitLookup(
        [sockets, service](std::uint32_t& v) {
          std::uint16_t p = 0;
          int rc = sockets->ServicePort(service, "tcp", p);
          v = p;
          return rc;
        },
        error, value);
    if (end == WaitEnd::kCanceled) RaiseCancel();
    // A look-up that fails or takes too long falls back to the default port; its time-out
    // must not end the connect that follows at once.
    counter_.Clear();
    port_ = end == WaitEnd::kDone && error == 0 && value != 0 ? static_cast<std::uint16_t>(value) : defaultPort_;
  }

  platform::SocketHandle s = platform::kInvalidSocket;
  int error = sockets_.Create(s);
  if (error != 0) RaiseSocketError(error);
  socket_ = s;
}

void TagSocket::ConnectSocket() {
  if (canceled_) RaiseCancel();
  CheckLoaded();
  counter_.Start();
  int error = sockets_.Connect(socket_, address_, port_);
  if (error == platform::sockerr::kWouldBlock) {
    AwaitSocket(false, true);
    error = sockets_.ConnectResult(socket_);
  }
  counter_.Stop();
  if (error != 0) {
    // A refused or failed connect ends at once, and leaves nothing open.
    sockets_.Close(socket_);
    socket_ = platform::kInvalidSocket;
    RaiseSocketError(error);
  }
}

// ---- lines and streams ----

bool TagSocket::TryReadLine(std::string& line) {
  if (!IsConnected()) RaiseSocketError(sid::kConnectFirst);
  counter_.Start();
  std::string kept;  // the start of a line longer than kMaxLineLength
  bool overlong = false;
  for (;;) {
    std::size_t lf = received_.find('\n');
    if (lf != std::string::npos) {
      line = overlong ? std::move(kept) : received_.substr(0, lf);
      received_.erase(0, lf + 1);
      break;
    }
    if (!overlong && received_.size() > kMaxLineLength) {
      kept = received_.substr(0, kMaxLineLength);
      overlong = true;
    }
    if (overlong) received_.clear();
    if (peerClosed_) {
      if (!overlong && received_.empty()) {
        counter_.Stop();
        return false;
      }
      // The last line came without its line break.
      line = overlong ? std::move(kept) : std::move(received_);
      received_.clear();
      break;
    }
    AwaitSocket(true, false);
    char buffer[1024];
    std::size_t n = 0;
    int error = sockets_.Receive(socket_, buffer, sizeof buffer, n);
    if (error == platform::sockerr::kWouldBlock) continue;
    RaiseSocketError(error);
    if (n == 0) peerClosed_ = true;
    received_.append(buffer, n);
  }
  counter_.Stop();
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  AddTranscript(line);
  if (OnLineReceived) OnLineReceived(line);
  return true;
}

int TagSocket::ReadLine(std::string& line) {
  // A peer that closes while a line is awaited ends the wait at once.
  if (!TryReadLine(line)) RaiseSocketError(platform::sockerr::kConnectionReset);
  return GetReplyCode(line);
}

int TagSocket::ReadReply() {
  int code = ReadLine(lastReply_);
  if (code <= 0 || lastReply_.size() < 4 || lastReply_[3] != '-') return code;
  for (int lines = 1;; ++lines) {
    if (lines >= kMaxReplyLines) throw EServerError(lastReply_);
    std::string line;
    if (!TryReadLine(line)) break;
    lastReply_ = std::move(line);
    // The last line repeats the code, followed by a blank or by nothing.
    if (GetReplyCode(lastReply_) == code && (lastReply_.size() == 3 || lastReply_[3] == ' ')) break;
  }
  return code;
}

void TagSocket::SendBytes(std::string_view data) {
  while (!data.empty()) {
    loop_.PumpPending();
    if (canceled_) RaiseCancel();
    if (counter_.TimedOut()) RaiseTimeOut();
    if (!IsConnected()) RaiseSocketError(sid::kConnectFirst);
    std::size_t sent = 0;
    int error = sockets_.Send(socket_, data.data(), data.size(), sent);
    if (error == platform::sockerr::kWouldBlock) {
      AwaitSocket(false, true);
      continue;
    }
    RaiseSocketError(error);
    data.remove_prefix(sent);
    // The time-out limits a period without progress.
    if (sent > 0) counter_.Start();
  }
}

void TagSocket::SendLine(std::string_view text) {
  if (!IsConnected()) RaiseSocketError(sid::kConnectFirst);
  std::string data(text);
  data += "\r\n";
  counter_.Start();
  SendBytes(data);
  counter_.Stop();
  AddTranscript(std::string(text));
  if (OnLineSent) OnLineSent(std::string(text));
}

void TagSocket::SendStream(std::istream& stream) {
  if (!IsConnected()) RaiseSocketError(sid::kConnectFirst);
  stream.clear();
  stream.seekg(0, std::ios::end);
  const std::int64_t size = static_cast<std::int64_t>(stream.tellg());
  stream.seekg(0);
  if (!stream || size < 0) throw EInOutError("Stream read error");
  AddTranscript(kSuppressedBody);
  // Chunks are read and reported one by one but go out together: every send is a call into
  // the system, and small ones cost far more than their bytes.
  char buffer[kChunkSize];
  std::string batch;
  std::vector<std::int64_t> positions;
  std::int64_t position = 0;
  for (bool last = false; !last;) {
    stream.read(buffer, kChunkSize);
    auto n = static_cast<std::size_t>(stream.gcount());
    if (stream.bad()) throw EInOutError("Stream read error");
    last = n < kChunkSize;
    batch.append(buffer, n);
    position += static_cast<std::int64_t>(n);
    positions.push_back(position);
    if (batch.size() < kSendBatch && !last) continue;
    counter_.Start();
    SendBytes(batch);
    counter_.Stop();
    batch.clear();
    for (std::int64_t sent : positions)
      if (OnProgress) OnProgress(size > 0 ? static_cast<int>((sent * 100 + size / 2) / size) : 100, sent);
    positions.clear();
  }
  if (OnProgress) OnProgress(0, 0);
}

}  // namespace wdx::mail
