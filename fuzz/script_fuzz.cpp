// The script parser and the command-line parser on arbitrary text: each
// line gives nothing, a command or an error text, and never a crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "options.h"
#include "script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);

  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    auto parsed = frontend::ParseScriptLine(text.substr(start, end - start));
    if (auto* error = std::get_if<std::string>(&parsed); error && error->empty()) std::abort();
    start = end + 1;
  }
  int width = 0, height = 0;
  if (frontend::ParseScreenSize(text, &width, &height) && (width < 1 || width > 4096 || height < 1 || height > 4096))
    std::abort();

  // The same bytes as arguments, split at zero bytes.
  std::vector<std::string> words{"Corvale"};
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\0', start);
    if (end == std::string_view::npos) end = text.size();
    words.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  frontend::Options options;
  std::string error;
  if (!frontend::ParseOptions(static_cast<int>(words.size()), argv.data(), &options, &error) &&
      (error.empty() || error.find('\n') != std::string::npos))
    std::abort();
  return 0;
}
