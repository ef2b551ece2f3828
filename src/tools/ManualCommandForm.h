#pragma once

#include <string>
#include <string_view>

#include "link/SerialLink.h"

namespace zr::tools {

// The read form of a typed command text (UTF-8): its first character read as
// a hexadecimal digit d (either case; anything else, or no character at all,
// gives 0), written as "%X" of d | 8, followed by the rest of the text as
// typed. So 014C becomes 814C and a text already in read form stays as it is.
// A first character of several bytes is replaced as a whole.
std::string readFormOf(std::string_view text);

// The three answer bytes as six upper-case hexadecimal digits.
std::string answerText(const AnswerBytes& answer);

}  // namespace zr::tools
