// The sample device used when no --device is given: a copy, private to the
// user, of the sample tree that ships with Corvale.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace frontend {

// The sample device's root, created from |sampleTree| on first use. Returns
// nothing, with |error| set, when it cannot be made.
std::optional<std::filesystem::path> SampleDevice(const std::filesystem::path& sampleTree, std::string* error);

}  // namespace frontend
