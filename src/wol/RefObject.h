// The object model of the window-object layer. Every object is created zero-filled
// and then initialised (NewObject), dies when Release takes its RefCount below zero
// (so a new object dies on its first Free), and releases the objects it owns, in
// the order they were added, when it is destroyed.
#pragma once

#include <cstdint>

class TPtrList;

class TRefObject {
public:
    // Slot 0: called once on the new, zero-filled instance.
    virtual void Init();
    // Slot 1: the base destroy releases the owned objects and frees the instance.
    // Overrides end by calling it.
    virtual void Destroy();

    void AddRef() { RefCount += 2; }
    void Release();

    void ReleaseOwned();
    // The pair (Free, object) goes to the front of the owned-object list.
    void AddOwned(TRefObject* object);
    // When this object is destroyed, routine(value) is called.
    void AddOwnedRoutine(void (*routine)(intptr_t value), intptr_t value);
    void RemoveOwned(TRefObject* object);

    int RefCount;               // in steps of 2; 0 in a new object
    TPtrList* OwnedObjects;     // owned; made on the first addition

protected:
    virtual ~TRefObject() = default;
};

// Allocates a zero-filled T and calls its Init.
template <class T>
T* NewObject()
{
    T* object = new T();
    object->Init();
    return object;
}

// Nothing for an empty reference; otherwise Release.
void Free(TRefObject* object);

// Empties the place first, then frees what it held.
template <class T>
void FreeAndClear(T*& place)
{
    T* object = place;
    place = nullptr;
    Free(object);
}
