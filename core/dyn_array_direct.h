// A growable array holding plain records by value in one zero-filled block of heap storage.
#pragma once
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <cstring>

// The allocator the arrays use; tests replace it to make an allocation fail.
using dyn_array_realloc_t = void* (*)(void* block, std::size_t bytes);
inline dyn_array_realloc_t dyn_array_realloc = std::realloc;

template <class T>
class dyn_array_direct {
public:
    int capacity;
    int count;
    int grow_by;
    T* items;
    void (*release)(T);

    dyn_array_direct(int initial_capacity, int grow_by_, void (*release_)(T))
        : capacity(0), count(0), grow_by(grow_by_), items(nullptr), release(release_) {
        if (initial_capacity > 0) {
            void* block = dyn_array_realloc(nullptr, sizeof(T) * static_cast<std::size_t>(initial_capacity));
            if (block) {
                std::memset(block, 0, sizeof(T) * static_cast<std::size_t>(initial_capacity));
                items = static_cast<T*>(block);
                capacity = initial_capacity;
            }
        }
    }
    ~dyn_array_direct() { flush(); }

    dyn_array_direct(const dyn_array_direct&) = delete;
    dyn_array_direct& operator=(const dyn_array_direct&) = delete;

    int size() const { return count; }
    bool is_empty() const { return count == 0; }

    T* get_item(int index) const { return index >= 0 && index < count ? items + index : nullptr; }
    T* operator[](int index) const { return get_item(index); }

    // Returns the new count, or -1 when the storage could not grow (nothing changed).
    int append(T item) {
        if (count + 1 >= capacity && !realloc()) return -1;
        items[count] = item;
        return ++count;
    }

    // False for an index outside 0 .. count, or when the storage could not grow.
    bool insert(T item, int index) {
        if (index < 0 || index > count) return false;
        if (index == count) return append(item) >= 0;
        if (count + 1 >= capacity && !realloc()) return false;
        std::memmove(static_cast<void*>(items + index + 1), items + index,
                     sizeof(T) * static_cast<std::size_t>(count - index));
        items[index] = item;
        ++count;
        return true;
    }

    // Places the item before every element that is not less than it; returns its index,
    // or -1 when the storage could not grow.
    int insert_sorted(T item) {
        int i = 0;
        while (i < count && items[i] < item) ++i;
        return insert(item, i) ? i : -1;
    }

    bool remove(int index) {
        if (index < 0 || index >= count) return false;
        if (release) release(items[index]);
        std::memmove(static_cast<void*>(items + index), items + index + 1,
                     sizeof(T) * static_cast<std::size_t>(count - index - 1));
        --count;
        std::memset(static_cast<void*>(items + count), 0, sizeof(T));
        return true;
    }

    // Makes the array hold n elements, keeping its block when it is large enough: elements
    // gained are zero (as spare slots are), elements given up are released and their slots
    // zero-filled again. False when memory fails (nothing changed).
    bool resize(int n) {
        if (n < 0 || (n > count && !reserve(n))) return false;
        if (n < count) {
            if (release) {
                for (int i = n; i < count; ++i) release(items[i]);
            }
            std::memset(static_cast<void*>(items + n), 0, sizeof(T) * static_cast<std::size_t>(count - n));
        }
        count = n;
        return true;
    }

    void flush() {
        if (!items) return;
        if (release) {
            for (int i = 0; i < count; ++i) release(items[i]);
        }
        std::free(items);
        items = nullptr;
        count = 0;
        capacity = 0;
    }

    // Makes room for `n` elements in all, so that appending up to them does not grow the block
    // again (append keeps one slot spare). On failure nothing changes and false is returned.
    bool reserve(int n) {
        if (n < 0 || n == INT_MAX) return false;
        return n == 0 || n < capacity || grow_to(n + 1);
    }

    // Adds grow_by slots, or as many as there are when that is more, so that appending n
    // elements one by one copies the block O(log n) times. On failure the block, capacity
    // and elements stay as they were and false is returned.
    bool realloc() {
        const int step = grow_by > 0 ? grow_by : 1;
        const int old_capacity = items ? capacity : 0;
        if (old_capacity > INT_MAX - step) return false;
        const int add = old_capacity > step && old_capacity <= INT_MAX - old_capacity ? old_capacity : step;
        return grow_to(old_capacity + add);
    }

private:
    // A block of new_capacity (more than now) slots; the new ones are zero-filled.
    bool grow_to(int new_capacity) {
        const int old_capacity = items ? capacity : 0;
        if (static_cast<std::size_t>(new_capacity) > SIZE_MAX / sizeof(T)) return false;
        void* block = dyn_array_realloc(items, sizeof(T) * static_cast<std::size_t>(new_capacity));
        if (!block) return false;
        std::memset(static_cast<char*>(block) + sizeof(T) * static_cast<std::size_t>(old_capacity), 0,
                    sizeof(T) * static_cast<std::size_t>(new_capacity - old_capacity));
        items = static_cast<T*>(block);
        capacity = new_capacity;
        return true;
    }
};
