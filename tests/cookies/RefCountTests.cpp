#include "cookies/RefCount.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

class CProbe final : public CRefCount {
public:
    explicit CProbe(std::atomic<int>& destroyed) : m_destroyed(destroyed) {}
    ~CProbe() override { ++m_destroyed; }

private:
    std::atomic<int>& m_destroyed;
};

} // namespace

TEST(RefCount, ManyThreadsAddingAndReleasingDestroyTheObjectExactlyOnce) {
    for (int round = 0; round < 20; ++round) {
        std::atomic<int> destroyed = 0;
        CRefPtr<CProbe> probe(new CProbe(destroyed));
        std::atomic<bool> go = false;
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([&, copy = probe]() mutable {
                while (!go) {
                    std::this_thread::yield();
                }
                for (int i = 0; i < 2000; ++i) {
                    CRefPtr<CProbe> again = copy;
                    again.Reset();
                }
                copy.Reset();
            });
        }
        go = true;
        probe.Reset();
        for (auto& thread : threads) {
            thread.join();
        }
        EXPECT_EQ(1, destroyed.load()) << "round " << round;
    }
}

TEST(RefCount, PointerOperationsKeepTheCountRight) {
    std::atomic<int> destroyed = 0;
    {
        CRefPtr<CProbe> a(new CProbe(destroyed));
        a = a; // self-assignment takes before it releases
        EXPECT_EQ(0, destroyed.load());

        CRefPtr<CProbe> b = std::move(a);
        EXPECT_FALSE(a);
        ASSERT_TRUE(b);

        CProbe* raw = b.Detach(); // as a posted message carries it
        EXPECT_FALSE(b);
        EXPECT_EQ(0, destroyed.load());
        CRefPtr<CProbe> adopted = CRefPtr<CProbe>::Adopt(raw);

        std::atomic<int> otherDestroyed = 0;
        adopted = CRefPtr<CProbe>(new CProbe(otherDestroyed));
        EXPECT_EQ(1, destroyed.load()) << "overwriting released the old object";
        EXPECT_EQ(0, otherDestroyed.load());
    }
    EXPECT_EQ(0, CRefCount::LiveObjects());
}
