// The line-oriented TCP client under the mail protocols. Every wait (look-ups, connecting,
// replies, sending) keeps the caller's message queue moving, so timers, the abort key and a
// Cancel from a message handler are handled while the network is slow. Each wait is limited
// by TimeOut seconds; failures raise the suite's exceptions after OnError has seen the text.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/message_loop.h"
#include "platform/sockets.h"
#include "player/mail/text_codecs.h"

namespace wdx::mail {

class TagRas;

// Counts down TimeOut seconds once started; the timed-out flag stays set until Clear.
class TTimeCounter {
 public:
  int TimeOut() const { return timeOut_; }
  void SetTimeOut(int seconds) { timeOut_ = seconds; }
  void Start();
  void Stop() { running_ = false; }
  bool TimedOut();
  void Clear() { timedOut_ = false; }

 private:
  int timeOut_ = 60;
  bool running_ = false;
  bool timedOut_ = false;
  std::chrono::steady_clock::time_point start_;
};

// Whether the socket library can be loaded (it is left as it was found).
bool WinsockAvailable(platform::Sockets& sockets);

class TagSocket {
 public:
  // The longest reply line kept; the rest of a longer line is read and dropped.
  static constexpr std::size_t kMaxLineLength = 65536;
  // Lines of one multi-line reply at the most.
  static constexpr int kMaxReplyLines = 1000;
  // Bytes of a stream read and reported at a time, and sent together at the most.
  static constexpr std::size_t kChunkSize = 2047;
  static constexpr std::size_t kSendBatch = 32 * kChunkSize;

  TagSocket(platform::Sockets& sockets, platform::MessageLoop& loop);
  virtual ~TagSocket();
  TagSocket(const TagSocket&) = delete;
  TagSocket& operator=(const TagSocket&) = delete;

  // Loading the socket library: true loads it (EWinsockDLLError when it cannot), false
  // unloads it.
  bool WinsockLoaded() const { return sockets_.IsLoaded(); }
  void SetWinsockLoaded(bool loaded);

  const std::string& Server() const { return server_; }
  void SetServer(std::string server) { server_ = std::move(server); }
  std::uint16_t DefaultPort() const { return defaultPort_; }
  void SetDefaultPort(std::uint16_t port) { defaultPort_ = port; }
  int TimeOut() const { return counter_.TimeOut(); }
  void SetTimeOut(int seconds) { counter_.SetTimeOut(seconds); }
  // A dial-up component that Open dials first and Close hangs up; none by default.
  TagRas* RAS() const { return ras_; }
  void SetRAS(TagRas* ras) { ras_ = ras; }
  const std::string& ServiceName() const { return serviceName_; }
  void SetServiceName(std::string name) { serviceName_ = std::move(name); }

  std::function<void()> OnOpen, OnClosing, OnClosed, OnCancel;
  std::function<void(const std::string& message)> OnError;
  std::function<void(int percent, std::int64_t transferred)> OnProgress;
  std::function<void(const std::string& line)> OnLineSent, OnLineReceived;

  // Every line sent and received is kept and written to this file (replacing it) when the
  // socket is destroyed; empty: nothing is kept.
  void SetTranscriptFile(std::string fileName) { transcriptFile_ = std::move(fileName); }
  const Lines& Transcript() const { return transcript_; }

  bool IsConnected() const { return socket_ != platform::kInvalidSocket; }
  const std::string& LocalHost() const { return localHost_; }
  const std::string& LastReply() const { return lastReply_; }
  // The resolved address (host byte order) and port of the last Open.
  std::uint32_t Address() const { return address_; }
  std::uint16_t Port() const { return port_; }

  // Clears the cancel and time-out state of the last operation.
  virtual void Reset();
  // Starts the library, resolves the server's host and port and creates the socket.
  virtual void Open();
  void ConnectSocket();
  virtual void Close();
  // Ends the current wait (it raises ECanceledError) and closes.
  virtual void Cancel();

  void SendLine(std::string_view text);
  // Reads one line without its CR and LF; the result is its reply code (GetReplyCode).
  int ReadLine(std::string& line);
  // Reads a reply, also one of several lines; the result is the first line's code and
  // LastReply the last line.
  int ReadReply();
  // Sends the whole stream from its start, in chunks, reporting progress after each (after
  // the chunk went out).
  void SendStream(std::istream& stream);

  // The first three characters as a number, -1 when they are not three digits.
  static int GetReplyCode(std::string_view line);
  // "host:port": the host part, and the port part (0 without one or when not a number).
  static std::string HostPart(std::string_view server);
  static std::uint16_t PortPart(std::string_view server);
  // A dotted address a.b.c.d (host byte order); false for anything else.
  static bool ParseDotted(std::string_view text, std::uint32_t& address);

  // Fires OnError with the text of `code` and raises ESocketError (nothing for 0). A reset
  // connection closes the socket.
  void RaiseSocketError(int code);

 protected:
  platform::MessageLoop& loop() { return loop_; }

 private:
  struct Lookup;
  enum class WaitEnd { kDone, kTimedOut, kCanceled };

  [[noreturn]] void RaiseCancel();
  [[noreturn]] void RaiseTimeOut();
  void CheckLoaded();
  // Pumps messages until the socket is ready for what is asked; raises a cancel, a time-out
  // or a wait error.
  platform::SocketReady AwaitSocket(bool read, bool write);
  // Runs a look-up on a thread of its own and pumps messages until it is done.
  WaitEnd AwaitLookup(std::function<int(std::uint32_t&)> work, int& error, std::uint32_t& value);
  // Reads one line; false when the peer closed before anything more came.
  bool TryReadLine(std::string& line);
  void SendBytes(std::string_view data);
  void ReleaseStartups();
  void AddTranscript(std::string line);
  void JoinFinishedLookups(bool all);

  platform::Sockets& sockets_;
  platform::MessageLoop& loop_;
  std::string server_;
  std::uint16_t defaultPort_ = 0;
  std::string serviceName_;
  TagRas* ras_ = nullptr;
  TTimeCounter counter_;
  platform::SocketHandle socket_ = platform::kInvalidSocket;
  int startups_ = 0;
  bool canceled_ = false;
  std::string localHost_;
  std::uint32_t address_ = 0;
  std::uint16_t port_ = 0;
  std::string lastReply_;
  std::string received_;  // bytes read past the last line
  bool peerClosed_ = false;
  std::string transcriptFile_;
  Lines transcript_;
  std::shared_ptr<Lookup> pendingLookup_;
  std::vector<std::pair<std::shared_ptr<Lookup>, std::thread>> lookupThreads_;
};

}  // namespace wdx::mail
