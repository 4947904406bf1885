// TPathSet: the paths listed for conversion, so that adding a file checks for a
// duplicate without reading every listed item back. A hash set whose texts are
// compared byte for byte (case counts), so a lookup costs about the same with ten
// files listed as with ten thousand. Its owner keeps it in step with the list. Each
// path carries a number of the owner's choosing, 0 unless Set gave it another.
#pragma once

#include "runtime/Text.h"

class TPathSet {
public:
    TPathSet() = default;
    ~TPathSet();
    TPathSet(const TPathSet&) = delete;
    TPathSet& operator=(const TPathSet&) = delete;

    bool Contains(const TText& path) const;
    // Adding a path already held, or removing one not held, changes nothing.
    void Add(const TText& path);
    void Remove(const TText& path);
    // The path's number, or absent when the path is not held.
    long long Value(const TText& path, long long absent) const;
    // Adds the path when it is not held.
    void Set(const TText& path, long long value);

private:
    struct TSlot {
        TText Path;
        long long Value = 0;
        unsigned Hash = 0;
        bool Used = false;
    };

    // The slot that holds path, or the free slot where it would go.
    int Find(const TText& path, unsigned hash) const;
    // The slot that holds path, where it is added when it is not held.
    TSlot& Place(const TText& path);
    void Grow();

    TSlot* FSlots = nullptr;   // owned; FCapacity slots, a power of two
    int FCapacity = 0;
    int FCount = 0;
};
