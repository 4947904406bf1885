// TPtrList: the growable array behind every collection of the layer (owned objects,
// children, message handlers, menu items). Values are pointer-sized: object
// references, routine addresses or small numbers.
#pragma once

#include "wol/RefObject.h"

#include <cstdint>

typedef intptr_t TPtrValue;

class TPtrList : public TRefObject {
public:
    void Destroy() override;

    void Add(TPtrValue value);
    // 0 <= index <= Count; the values from index on move up by one.
    void Insert(int index, TPtrValue value);
    void DeleteRange(int index, int n);
    void Delete(int index) { DeleteRange(index, 1); }
    int IndexOf(TPtrValue value) const;
    void Remove(TPtrValue value);
    // The value at index, or 0 when index is outside 0 .. Count - 1.
    TPtrValue ItemAt(int index) const;
    void SetCapacity(int n);
    void ReleaseStorage();

    TPtrValue* Items;   // owned storage of Capacity slots
    int Count;
    int Capacity;
    int GrowBy;
};

TPtrList* NewPtrList();
// Frees every value as an object, the last first, then the list itself.
void FreeAll(TPtrList* list);
