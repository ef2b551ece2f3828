#pragma once

#include <string>
#include <vector>

#include "model/BehaviourSettings.h"
#include "model/FaultSettings.h"

namespace zr::sim {

// Camera behaviour and fault options in command-line form, shared by the
// pseudo-terminal program (its arguments) and the Camera Link library (an
// environment variable), so both are configured the same way.
struct SimOptions {
    FaultSettings faults;
    BehaviourSettings behaviour;
};

// Parses the model's options out of `args`. Arguments that are not model
// options are passed on in `rest`, in order. On a bad value returns false
// with a message in `error`.
bool parseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                     std::vector<std::string>& rest, std::string& error);

// The options' help text, one option a line.
const char* simOptionsHelp();

// Splits a text at blanks (for options held in one environment variable).
std::vector<std::string> splitWords(const std::string& text);
// Splits a text at every `separator`; an empty text gives no parts.
std::vector<std::string> splitAt(const std::string& text, char separator);
// A whole number (decimal, 0x.. or 0..) from `min` to `max`, the whole text.
bool parseNumber(const std::string& text, long min, long max, long& value);

}  // namespace zr::sim
