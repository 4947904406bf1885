// Creation of the form and the standard controls. Creation makes the object only;
// its window is made later from the fields set here.
#pragma once

#include "wol/Widget.h"

#include <cstdint>

// The next control identifier; controls take 0x8000, 0x8001, ... in creation order.
extern uint16_t ControlIdCounter;

TWidget* CreateWidget(TWidget* parent, const char* className, bool ctl3D);
TWidget* CreateControl(TWidget* parent, const char* className, DWORD baseStyle,
                       const TActions& actions, bool ctl3D);

TWidget* NewForm(TWidget* parent, const TText& caption);
TWidget* NewButton(TWidget* parent, const TText& caption);
TWidget* NewCheckBox(TWidget* parent, const TText& caption);
TWidget* NewLabel(TWidget* parent, const TText& caption);
TWidget* NewGroupBox(TWidget* parent, const TText& caption);
TWidget* NewEditBox(TWidget* parent, uint16_t options);
TWidget* NewListBox(TWidget* parent, uint16_t options);
TWidget* NewComboBox(TWidget* parent, uint16_t options);

// A combo box's DropDownRoutine: sizes the opening list for 1 to 8 items.
void SizeDropDown(TWidget* combo);
