#include "tools/LutWalkRunner.h"

LutWalkRunner::LutWalkRunner(Direction direction, int walkEntries, int delayMs, QWidget* parent)
    : progress_(direction, walkEntries, delayMs, parent) {}

std::string LutWalkRunner::run(const Walk& walk) {
    const zr::LutWalkResult result = walk([this](int done, int total, int channel) {
        return progress_.advance(done, total, channel);
    });
    progress_.hide();
    wait_.release();
    const bool read = progress_.direction() == Direction::Read;
    switch (result.outcome) {
        case zr::LutWalkResult::Outcome::Failed:
            return read ? "Failed to get LUT" : "Failed to write LUT";
        case zr::LutWalkResult::Outcome::Stopped:
            return progress_.cancelledText(result.done, result.total).toStdString();
        case zr::LutWalkResult::Outcome::Done:
            break;
    }
    return {};
}
