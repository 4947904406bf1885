// A widget's font and colours with real GDI objects: which handle a window is
// given, when objects are shared and replaced, and which background brush a colour
// request gets.
#include "WolTestSupport.h"

namespace {

class FontColor : public CoreTest {};

COLORREF BrushColor(HBRUSH brush)
{
    LOGBRUSH description = {};
    GetObjectA(brush, sizeof description, &description);
    return description.lbColor;
}

HGDIOBJ WindowFont(TWidget* widget)
{
    return reinterpret_cast<HGDIOBJ>(SendMessageA(widget->Handle, WM_GETFONT, 0, 0));
}

bool IsFont(HGDIOBJ object) { return GetObjectType(object) == OBJ_FONT; }

// The font a WM_SETFONT brought first, and whether the watched one still existed then.
HGDIOBJ watched = nullptr;
HGDIOBJ fontOnArrival = nullptr;
bool oldFontAliveOnArrival = false;

bool WatchSetFont(TWidget*, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_SETFONT && watched && !fontOnArrival) {
        fontOnArrival = reinterpret_cast<HGDIOBJ>(record.WParam);
        oldFontAliveOnArrival = IsFont(watched);
    }
    return false;
}

}

TEST_F(FontColor, BoldAndFixedPitchGiveTheCopyItsOwnHandleWhileTheParentsStays)
{
    TWidget* form = NewForm(nullptr, "Fonts");
    TGdiTool* formFont = form->GetFont();
    // Control creation gives each control a copy of its parent's font.
    TWidget* label = NewLabel(form, "Label");
    TWidget* field = NewEditBox(form, 0);
    field->SetPosition(4, 40);
    TGdiTool* labelFont = label->Font;
    TGdiTool* fieldFont = field->Font;
    ASSERT_EQ(fieldFont->ParentTool, formFont);
    field->AttachHandler(WatchSetFont, false);
    ASSERT_TRUE(MakeWindowsHidden(form));

    HGDIOBJ shared = ToolHandle(formFont);
    EXPECT_EQ(ToolHandle(labelFont), shared) << "a copy with equal data uses its parent's object";
    EXPECT_EQ(ToolHandle(fieldFont), shared);
    EXPECT_EQ(labelFont->GdiHandle, nullptr) << "and makes none of its own";
    EXPECT_EQ(WindowFont(label), shared);
    EXPECT_EQ(WindowFont(field), shared);

    // The main window makes one field's font bold and fixed-pitch.
    watched = shared;
    fontOnArrival = nullptr;
    SetFontStyle(fieldFont, fsBold);
    SetFontPitch(fieldFont, FIXED_PITCH);
    HGDIOBJ own = ToolHandle(fieldFont);
    EXPECT_NE(own, shared);
    EXPECT_EQ(WindowFont(field), own);
    LOGFONTA made = {};
    GetObjectA(own, sizeof made, &made);
    EXPECT_EQ(made.lfWeight, 700);
    EXPECT_EQ(made.lfPitchAndFamily & 3, FIXED_PITCH);
    EXPECT_EQ(ToolHandle(formFont), shared) << "the parent's object stays";
    EXPECT_TRUE(IsFont(shared)) << "and lives";
    EXPECT_EQ(WindowFont(label), shared);
    EXPECT_EQ(ToolHandle(labelFont), shared);

    // Changing a font whose own object exists: the new object arrives first.
    watched = own;
    fontOnArrival = nullptr;
    SetFontStyle(fieldFont, fsBold | fsItalic);
    EXPECT_NE(fontOnArrival, nullptr);
    EXPECT_NE(fontOnArrival, own);
    EXPECT_TRUE(oldFontAliveOnArrival) << "WM_SETFONT with the new object comes before the old one is deleted";
    EXPECT_EQ(WindowFont(field), fieldFont->GdiHandle);
    watched = nullptr;
    Free(form);
}

TEST_F(FontColor, ABackBrushIsSharedBySameColouredChildrenAndMadeAgainAfterSetColor)
{
    TWidget* form = MakeForm();
    TWidget* group = MakeGroup(form, 1);
    TWidget* first = MakeButton(group, 2);
    TWidget* second = MakeButton(group, 3);
    EXPECT_EQ(first->Color, clBtnFace) << "taken from the parent";
    second->SetColor(clBtnFace);
    EXPECT_NE(second->Handle, nullptr) << "SetColor makes the window even with the current value";
    EXPECT_FALSE(IsWindowVisible(form->Handle));
    ASSERT_TRUE(MakeWindowsHidden(form));

    HBRUSH shared = first->GetBackBrush();
    EXPECT_EQ(second->GetBackBrush(), shared);
    EXPECT_EQ(group->GetBackBrush(), shared);
    EXPECT_EQ(form->BackBrush, shared) << "the top of the run of equal colours holds it";
    EXPECT_EQ(first->BackBrush, nullptr);
    EXPECT_EQ(BrushColor(shared), GetSysColor(COLOR_BTNFACE));

    second->SetColor(RGB(10, 20, 30));
    HBRUSH own = second->GetBackBrush();
    EXPECT_NE(own, shared);
    EXPECT_EQ(BrushColor(own), RGB(10, 20, 30));
    EXPECT_EQ(first->GetBackBrush(), shared);
    second->SetColor(RGB(40, 50, 60));
    EXPECT_EQ(second->BackBrush, nullptr) << "the old brush is dropped at once";
    HBRUSH remade = second->GetBackBrush();
    EXPECT_EQ(BrushColor(remade), RGB(40, 50, 60));
    second->SetColor(RGB(40, 50, 60));
    EXPECT_EQ(second->BackBrush, remade) << "the same value changes nothing";

    // After a system colour change the stale brush is made again.
    form->BackBrushColor ^= 0x00FFFFFF;
    EXPECT_EQ(BrushColor(first->GetBackBrush()), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(form->BackBrushColor, GetSysColor(COLOR_BTNFACE));
    Free(form);
}

