// Look-up table files into the CSV reader, whole and cut into chunks of any
// size. Both ways must end alike, a table read without failure holds only
// values 0..255, and a failure names its line (and entry) and has a message.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "FuzzCheck.h"
#include "params/LutCsv.h"

using zr::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const size_t chunkSize = input.ConsumeIntegralInRange<size_t>(1, 64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    zr::LutTable whole = zr::identityLut();
    const zr::LutCsvResult wholeResult = zr::parseLutCsv(text, whole);

    zr::LutTable chunked = zr::identityLut();
    zr::LutCsvReader reader(chunked);
    for (size_t at = 0; at < text.size(); at += chunkSize) {
        if (!reader.feed(std::string_view(text).substr(at, chunkSize))) break;
    }
    const zr::LutCsvResult chunkedResult = reader.finish();

    check(wholeResult.status == chunkedResult.status, "chunks end like the whole text");
    check(wholeResult.line == chunkedResult.line, "chunks fail on the same line");
    check(wholeResult.entry == chunkedResult.entry, "chunks fail on the same entry");
    check(whole == chunked, "chunks fill the same table");
    check(wholeResult.ok() == wholeResult.message().empty(), "a failure has a message");
    if (wholeResult.ok()) {
        for (const auto& channel : whole)
            for (const int v : channel) check(v >= 0 && v <= 255, "values are 0..255");
    } else {
        check(wholeResult.line >= 1 && wholeResult.line <= 3, "the failing line is 1..3");
        check(wholeResult.entry >= 0 && wholeResult.entry < 256, "the failing entry is 0..255");
    }
    // What a file could not spoil: a good table written and read back.
    if (wholeResult.ok()) {
        zr::LutTable again = zr::identityLut();
        check(zr::parseLutCsv(zr::formatLutCsv(whole), again).ok(), "a written table reads");
        check(again == whole, "a written table reads back the same");
    }
    return 0;
}
