#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "core/dyn_array_direct.h"
#include "core/ext_float.h"

namespace {

bool AllZero(const void* p, std::size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n; ++i)
        if (b[i]) return false;
    return true;
}

ext_float_pair Pt(double vb, double e) { return ext_float_pair(vb, e); }

std::vector<int> released;
void Release(int v) { released.push_back(v); }

// Fails every allocation while installed.
void* FailingRealloc(void*, std::size_t) { return nullptr; }
struct FailAllocations {
    FailAllocations() { dyn_array_realloc = FailingRealloc; }
    ~FailAllocations() { dyn_array_realloc = std::realloc; }
};

} // namespace

TEST(DynArrayGrowth, GrowByOrDoublingWithZeroFilledSpareSlots) {
    dyn_array_direct<ext_float> a(10, 10, nullptr);
    EXPECT_EQ(10, a.capacity);
    ASSERT_NE(nullptr, a.items);
    EXPECT_TRUE(AllZero(a.items, sizeof(ext_float) * 10));
    for (int i = 0; i < 9; ++i) EXPECT_EQ(i + 1, a.append(ext_float(i + 1.0)));
    EXPECT_EQ(10, a.capacity);
    EXPECT_EQ(10, a.append(ext_float(10.0)));
    EXPECT_EQ(20, a.capacity);
    EXPECT_EQ(10, a.count);
    EXPECT_TRUE(AllZero(a.items + 10, sizeof(ext_float) * 10));
    // Zero-filled storage reads as a defined 0.0.
    EXPECT_FALSE(a.items[15].undefined);
    EXPECT_EQ(0.0, a.items[15].value);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(i + 1.0, a[i]->value);
    // Beyond grow_by the block doubles.
    for (int i = 10; i < 20; ++i) a.append(ext_float(i + 1.0));
    EXPECT_EQ(40, a.capacity);
    // Room reserved for 100 takes every append up to 100 without moving the block.
    ASSERT_TRUE(a.reserve(100));
    EXPECT_EQ(101, a.capacity);
    EXPECT_TRUE(AllZero(a.items + 20, sizeof(ext_float) * 81));
    ext_float* block = a.items;
    while (a.size() < 100) a.append(ext_float(1.0));
    EXPECT_EQ(block, a.items);
    EXPECT_TRUE(a.reserve(50));
    EXPECT_EQ(101, a.capacity);
}

TEST(DynArrayGrowth, ZeroInitialCapacityAllocatesOnFirstAppendAndAfterFlush) {
    dyn_array_direct<ext_float> a(0, 7, nullptr);
    EXPECT_EQ(nullptr, a.items);
    EXPECT_EQ(0, a.capacity);
    a.append(1.0);
    EXPECT_EQ(7, a.capacity);
    a.flush();
    EXPECT_EQ(nullptr, a.items);
    EXPECT_EQ(0, a.capacity);
    EXPECT_EQ(0, a.count);
    a.flush();  // a second flush does nothing
    EXPECT_EQ(nullptr, a.items);

    dyn_array_direct<ext_float> b(10, 10, nullptr);
    b.flush();
    EXPECT_EQ(0, b.capacity);
    EXPECT_EQ(nullptr, b.items);
    b.append(2.0);
    EXPECT_EQ(10, b.capacity);
}

TEST(DynArrayAccess, BadIndicesGiveNullOrFalseAndChangeNothing) {
    dyn_array_direct<ext_float> a(10, 10, nullptr);
    a.append(1.0);
    a.append(2.0);
    EXPECT_EQ(nullptr, a.get_item(-1));
    EXPECT_EQ(nullptr, a.get_item(2));
    EXPECT_EQ(a.get_item(1), a[1]);
    EXPECT_FALSE(a.insert(3.0, 3));
    EXPECT_FALSE(a.insert(3.0, -1));
    EXPECT_FALSE(a.remove(2));
    EXPECT_FALSE(a.remove(-1));
    EXPECT_FALSE(a.resize(-1));
    EXPECT_EQ(2, a.size());
    EXPECT_FALSE(a.is_empty());
}

TEST(DynArrayEdit, InsertRemoveAndZeroedVacatedSlot) {
    dyn_array_direct<ext_float> a(10, 10, nullptr);
    for (double v : {1.0, 2.0, 4.0}) a.append(v);
    EXPECT_TRUE(a.insert(3.0, 2));
    EXPECT_TRUE(a.insert(0.0, 0));
    EXPECT_TRUE(a.insert(5.0, 5));
    ASSERT_EQ(6, a.size());
    for (int i = 0; i < 6; ++i) EXPECT_EQ(double(i), a[i]->value);
    EXPECT_TRUE(a.remove(5));
    EXPECT_TRUE(AllZero(a.items + 5, sizeof(ext_float)));
    EXPECT_TRUE(a.remove(0));
    EXPECT_TRUE(AllZero(a.items + 4, sizeof(ext_float)));
    ASSERT_EQ(4, a.size());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(i + 1.0, a[i]->value);
    // Inserting into a full block grows it and keeps a spare slot.
    dyn_array_direct<int> full(2, 3, nullptr);
    full.append(1);
    EXPECT_TRUE(full.insert(0, 0));
    EXPECT_GT(full.capacity, full.count);
    EXPECT_EQ(0, *full[0]);
    EXPECT_EQ(1, *full[1]);
}

TEST(DynArrayEdit, InsertSortedPutsNewItemBeforeEqualOnes) {
    dyn_array_direct<ext_float_pair> a(10, 10, nullptr);
    EXPECT_EQ(0, a.insert_sorted(Pt(2, 20)));
    EXPECT_EQ(0, a.insert_sorted(Pt(1, 10)));
    EXPECT_EQ(1, a.insert_sorted(Pt(2, 30)));
    EXPECT_EQ(3, a.insert_sorted(Pt(5, 50)));
    ASSERT_EQ(4, a.size());
    EXPECT_EQ(30.0, a[1]->e.value);
    EXPECT_EQ(20.0, a[2]->e.value);
    // An undefined key stops the scan and lands first.
    EXPECT_EQ(0, a.insert_sorted(ext_float_pair(ext_float(0.0, true), 1.0)));
}

TEST(DynArrayEdit, ReleaseCallbackSeesEveryElementLeaving) {
    released.clear();
    {
        dyn_array_direct<int> a(10, 10, Release);
        for (int v : {1, 2, 3, 4}) a.append(v);
        a.remove(1);
        EXPECT_EQ(std::vector<int>({2}), released);
        // Shrinking releases the elements given up and zero-fills their slots; growing gives zeros.
        ASSERT_TRUE(a.resize(1));
        ASSERT_TRUE(a.resize(2));
        EXPECT_TRUE(AllZero(a.items + 1, sizeof(int) * (a.capacity - 1)));
        a.flush();
        EXPECT_EQ(std::vector<int>({2, 3, 4, 1, 0}), released);
        a.append(9);
    }
    EXPECT_EQ(std::vector<int>({2, 3, 4, 1, 0, 9}), released);
}

TEST(DynArrayMemory, FailedAllocationReportsFailureAndKeepsTheArray) {
    dyn_array_direct<ext_float> a(2, 2, nullptr);
    a.append(1.0);
    ext_float* block = a.items;
    {
        FailAllocations fail;
        EXPECT_EQ(-1, a.append(2.0));
        EXPECT_FALSE(a.insert(0.5, 0));
        EXPECT_FALSE(a.reserve(1000));
        EXPECT_FALSE(a.resize(1000));
        dyn_array_direct<ext_float_pair> pts(0, 10, nullptr);
        EXPECT_EQ(-1, pts.insert_sorted(Pt(1, 1)));
        EXPECT_EQ(nullptr, pts.items);
        EXPECT_EQ(0, pts.size());
        dyn_array_direct<ext_float> none(10, 10, nullptr);
        EXPECT_EQ(nullptr, none.items);
        EXPECT_EQ(0, none.capacity);
    }
    EXPECT_EQ(block, a.items);
    EXPECT_EQ(2, a.capacity);
    ASSERT_EQ(1, a.size());
    EXPECT_EQ(1.0, a[0]->value);
    EXPECT_EQ(2, a.append(2.0));
}

