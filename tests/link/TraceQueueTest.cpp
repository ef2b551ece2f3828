#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "ScriptedLinkTest.h"
#include "link/TraceQueue.h"

namespace zr::test {
namespace {

using Kind = TraceEvent::Kind;

struct QueueCase {
    const char* name;
    size_t capacity;
    bool listening;
    std::vector<size_t> eventBytes;   // one event of each size, pushed in order
    std::vector<size_t> recordBytes;  // what drains out
    uint64_t dropped;
};

const QueueCase kQueueCases[] = {
    {"nobody listens: nothing kept, nothing counted", 4, false, {1, 18, 0}, {}, 0},
    {"full: the later events are dropped and counted",
     4,
     true,
     {1, 2, 0, 4, 5, 6},
     {1, 2, 0, 4},
     2},
    {"a long chunk takes several records", 4, true, {250, 1}, {100, 100, 50, 1}, 0},
    {"an event that does not fit whole is dropped whole", 3, true, {18, 250, 3}, {18, 3}, 1},
};

TEST(TraceQueue, BoundedDropsAndCounts) {
    for (const QueueCase& c : kQueueCases) {
        SCOPED_TRACE(c.name);
        TraceQueue queue(c.capacity);
        queue.setListening(c.listening);
        std::vector<uint8_t> bytes(300);
        std::iota(bytes.begin(), bytes.end(), 0);
        queue.push({Kind::Opened, 77, nullptr, 0, 0});
        std::vector<TraceQueue::Record> out;
        queue.drain(out, 100);
        uint32_t tick = 100;
        for (size_t n : c.eventBytes) queue.push({Kind::Received, tick++, bytes.data(), n, 0});
        out.clear();
        EXPECT_EQ(queue.drain(out, 100), c.recordBytes.size());
        std::vector<size_t> sizes;
        // A long chunk's records carry its bytes on from where the last stopped.
        uint32_t lastTick = 0;
        size_t offset = 0;
        for (const TraceQueue::Record& r : out) {
            sizes.push_back(r.count);
            if (r.tick != lastTick) offset = 0;
            lastTick = r.tick;
            for (size_t i = 0; i < r.count; ++i) ASSERT_EQ(r.bytes[i], uint8_t(offset + i));
            offset += r.count;
        }
        EXPECT_EQ(sizes, c.recordBytes);
        EXPECT_EQ(queue.takeDropped(), c.dropped);
        EXPECT_EQ(queue.takeDropped(), 0u);
        EXPECT_EQ(queue.openedTick(), 77u);
    }
}

// A queue nobody drains fills up: the worker goes on exchanging as before and
// the queue keeps the oldest events and counts the rest.
class TraceQueueLinkTest : public ScriptedLinkTest {};

TEST_F(TraceQueueLinkTest, FullQueueNeverHoldsUpTheWorker) {
    TraceQueue queue(3);
    queue.setListening(true);
    link.setTrace([&queue](const TraceEvent& e) { queue.push(e); });
    port.respond([](const Bytes& w) -> std::vector<Bytes> {
        if (w.size() != 18) return {};
        return {{0x06}, kGood};
    });
    ASSERT_TRUE(open());
    for (int i = 0; i < 10; ++i) EXPECT_NE(sendAndWait("8108000000") & LS_ANSWER_OK, 0u) << i;
    EXPECT_TRUE(settled());
    EXPECT_EQ(port.frameWrites().size(), 10u);

    std::vector<TraceQueue::Record> out;
    ASSERT_EQ(queue.drain(out, 100), 3u);
    EXPECT_EQ(out[0].kind, Kind::Opened);
    EXPECT_EQ(out[1].kind, Kind::Sent);
    EXPECT_EQ(out[1].count, 18);
    // Each read: frame, ACK read, the ACK's meaning, answer read, answer, the host's ACK.
    EXPECT_GE(queue.takeDropped(), 10u * 6 - 3);
}

}  // namespace
}  // namespace zr::test
