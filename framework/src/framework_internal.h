// What the framework's sources share.
#pragma once

#include <functional>

// Runs a message handler. An exception that escapes it is reported in a box
// captioned with the application name, and the message counts as handled.
bool AfxRunHandler(const std::function<bool()>& handler);
