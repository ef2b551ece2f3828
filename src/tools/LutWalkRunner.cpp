#include "tools/LutWalkRunner.h"

LutWalkRunner::LutWalkRunner(Direction direction, int walkEntries, int delayMs, QWidget* parent)
    : direction_(direction),
      walkEntries_(walkEntries),
      progress_(direction, walkEntries, delayMs, parent) {}

std::string LutWalkRunner::run(const Walk& walk) {
    const zr::LutWalkResult result = walk([this](int done, int total, int channel) {
        return progress_.advance(done, total, channel);
    });
    progress_.hide();
    wait_.release();
    const bool read = direction_ == Direction::Read;
    switch (result.outcome) {
        case zr::LutWalkResult::Outcome::Failed:
            return read ? "Failed to get LUT" : "Failed to write LUT";
        case zr::LutWalkResult::Outcome::Stopped:
            return LutProgressDialog::cancelledText(direction_, result.done, result.total,
                                                    walkEntries_)
                .toStdString();
        case zr::LutWalkResult::Outcome::Done:
            break;
    }
    return {};
}
