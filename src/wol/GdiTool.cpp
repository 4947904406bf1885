// Colour values and TGdiTool: a font description that makes its graphics object on
// first use, shares its parent tool's object while their data are equal, and tells
// its owner (OnChange) whenever the object it handed out is replaced.
#include "wol/GdiTool.h"

#include <cstring>

static_assert(sizeof(TToolData) == 64, "colour and LOGFONTA form one 64-byte block");

COLORREF ResolveColor(TColor color)
{
    if (color & clSystem)
        return GetSysColor(static_cast<int>(color & ~clSystem));
    return color;
}

const TToolData DefaultFontData = {
    clWindowText,
    {0, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif"},
};

namespace {

// The font maker: the font object is made once and kept until the data change.
HGDIOBJ MakeFontHandle(TGdiTool* tool)
{
    if (!tool->GdiHandle)
        tool->GdiHandle = CreateFontIndirectA(&tool->Data.LogFont);
    return tool->GdiHandle;
}

void NotifyOwner(TGdiTool* tool)
{
    if (tool->OnChange.Routine)
        tool->OnChange.Routine(tool->OnChange.Context, tool);
}

bool SameData(const TGdiTool* a, const TGdiTool* b)
{
    return std::memcmp(&a->Data, &b->Data, sizeof(TToolData)) == 0;
}

}

TGdiTool* NewFont()
{
    TGdiTool* tool = NewObject<TGdiTool>();
    tool->CloneTool = NewFont;
    tool->Kind = 1;
    tool->MakeHandle = MakeFontHandle;
    tool->Data = DefaultFontData;
    return tool;
}

// With a live object the owner hears of the change twice: first while the old
// object still exists (so it can switch to a new one), then after it is deleted.
void ToolChanged(TGdiTool* tool)
{
    HGDIOBJ old = tool->GdiHandle;
    tool->GdiHandle = nullptr;
    if (old) {
        NotifyOwner(tool);
        DeleteObject(old);
    }
    NotifyOwner(tool);
}

// The tool's object, made on first use; a copy whose data still equal its parent
// tool's uses (and if need be makes) the parent's object instead of its own.
HGDIOBJ ToolHandle(TGdiTool* tool)
{
    for (;;) {
        if (tool->GdiHandle && ResolveColor(tool->Data.Color) != tool->MadeColor) {
            // A system colour changed since the object was made. The owner may
            // make an object during the notification; that one is stale as well.
            ToolChanged(tool);
            HGDIOBJ nested = tool->GdiHandle;
            tool->GdiHandle = nullptr;
            if (nested)
                DeleteObject(nested);
        }
        if (tool->GdiHandle)
            return tool->GdiHandle;
        if (tool->ParentTool && SameData(tool, tool->ParentTool)) {
            tool = tool->ParentTool;
            continue;
        }
        tool->MadeColor = ResolveColor(tool->Data.Color);
        return tool->MakeHandle(tool);
    }
}

TGdiTool* AssignTool(TGdiTool* target, TGdiTool* source)
{
    if (!source) {
        Free(target);
        return nullptr;
    }
    if (!target)
        target = source->CloneTool();
    if (target == source)
        return target;
    if (target->GdiHandle && target->GdiHandle == source->GdiHandle)
        return target;
    ToolChanged(target);
    target->Data = source->Data;
    ToolChanged(target);
    return target;
}

void SetToolField(TGdiTool* tool, int offset, int32_t value)
{
    char* word = reinterpret_cast<char*>(&tool->Data) + offset;
    int32_t current;
    std::memcpy(&current, word, sizeof current);
    if (current == value)
        return;
    std::memcpy(word, &value, sizeof value);
    ToolChanged(tool);
}

TFontStyle GetFontStyle(TGdiTool* tool)
{
    const LOGFONTA& font = tool->Data.LogFont;
    TFontStyle style = 0;
    if (font.lfWeight >= FW_BOLD)
        style |= fsBold;
    if (font.lfItalic & 1)
        style |= fsItalic;
    if (font.lfUnderline & 1)
        style |= fsUnderline;
    if (font.lfStrikeOut & 1)
        style |= fsStrikeOut;
    return style;
}

void SetFontStyle(TGdiTool* tool, TFontStyle style)
{
    if (GetFontStyle(tool) == style)
        return;
    LOGFONTA& font = tool->Data.LogFont;
    if ((style & fsBold) && font.lfWeight < FW_BOLD)
        font.lfWeight = FW_BOLD;
    else if (!(style & fsBold) && font.lfWeight >= FW_BOLD)
        font.lfWeight = 0;
    font.lfItalic = (style & fsItalic) ? 1 : 0;
    font.lfUnderline = (style & fsUnderline) ? 1 : 0;
    font.lfStrikeOut = (style & fsStrikeOut) ? 1 : 0;
    ToolChanged(tool);
}

void SetFontPitch(TGdiTool* tool, uint8_t pitch)
{
    if (tool->Data.LogFont.lfPitchAndFamily == pitch)
        return;
    tool->Data.LogFont.lfPitchAndFamily = pitch;
    ToolChanged(tool);
}

// The owner is not notified. A copy that only shared its parent's object holds no
// handle of its own, so nothing is deleted twice.
void TGdiTool::Destroy()
{
    if (Kind != 1) {
        // A non-font kind keeps an extra object in the first word after Color.
        int32_t extra;
        std::memcpy(&extra, &Data.LogFont, sizeof extra);
        if (extra)
            DeleteObject(reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(extra)));
    }
    if (GdiHandle)
        DeleteObject(GdiHandle);
    TRefObject::Destroy();
}
