#include "params/LutTransfer.h"

#include <algorithm>

#include "params/LutRegisters.h"
#include "params/ParamAccess.h"

namespace zr {

namespace {

int clampedWalk(int entries) {
    return std::clamp(entries, 0, kLutEntries);
}

}  // namespace

LutWalkResult readLut(ParamAccess& params, LutTable& table, int entries,
                      const LutProgress& progress) {
    const int count = clampedWalk(entries);
    LutWalkResult result;
    result.total = kLutChannels * count;
    for (int c = 0; c < kLutChannels; ++c) {
        for (int i = 0; i < count; ++i) {
            AnswerBytes answer{};
            if (params.ReadRegister(lutReadText(c, i), answer) != 1) {
                result.outcome = LutWalkResult::Outcome::Failed;
                return result;
            }
            table[c][i] = answer[0];
            ++result.done;
            if (progress && !progress(result.done, result.total, c)) {
                if (result.done < result.total) result.outcome = LutWalkResult::Outcome::Stopped;
                return result;
            }
        }
    }
    return result;
}

LutWalkResult writeLut(ParamAccess& params, const LutTable& table, const LutChannelSet& channels,
                       int entries, const LutProgress& progress) {
    const int count = clampedWalk(entries);
    LutWalkResult result;
    result.total = static_cast<int>(std::count(channels.begin(), channels.end(), true)) * count;
    for (int c = 0; c < kLutChannels; ++c) {
        if (!channels[c]) continue;
        for (int i = 0; i < count; ++i) {
            if (params.WriteCommandText(lutWriteText(c, i, table[c][i])) != 0) {
                result.outcome = LutWalkResult::Outcome::Failed;
                return result;
            }
            ++result.done;
            if (progress && !progress(result.done, result.total, c)) {
                if (result.done < result.total) result.outcome = LutWalkResult::Outcome::Stopped;
                return result;
            }
        }
    }
    return result;
}

}  // namespace zr
