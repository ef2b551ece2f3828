#pragma once

#include <array>
#include <functional>

#include "params/LutCsv.h"

namespace zr {

class ParamAccess;

// Which channels a WRITE walk sends (red, green, blue).
using LutChannelSet = std::array<bool, kLutChannels>;
inline constexpr LutChannelSet kAllLutChannels{true, true, true};

// Called after every entry that was read or written: entries done so far,
// entries the walk takes in all, and the channel of the entry. Returning false
// stops the walk there, so the exchange in flight always ends first.
using LutProgress = std::function<bool(int done, int total, int channel)>;

struct LutWalkResult {
    enum class Outcome {
        Done,     // every entry of the walk was read or written
        Failed,   // the link refused a command or a read got no answer
        Stopped,  // the progress callback asked to stop
    };
    Outcome outcome = Outcome::Done;
    int done = 0;
    int total = 0;

    bool ok() const { return outcome == Outcome::Done; }
};

// The READ walk: every channel, entries 0..entries-1 in order, one read each.
// Each answer goes into `table` at once, so a walk that fails or is stopped
// keeps what it read before; the rest stays as it was. No message of its
// own: the link shows its own, the caller says that the table failed.
LutWalkResult readLut(ParamAccess& params, LutTable& table, int entries = kLutEntries,
                      const LutProgress& progress = {});

// The WRITE walk: the chosen channels in order, entries 0..entries-1 each;
// stops at the first command the link refuses.
LutWalkResult writeLut(ParamAccess& params, const LutTable& table,
                       const LutChannelSet& channels = kAllLutChannels, int entries = kLutEntries,
                       const LutProgress& progress = {});

}  // namespace zr
