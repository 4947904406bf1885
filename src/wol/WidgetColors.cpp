// A widget's colours and font on top of the colour values and tools of GdiTool:
// the background brush answered to colour requests, the font made on first
// request, and the handlers through which a widget follows its tools' changes.
#include "wol/Widget.h"

namespace {

// The brush is made again on the next request.
void DropBackBrush(TWidget* widget)
{
    HBRUSH brush = widget->BackBrush;
    widget->BackBrush = nullptr;
    if (brush)
        DeleteObject(brush);
}

}

// The widget's font, made on the first request from the default font data in the
// widget's text colour. Sends nothing: the font reaches the window with the next
// ApplyFont.
TGdiTool* TWidget::GetFont()
{
    if (Font)
        return Font;
    TGdiTool* font = NewFont();
    AddOwned(font);
    Font = font;
    font->Data.Color = TextColor;
    font->OnChange.Routine = FontChanged;
    font->OnChange.Context = this;
    return font;
}

// Bound to the OnChange of a widget's font: the window gets the font's (new) object.
void FontChanged(void* context, TGdiTool* tool)
{
    TWidget* widget = static_cast<TWidget*>(context);
    widget->TextColor = tool->Data.Color;
    widget->ApplyFont();
    widget->Invalidate();
}

// Bound to the OnChange of a widget's brush tool: the background follows its colour.
void BrushChanged(void* context, TGdiTool* tool)
{
    TWidget* widget = static_cast<TWidget*>(context);
    widget->Color = tool->Data.Color;
    DropBackBrush(widget);
    widget->Invalidate();
}

// The solid background brush. Children of their parent's colour use the brush of the
// topmost widget of that run of equal colours; a brush made for another RGB value
// (a system colour changed) is made again.
HBRUSH TWidget::GetBackBrush()
{
    TWidget* owner = this;
    while (owner->Parent && owner->Parent->Color == owner->Color)
        owner = owner->Parent;
    COLORREF rgb = ResolveColor(owner->Color);
    if (rgb != owner->BackBrushColor)
        DropBackBrush(owner);
    if (!owner->BackBrush) {
        owner->BackBrushColor = rgb;
        owner->BackBrush = CreateSolidBrush(rgb);
    }
    return owner->BackBrush;
}

// Makes the window first, even when the colour does not change.
void TWidget::SetColor(TColor value)
{
    GetHandle();
    if (value == Color)
        return;
    Color = value;
    DropBackBrush(this);
    if (Brush)
        SetToolField(Brush, 0, static_cast<int32_t>(value));
    Invalidate();
}

// The colour request of a control answers with TextColor. A font of the widget's own
// would set it again when it changes (FontChanged).
void TWidget::SetTextColor(TColor value)
{
    if (value == TextColor)
        return;
    TextColor = value;
    Invalidate();
}
