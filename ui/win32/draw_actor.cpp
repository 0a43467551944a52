#include "ui/win32/draw_actor.h"

#include <ole2.h>
#include <olectl.h>

#include <vector>

namespace cc::win {
namespace {

COLORREF Ref(Colour c) { return static_cast<COLORREF>(c & 0xFFFFFF); }

// The visual-style functions, looked up once: linking the theme library
// would make the program refuse to start where it is missing.
struct ThemeApi {
  using OpenFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
  using CloseFn = HRESULT(WINAPI*)(HANDLE);
  using DrawFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
  using ActiveFn = BOOL(WINAPI*)();
  OpenFn open = nullptr;
  CloseFn close = nullptr;
  DrawFn draw = nullptr;
  ActiveFn active = nullptr;
  bool Usable() const { return open && close && draw && active && active(); }
};

template <typename Fn>
Fn Proc(HMODULE lib, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

const ThemeApi& Theme() {
  static ThemeApi api = [] {
    ThemeApi a;
    HMODULE lib = LoadLibraryW(L"uxtheme.dll");
    if (!lib) return a;
    a.open = Proc<ThemeApi::OpenFn>(lib, "OpenThemeData");
    a.close = Proc<ThemeApi::CloseFn>(lib, "CloseThemeData");
    a.draw = Proc<ThemeApi::DrawFn>(lib, "DrawThemeBackground");
    a.active = Proc<ThemeApi::ActiveFn>(lib, "IsThemeActive");
    return a;
  }();
  return api;
}

// Themed brushes come in height classes so that a few brushes serve every
// control; the last class grows with the tallest request.
constexpr int kClassHeights[] = {250, 450, 650, 900};

bool FillWithBrush(HDC dc, const RECT& rect, HBRUSH brush) {
  if (!brush) return false;
  bool ok = FillRect(dc, &rect, brush) != 0;
  DeleteObject(brush);
  return ok;
}

bool BlitStretched(HDC dc, const RECT& rect, HBITMAP bitmap) {
  BITMAP info = {};
  if (!GetObjectW(bitmap, sizeof(info), &info)) return false;
  HDC source = CreateCompatibleDC(dc);
  if (!source) return false;
  HGDIOBJ old = SelectObject(source, bitmap);
  int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  bool ok = StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY) != 0;
  SetStretchBltMode(dc, oldMode);
  SelectObject(source, old);
  DeleteDC(source);
  return ok;
}

bool PaintTiled(HDC dc, const RECT& rect, HBITMAP bitmap) {
  HBRUSH brush = CreatePatternBrush(bitmap);
  if (!brush) return false;
  POINT oldOrigin;
  SetBrushOrgEx(dc, rect.left, rect.top, &oldOrigin);
  bool ok = FillRect(dc, &rect, brush) != 0;
  SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  DeleteObject(brush);
  return ok;
}

// Renders a decoded picture into a new screen-compatible bitmap.
HBITMAP RenderPicture(IPicture* picture) {
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (FAILED(picture->get_Width(&himetricWidth)) || FAILED(picture->get_Height(&himetricHeight)))
    return nullptr;
  HDC screen = GetDC(nullptr);
  int width = MulDiv(himetricWidth, GetDeviceCaps(screen, LOGPIXELSX), 2540);
  int height = MulDiv(himetricHeight, GetDeviceCaps(screen, LOGPIXELSY), 2540);
  HBITMAP result = nullptr;
  if (width > 0 && height > 0) result = CreateCompatibleBitmap(screen, width, height);
  HDC target = result ? CreateCompatibleDC(screen) : nullptr;
  if (target) {
    HGDIOBJ old = SelectObject(target, result);
    RECT all = {0, 0, width, height};
    FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HRESULT hr = picture->Render(target, 0, 0, width, height, 0, himetricHeight, himetricWidth,
                                 -himetricHeight, nullptr);
    SelectObject(target, old);
    DeleteDC(target);
    if (FAILED(hr)) {
      DeleteObject(result);
      result = nullptr;
    }
  }
  ReleaseDC(nullptr, screen);
  return result;
}

}  // namespace

DrawActor::DrawActor() = default;

DrawActor::~DrawActor() {
  for (HBRUSH& brush : themed_)
    if (brush) DeleteObject(brush);
}

HBITMAP DrawActor::CreateGradientBitmap(HDC dc, Colour a, Colour b, int width, int height,
                                        bool vertical) {
  int length = GradientStripLength(a, b, width, height, vertical);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = vertical ? 1 : length;
  // Bottom-up rows: SetDIBits does not honour top-down sources everywhere.
  info.bmiHeader.biHeight = vertical ? length : 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(length);
  for (int i = 0; i < length; ++i) {
    Colour c = GradientStripPixel(a, b, i, length);
    pixels[vertical ? length - 1 - i : i] = static_cast<DWORD>((RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c));
  }
  HDC screen = dc ? dc : GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, vertical ? 1 : length, vertical ? length : 1);
  if (bitmap && !SetDIBits(screen, bitmap, 0, vertical ? length : 1, pixels.data(), &info,
                           DIB_RGB_COLORS)) {
    DeleteObject(bitmap);
    bitmap = nullptr;
  }
  if (!dc) ReleaseDC(nullptr, screen);
  return bitmap;
}

bool DrawActor::PaintGradient(HDC dc, const RECT& rect, Colour a, Colour b, bool vertical) {
  HBITMAP strip = CreateGradientBitmap(dc, a, b, rect.right - rect.left, rect.bottom - rect.top,
                                       vertical);
  if (!strip) return false;
  bool ok = BlitStretched(dc, rect, strip);
  DeleteObject(strip);
  return ok;
}

bool DrawActor::PaintBackground(HDC dc, const RECT& rect, const BackgroundSpec& spec,
                                HBITMAP image) {
  switch (spec.kind) {
    case BackgroundKind::kUnchanged:
      return false;
    case BackgroundKind::kGradient:
      return PaintGradient(dc, rect, spec.color2, spec.color3, spec.vertical);
    case BackgroundKind::kImage:
      if (image) return spec.stretch ? BlitStretched(dc, rect, image) : PaintTiled(dc, rect, image);
      break;
    case BackgroundKind::kThemed:
      if (PaintThemeBackground(dc, rect)) return true;
      return FillWithBrush(dc, rect, CreateBackBrush(spec.color1, 0));
    case BackgroundKind::kSolid:
      break;
  }
  return FillWithBrush(dc, rect, CreateBackBrush(spec.color1, spec.hatch));
}

bool DrawActor::ThemesActive() { return Theme().Usable(); }

bool DrawActor::PaintThemeBackground(HDC dc, const RECT& rect) {
  const ThemeApi& api = Theme();
  if (!api.Usable()) return false;
  HANDLE theme = api.open(nullptr, L"TAB");
  if (!theme) return false;
  bool ok = SUCCEEDED(api.draw(theme, dc, 10, 0, &rect, nullptr));
  api.close(theme);
  return ok;
}

HBRUSH DrawActor::GetThemedBrush(int height) {
  if (!ThemesActive()) return nullptr;
  int slot = kThemedClasses - 1;
  int classHeight = 0;
  for (int i = 0; i < kThemedClasses - 1; ++i) {
    if (height <= kClassHeights[i]) {
      slot = i;
      classHeight = kClassHeights[i];
      break;
    }
  }
  if (slot == kThemedClasses - 1) {
    if (height > tallestHeight_) {
      tallestHeight_ = height;
      if (themed_[slot]) DeleteObject(themed_[slot]);
      themed_[slot] = nullptr;
    }
    classHeight = tallestHeight_;
  }
  if (themed_[slot]) return themed_[slot];
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, classHeight);
  HDC target = bitmap ? CreateCompatibleDC(screen) : nullptr;
  if (target) {
    HGDIOBJ old = SelectObject(target, bitmap);
    RECT all = {0, 0, 300, classHeight};
    bool painted = PaintThemeBackground(target, all);
    SelectObject(target, old);
    DeleteDC(target);
    if (painted) themed_[slot] = CreatePatternBrush(bitmap);
  }
  if (bitmap) DeleteObject(bitmap);
  ReleaseDC(nullptr, screen);
  return themed_[slot];
}

HBRUSH DrawActor::CreateStretchedPatternBrush(HBITMAP bitmap, int width, int height) {
  if (!bitmap) return nullptr;
  if (width < 1 || height < 1) return CreatePatternBrush(bitmap);
  HDC screen = GetDC(nullptr);
  HBITMAP sized = CreateCompatibleBitmap(screen, width, height);
  HDC target = sized ? CreateCompatibleDC(screen) : nullptr;
  HBRUSH brush = nullptr;
  if (target) {
    HGDIOBJ old = SelectObject(target, sized);
    RECT all = {0, 0, width, height};
    bool ok = BlitStretched(target, all, bitmap);
    SelectObject(target, old);
    DeleteDC(target);
    if (ok) brush = CreatePatternBrush(sized);
  }
  if (sized) DeleteObject(sized);
  ReleaseDC(nullptr, screen);
  return brush;
}

HBRUSH DrawActor::CreateBackBrush(Colour colour, int hatch) {
  int style = HatchStyle(hatch);
  return style >= 0 ? CreateHatchBrush(style, Ref(colour)) : CreateSolidBrush(Ref(colour));
}

HBITMAP DrawActor::LoadImageBytes(const void* bytes, size_t size) {
  if (!bytes || size == 0 || size > 0x7FFFFFFF) return nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  void* target = GlobalLock(memory);
  memcpy(target, bytes, size);
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || !picture) return nullptr;
  HBITMAP result = RenderPicture(picture);
  picture->Release();
  return result;
}

}  // namespace cc::win
