// The object model: reference counts, owned-object lists and TPtrList.
// Portable: runs natively (with the sanitizers) and under Wine.
#include "wol/PtrList.h"
#include "wol/RefObject.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<intptr_t> calls;   // ids of dead objects and values of owned routines, in order
int alive = 0;

void RecordDeath(intptr_t id)
{
    calls.push_back(id);
    --alive;
}

void RecordRoutine(intptr_t value) { calls.push_back(value); }

// A plain object whose first owned pair logs its id when it dies. (Tests do not
// subclass the layer's types: the layer is built without RTTI, the tests with it.)
TRefObject* NewTracked(int id)
{
    TRefObject* object = NewObject<TRefObject>();
    object->AddOwnedRoutine(RecordDeath, id);
    ++alive;
    return object;
}

TPtrList* ListOf(std::initializer_list<TPtrValue> values)
{
    TPtrList* list = NewPtrList();
    for (TPtrValue value : values)
        list->Add(value);
    return list;
}

std::vector<TPtrValue> Values(const TPtrList* list)
{
    return std::vector<TPtrValue>(list->Items, list->Items + list->Count);
}

using V = std::vector<intptr_t>;

class ObjectModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        calls.clear();
        alive = 0;
    }
    void TearDown() override { EXPECT_EQ(alive, 0) << "an object outlived its test"; }
};

}

TEST_F(ObjectModel, RefCountGoesInStepsOfTwoAndTheObjectDiesBelowZero)
{
    TRefObject* object = NewTracked(1);
    EXPECT_EQ(object->RefCount, 0);
    object->AddRef();
    EXPECT_EQ(object->RefCount, 2);
    Free(object);
    EXPECT_EQ(object->RefCount, 0);
    EXPECT_TRUE(calls.empty());
    object->Release();
    EXPECT_EQ(calls, V{1});

    Free(nullptr);
    TRefObject* place = NewTracked(2);
    FreeAndClear(place);
    EXPECT_EQ(place, nullptr);
    FreeAndClear(place);
    EXPECT_EQ(calls, (V{1, 2}));
}

TEST_F(ObjectModel, OwnedObjectsAndRoutinesAreReleasedInInsertionOrder)
{
    TRefObject* owner = NewTracked(0);
    TRefObject* first = NewTracked(1);
    owner->AddOwned(first);
    owner->AddOwnedRoutine(RecordRoutine, 0x1234);
    owner->AddOwned(ListOf({1}));   // the sanitizers report the list if it is left behind
    owner->AddOwned(NewTracked(2));
    owner->AddOwnedRoutine(RecordRoutine, -7);
    // The newest pair stands at the front, routine before value.
    EXPECT_EQ(owner->OwnedObjects->ItemAt(1), -7);
    EXPECT_EQ(owner->OwnedObjects->ItemAt(9), reinterpret_cast<TPtrValue>(first));
    Free(owner);
    EXPECT_EQ(calls, (V{0, 1, 0x1234, 2, -7}));
}

namespace {

TRefObject* releasingOwner = nullptr;

// Sees the owner's list while its pair is being released.
void SeeOwnerList(intptr_t) { calls.push_back(releasingOwner->OwnedObjects->Count); }

// A child that takes itself back from its owner while being released.
void RemoveFromOwner(intptr_t value)
{
    releasingOwner->RemoveOwned(reinterpret_cast<TRefObject*>(value));
    Free(reinterpret_cast<TRefObject*>(value));
}

}

TEST_F(ObjectModel, RemoveOwnedTakesBackOnlyThePairHoldingTheObject)
{
    TRefObject* owner = NewObject<TRefObject>();
    TRefObject* stranger = NewTracked(9);
    owner->RemoveOwned(stranger);   // no list yet: nothing
    EXPECT_EQ(owner->OwnedObjects, nullptr);
    TRefObject* only = NewTracked(1);
    owner->AddOwned(only);
    owner->RemoveOwned(only);
    EXPECT_EQ(owner->OwnedObjects, nullptr) << "an emptied list is released";

    TRefObject* b = NewTracked(2);
    owner->AddOwned(only);
    owner->AddOwned(b);
    owner->AddOwned(NewTracked(3));
    owner->RemoveOwned(stranger);   // not owned: nothing
    EXPECT_EQ(owner->OwnedObjects->Count, 6);
    owner->RemoveOwned(b);
    EXPECT_EQ(owner->OwnedObjects->Count, 4);
    EXPECT_TRUE(calls.empty()) << "RemoveOwned only takes back, it does not free";
    Free(owner);
    EXPECT_EQ(calls, (V{1, 3}));
    Free(b);
    Free(stranger);

    // Each pair leaves the list before its routine runs.
    calls.clear();
    owner = NewObject<TRefObject>();
    releasingOwner = owner;
    owner->AddOwnedRoutine(SeeOwnerList, 0);
    owner->AddOwnedRoutine(SeeOwnerList, 0);
    owner->AddOwnedRoutine(RemoveFromOwner, reinterpret_cast<intptr_t>(NewTracked(5)));
    owner->ReleaseOwned();
    EXPECT_EQ(calls, (V{4, 2, 5}));
    EXPECT_EQ(owner->OwnedObjects, nullptr);
    Free(owner);
}

TEST_F(ObjectModel, ListGrowsFourSlotsAtATimeAndNeverBelowItsCount)
{
    TPtrList* list = NewPtrList();
    EXPECT_EQ(list->Capacity, 0);
    list->Insert(0, 12);
    list->Insert(0, 10);
    EXPECT_EQ(list->Capacity, 4);
    list->Insert(1, 11);
    list->Add(13);
    EXPECT_EQ(list->Capacity, 4);
    list->Insert(4, 14);   // at Count
    EXPECT_EQ(list->Capacity, 8);
    EXPECT_EQ(Values(list), (V{10, 11, 12, 13, 14}));
    list->Add(15);
    list->SetCapacity(2);
    EXPECT_EQ(list->Capacity, 6);
    EXPECT_EQ(Values(list), (V{10, 11, 12, 13, 14, 15}));
    list->SetCapacity(20);
    EXPECT_EQ(list->Capacity, 20);
    list->ReleaseStorage();
    EXPECT_EQ(list->Count + list->Capacity, 0);
    EXPECT_EQ(list->Items, nullptr);
    Free(list);
}

TEST_F(ObjectModel, ItemAtIndexOfAndDeletionStayInsideTheList)
{
    TPtrList* list = NewPtrList();
    EXPECT_EQ(list->IndexOf(0), -1);
    EXPECT_EQ(list->ItemAt(0), 0);
    Free(list);

    list = ListOf({1, 2, 3});
    EXPECT_EQ(list->ItemAt(-1), 0);
    EXPECT_EQ(list->ItemAt(3), 0);
    EXPECT_EQ(list->IndexOf(3), 2);
    EXPECT_EQ(list->IndexOf(7), -1);
    list->DeleteRange(3, 1);   // at Count: nothing
    list->DeleteRange(1, 0);   // n <= 0: nothing
    list->DeleteRange(1, -2);
    EXPECT_EQ(Values(list), (V{1, 2, 3}));
    list->DeleteRange(1, 10);   // cut to the list
    EXPECT_EQ(Values(list), V{1});
    EXPECT_EQ(list->Capacity, 4) << "deletion never shrinks the storage";
    list->Add(2);
    list->Add(3);
    list->Delete(0);
    list->Remove(42);   // absent: nothing
    EXPECT_EQ(Values(list), (V{2, 3}));
    list->Remove(3);
    EXPECT_EQ(Values(list), V{2});
    Free(list);
}

TEST_F(ObjectModel, FreeAllFreesTheValuesFromTheLastDownThenTheList)
{
    TPtrList* list = NewPtrList();
    for (int id = 1; id <= 5; ++id)
        list->Add(reinterpret_cast<TPtrValue>(NewTracked(id)));
    FreeAll(list);
    EXPECT_EQ(calls, (V{5, 4, 3, 2, 1}));
    FreeAll(nullptr);
}
