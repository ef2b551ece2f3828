#include "params/LutTransfer.h"

#include <algorithm>

#include "params/LutRegisters.h"
#include "params/ParamAccess.h"

namespace zr {

namespace {

// The walk both directions share: the chosen channels in order, entries
// 0..entries-1 each, `step` for every entry; stops at the first entry whose
// step fails, or where the progress callback asks.
template <typename Step>
LutWalkResult walkLut(const LutChannelSet& channels, int entries, const LutProgress& progress,
                      Step step) {
    const int count = std::clamp(entries, 0, kLutEntries);
    LutWalkResult result;
    result.total = static_cast<int>(std::count(channels.begin(), channels.end(), true)) * count;
    for (int c = 0; c < kLutChannels; ++c) {
        if (!channels[c]) continue;
        for (int i = 0; i < count; ++i) {
            if (!step(c, i)) {
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

}  // namespace

LutWalkResult readLut(ParamAccess& params, LutTable& table, int entries,
                      const LutProgress& progress) {
    return walkLut(kAllLutChannels, entries, progress, [&](int c, int i) {
        AnswerBytes answer{};
        if (params.ReadRegister(lutReadText(c, i), answer) != 1) return false;
        table[c][i] = answer[0];
        return true;
    });
}

LutWalkResult writeLut(ParamAccess& params, const LutTable& table, const LutChannelSet& channels,
                       int entries, const LutProgress& progress) {
    return walkLut(channels, entries, progress, [&](int c, int i) {
        return params.WriteCommandText(lutWriteText(c, i, table[c][i])) == 0;
    });
}

}  // namespace zr
