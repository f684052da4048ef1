#include "sample_device.h"

#include <cstdlib>

namespace frontend {
namespace {

std::filesystem::path DataHome() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) return std::filesystem::path(home) / ".local" / "share";
  return std::filesystem::temp_directory_path();
}

}  // namespace

std::optional<std::filesystem::path> SampleDevice(const std::filesystem::path& sampleTree, std::string* error) {
  std::filesystem::path root = DataHome() / "corvale" / "sample-device";
  std::error_code ec;
  if (std::filesystem::is_directory(root, ec)) return root;
  if (!std::filesystem::is_directory(sampleTree, ec)) {
    *error = "the sample device tree is missing at " + sampleTree.string() + "; give one with --device DIR";
    return std::nullopt;
  }
  // Copied beside its final place and renamed, so a half-made copy is never used.
  std::filesystem::path partial = root;
  partial += ".partial";
  std::filesystem::remove_all(partial, ec);
  std::filesystem::create_directories(partial.parent_path(), ec);
  std::filesystem::copy(sampleTree, partial, std::filesystem::copy_options::recursive, ec);
  if (!ec) std::filesystem::rename(partial, root, ec);
  if (ec) {
    std::filesystem::remove_all(partial, ec);
    *error = "cannot create the sample device at " + root.string() + ": " + ec.message();
    return std::nullopt;
  }
  return root;
}

}  // namespace frontend
