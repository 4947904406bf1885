// Colour values, font tools and a widget's colours and font
// with real GDI objects: which handle a window is given, when objects are shared,
// replaced and deleted, and which background brush a colour request gets.
#include "WolCoreTestSupport.h"

#include "wol/Controls.h"

#include <cstring>

using namespace core;

namespace {

class FontColor : public CoreTest {};

LOGFONTA FontOf(HGDIOBJ font)
{
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    return description;
}

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

// What a tool's owner heard: the handle at each notification, and whether the old
// object still existed then.
struct Heard {
    int Calls = 0;
    HGDIOBJ Watched = nullptr;
    std::vector<bool> WatchedAlive;
};

void Listen(void* context, TGdiTool*)
{
    auto* heard = static_cast<Heard*>(context);
    ++heard->Calls;
    heard->WatchedAlive.push_back(GetObjectType(heard->Watched) == OBJ_FONT);
}

}

//--- Colour values and font tools

TEST_F(FontColor, ColourValuesResolveToRgb)
{
    EXPECT_EQ(ResolveColor(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ResolveColor(clWindow), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(ResolveColor(8), 8u);
    EXPECT_EQ(ResolveColor(0x00FFFFFF), RGB(255, 255, 255));
}

TEST_F(FontColor, ANewFontHoldsTheDefaultData)
{
    TGdiTool* font = NewFont();
    EXPECT_EQ(font->Kind, 1);
    EXPECT_EQ(font->GdiHandle, nullptr);
    EXPECT_EQ(font->ParentTool, nullptr);
    EXPECT_EQ(font->Data.Color, 0x80000008u);
    EXPECT_EQ(font->Data.LogFont.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(font->Data.LogFont.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(font->Data.LogFont.lfHeight, 0);
    EXPECT_EQ(font->Data.LogFont.lfWeight, 0);
    EXPECT_EQ(std::memcmp(&font->Data, &DefaultFontData, sizeof(TToolData)), 0);
    EXPECT_EQ(font->CloneTool, NewFont);

    HGDIOBJ handle = ToolHandle(font);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(ToolHandle(font), handle) << "made once";
    EXPECT_EQ(font->MadeColor, ResolveColor(clWindowText));
    Free(font);
    EXPECT_EQ(GetObjectType(handle), 0u) << "destroying the tool deletes its object";
}

TEST_F(FontColor, FontStyleMapsToWeightAndTheStyleBytes)
{
    TGdiTool* font = NewFont();
    SetFontStyle(font, fsBold);
    EXPECT_EQ(font->Data.LogFont.lfWeight, 700);
    EXPECT_EQ(GetFontStyle(font), fsBold);
    SetFontStyle(font, 0);
    EXPECT_EQ(font->Data.LogFont.lfWeight, 0);
    font->Data.LogFont.lfWeight = 800;
    SetFontStyle(font, fsBold | fsItalic);
    EXPECT_EQ(font->Data.LogFont.lfWeight, 800);
    EXPECT_EQ(font->Data.LogFont.lfItalic, 1);
    SetFontStyle(font, fsUnderline | fsStrikeOut);
    EXPECT_EQ(font->Data.LogFont.lfWeight, 0);
    EXPECT_EQ(font->Data.LogFont.lfItalic, 0);
    EXPECT_EQ(font->Data.LogFont.lfUnderline, 1);
    EXPECT_EQ(font->Data.LogFont.lfStrikeOut, 1);
    EXPECT_EQ(GetFontStyle(font), fsUnderline | fsStrikeOut);
    Free(font);
}

TEST_F(FontColor, AChangeNotifiesTheOwnerTwiceAroundTheDeletionOfTheOldObject)
{
    TGdiTool* font = NewFont();
    Heard heard;
    font->OnChange = {Listen, &heard};
    HGDIOBJ old = ToolHandle(font);
    heard.Watched = old;

    SetFontStyle(font, fsBold);   // same-value settings below call nobody
    EXPECT_EQ(heard.Calls, 2);
    EXPECT_EQ(heard.WatchedAlive, (std::vector<bool>{true, false}));
    EXPECT_EQ(font->GdiHandle, nullptr);

    HGDIOBJ bold = ToolHandle(font);
    SetFontStyle(font, fsBold);
    SetFontPitch(font, 0);
    SetToolField(font, 0, static_cast<int32_t>(clWindowText));
    EXPECT_EQ(heard.Calls, 2);
    EXPECT_EQ(ToolHandle(font), bold) << "and keep the handle";

    SetToolField(font, 4, -13);   // the height
    EXPECT_EQ(heard.Calls, 4);
    EXPECT_EQ(font->Data.LogFont.lfHeight, -13);
    // Without an object the owner hears once.
    SetToolField(font, 0, 0x000000FF);
    EXPECT_EQ(font->Data.Color, 0x000000FFu);
    EXPECT_EQ(heard.Calls, 5);
    Free(font);
}

TEST_F(FontColor, AStaleObjectIsMadeAgainAfterASystemColourChange)
{
    TGdiTool* font = NewFont();
    Heard heard;
    font->OnChange = {Listen, &heard};
    HGDIOBJ first = ToolHandle(font);
    heard.Watched = first;
    font->MadeColor ^= 0x00FFFFFF;   // as if COLOR_WINDOWTEXT had changed since
    HGDIOBJ second = ToolHandle(font);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetObjectType(first), 0u) << "the stale object is deleted";
    EXPECT_EQ(heard.Calls, 2);
    EXPECT_EQ(font->MadeColor, ResolveColor(clWindowText));
    EXPECT_EQ(ToolHandle(font), second);
    Free(font);
}

TEST_F(FontColor, AssignToolCopiesTheDataIntoATargetOrDestroysIt)
{
    long before = LiveObjects();
    TGdiTool* source = NewFont();
    SetFontStyle(source, fsItalic);
    TGdiTool* copy = AssignTool(nullptr, source);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, source);
    EXPECT_EQ(std::memcmp(&copy->Data, &source->Data, sizeof(TToolData)), 0);
    EXPECT_EQ(copy->ParentTool, nullptr) << "not copied";
    EXPECT_EQ(AssignTool(copy, copy), copy);
    EXPECT_EQ(AssignTool(copy, nullptr), nullptr);   // destroys the target
    Free(source);
    EXPECT_EQ(LiveObjects(), before);
}

//--- A widget's font

TEST_F(FontColor, GetFontMakesTheFontOnceAndSendsNothing)
{
    TWidget* form = MakeForm();
    ASSERT_TRUE(MakeWindowsHidden(form));
    form->AttachHandler(RecordMessage, false);
    form->TextColor = RGB(9, 8, 7);
    TGdiTool* font = form->GetFont();
    EXPECT_EQ(form->GetFont(), font);
    EXPECT_EQ(font->Data.Color, RGB(9, 8, 7));
    EXPECT_EQ(font->OnChange.Context, form);
    EXPECT_EQ(CountSeen(form, WM_SETFONT), 0);
    EXPECT_EQ(form->OwnedObjects->IndexOf(reinterpret_cast<TPtrValue>(font)), 1);

    form->ApplyFont();
    ASSERT_EQ(CountSeen(form, WM_SETFONT), 1);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(Seen.back().WParam), font->GdiHandle);
    EXPECT_NE(font->GdiHandle, nullptr);
    Free(form);
}

TEST_F(FontColor, AFontMadeBeforeTheWindowReachesItAtCreation)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    SetFontStyle(button->GetFont(), fsBold);
    ASSERT_TRUE(MakeWindowsHidden(form));
    ASSERT_NE(button->Font->GdiHandle, nullptr);
    EXPECT_EQ(WindowFont(button), button->Font->GdiHandle);
    EXPECT_EQ(button->TextColor, button->Font->Data.Color);
    Free(form);
}

namespace {

HGDIOBJ fontOnArrival = nullptr;
bool oldFontAliveOnArrival = false;
HGDIOBJ watchedOld = nullptr;

bool WatchSetFont(TWidget*, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_SETFONT && watchedOld && !fontOnArrival) {
        fontOnArrival = reinterpret_cast<HGDIOBJ>(record.WParam);
        oldFontAliveOnArrival = GetObjectType(watchedOld) == OBJ_FONT;
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
    ASSERT_NE(labelFont, nullptr);
    ASSERT_NE(fieldFont, nullptr);
    EXPECT_EQ(fieldFont->ParentTool, formFont);
    field->AttachHandler(WatchSetFont, false);
    ASSERT_TRUE(MakeWindowsHidden(form));

    HGDIOBJ shared = ToolHandle(formFont);
    EXPECT_EQ(ToolHandle(labelFont), shared) << "a copy with equal data uses its parent's object";
    EXPECT_EQ(ToolHandle(fieldFont), shared);
    EXPECT_EQ(labelFont->GdiHandle, nullptr) << "and makes none of its own";
    EXPECT_EQ(WindowFont(label), shared);
    EXPECT_EQ(WindowFont(field), shared);

    // The main window makes one field's font bold and fixed-pitch.
    watchedOld = shared;
    fontOnArrival = nullptr;
    SetFontStyle(fieldFont, fsBold);
    SetFontPitch(fieldFont, FIXED_PITCH);
    HGDIOBJ own = ToolHandle(fieldFont);
    EXPECT_NE(own, shared);
    EXPECT_EQ(WindowFont(field), own);
    EXPECT_EQ(fieldFont->GdiHandle, own);
    LOGFONTA made = FontOf(own);
    EXPECT_EQ(made.lfWeight, 700);
    EXPECT_EQ(made.lfPitchAndFamily & 3, FIXED_PITCH);

    EXPECT_EQ(ToolHandle(formFont), shared) << "the parent's object stays";
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT)) << "and lives";
    EXPECT_EQ(WindowFont(label), shared);
    EXPECT_EQ(ToolHandle(labelFont), shared);
    EXPECT_EQ(GetFontStyle(formFont), 0);

    // Changing a font whose own object exists: the new object arrives first.
    watchedOld = own;
    fontOnArrival = nullptr;
    SetFontStyle(fieldFont, fsBold | fsItalic);
    EXPECT_NE(fontOnArrival, nullptr);
    EXPECT_NE(fontOnArrival, own);
    EXPECT_TRUE(oldFontAliveOnArrival) << "WM_SETFONT with the new object comes before the old one is deleted";
    EXPECT_EQ(WindowFont(field), fieldFont->GdiHandle);
    watchedOld = nullptr;
    Free(form);
}

//--- Background brushes

TEST_F(FontColor, ABackBrushIsSharedBySameColouredChildrenAndMadeAgainAfterSetColor)
{
    TWidget* form = MakeForm();
    TWidget* group = MakeControl(form, "BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 1, 4, 4, 150, 150);
    TWidget* first = MakeButton(group, 2);
    TWidget* second = MakeButton(group, 3);
    EXPECT_EQ(first->Color, clBtnFace) << "taken from the parent";
    ASSERT_TRUE(MakeWindowsHidden(form));

    HBRUSH shared = first->GetBackBrush();
    ASSERT_NE(shared, nullptr);
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
    EXPECT_EQ(second->BackBrushColor, RGB(40, 50, 60));

    // The same value changes nothing.
    second->SetColor(RGB(40, 50, 60));
    EXPECT_EQ(second->BackBrush, remade);

    // After a system colour change the stale brush is made again.
    form->BackBrushColor ^= 0x00FFFFFF;
    HBRUSH fresh = first->GetBackBrush();
    EXPECT_EQ(BrushColor(fresh), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(form->BackBrushColor, GetSysColor(COLOR_BTNFACE));
    Free(form);
}

TEST_F(FontColor, SetColorMakesTheWindowEvenWithTheCurrentValue)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    button->SetColor(clBtnFace);
    EXPECT_NE(button->Handle, nullptr);
    EXPECT_FALSE(IsWindowVisible(form->Handle)) << "made hidden";
    EXPECT_TRUE(button->ShowPending);
    Free(form);
}

TEST_F(FontColor, ABrushToolDrivesTheWidgetsBackground)
{
    TWidget* form = MakeForm();
    ASSERT_TRUE(MakeWindowsHidden(form));
    TGdiTool* brush = NewFont();   // any tool will do: only its colour is used
    brush->OnChange = {BrushChanged, form};
    form->Brush = brush;
    form->AddOwned(brush);
    HBRUSH old = form->GetBackBrush();
    ASSERT_NE(old, nullptr);

    SetToolField(brush, 0, static_cast<int32_t>(RGB(1, 2, 3)));
    EXPECT_EQ(form->Color, RGB(1, 2, 3));
    EXPECT_EQ(form->BackBrush, nullptr);
    form->SetColor(RGB(4, 5, 6));
    EXPECT_EQ(brush->Data.Color, RGB(4, 5, 6)) << "SetColor passes the colour to the brush tool";
    Free(form);
}
