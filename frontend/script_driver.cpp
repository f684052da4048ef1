#include "script_driver.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "actions.h"
#include "commctrl.h"
#include "control_classes.h"
#include "instance_link.h"
#include "json.h"
#include "listview_state.h"
#include "screen_renderer.h"
#include "script.h"
#include "shell_objects.h"
#include "window_objects.h"

namespace frontend {

void ScriptDriver::Fail(const std::string& why) {
  std::fflush(out_);
  std::fprintf(stderr, "Corvale: script line %d: %s\n", lineNumber_, why.c_str());
  std::fflush(stderr);
  // The program cannot be unwound from inside its message loop; end here,
  // as a fatal error would.
  std::_Exit(2);
}

void ScriptDriver::Emit(const std::string& json) {
  std::fputs(json.c_str(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}

void ScriptDriver::Idle() {
  using Kind = ScriptCommand::Kind;
  if (ended_) return AtEnd();
  std::string line;
  while (std::getline(script_, line)) {
    ++lineNumber_;
    auto parsed = ParseScriptLine(line);
    if (std::holds_alternative<std::monostate>(parsed)) continue;
    if (const auto* error = std::get_if<std::string>(&parsed)) Fail(*error);
    const ScriptCommand& c = std::get<ScriptCommand>(parsed);

    // Queries print and read on; anything else is one user action.
    if (c.kind == Kind::List) {
      PrintRows();
      continue;
    }
    if (c.kind == Kind::Controls) {
      PrintControls();
      continue;
    }
    if (c.kind == Kind::Draw) {
      PrintDraw();
      continue;
    }
    if (c.kind == Kind::Wait) {
      Wait(c.number);
      return;
    }
    if (OpenMessageBox() && c.kind != Kind::Press) Fail("a message box is waiting: the next action must be press");

    std::string error;
    switch (c.kind) {
      case Kind::TapRow:
        error = TapRow(c.number, false);
        break;
      case Kind::AddRow:
        error = TapRow(c.number, true);
        break;
      case Kind::Menu:
        error = TapMenu(c.text);
        break;
      case Kind::Command:
        error = SendCommand(c.number);
        break;
      case Kind::Ok:
        error = TapOk();
        break;
      case Kind::Press:
        error = PressBox(c.number);
        break;
      case Kind::Screen:
        error = ChangeScreen(c.number, c.height);
        break;
      default:
        break;
    }
    if (!error.empty()) Fail(error);
    return;
  }
  ended_ = true;
  AtEnd();
}

void ScriptDriver::AtEnd() {
  if (OpenMessageBox()) Fail("the script ended while a message box was waiting for press");
  // The dialog still open at the end is cancelled; should it stay open all
  // the same, the loop is told to quit.
  if (endNudges_++ == 0 && MainDialog()) {
    SendCommand(IDCANCEL);
    return;
  }
  ::PostQuitMessage(0);
}

void ScriptDriver::Wait(int milliseconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < deadline) {
    platform::ServiceRequests();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void ScriptDriver::MessageBoxShown(HWND box) {
  const platform::MessageBoxState* state = platform::MessageBoxOf(box);
  if (!state) return;
  Emit("{\"event\":\"messagebox\",\"caption\":" + JsonString(state->caption) + ",\"text\":" + JsonString(state->text) +
       ",\"type\":" + std::to_string(state->type) + "}");
}

void ScriptDriver::ForegroundRequested() { Emit("{\"event\":\"foreground\"}"); }

void ScriptDriver::DialogEnded(INT_PTR result) {
  dialogEnded_ = true;
  PrintExit(result);
}

void ScriptDriver::PrintExit(INT_PTR result) { Emit("{\"event\":\"exit\",\"result\":" + std::to_string(result) + "}"); }

void ScriptDriver::PrintRows() {
  const platform::ListViewState* list = platform::ListViewOf(MainList());
  std::string json = "{\"event\":\"rows\",\"mark\":" + std::to_string(list ? list->mark : -1) + ",\"rows\":[";
  if (list) {
    bool first = true;
    for (const platform::ListViewRow& row : list->rows) {
      std::u16string text = row.cells.empty() ? u"" : row.cells[0];
      std::u16string path = row.cells.size() > 1 ? row.cells[1] : u"";
      json += first ? "" : ",";
      first = false;
      json += "{\"text\":" + JsonString(text) + ",\"path\":" + JsonString(path) +
              ",\"image\":" + std::to_string(row.image) +
              ",\"selected\":" + ((row.state & LVIS_SELECTED) ? "true" : "false") + "}";
    }
  }
  Emit(json + "]}");
}

void ScriptDriver::PrintControls() {
  const platform::Window* dialog = platform::FindWindowObject(MainDialog());
  std::string json = "{\"event\":\"controls\",\"controls\":[";
  if (dialog) {
    bool first = true;
    for (HWND h : dialog->children) {
      const platform::Window* w = platform::FindWindowObject(h);
      if (!w) continue;
      json += first ? "" : ",";
      first = false;
      json += "{\"id\":" + std::to_string(static_cast<WORD>(w->id)) + ",\"class\":" + JsonString(w->className) +
              ",\"x\":" + std::to_string(w->rect.left) + ",\"y\":" + std::to_string(w->rect.top) +
              ",\"cx\":" + std::to_string(w->Width()) + ",\"cy\":" + std::to_string(w->Height()) +
              ",\"text\":" + JsonString(w->text) + "}";
    }
  }
  Emit(json + "]}");
}

void ScriptDriver::PrintDraw() {
  std::string json = "{\"event\":\"draw\",\"lines\":[";
  bool first = true;
  for (const std::string& line : RenderLines()) {
    json += first ? "" : ",";
    first = false;
    json += JsonString(line);
  }
  Emit(json + "]}");
}

}  // namespace frontend
