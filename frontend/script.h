// The script language: one command a line, parsed into actions and queries.
#pragma once

#include <optional>
#include <string>
#include <variant>

namespace frontend {

struct ScriptCommand {
  enum class Kind { TapRow, AddRow, Menu, Command, Ok, Press, Screen, Wait, List, Controls, Draw };
  Kind kind;
  int number = 0;  // row, command id, button id, milliseconds, or width
  int height = 0;  // screen
  std::u16string text;
};

// Parses one line. Blank lines and lines starting with '#' give nothing;
// a malformed line gives the error text.
std::variant<std::monostate, ScriptCommand, std::string> ParseScriptLine(std::string_view line);

// |text| with each control byte written as \xNN, so that an error line that
// quotes what the user typed stays one line on the terminal.
std::string Printable(std::string_view text);

// "240x320" → width and height; false unless both are whole numbers 1..4096.
bool ParseScreenSize(std::string_view text, int* width, int* height);

}  // namespace frontend
