// Open addressing with linear probing, at most half full. A removal shifts the
// entries after it back instead of leaving a marker, so a probe always ends at the
// first free slot.
#include "job/PathSet.h"

namespace {

// FNV-1a over the path's bytes.
unsigned HashOf(const TText& path)
{
    unsigned hash = 2166136261u;
    const char* bytes = path.CStr();
    for (int i = 0; i < path.Length(); ++i)
        hash = (hash ^ static_cast<unsigned char>(bytes[i])) * 16777619u;
    return hash;
}

}

TPathSet::~TPathSet() { delete[] FSlots; }

int TPathSet::Find(const TText& path, unsigned hash) const
{
    const int mask = FCapacity - 1;
    int i = static_cast<int>(hash & mask);
    while (FSlots[i].Used && (FSlots[i].Hash != hash || FSlots[i].Path != path))
        i = (i + 1) & mask;
    return i;
}

bool TPathSet::Contains(const TText& path) const
{
    return FCount > 0 && FSlots[Find(path, HashOf(path))].Used;
}

void TPathSet::Grow()
{
    TSlot* old = FSlots;
    const int oldCapacity = FCapacity;
    FCapacity = oldCapacity ? oldCapacity * 2 : 16;
    FSlots = new TSlot[FCapacity];
    for (int i = 0; i < oldCapacity; ++i) {
        if (old[i].Used) {
            TSlot& slot = FSlots[Find(old[i].Path, old[i].Hash)];
            slot = static_cast<TSlot&&>(old[i]);
        }
    }
    delete[] old;
}

TPathSet::TSlot& TPathSet::Place(const TText& path)
{
    if ((FCount + 1) * 2 > FCapacity)
        Grow();
    const unsigned hash = HashOf(path);
    TSlot& slot = FSlots[Find(path, hash)];
    if (!slot.Used) {
        slot.Path = path;
        slot.Value = 0;
        slot.Hash = hash;
        slot.Used = true;
        ++FCount;
    }
    return slot;
}

void TPathSet::Add(const TText& path)
{
    Place(path);
}

void TPathSet::Set(const TText& path, long long value)
{
    Place(path).Value = value;
}

long long TPathSet::Value(const TText& path, long long absent) const
{
    if (FCount == 0)
        return absent;
    const TSlot& slot = FSlots[Find(path, HashOf(path))];
    return slot.Used ? slot.Value : absent;
}

void TPathSet::Remove(const TText& path)
{
    if (FCount == 0)
        return;
    int hole = Find(path, HashOf(path));
    if (!FSlots[hole].Used)
        return;
    // An entry after the hole moves into it when its own home slot does not lie
    // between the hole and the entry: a probe from its home would stop at the hole.
    const int mask = FCapacity - 1;
    for (int i = (hole + 1) & mask; FSlots[i].Used; i = (i + 1) & mask) {
        const int home = static_cast<int>(FSlots[i].Hash & mask);
        if (((i - home) & mask) >= ((i - hole) & mask)) {
            FSlots[hole] = static_cast<TSlot&&>(FSlots[i]);
            hole = i;
        }
    }
    FSlots[hole].Path = TText();
    FSlots[hole].Used = false;
    --FCount;
}
