// The standard message handlers that turn reflected notifications into a widget's
// events, answer colour requests, keep each form's focused control and adapt combo
// boxes.
#pragma once

#include "wol/Widget.h"

// The notification code of a combo box's selection change as its SelChangeCode
// sees it: ComboMessageHandler posts it back to the combo box after CBN_SELCHANGE.
const WORD ComboSelChangeCode = 15;

bool ControlMessageHandler(TWidget* widget, TMessageRecord& record, LRESULT& result);
bool DoubleClickAsClick(TWidget* widget, TMessageRecord& record, LRESULT& result);
bool EraseBackgroundHandler(TWidget* widget, TMessageRecord& record, LRESULT& result);
bool FormFocusHandler(TWidget* widget, TMessageRecord& record, LRESULT& result);
bool ComboMessageHandler(TWidget* widget, TMessageRecord& record, LRESULT& result);

// A combo box's AfterCreateRoutine: routes its inner edit and list windows through
// ComboPartWndProc.
void SubclassComboParts(TWidget* combo);
void ReleaseComboParts(HWND comboWindow);
LRESULT CALLBACK ComboPartWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
