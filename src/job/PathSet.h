// TPathSet: the paths listed for conversion, so that adding a file checks for a
// duplicate without reading every listed item back. A hash set whose texts are
// compared byte for byte (case counts), so a lookup costs about the same with ten
// files listed as with ten thousand. Its owner keeps it in step with the list.
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

private:
    struct TSlot {
        TText Path;
        unsigned Hash = 0;
        bool Used = false;
    };

    // The slot that holds path, or the free slot where it would go.
    int Find(const TText& path, unsigned hash) const;
    void Grow();

    TSlot* FSlots = nullptr;   // owned; FCapacity slots, a power of two
    int FCapacity = 0;
    int FCount = 0;
};
