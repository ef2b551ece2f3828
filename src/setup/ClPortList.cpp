#include "setup/ClPortList.h"

#include <algorithm>
#include <optional>

#include "link/ClOpen.h"

namespace zr {

ClPortList ClPortList::query() {
    ClPortList list;
    const std::optional<std::vector<ClPortEntry>> found = commonLibraryPorts();
    if (!found) return list;
    list.count = static_cast<uint32_t>(found->size());
    const size_t listed = std::min<size_t>(found->size(), kMaxPorts);
    for (size_t i = 0; i < listed; ++i) {
        const ClPortEntry& entry = (*found)[i];
        list.ports.push_back({QString::fromLocal8Bit(entry.manufacturer),
                              QString::fromLocal8Bit(entry.portId), entry.version});
    }
    return list;
}

}  // namespace zr
