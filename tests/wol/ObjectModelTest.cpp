// The object model: reference counts, owned-object lists and TPtrList.
// Portable: runs natively (with the sanitizers) and under Wine.
#include "wol/PtrList.h"
#include "wol/RefObject.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> destroyed;   // ids of tracked objects, in the order they died
int alive = 0;

void RecordDeath(intptr_t id)
{
    destroyed.push_back(static_cast<int>(id));
    --alive;
}

// A plain object that records its death: its first owned pair is a routine that
// logs the id, and the base destroy runs it. (Tests do not subclass the layer's
// types: the layer is built without RTTI, the tests with it.)
TRefObject* NewTracked(int id)
{
    TRefObject* object = NewObject<TRefObject>();
    object->AddOwnedRoutine(RecordDeath, id);
    ++alive;
    return object;
}

std::vector<intptr_t> routineCalls;

void RecordRoutine(intptr_t value) { routineCalls.push_back(value); }

class ObjectModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        destroyed.clear();
        routineCalls.clear();
        alive = 0;
    }
    void TearDown() override { EXPECT_EQ(alive, 0) << "an object outlived its test"; }
};

}

TEST_F(ObjectModel, NewObjectIsZeroFilledAndDiesOnItsFirstFree)
{
    TRefObject* object = NewObject<TRefObject>();
    EXPECT_EQ(object->RefCount, 0);
    EXPECT_EQ(object->OwnedObjects, nullptr);
    object->AddOwnedRoutine(RecordDeath, 1);
    ++alive;
    Free(object);
    EXPECT_EQ(destroyed, std::vector<int>{1});
}

TEST_F(ObjectModel, AddRefKeepsAnObjectAliveUntilTheClosingRelease)
{
    TRefObject* object = NewTracked(1);
    object->AddRef();
    EXPECT_EQ(object->RefCount, 2);
    Free(object);
    EXPECT_TRUE(destroyed.empty());
    EXPECT_EQ(object->RefCount, 0);
    object->Release();
    EXPECT_EQ(destroyed, std::vector<int>{1});
}

TEST_F(ObjectModel, FreeOfAnEmptyReferenceDoesNothing)
{
    Free(nullptr);
    EXPECT_TRUE(destroyed.empty());
}

TEST_F(ObjectModel, FreeAndClearEmptiesThePlaceBeforeFreeing)
{
    TRefObject* place = NewTracked(1);
    FreeAndClear(place);
    EXPECT_EQ(place, nullptr);
    EXPECT_EQ(destroyed, std::vector<int>{1});
    FreeAndClear(place);   // empty: nothing
    EXPECT_EQ(destroyed.size(), 1u);
}

TEST_F(ObjectModel, OwnedObjectsAreReleasedInTheOrderTheyWereAdded)
{
    TRefObject* owner = NewTracked(0);
    TRefObject* first = NewTracked(1);
    TRefObject* last = NewTracked(3);
    owner->AddOwned(first);
    owner->AddOwned(NewTracked(2));
    owner->AddOwned(last);
    // The newest pair stands at the front, routine before value.
    ASSERT_EQ(owner->OwnedObjects->Count, 8);
    EXPECT_EQ(owner->OwnedObjects->ItemAt(1), reinterpret_cast<TPtrValue>(last));
    EXPECT_EQ(owner->OwnedObjects->ItemAt(5), reinterpret_cast<TPtrValue>(first));
    EXPECT_EQ(owner->OwnedObjects->ItemAt(0), owner->OwnedObjects->ItemAt(4))
        << "both pairs hold the same release routine, Free";
    Free(owner);
    EXPECT_EQ(destroyed, (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(ObjectModel, OwnedRoutineIsCalledWithItsValueInInsertionOrder)
{
    TRefObject* owner = NewTracked(0);
    owner->AddOwnedRoutine(RecordRoutine, 0x1234);
    owner->AddOwned(NewTracked(1));
    owner->AddOwnedRoutine(RecordRoutine, -7);
    Free(owner);
    EXPECT_EQ(routineCalls, (std::vector<intptr_t>{0x1234, -7}));
    EXPECT_EQ(destroyed, (std::vector<int>{0, 1}));
}

namespace {

TRefObject* releasingOwner = nullptr;
std::vector<int> countsSeen;

// Sees the owner's list while its pair is being released.
void SeeOwnerList(intptr_t) { countsSeen.push_back(releasingOwner->OwnedObjects->Count); }

// A child that takes itself back from its owner while being released.
void RemoveFromOwner(intptr_t value)
{
    releasingOwner->RemoveOwned(reinterpret_cast<TRefObject*>(value));
    Free(reinterpret_cast<TRefObject*>(value));
}

}

TEST_F(ObjectModel, APairIsOutOfTheListWhileItsRoutineRuns)
{
    TRefObject* owner = NewObject<TRefObject>();
    releasingOwner = owner;
    countsSeen.clear();
    owner->AddOwnedRoutine(SeeOwnerList, 0);
    owner->AddOwnedRoutine(SeeOwnerList, 0);
    owner->AddOwnedRoutine(RemoveFromOwner, reinterpret_cast<intptr_t>(NewTracked(5)));
    owner->ReleaseOwned();
    EXPECT_EQ(countsSeen, (std::vector<int>{4, 2}));
    EXPECT_EQ(destroyed, std::vector<int>{5});
    EXPECT_EQ(owner->OwnedObjects, nullptr);
    Free(owner);
}

TEST_F(ObjectModel, RemoveOwnedTakesBackOnlyThePairHoldingTheObject)
{
    TRefObject* owner = NewObject<TRefObject>();
    TRefObject* stranger = NewTracked(9);
    owner->RemoveOwned(stranger);   // no list yet: nothing
    EXPECT_EQ(owner->OwnedObjects, nullptr);

    TRefObject* a = NewTracked(1);
    TRefObject* b = NewTracked(2);
    TRefObject* c = NewTracked(3);
    owner->AddOwned(a);
    owner->AddOwned(b);
    owner->AddOwned(c);
    owner->RemoveOwned(stranger);   // not owned: nothing
    EXPECT_EQ(owner->OwnedObjects->Count, 6);

    owner->RemoveOwned(b);
    EXPECT_EQ(owner->OwnedObjects->Count, 4);
    EXPECT_TRUE(destroyed.empty()) << "RemoveOwned only takes back, it does not free";
    Free(owner);
    EXPECT_EQ(destroyed, (std::vector<int>{1, 3}));
    Free(b);
    Free(stranger);
}

TEST_F(ObjectModel, RemovingTheOnlyOwnedObjectFreesTheListAndALaterAddMakesANewOne)
{
    TRefObject* owner = NewObject<TRefObject>();
    TRefObject* only = NewTracked(1);
    owner->AddOwned(only);
    ASSERT_NE(owner->OwnedObjects, nullptr);
    owner->RemoveOwned(only);
    EXPECT_EQ(owner->OwnedObjects, nullptr);
    owner->AddOwned(only);
    ASSERT_NE(owner->OwnedObjects, nullptr);
    EXPECT_EQ(owner->OwnedObjects->Count, 2);
    Free(owner);
    EXPECT_EQ(destroyed, std::vector<int>{1});
}

TEST_F(ObjectModel, ListGrowsFourSlotsAtATime)
{
    TPtrList* list = NewPtrList();
    EXPECT_EQ(list->GrowBy, 4);
    EXPECT_EQ(list->Capacity, 0);
    list->Add(10);
    EXPECT_EQ(list->Capacity, 4);
    list->Add(11);
    list->Add(12);
    list->Add(13);
    EXPECT_EQ(list->Capacity, 4);
    list->Add(14);
    EXPECT_EQ(list->Capacity, 8);
    EXPECT_EQ(list->Count, 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list->ItemAt(i), 10 + i);
    Free(list);
}

TEST_F(ObjectModel, ItemAtOutsideTheListGivesZeroAndIndexOfOnEmptyGivesMinusOne)
{
    TPtrList* list = NewPtrList();
    EXPECT_EQ(list->IndexOf(0), -1);
    EXPECT_EQ(list->ItemAt(0), 0);
    list->Add(5);
    list->Add(6);
    EXPECT_EQ(list->ItemAt(-1), 0);
    EXPECT_EQ(list->ItemAt(list->Count), 0);
    EXPECT_EQ(list->IndexOf(6), 1);
    EXPECT_EQ(list->IndexOf(7), -1);
    Free(list);
}

TEST_F(ObjectModel, InsertMovesLaterValuesUp)
{
    TPtrList* list = NewPtrList();
    list->Insert(0, 2);
    list->Insert(0, 1);
    list->Insert(2, 4);
    list->Insert(2, 3);
    list->Insert(4, 5);   // at Count: grows past the first 4 slots
    ASSERT_EQ(list->Count, 5);
    EXPECT_EQ(list->Capacity, 8);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list->ItemAt(i), i + 1);
    Free(list);
}

TEST_F(ObjectModel, DeleteRangeIsCutToTheListAndNeverShrinksCapacity)
{
    TPtrList* list = NewPtrList();
    list->Add(1);
    list->Add(2);
    list->Add(3);
    list->DeleteRange(3, 1);   // at Count: nothing
    EXPECT_EQ(list->Count, 3);
    list->DeleteRange(1, 0);   // n <= 0: nothing
    list->DeleteRange(1, -2);
    EXPECT_EQ(list->Count, 3);
    list->DeleteRange(1, 10);
    EXPECT_EQ(list->Count, 1);
    EXPECT_EQ(list->ItemAt(0), 1);
    EXPECT_EQ(list->Capacity, 4);

    list->Add(2);
    list->Add(3);
    list->Delete(0);
    EXPECT_EQ(list->ItemAt(0), 2);
    EXPECT_EQ(list->ItemAt(1), 3);
    list->Remove(3);
    list->Remove(42);   // absent: nothing
    EXPECT_EQ(list->Count, 1);
    Free(list);
}

TEST_F(ObjectModel, SetCapacityBelowCountKeepsTheValuesInUse)
{
    TPtrList* list = NewPtrList();
    for (int i = 0; i < 6; ++i)
        list->Add(i);
    list->SetCapacity(2);
    EXPECT_EQ(list->Capacity, 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list->ItemAt(i), i);
    list->SetCapacity(20);
    EXPECT_EQ(list->Capacity, 20);
    list->ReleaseStorage();
    EXPECT_EQ(list->Count, 0);
    EXPECT_EQ(list->Capacity, 0);
    EXPECT_EQ(list->Items, nullptr);
    Free(list);
}

TEST_F(ObjectModel, FreeAllFreesTheValuesFromTheLastDownThenTheList)
{
    TPtrList* list = NewPtrList();
    for (int id = 1; id <= 5; ++id)
        list->Add(reinterpret_cast<TPtrValue>(NewTracked(id)));
    FreeAll(list);
    EXPECT_EQ(destroyed, (std::vector<int>{5, 4, 3, 2, 1}));
    FreeAll(nullptr);
}

TEST_F(ObjectModel, AListOwnedByAnObjectGoesWithIt)
{
    TRefObject* owner = NewTracked(0);
    TPtrList* list = NewPtrList();
    list->Add(1);
    owner->AddOwned(list);
    owner->AddOwned(NewTracked(1));
    Free(owner);   // the sanitizers report the list if it is left behind
    EXPECT_EQ(destroyed, (std::vector<int>{0, 1}));
}
