// The object model: reference counts, owned-object lists and TPtrList. Portable:
// runs natively (with the sanitizers) and under Wine.
#include "wol/PtrList.h"
#include "wol/RefObject.h"

#include <gtest/gtest.h>

#include <vector>

using V = std::vector<intptr_t>;
static V calls;   // ids of dead objects and values of owned routines, in order
static TRefObject* owner;

static void Record(intptr_t value) { calls.push_back(value); }

// A plain object that records id as it dies. (Tests do not subclass the layer's
// types: the layer is built without RTTI, the tests with it.)
static TRefObject* Tracked(intptr_t id)
{
    TRefObject* object = NewObject<TRefObject>();
    object->AddOwnedRoutine(Record, id);
    return object;
}

// A held object survives one Free. RemoveOwned takes back the object's pair only,
// without freeing it; each pair leaves the list before its routine runs.
TEST(ObjectModel, AnObjectDiesBelowZeroAndReleasesWhatItOwnsInTheOrderOfAdding)
{
    TRefObject* object = Tracked(1);
    object->AddRef();
    Free(object);
    EXPECT_EQ(calls, V{});
    object->Release();
    TRefObject* place = Tracked(2);
    FreeAndClear(place);
    Free(place);
    owner = NewObject<TRefObject>();
    TRefObject* taken = Tracked(9);
    owner->AddOwned(Tracked(3));
    owner->AddOwnedRoutine(Record, 4);
    owner->AddOwned(taken);
    owner->AddOwned(Tracked(5));
    owner->RemoveOwned(taken);
    owner->RemoveOwned(taken);
    owner->AddOwnedRoutine([](intptr_t) { calls.push_back(owner->OwnedObjects->Count); }, 0);
    Free(owner);
    owner = NewObject<TRefObject>();
    owner->AddOwned(taken);
    owner->RemoveOwned(taken);
    EXPECT_EQ(owner->OwnedObjects, nullptr) << "an emptied list is released";
    Free(owner);
    Free(taken);
    EXPECT_EQ(calls, V({1, 2, 3, 4, 5, 0, 9}));
}

// Deletion never shrinks the storage; FreeAll frees the values from the last down.
TEST(ObjectModel, AListGrowsFourSlotsAtATimeAndStaysInsideItsBounds)
{
    TPtrList* list = NewPtrList();
    V capacities;
    for (int i = 1; i <= 9; ++i) {
        list->Insert(list->Count / 2, i);
        capacities.push_back(list->Capacity);
    }
    list->Insert(list->Count, 10);
    list->SetCapacity(2);   // never below the count
    EXPECT_EQ(capacities, V({4, 4, 4, 4, 8, 8, 8, 8, 12}));
    EXPECT_EQ(V(list->Items, list->Items + list->Capacity), V({2, 4, 6, 8, 9, 7, 5, 3, 1, 10}));
    EXPECT_EQ((V{list->ItemAt(-1), list->ItemAt(10), list->ItemAt(9), list->IndexOf(9), list->IndexOf(11)}), V({0, 0, 10, 4, -1}));
    list->DeleteRange(1, 0);
    list->DeleteRange(1, -2);
    list->DeleteRange(7, 9);   // cut at the end
    list->DeleteRange(7, 1);   // at the end: nothing
    list->Remove(42);
    list->Remove(4);
    list->Delete(0);
    EXPECT_EQ(V(list->Items, list->Items + list->Count), V({6, 8, 9, 7, 5}));
    EXPECT_EQ(list->Capacity, 10);
    list->ReleaseStorage();
    EXPECT_EQ(list->Count + list->Capacity, 0);
    Free(list);
    calls.clear();
    list = NewPtrList();
    for (int id = 1; id <= 3; ++id)
        list->Add(reinterpret_cast<TPtrValue>(Tracked(id)));
    FreeAll(list);
    FreeAll(nullptr);
    EXPECT_EQ(calls, V({3, 2, 1}));
}
