// Registration of the controls' published properties.
#include "framework/gui/ControlProps.h"

#include "framework/TypeInfo.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/Canvas.h"
#include "framework/gui/TextControls.h"

void RegisterControlProps()
{
    static bool registered = false;
    if (registered) return;
    registered = true;

    RegisterPublished<TComponent>({OrdProp<TComponent>(
        "Tag", tkInteger, [](TComponent* c) { return c->Tag; },
        [](TComponent* c, long long v) { c->Tag = static_cast<int>(v); })});
    RegisterPublished<TControl>({
        OrdProp<TControl>(
            "Left", tkInteger, [](TControl* c) { return c->Left(); },
            [](TControl* c, long long v) { c->SetLeft(static_cast<int>(v)); }),
        OrdProp<TControl>(
            "Top", tkInteger, [](TControl* c) { return c->Top(); },
            [](TControl* c, long long v) { c->SetTop(static_cast<int>(v)); }),
        OrdProp<TControl>(
            "Width", tkInteger, [](TControl* c) { return c->Width(); },
            [](TControl* c, long long v) { c->SetWidth(static_cast<int>(v)); }),
        OrdProp<TControl>(
            "Height", tkInteger, [](TControl* c) { return c->Height(); },
            [](TControl* c, long long v) { c->SetHeight(static_cast<int>(v)); }),
        BoolProp<TControl>(
            "Visible", [](TControl* c) { return c->Visible(); },
            [](TControl* c, bool v) { c->SetVisible(v); }),
        BoolProp<TControl>(
            "Enabled", [](TControl* c) { return c->Enabled(); },
            [](TControl* c, bool v) { c->SetEnabled(v); }),
        StrProp<TControl>(
            "Hint", [](TControl* c) { return c->Hint; },
            [](TControl* c, const String& v) { c->Hint = v; }),
        ObjProp<TControl>("Font", [](TControl* c) { return c->Font(); }),
    });
    RegisterPublished<TFont>({
        StrProp<TFont>(
            "Name", [](TFont* f) { return f->Name(); },
            [](TFont* f, const String& v) { f->SetName(v); }),
        OrdProp<TFont>(
            "Size", tkInteger, [](TFont* f) { return f->Size(); },
            [](TFont* f, long long v) { f->SetSize(static_cast<int>(v)); }),
        OrdProp<TFont>(
            "Color", tkInteger, [](TFont* f) { return static_cast<long long>(f->Color()); },
            [](TFont* f, long long v) { f->SetColor(static_cast<TColor>(v)); }),
        OrdProp<TFont>(
            "Style", tkSet, [](TFont* f) { return static_cast<long long>(f->Style().Bits()); },
            [](TFont* f, long long v) {
                f->SetStyle(TFontStyles::FromBits(static_cast<std::uint32_t>(v)));
            },
            {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}),
    });
    RegisterPublished<TCustomEdit>({StrProp<TCustomEdit>(
        "Text", [](TCustomEdit* e) { return e->Text(); },
        [](TCustomEdit* e, const String& v) { e->SetText(v); })});
    RegisterPublished<TMemo>({ObjProp<TMemo>("Lines", [](TMemo* m) { return m->Lines(); })});
    RegisterPublished<TCheckBox>({BoolProp<TCheckBox>(
        "Checked", [](TCheckBox* c) { return c->Checked(); },
        [](TCheckBox* c, bool v) { c->SetChecked(v); })});
}
