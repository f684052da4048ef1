#include "terminal.h"

#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <utility>

#include "afxwin.h"
#include "device/device.h"
#include "input_view.h"
#include "instance_link.h"
#include "screen_renderer.h"
#include "terminal_input.h"

// Last, and without its function-like macros (erase, clear, move...) that
// would rewrite the standard library's members.
#define NCURSES_NOMACROS
#include <curses.h>

namespace frontend {
namespace {

constexpr wchar_t kHelp[] = L"F1 menu  F2 exit  ↑↓ select  Enter choose  Esc back  Ctrl-R rotate  Ctrl-L redraw";
// The same with single gaps, for a terminal of 80 columns.
constexpr wchar_t kShortHelp[] = L"F1 menu F2 exit ↑↓ select Enter choose Esc back Ctrl-R rotate Ctrl-L redraw";
constexpr int kWaitMs = 100;  // how often a request from another instance is looked for

// --- Restoring the terminal on every way out --------------------------------------

volatile std::sig_atomic_t g_cursesActive = 0;

void RestoreTerminal() {
  if (!g_cursesActive) return;
  g_cursesActive = 0;
  endwin();
}

void RestoreAndReraise(int signal) {
  RestoreTerminal();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void InstallRestorers() {
  static bool once = false;
  if (!once) std::atexit(RestoreTerminal);
  once = true;
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGSEGV, SIGABRT}) {
    struct sigaction action {};
    action.sa_handler = RestoreAndReraise;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

// --- Colour ---------------------------------------------------------------------

short ChannelLevel(std::uint32_t rgb, int shift) { return static_cast<short>((rgb >> shift) & 0xFF); }

// The nearest colour the terminal has: the colour itself on a direct-colour
// terminal, the 6x6x6 cube or grey ramp on a 256-colour one, else the eight
// basic colours.
int TerminalColour(std::uint32_t rgb) {
  if (COLORS >= 0x1000000) return static_cast<int>(rgb & 0xFFFFFF);
  int r = ChannelLevel(rgb, 16), g = ChannelLevel(rgb, 8), b = ChannelLevel(rgb, 0);
  if (COLORS >= 256) {
    auto level = [](int v) { return v < 48 ? 0 : v < 115 ? 1 : (v - 35) / 40; };
    auto value = [](int l) { return l == 0 ? 0 : 55 + 40 * l; };
    int lr = level(r), lg = level(g), lb = level(b);
    int cube = 16 + 36 * lr + 6 * lg + lb;
    int cubeError =
        (value(lr) - r) * (value(lr) - r) + (value(lg) - g) * (value(lg) - g) + (value(lb) - b) * (value(lb) - b);
    int grey = std::min(23, std::max(0, ((r + g + b) / 3 - 3) / 10));
    int greyValue = 8 + 10 * grey;
    int greyError =
        (greyValue - r) * (greyValue - r) + (greyValue - g) * (greyValue - g) + (greyValue - b) * (greyValue - b);
    return greyError < cubeError ? 232 + grey : cube;
  }
  return (r > 127 ? COLOR_RED : 0) | (g > 127 ? COLOR_GREEN : 0) | (b > 127 ? COLOR_BLUE : 0);
}

class ColourPairs {
 public:
  // The pair for a cell's colour, or 0 (the terminal's own colours).
  int For(const Cell& cell) {
    if (!cell.hasColour || !has_colors() || COLORS < 8) return 0;
    int fg = TerminalColour(cell.fg);
    int bg = cell.bg ? TerminalColour(cell.bg) : -1;
    auto key = std::make_pair(fg, bg);
    if (auto it = pairs_.find(key); it != pairs_.end()) return it->second;
    if (next_ >= COLOR_PAIRS) return 0;
    if (init_extended_pair(next_, fg, bg) == ERR) return 0;
    pairs_[key] = next_;
    return next_++;
  }

 private:
  std::map<std::pair<int, int>, int> pairs_;
  int next_ = 1;
};

// --- The user at the terminal ---------------------------------------------------

class TerminalUser : public device::InputSource, public device::Events {
 public:
  void Idle() override;
  void ForegroundRequested() override { foreground_ = true; }

 private:
  void Start();
  void Draw();
  void DrawScreen(const Screen& screen);
  void DrawTooSmall(const Screen& screen);
  InputEvent Read(int code);

  bool started_ = false;
  bool foreground_ = false;
  bool tooSmall_ = false;
  ColourPairs colours_;
};

// Curses starts with the first wait for input, so that a second instance,
// which only hands over to the first, leaves the terminal alone.
void TerminalUser::Start() {
  started_ = true;
  initscr();
  g_cursesActive = 1;
  InstallRestorers();
  cbreak();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  set_escdelay(25);
  mousemask(BUTTON1_PRESSED | BUTTON1_CLICKED, nullptr);
  mouseinterval(0);
  curs_set(0);
  if (has_colors()) {
    start_color();
    use_default_colors();
  }
  timeout(kWaitMs);
}

void TerminalUser::Idle() {
  if (!started_) Start();
  Draw();
  for (;;) {
    int code = getch();
    if (code == ERR) {
      platform::ServiceRequests();
      if (foreground_) {
        foreground_ = false;
        return;
      }
      continue;
    }
    InputEvent event = Read(code);
    if (tooSmall_ && event.key != Key::Resize && event.key != Key::CtrlL) continue;
    Action action = MapInput(event, CurrentInputView());
    if (action.kind == Action::Kind::Redraw) {
      clearok(curscr, TRUE);
      Draw();
      continue;
    }
    if (CarryOut(action)) return;
  }
}

InputEvent TerminalUser::Read(int code) {
  if (code != KEY_MOUSE) return InputEvent::Press(KeyFromCode(code));
  MEVENT mouse{};
  if (getmouse(&mouse) != OK || !(mouse.bstate & (BUTTON1_PRESSED | BUTTON1_CLICKED))) return {};
  return InputEvent::ClickAt(mouse.x, mouse.y);
}

void TerminalUser::Draw() {
  Screen screen = RenderScreen();
  erase();
  tooSmall_ = COLS < screen.width() || LINES < screen.height() + 1;
  if (tooSmall_)
    DrawTooSmall(screen);
  else
    DrawScreen(screen);
  refresh();
}

void TerminalUser::DrawScreen(const Screen& screen) {
  for (int y = 0; y < screen.height(); ++y) {
    for (int x = 0; x < screen.width(); ++x) {
      const Cell& cell = screen.At(x, y);
      if (cell.wideTail) continue;
      wchar_t text[2] = {static_cast<wchar_t>(cell.ch), L'\0'};
      attr_t attrs = (cell.inverse ? A_REVERSE : A_NORMAL) | (cell.bold ? A_BOLD : A_NORMAL);
      int pair = colours_.For(cell);
      cchar_t c;
      setcchar(&c, text, attrs, 0, &pair);
      mvadd_wch(y, x, &c);
    }
  }
  const wchar_t* help = COLS >= static_cast<int>(std::size(kHelp)) - 1 ? kHelp : kShortHelp;
  mvaddnwstr(screen.height(), 0, help, COLS);
}

void TerminalUser::DrawTooSmall(const Screen& screen) {
  std::string message = "Corvale needs a terminal of at least " + std::to_string(screen.width()) + " x " +
                        std::to_string(screen.height() + 1) + " characters; this one is " + std::to_string(COLS) +
                        " x " + std::to_string(LINES);
  // Broken at blanks to the terminal's width.
  int y = 0;
  std::size_t at = 0;
  while (at < message.size() && y < LINES && COLS > 0) {
    std::size_t room = static_cast<std::size_t>(COLS);
    std::size_t end = std::min(message.size(), at + room);
    if (end < message.size()) {
      std::size_t blank = message.rfind(' ', end);
      if (blank != std::string::npos && blank > at) end = blank;
    }
    mvaddnstr(y++, 0, message.c_str() + at, static_cast<int>(end - at));
    at = end;
    while (at < message.size() && message[at] == ' ') ++at;
  }
}

// Wide characters need a UTF-8 locale; the user's own if it is one.
void ChooseLocale() {
  std::setlocale(LC_ALL, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}

}  // namespace

int RunTerminal(HINSTANCE instance) {
  ChooseLocale();
  TerminalUser user;
  device::Current().input = &user;
  device::Current().events = &user;
  int result = AfxWinMain(instance, nullptr, nullptr, SW_SHOW);
  RestoreTerminal();
  device::Current().input = nullptr;
  device::Current().events = nullptr;
  return result == -1 ? result : 0;
}

}  // namespace frontend
