#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zr {

using CommandFrameBytes = std::array<uint8_t, 18>;

// Pure encoding rules of the frame protocol, kept apart from the link so they
// can be checked byte for byte without a worker or a transport.

// Checksum of both frame kinds: complement of the byte sum, lowest 8 bits.
uint8_t frameChecksum(const uint8_t* bytes, size_t count);

// Value of a hexadecimal digit received from the camera. No validation: above
// 0x40 the code minus 0x37, otherwise the code minus 0x30, in 8 bits. So
// lower-case letters do not give their values; the camera never sends them.
uint8_t hexDigitValue(uint8_t c);

// The three data bytes of an answer frame from its six data digits, each
// byte high digit first, by the unchecked digit rule above.
std::array<uint8_t, 3> DecodeAnswer(const uint8_t* sixDigits);

// A command character lies between '0' and 'F' (':' to '@' included), compared
// as signed 8-bit values so that every byte from 0x80 up is below '0'.
bool isCommandCharacter(char c);

// Whether a command expects answer data: bit 3 of the first character's value
// as a hexadecimal digit ('8'-'9', 'A'-'F'); other characters count as 0.
bool expectsAnswer(char first);

// Result of scanning a command text.
struct CommandTextCheck {
    std::string upper;      // the scanned text in upper case (at most 256 bytes)
    size_t length = 0;      // 0 when the text fills every one of the 256 positions
    int badCharacters = 0;  // one per bad character, see checkCommandText
};

// Scans positions 0 to 255 of the text, upper-cased. A text of 256 bytes or
// more has length 0, and bytes past position 255 are not examined. Every
// character outside '0'..'F' counts once; a UTF-8 encoded character counts
// once although it takes several bytes, so the user sees one message for each
// character typed.
CommandTextCheck checkCommandText(std::string_view text);

// STX, "00FF", the first 10 characters of `upper` padded with '0', ETX and the
// checksum of bytes 0 to 15 as two upper-case hexadecimal digits.
CommandFrameBytes buildCommandFrame(std::string_view upper);

}  // namespace zr
