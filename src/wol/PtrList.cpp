// TPtrList: a flat array of pointer-sized values that grows GrowBy slots at a time
// and never shrinks until its storage is released.
#include "wol/PtrList.h"

#include <cstdlib>
#include <cstring>

void TPtrList::Destroy()
{
    ReleaseStorage();
    TRefObject::Destroy();
}

void TPtrList::Add(TPtrValue value)
{
    int slot = Count;
    Count = slot + 1;
    if (slot >= Capacity)
        SetCapacity(slot + GrowBy);
    Items[slot] = value;
}

void TPtrList::Insert(int index, TPtrValue value)
{
    int oldCount = Count;
    Add(0);
    std::memmove(&Items[index + 1], &Items[index], (oldCount - index) * sizeof(TPtrValue));
    Items[index] = value;
}

void TPtrList::DeleteRange(int index, int n)
{
    if (n <= 0 || index >= Count)
        return;
    if (n > Count - index)
        n = Count - index;
    std::memmove(&Items[index], &Items[index + n], (Count - index - n) * sizeof(TPtrValue));
    Count -= n;
}

int TPtrList::IndexOf(TPtrValue value) const
{
    for (int i = 0; i < Count; ++i)
        if (Items[i] == value)
            return i;
    return -1;
}

void TPtrList::Remove(TPtrValue value)
{
    int index = IndexOf(value);
    if (index >= 0)
        Delete(index);
}

TPtrValue TPtrList::ItemAt(int index) const
{
    if (index < 0 || index >= Count)
        return 0;
    return Items[index];
}

// n is raised to Count: values in use are never dropped.
void TPtrList::SetCapacity(int n)
{
    if (n < Count)
        n = Count;
    if (n == Capacity)
        return;
    Capacity = n;
    if (n == 0) {
        std::free(Items);
        Items = nullptr;
        return;
    }
    Items = static_cast<TPtrValue*>(std::realloc(Items, n * sizeof(TPtrValue)));
}

void TPtrList::ReleaseStorage()
{
    std::free(Items);
    Items = nullptr;
    Count = 0;
    Capacity = 0;
}

TPtrList* NewPtrList()
{
    TPtrList* list = NewObject<TPtrList>();
    list->GrowBy = 4;
    return list;
}

void FreeAll(TPtrList* list)
{
    if (!list)
        return;
    for (int i = list->Count - 1; i >= 0; --i)
        Free(reinterpret_cast<TRefObject*>(list->ItemAt(i)));
    Free(list);
}
