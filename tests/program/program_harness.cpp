#include "program/program_harness.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "afxwin.h"
#include "embedded_resources.h"
#include "module_table.h"
#include "script_driver.h"

namespace corvale_test {
namespace {

// Lets the test look at the live windows before each script line.
class IdleTap : public device::InputSource {
 public:
  IdleTap(frontend::ScriptDriver& driver, const std::function<void()>& idle) : driver_(driver), idle_(idle) {}
  void Idle() override {
    if (idle_) idle_();
    driver_.Idle();
  }

 private:
  frontend::ScriptDriver& driver_;
  const std::function<void()>& idle_;
};

}  // namespace

std::vector<nlohmann::json> ProgramRun::Events(const std::string& kind) const {
  std::vector<nlohmann::json> out;
  for (const auto& e : events)
    if (e.value("event", "") == kind) out.push_back(e);
  return out;
}

int ProgramRun::ExitResult() const {
  auto exits = Events("exit");
  return exits.empty() ? -2 : exits.back()["result"].get<int>();
}

std::vector<std::string> ProgramRun::BoxTexts() const {
  std::vector<std::string> out;
  for (const nlohmann::json& box : Events("messagebox")) out.push_back(box["text"]);
  return out;
}

std::vector<std::string> RowPaths(const nlohmann::json& rows) {
  std::vector<std::string> out;
  for (const nlohmann::json& row : rows["rows"]) out.push_back(row["path"]);
  return out;
}

ProgramRun RunProgram(const TempDevice& device, const std::string& script, const RunHooks& hooks) {
  device::Boot({device.Root()});
  HINSTANCE instance = platform::RegisterModule(u"/x/Corvale", CorvaleResourceImage());
  if (hooks.prepare) hooks.prepare();

  char* printed = nullptr;
  std::size_t printedSize = 0;
  std::FILE* out = ::open_memstream(&printed, &printedSize);
  std::istringstream lines(script);
  ProgramRun run;
  {
    frontend::ScriptDriver driver(lines, out);
    IdleTap tap(driver, hooks.idle);
    device::Device& dev = device::Current();
    dev.input = &tap;
    dev.events = &driver;
    dev.trace.Enable(true);
    run.result = AfxWinMain(instance, nullptr, nullptr, SW_SHOW);
    // As the command-line front end does: a dialog never shown still ends.
    if (!driver.DialogEndedSeen()) driver.PrintExit(-1);
    dev.trace.Enable(false);
    dev.input = nullptr;
    dev.events = nullptr;
    run.trace = dev.trace.Entries();
  }
  std::fclose(out);
  std::istringstream text(std::string(printed, printedSize));
  std::free(printed);
  for (std::string line; std::getline(text, line);) run.events.push_back(nlohmann::json::parse(line));
  return run;
}

}  // namespace corvale_test
