// The object model: reference counts in steps of 2 and owned-object lists whose
// pairs (release routine, value) are inserted at the front and released from the
// back, so that owned objects die in the order in which they were added.
#include "wol/RefObject.h"

#include "wol/PtrList.h"

namespace {

// The release routine stored beside an object added with AddOwned.
void FreeRoutine(intptr_t value)
{
    Free(reinterpret_cast<TRefObject*>(value));
}

}

void TRefObject::Init() {}

// The base destroy: release everything owned, then the instance itself.
void TRefObject::Destroy()
{
    ReleaseOwned();
    delete this;
}

void TRefObject::Release()
{
    RefCount -= 2;
    if (RefCount < 0)
        Destroy();
}

void Free(TRefObject* object)
{
    if (object)
        object->Release();
}

// Takes the pairs from the back: the first pair added is released first. Each pair
// leaves the list before its routine runs, so a routine that calls RemoveOwned on
// this owner finds nothing to remove.
void TRefObject::ReleaseOwned()
{
    while (OwnedObjects && OwnedObjects->Count > 0) {
        int count = OwnedObjects->Count;
        auto routine = reinterpret_cast<void (*)(intptr_t)>(OwnedObjects->Items[count - 2]);
        intptr_t value = OwnedObjects->Items[count - 1];
        OwnedObjects->DeleteRange(count - 2, 2);
        routine(value);
    }
    FreeAndClear(OwnedObjects);
}

void TRefObject::AddOwned(TRefObject* object)
{
    AddOwnedRoutine(FreeRoutine, reinterpret_cast<intptr_t>(object));
}

void TRefObject::AddOwnedRoutine(void (*routine)(intptr_t value), intptr_t value)
{
    if (!OwnedObjects)
        OwnedObjects = NewPtrList();
    OwnedObjects->Insert(0, value);
    OwnedObjects->Insert(0, reinterpret_cast<TPtrValue>(routine));
}

// Removes the pair holding the object; an emptied list is released.
void TRefObject::RemoveOwned(TRefObject* object)
{
    if (!OwnedObjects)
        return;
    int index = OwnedObjects->IndexOf(reinterpret_cast<TPtrValue>(object));
    if (index < 0)
        return;
    OwnedObjects->DeleteRange(index & ~1, 2);
    if (OwnedObjects->Count == 0)
        FreeAndClear(OwnedObjects);
}
