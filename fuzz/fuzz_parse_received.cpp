// Camera bytes into the link's parser, cut into reads of any size. Checks that
// the parser's position stays inside its answer frame, that the answer ring
// never counts more than it holds, that the results and status bits agree,
// and that a good answer frame after whatever came before is still accepted.
#include <fuzzer/FuzzedDataProvider.h>

#include "CountingSink.h"
#include "FuzzCheck.h"
#include "link/LinkStatus.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "support/ManualClock.h"

namespace {

using zr::fuzz::check;

void checkParserState(zr::SerialLink& link) {
    check(link.answerPos() >= 0 && link.answerPos() <= 9, "answerPos in 0..9");
    check(!link.inAnswerFrame() || link.answerPos() <= 8, "inside a frame answerPos is 0..8");
    check(link.answerCount() >= 0 && link.answerCount() <= 1, "one answer at most is unread");
    check(link.ringIndex() >= 0 && link.ringIndex() <= 9, "ringIndex in 0..9");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zr::test::ManualClock clock;
    zr::fuzz::CountingSink sink;
    zr::MessageRelay relay(sink);
    zr::SerialLink link(relay, clock);
    FuzzedDataProvider input(data, size);

    while (input.remaining_bytes() > 0) {
        const auto chunk = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 40));
        link.clearStatus();
        const int result = link.ParseReceived(chunk.data(), chunk.size());
        const uint32_t status = link.peekStatus();
        check(result == 0 || result == 1 || result == -1, "result is 0, 1 or -1");
        check(result == 1 || (status & zr::LS_ANSWER_DONE), "a completed frame sets ANSWER_DONE");
        check(result != 0 || link.answerCount() == 1, "a good frame leaves one unread answer");
        check((status & ~(zr::LS_ACK | zr::LS_ANSWER_DONE)) == 0, "the parser sets only its bits");
        checkParserState(link);
        if (input.ConsumeBool()) {
            const int before = link.answerCount();
            link.TakeAnswer({0xEE, 0xEE, 0xEE});
            check(link.answerCount() == (before > 0 ? before - 1 : 0), "TakeAnswer takes one");
        }
    }

    // Nine bytes that are neither STX, ACK nor NAK complete any frame begun
    // and are then ignored; a good answer frame must then be taken.
    const uint8_t filler[9] = {'X', 'X', 'X', 'X', 'X', 'X', 'X', 'X', 'X'};
    link.ParseReceived(filler, sizeof filler);
    check(!link.inAnswerFrame(), "the filler ends any frame");
    // STX "12AB00" ETX "B4": the answer 0x12 0xAB 0x00.
    const uint8_t good[10] = {0x02, '1', '2', 'A', 'B', '0', '0', 0x03, 'B', '4'};
    check(link.ParseReceived(good, sizeof good) == 0, "a good frame after anything is accepted");
    const zr::AnswerBytes answer = link.TakeAnswer({0, 0, 0});
    check(answer == zr::AnswerBytes{0x12, 0xAB, 0x00}, "the good frame's bytes are taken");
    check(sink.total() == 0, "the parser shows no message");
    return 0;
}
