// ToolTip: a tip window ("tooltips_class32") that shows a text for the
// controls registered with it. ImageList: an owned platform image list.
// Windows flavour only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "ui/win32/control.h"

namespace cc::win {

class ToolTip : public Control {
 public:
  ToolTip();
  const char16_t* ClassName() const override { return u"ToolTip"; }
  // Shows `text` when the mouse rests on `control` (both windows must
  // exist). Returns false when the tip window refused it.
  bool SetToolTip(Control* control, const Str& text);

 protected:
  const wchar_t* WindowClass() const override { return TOOLTIPS_CLASSW; }
  bool OwnsWindowClass() const override { return false; }
  HWND CreateWindowFor(HWND parent) override;
};

class ImageList {
 public:
  ImageList(int width, int height);
  ~ImageList();
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  // Returns the new image's index, -1 on failure.
  int AddIcon(HICON icon);
  int AddBitmap(HBITMAP bitmap, COLORREF mask);
  // The icon of image `index` (the caller destroys it), or nullptr.
  HICON GetIcon(int index) const;
  int Count() const;
  HIMAGELIST Handle() const { return list_; }

 private:
  HIMAGELIST list_;
};

}  // namespace cc::win
