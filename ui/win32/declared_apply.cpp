#include "ui/win32/declared_apply.h"

#include <memory>

#include "ui/win32/common_controls.h"
#include "ui/win32/draw_actor.h"

namespace cc::win {
namespace {

std::unique_ptr<Control> MakeDeclared(const Str& type) {
  std::u16string_view t = type.View();
  if (t == u"Label") return std::make_unique<Label>();
  if (t == u"Button") return std::make_unique<Button>();
  if (t == u"CheckBox") return std::make_unique<CheckBox>();
  if (t == u"RadioButton") return std::make_unique<RadioButton>();
  if (t == u"ToolItem") return std::make_unique<ToolItem>();
  if (t == u"LabelLink") return std::make_unique<LabelLink>();
  if (t == u"TextBox") return std::make_unique<TextBox>();
  return nullptr;
}

void Report(const DeclaredContext& context, const Str& line) {
  if (context.problems != nullptr) context.problems->push_back(line);
}

void ApplyColours(Control* control, const DeclaredColours& c) {
  if (c.hasText) control->SetTextColor(c.text);
  if (c.hasAccent) control->SetAccentColor(c.accent);
  if (c.hasSecond) control->SetSecondColor(c.second);
  if (c.hasBack) {
    control->SetHatch(c.hatch);
    control->SetBackColor(c.back);
  }
}

void ApplyPaint(Control* control, const DeclaredSettings& s, const DeclaredContext& context) {
  switch (s.paint) {
    case DeclaredPaint::kNone:
      return;
    case DeclaredPaint::kStopOwn:
      control->ModifyStyle(kStylePaint, kPaintOwnBackground, 0);
      control->SetBackgroundMode(kBackSolid);
      break;
    case DeclaredPaint::kOwnSolid:
      control->ModifyStyle(kStylePaint, 0, kPaintOwnBackground);
      control->SetBackgroundMode(kBackSolid);
      break;
    case DeclaredPaint::kOwnGradient:
      control->ModifyStyle(kStylePaint, 0, kPaintOwnBackground);
      control->SetGradient(s.vertical);
      break;
    case DeclaredPaint::kOwnImage: {
      HBITMAP bitmap = context.loadImage ? context.loadImage(s.image) : nullptr;
      if (bitmap == nullptr) {
        Report(context, Str(u"declared image not loaded, background unchanged: ") + s.keyBase +
                            Str(u"._DFlag_Img=") + s.image);
        return;
      }
      control->ModifyStyle(kStylePaint, 0, kPaintOwnBackground);
      if (s.stretch) {
        control->SetStretchedImage(bitmap, true);
      } else {
        HBRUSH brush = DrawActor::CreateStretchedPatternBrush(bitmap, 0, 0);  // tiled
        DeleteObject(bitmap);
        control->SetFixedBrush(brush, true);
      }
      break;
    }
  }
  if (control->Created()) SendMessageW(control->Handle(), kToolkitMessage, kRefreshBackground, 0);
}

void CreateChildren(Control* control, const DeclaredSettings& s, const DeclaredContext& context) {
  for (const DeclaredChild& child : s.children) {
    if (control->FindChild(child.name, false) != nullptr) break;  // made by an earlier pass
    std::unique_ptr<Control> made = MakeDeclared(child.type);
    if (!made) continue;
    made->SetName(child.name);
    if (!child.cfgName.IsNull() && !child.cfgName.IsEmpty()) made->SetConfigName(child.cfgName);
    made->SetText(Str(kDynamicControlText));
    if (context.onDeclaredClick) {
      auto handler = context.onDeclaredClick;
      made->Click.Add([handler](Control* sender, EventArgs&) { handler(sender); });
    }
    control->AddChild(std::move(made));
  }
}

}  // namespace

void ApplyDeclaredRect(Control* control, const DeclaredRect& rect) {
  const Bounds& b = control->GetBounds();
  int x = rect.hasPosition ? rect.x : b.x;
  int y = rect.hasPosition ? rect.y : b.y;
  int width = b.width, height = b.height;
  if (rect.hasSize) {
    control->ModifyStyle(kStylePaint, kPaintSizeFromLayout, 0);
    width = rect.width;
    height = rect.height;
  }
  control->SetBounds(x, y, width, height);
}

void ApplyDeclared(Control* control, const Str& prefix, const DeclaredContext& context) {
  Control* stop = context.stop;
  if (stop != nullptr && !control->Visible() && control != stop &&
      control->Parent() == stop->Parent()) {
    return;
  }
  Str childPrefix = prefix;
  if (!IsExcludedFromDeclared(control->ConfigName())) {
    Str keyBase = DeclaredKeyBase(prefix, KeyComponent(control->Name(), control->ConfigName()));
    childPrefix = keyBase;
    DeclaredSettings s = ReadDeclared(*context.config, keyBase, context.textPrefix);
    for (const Str& line : s.problems) Report(context, line);
    if (s.hasText) control->SetText(s.text);
    if (s.hasRect) ApplyDeclaredRect(control, s.rect);
    if (s.hasColours) ApplyColours(control, s.colours);
    ApplyPaint(control, s, context);
    if (s.flags & kDeclChildren) CreateChildren(control, s, context);
  }
  for (int i = control->ChildCount() - 1; i >= 0; --i) {
    ApplyDeclared(control->ChildAt(i), childPrefix, context);
  }
}

}  // namespace cc::win
