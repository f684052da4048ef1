// Runs the built Corvale executable with a script on a device and collects
// what it prints.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace corvale_test {

struct RunResult {
  int status = -1;  // exit status
  std::vector<nlohmann::json> events;
  std::string err;

  // The events of one kind, in order.
  std::vector<nlohmann::json> Events(const std::string& kind) const {
    std::vector<nlohmann::json> out;
    for (const auto& e : events)
      if (e.value("event", "") == kind) out.push_back(e);
    return out;
  }
};

inline std::string ReadAll(int fd) {
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<std::size_t>(n));
  return out;
}

// Runs |exe| with |args|; |script| is written to a file and passed with --script.
inline RunResult RunCorvale(const std::filesystem::path& exe, std::vector<std::string> args, const std::string& script,
                            const std::filesystem::path& scratch) {
  std::filesystem::path scriptPath = scratch / "script.txt";
  std::ofstream(scriptPath) << script;
  args.insert(args.begin(), exe.string());
  args.push_back("--script");
  args.push_back(scriptPath.string());
  std::filesystem::path outPath = scratch / "stdout.txt", errPath = scratch / "stderr.txt";
  pid_t pid = ::fork();
  if (pid == 0) {
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int in = ::open("/dev/null", O_RDONLY);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::dup2(in, 0);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  RunResult result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream out(outPath);
  for (std::string line; std::getline(out, line);) result.events.push_back(nlohmann::json::parse(line));
  std::ifstream err(errPath);
  std::stringstream errText;
  errText << err.rdbuf();
  result.err = errText.str();
  return result;
}

}  // namespace corvale_test
