// Starts scripted_server.py (a mail server that follows a script) on the loopback address and
// collects what it read. The server ends on its own after its script, or after its limit.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace wdx::mail::testing {

class ScriptedServer {
 public:
  explicit ScriptedServer(const std::vector<std::string>& script, int connections = 1, int limitSeconds = 30) {
    static int counter = 0;
    scriptPath_ = std::filesystem::temp_directory_path() /
                  ("wdx_script_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".txt");
    {
      std::ofstream f(scriptPath_, std::ios::binary);
      for (const std::string& line : script) f << line << "\n";
    }
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string connectionsText = std::to_string(connections), limitText = std::to_string(limitSeconds);
    std::string scriptFile = scriptPath_.string();
    std::vector<char*> argv = {const_cast<char*>(WDX_PYTHON3), const_cast<char*>(WDX_SCRIPTED_SERVER),
                               scriptFile.data(), const_cast<char*>("--connections"), connectionsText.data(),
                               const_cast<char*>("--limit"), limitText.data(), nullptr};
    if (::posix_spawn(&pid_, WDX_PYTHON3, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_ = ::fdopen(fds[0], "r");
    std::string first = NextLine();
    if (first.rfind("PORT ", 0) == 0) port_ = std::stoi(first.substr(5));
  }
  ~ScriptedServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ != nullptr) ::fclose(out_);
    std::filesystem::remove(scriptPath_);
  }
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int Port() const { return port_; }
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

  // Waits for the server to finish and returns what it printed after the PORT line.
  std::vector<std::string> Finish() {
    std::vector<std::string> lines;
    for (std::string line = NextLine(); !line.empty(); line = NextLine()) lines.push_back(line);
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return lines;
  }

 private:
  std::string NextLine() {
    std::string line;
    if (out_ == nullptr) return line;
    for (int c = std::fgetc(out_); c != EOF && c != '\n'; c = std::fgetc(out_)) line += static_cast<char>(c);
    return line;
  }

  std::filesystem::path scriptPath_;
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
  int port_ = 0;
};

// A loopback port where nothing listens (bound for a moment, then released).
inline int ClosedLoopbackPort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof a;
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
  ::close(fd);
  return ntohs(a.sin_port);
}

}  // namespace wdx::mail::testing
