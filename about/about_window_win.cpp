#include "about/about_window_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <memory>

#include "about/about_config.h"
#include "about/about_logic.h"
#include "assets/resource_ids.h"
#include "host/http_read_win.h"
#include "strip/strip_win.h"

namespace {

constexpr UINT_PTR kAboutSubclassId = 0xAB0;

// Embedded image ids, in the order the window's images are kept.
enum AboutImage : std::size_t {
  kFace,
  kCloseNormal, kCloseHover, kClosePressed,
  kProductNormal, kProductHover, kProductPressed,
  kColourNormal, kColourHover, kColourPressed,
  kOnlineOnNormal, kOnlineOnHover, kOnlineOnPressed,
  kOnlineOffNormal, kOnlineOffHover, kOnlineOffPressed,
  kAboutImageCount
};
constexpr std::array<int, kAboutImageCount> kImageResources = {
    kResAboutFace,
    kResAboutCloseNormal, kResAboutCloseHover, kResAboutClosePressed,
    kResProductCentreNormal, kResProductCentreHover, kResProductCentrePressed,
    kResColourNormal, kResColourHover, kResColourPressed,
    kResOnlineContactOnNormal, kResOnlineContactOnHover, kResOnlineContactOnPressed,
    kResOnlineContactOffNormal, kResOnlineContactOffHover, kResOnlineContactOffPressed,
};

// One open about window: its images, toolkit objects and the colour the font
// dialog starts from. It goes with the window.
struct AboutState {
  int window = 0;
  HWND handle = nullptr;
  std::array<UniqueGpImage, kAboutImageCount> images;
  PngLayeredWindow aboutSurface;
  PngButton closeButton, productCentreButton, colourButton, onlineButton;
  std::int32_t colour = kWhite;
  LOGFONTA font{};

  Gdiplus::GpImage* image(AboutImage which) const { return images[which].get(); }
};

std::unique_ptr<AboutState>& openAbout() {
  static auto* state = new std::unique_ptr<AboutState>;  // window thread only
  return *state;
}

LOGFONTA initialFont() {
  LOGFONTA font{};
  font.lfHeight = -12;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = GB2312_CHARSET;
  lstrcpynA(font.lfFaceName, "宋体", LF_FACESIZE);
  return font;
}

// The window's images stay until its children, which show them, are gone.
LRESULT CALLBACK releaseAtDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message != WM_NCDESTROY) return DefSubclassProc(window, message, wParam, lParam);
  RemoveWindowSubclass(window, releaseAtDestroy, kAboutSubclassId);
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (openAbout() && openAbout()->handle == window) openAbout().reset();
  return result;
}

HWND aboutControl(int window, const char* name) {
  return controlHandle(findControl(window, name).value_or(ControlRef{}));
}

void bindImageButton(PngButton& button, HWND control, const AboutState& s, AboutImage normal) {
  button.bindButton(control);
  button.setImages(s.image(normal), s.image(static_cast<AboutImage>(normal + 1)),
                   s.image(static_cast<AboutImage>(normal + 2)));
}

void buildAbout(int window) {
  auto& slot = openAbout();
  slot = std::make_unique<AboutState>();
  AboutState& s = *slot;
  s.window = window;
  s.handle = windowHandle(window);
  s.colour = strip().defaultTextColor;
  s.font = initialFont();
  SetWindowSubclass(s.handle, releaseAtDestroy, kAboutSubclassId, 0);

  for (std::size_t i = 0; i < kAboutImageCount; ++i) s.images[i] = loadImageFromBytes(embeddedBytes(kImageResources[i]));
  s.aboutSurface.bindSurface(s.handle);
  s.aboutSurface.setBackImage(s.image(kFace));
  bindImageButton(s.closeButton, aboutControl(window, kAboutCloseButton), s, kCloseNormal);
  bindImageButton(s.productCentreButton, aboutControl(window, kProductCentreButton), s, kProductNormal);
  bindImageButton(s.colourButton, aboutControl(window, kColourButton), s, kColourNormal);
  const bool online = contactIsOnline(kSupportContactNumber);
  bindImageButton(s.onlineButton, aboutControl(window, kOnlineButton), s, online ? kOnlineOnNormal : kOnlineOffNormal);
  s.aboutSurface.refresh();
}

void openLink(const std::string& link) {
  AboutState* s = openAbout().get();
  ShellExecuteA(s ? windowHandle(s->window) : nullptr, "open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void closeAbout() {
  if (AboutState* s = openAbout().get()) destroyWindow(s->window);
}

void chooseTextColour() {
  AboutState* s = openAbout().get();
  if (!s) return;
  const int window = s->window;
  LOGFONTA font = s->font;
  CHOOSEFONTA choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = windowHandle(window);
  choice.lpLogFont = &font;
  choice.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  choice.rgbColors = static_cast<COLORREF>(s->colour);
  const bool chosen = ChooseFontA(&choice) != FALSE;
  // The window may have been closed while the dialog was open.
  s = openAbout().get();
  if (!s || s->window != window) return;
  if (chosen) {
    s->colour = static_cast<std::int32_t>(choice.rgbColors & 0xFFFFFF);
    s->font = font;
  }
  applyTextColour(s->colour);
}

ControlTemplate button(const char* name, int left, int top, int width, int height, const char* text) {
  ControlTemplate control;
  control.name = name;
  control.kind = ControlKind::kButton;
  control.left = left;
  control.top = top;
  control.width = width;
  control.height = height;
  control.text = text;
  return control;
}

}  // namespace

WindowTemplate aboutTemplate() {
  WindowTemplate form;
  form.title = kAboutTitle;
  form.left = 50;
  form.top = 50;
  form.width = 427;
  form.height = 284;
  // Button texts are never drawn; screen readers announce them.
  form.controls = {
      button(kAboutCloseButton, 367, -5, 61, 35, "关闭"),
      button(kProductCentreButton, 52, 204, 322, 20, "产品中心"),
      button(kColourButton, 206, 238, 16, 16, "更改文本颜色"),
      button(kOnlineButton, 344, 240, 78, 25, "在线咨询"),
  };
  return form;
}

WindowHandlers aboutHandlers() {
  WindowHandlers handlers;
  handlers.created = buildAbout;
  handlers.clicked[kAboutCloseButton] = closeAbout;
  handlers.clicked[kProductCentreButton] = [] { openLink(kProductPage); };
  handlers.clicked[kColourButton] = chooseTextColour;
  handlers.clicked[kOnlineButton] = [] { openLink(chatLink(kSupportContactNumber)); };
  return handlers;
}

int aboutWindow() {
  const AboutState* s = openAbout().get();
  return s ? s->window : 0;
}

int openAboutWindow() {
  // One about window at a time: its toolkit objects are bound to one window.
  if (const int open = aboutWindow()) {
    HWND handle = windowHandle(open);
    ShowWindow(handle, SW_SHOWNORMAL);
    SetForegroundWindow(handle);
    return open;
  }
  return loadWindow(aboutTemplate(), aboutHandlers());
}

bool contactIsOnline(long long contactNumber) {
  const std::string url = std::string("http://") + kStatusServiceHost + onlineStatusPath(contactNumber);
  return answerSaysOnline(readHttpResource(url));
}

void applyTextColour(std::int32_t colour) {
  StripState& s = strip();
  s.defaultTextColor = colour;
  writeSetting(kKeyTextColor, integerToText(colour));
  const std::size_t rows = std::min<std::size_t>(static_cast<std::size_t>(std::max(s.rowCount, 1)),
                                                 s.editBoxes.size() + 1);
  for (std::size_t row = 1; row <= rows; ++row) {
    rowEdit(row).setTextColor(colour);
    s.memos.update(row, [colour](MemoItem& memo) { memo.textColor = colour; });
  }
  s.stripSurface.refresh();
}

void showHelp() {
  promptStartWithSystem();
  openAboutWindow();
}
