// Colour values and TGdiTool, the font (or brush) description that makes its
// graphics object on first use and shares its parent tool's object while their
// data are equal.
#pragma once

#include "wol/RefObject.h"

#include <windows.h>

#include <cstdint>

// Bit 31 set: a system-colour index in bits 0..30; clear: an RGB value 0x00BBGGRR.
typedef uint32_t TColor;

const TColor clSystem = 0x80000000u;
const TColor clWindow = 0x80000005u;       // COLOR_WINDOW
const TColor clWindowText = 0x80000008u;   // COLOR_WINDOWTEXT
const TColor clBtnFace = 0x8000000Fu;      // COLOR_BTNFACE

COLORREF ResolveColor(TColor color);

// Bit 0 bold, bit 1 italic, bit 2 underline, bit 3 strike-out.
typedef uint8_t TFontStyle;
const TFontStyle fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;

class TGdiTool;

struct TToolChangeHandler {
    void (*Routine)(void* context, TGdiTool* tool);
    void* Context;
};

// Colour first, then the LOGFONTA block: compared and copied as one 64-byte block.
struct TToolData {
    TColor Color;
    LOGFONTA LogFont;
};

extern const TToolData DefaultFontData;

class TGdiTool : public TRefObject {
public:
    void Destroy() override;   // DestroyTool

    uint8_t Kind;                  // 1 = font
    HGDIOBJ GdiHandle;             // owned unless shared from ParentTool; 0 while not made
    TGdiTool* ParentTool;          // not owned
    COLORREF MadeColor;
    TToolChangeHandler OnChange;
    TToolData Data;
    TGdiTool* (*CloneTool)();
    HGDIOBJ (*MakeHandle)(TGdiTool* tool);
};

TGdiTool* NewFont();
void ToolChanged(TGdiTool* tool);
HGDIOBJ ToolHandle(TGdiTool* tool);
// Copies the source's data into the target (made with the source's CloneTool when
// empty); an empty source destroys the target and gives empty.
TGdiTool* AssignTool(TGdiTool* target, TGdiTool* source);
// Sets the 32-bit word at a byte offset of the data (0 = Color, 4 = height, ...).
void SetToolField(TGdiTool* tool, int offset, int32_t value);
TFontStyle GetFontStyle(TGdiTool* tool);
void SetFontStyle(TGdiTool* tool, TFontStyle style);
void SetFontPitch(TGdiTool* tool, uint8_t pitch);
