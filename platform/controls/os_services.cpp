// Operating-system services over POSIX: posix_spawnp with an argument
// vector, /proc/self/exe, getcwd/chdir.
#include "controls/os_services.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "rtl/exceptions.h"
#include "rtl/resstrings.h"

extern char** environ;

namespace brevant {

namespace {
bool g_record = false;

// The programs this process started and has not reaped yet.
std::vector<pid_t>& Started() {
  static std::vector<pid_t> pids;
  return pids;
}

// posix_spawnp keeps the arguments away from any shell. Zombies are avoided
// by reaping the programs started here that have ended whenever a new one
// starts; children that other code waits for are left alone.
Integer Spawn(const String& path, const std::vector<String>& args) {
  std::erase_if(Started(), [](pid_t p) { return waitpid(p, nullptr, WNOHANG) != 0; });
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const String& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ);
  if (rc != 0) throw EOSError(res::SStartProgramFailed, {path, String(std::strerror(rc))});
  Started().push_back(pid);
  return static_cast<Integer>(pid);
}
}  // namespace

void SetRecordOsRequests(bool on) {
  g_record = on;
}

bool RecordOsRequests() {
  return g_record;
}

std::vector<String>& RecordedOsRequests() {
  static std::vector<String> log;
  return log;
}

void ShellOpen(const String& documentOrUrl) {
  if (g_record) {
    RecordedOsRequests().push_back("open " + documentOrUrl);
    return;
  }
  // "--" is not understood by xdg-open; a target starting with '-' is made
  // a path so it cannot be taken for an option.
  String target = documentOrUrl;
  if (!target.empty() && target[0] == '-') target = "./" + target;
  Spawn("xdg-open", {target});
}

Integer StartProgram(const String& path, const std::vector<String>& args) {
  if (path.empty()) throw EOSError(res::SStartProgramFailed, {path, String("empty path")});
  if (g_record) {
    String line = "start " + path;
    for (const String& a : args) line += " " + a;
    RecordedOsRequests().push_back(line);
    return 0;
  }
  return Spawn(path, args);
}

String ExeFileName() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? String() : p.string();
}

String ExeFolder() {
  String exe = ExeFileName();
  auto pos = exe.find_last_of('/');
  return pos == String::npos ? String("./") : exe.substr(0, pos + 1);
}

String CurrentFolder() {
  std::error_code ec;
  auto p = std::filesystem::current_path(ec);
  if (ec) return String();
  String s = p.string();
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

void SetCurrentFolder(const String& folder) {
  if (chdir(folder.c_str()) != 0)
    throw EOSError(res::SSetFolderFailed, {folder, String(std::strerror(errno))});
}

String ExtractFileNameWithoutExt(const String& path) {
  auto slash = path.find_last_of('/');
  String name = slash == String::npos ? path : path.substr(slash + 1);
  auto dot = name.find_last_of('.');
  if (dot != String::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace brevant
