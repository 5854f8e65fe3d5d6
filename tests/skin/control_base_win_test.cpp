#include "skin/control_base_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/skin/control_test_support_win.h"

using namespace control_test;

namespace {

WNDPROC procedureOf(HWND w) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC)); }
WNDPROC classProcedureOf(HWND w) {
  return reinterpret_cast<WNDPROC>(GetClassLongPtrA(w, GCLP_WNDPROC));
}
DWORD styleOf(HWND w) { return static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE)); }
DWORD exStyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongA(w, GWL_EXSTYLE)); }

constexpr Gdiplus::ARGB kOpaqueRed = 0xFFFF0000;
constexpr Gdiplus::ARGB kOpaqueGreen = 0xFF00FF00;
constexpr DWORD kRed = 0xFF0000;
constexpr DWORD kGreen = 0x00FF00;
constexpr COLORREF kCacheBlue = RGB(0, 0, 255);
constexpr DWORD kBlue = 0x0000FF;
constexpr COLORREF kUntouched = RGB(255, 0, 255);
constexpr DWORD kMagenta = 0xFF00FF;

class ControlBase : public WindowTest {};
class Bind : public WindowTest {};
class Parent : public WindowTest {};
class Style : public WindowTest {};
class Compose : public WindowTest {};
class ToolTip : public WindowTest {};
class Move : public WindowTest {};

TEST_F(Bind, MakesControlTransparentAndSubclassesItsParent) {
  HWND parent = makeParent(false);
  HWND control = addChild(parent, "STATIC", WS_CLIPSIBLINGS, 10, 10, 40, 20);
  ASSERT_TRUE(control);
  ASSERT_TRUE(styleOf(parent) & WS_CLIPCHILDREN);
  const WNDPROC classProc = classProcedureOf(parent);
  const WNDPROC controlProc = procedureOf(control);

  PngControlBase box;
  EXPECT_EQ(box.handle(), nullptr);
  ASSERT_TRUE(box.bind(control));

  EXPECT_EQ(box.handle(), control);
  EXPECT_EQ(box.window(), control);
  EXPECT_TRUE(box.isWindow());
  EXPECT_FALSE(styleOf(control) & WS_CLIPSIBLINGS);
  EXPECT_TRUE(exStyleOf(control) & WS_EX_TRANSPARENT);
  EXPECT_FALSE(styleOf(parent) & WS_CLIPCHILDREN);
  EXPECT_EQ(procedureOf(parent), &parentProc);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(readProperty(parent, kPropWndProc)), classProc);
  // The control itself keeps its procedure; its kind's bind subclasses it.
  EXPECT_EQ(procedureOf(control), controlProc);
  for (const char* name : kControlPropertyNames) {
    SCOPED_TRACE(name);
    EXPECT_EQ(box.property(name), 0);
  }
}

TEST_F(Bind, RequestsNoFrameRefresh) {
  HWND parent = makeParent(false);
  HWND control = addChild(parent, "STATIC", WS_CLIPSIBLINGS, 10, 10, 40, 20);
  installLogger(control);
  messageLog().clear();

  PngControlBase box;
  ASSERT_TRUE(box.bind(control));
  EXPECT_EQ(countLogged(control, WM_WINDOWPOSCHANGING), 0);
  EXPECT_EQ(countLogged(control, WM_STYLECHANGED), 2);  // style, then extended style
  // The parent's class procedure logs what parentProc forwards to it.
  EXPECT_EQ(countLogged(parent, WM_WINDOWPOSCHANGING), 0);
  EXPECT_EQ(countLogged(parent, WM_STYLECHANGED), 1);
}

TEST_F(Bind, TwoChildrenSubclassTheParentOnce) {
  HWND parent = makeParent(false);
  HWND first = addChild(parent, "STATIC", 0, 10, 10, 40, 20);
  HWND second = addChild(parent, "BUTTON", BS_PUSHBUTTON, 60, 10, 40, 20);
  const WNDPROC classProc = classProcedureOf(parent);

  PngControlBase a;
  PngControlBase b;
  ASSERT_TRUE(a.bind(first));
  ASSERT_TRUE(b.bind(second));
  ASSERT_TRUE(a.bind(first));

  EXPECT_EQ(procedureOf(parent), &parentProc);
  // Not parentProc: a second subclass would have made it call itself, and
  // the forwarding below would never end.
  ASSERT_EQ(reinterpret_cast<WNDPROC>(readProperty(parent, kPropWndProc)), classProc);
  EXPECT_FALSE(subclassWindow(parent, parentProc));
  EXPECT_EQ(procedureOf(parent), &parentProc);
  // Forwarding still reaches the class procedure exactly once.
  messageLog().clear();
  EXPECT_EQ(SendMessageA(parent, kAppMessage, 1, 2), kParentAppAnswer);
  EXPECT_EQ(countLogged(parent, kAppMessage), 1);
}

TEST_F(Bind, ParentThatIsAToolkitControlIsNotSubclassed) {
  HWND parent = makeParent(false);
  HWND middle = addChild(parent, "STATIC", WS_CLIPCHILDREN, 10, 10, 100, 60);
  HWND inner = addChild(middle, "STATIC", 0, 5, 5, 30, 20);
  writeProperty(middle, kPropType, kKindPicture);
  const WNDPROC middleProc = procedureOf(middle);

  PngControlBase box;
  ASSERT_TRUE(box.bind(inner));
  EXPECT_EQ(procedureOf(middle), middleProc);
  EXPECT_EQ(readProperty(middle, kPropWndProc), 0);
  EXPECT_EQ(procedureOf(parent), classProcedureOf(parent));
  // It still must not clip its transparent child.
  EXPECT_FALSE(styleOf(middle) & WS_CLIPCHILDREN);
}

TEST_F(Bind, HandleThatIsNotAWindowChangesNothing) {
  HWND parent = makeParent(false);
  HWND bound = addChild(parent, "STATIC", 0, 10, 10, 40, 20);
  HWND otherParent = makeParent(false);
  HWND gone = addChild(otherParent, "STATIC", WS_CLIPSIBLINGS, 10, 10, 40, 20);
  ASSERT_TRUE(DestroyWindow(gone));
  const DWORD otherStyle = styleOf(otherParent);
  const WNDPROC otherProc = procedureOf(otherParent);

  PngControlBase box;
  ASSERT_TRUE(box.bind(bound));
  const HWND bad[] = {gone, nullptr};
  for (HWND h : bad) {
    SCOPED_TRACE(reinterpret_cast<intptr_t>(h));
    EXPECT_FALSE(box.bind(h));
    EXPECT_EQ(box.handle(), bound);
  }
  EXPECT_EQ(styleOf(otherParent), otherStyle);
  EXPECT_EQ(procedureOf(otherParent), otherProc);
  EXPECT_EQ(readProperty(otherParent, kPropWndProc), 0);

  PngControlBase fresh;
  EXPECT_FALSE(fresh.bind(gone));
  EXPECT_EQ(fresh.handle(), nullptr);
  EXPECT_FALSE(fresh.isWindow());
}

TEST_F(Bind, TopLevelControlLeavesItsOwnerAlone) {
  HWND owner = makeParent(false);
  HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP, 50, 50, 40, 20, owner, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  windows_.emplace_back(popup);
  ASSERT_EQ(GetParent(popup), owner);  // GetParent names the owner of a popup

  PngControlBase box;
  ASSERT_TRUE(box.bind(popup));
  EXPECT_EQ(procedureOf(owner), classProcedureOf(owner));
  EXPECT_TRUE(styleOf(owner) & WS_CLIPCHILDREN);
}

TEST_F(ControlBase, PropertiesHoldPointerSizedValues) {
  HWND parent = makeParent(false);
  PngControlBase box;
  ASSERT_TRUE(box.bind(addChild(parent, "STATIC", 0, 10, 10, 40, 20)));
  const intptr_t values[] = {1, -1, 0x7B8084, 16777215, INTPTR_MAX, INTPTR_MIN, 0};
  for (intptr_t v : values) {
    SCOPED_TRACE(v);
    box.setProperty(kPropBackColor, v);
    EXPECT_EQ(box.property(kPropBackColor), v);
    EXPECT_EQ(readProperty(box.handle(), kPropBackColor), v);
  }
  EXPECT_EQ(box.property("PngControl_NeverWritten"), 0);
  // The edit box's "no colour" is -1 and comes back as a COLORREF-sized -1 too.
  box.setProperty(kPropOrderColor, -1);
  EXPECT_EQ(static_cast<int>(box.property(kPropOrderColor)), -1);
}

TEST_F(ControlBase, CopiesDriveTheSameControl) {
  HWND parent = makeParent(false);
  HWND control = addChild(parent, "STATIC", 0, 10, 10, 40, 20);
  PngControlBase original;
  ASSERT_TRUE(original.bind(control));
  PngControlBase copy = original;
  EXPECT_EQ(copy.handle(), control);
  copy.setProperty(kPropBackType, 2);
  EXPECT_EQ(original.property(kPropBackType), 2);

  PngControlBase assigned;
  assigned = copy;
  EXPECT_EQ(assigned.handle(), control);
  {
    // Dropping a copy leaves the control as it is.
    PngControlBase dropped = original;
  }
  EXPECT_TRUE(IsWindow(control));
  EXPECT_EQ(original.property(kPropBackType), 2);
}

TEST_F(ControlBase, MessagesReachTheControl) {
  HWND parent = makeParent(false);
  PngControlBase box;
  ASSERT_TRUE(box.bind(addChild(parent, "STATIC", 0, 10, 10, 40, 20, 0, "abc")));
  EXPECT_EQ(box.sendMessage(WM_GETTEXTLENGTH, 0, 0), 3);
  box.send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello"));
  char text[16] = {};
  GetWindowTextA(box.handle(), text, sizeof(text));
  EXPECT_STREQ(text, "hello");
  EXPECT_EQ(box.sendMessage(WM_GETTEXTLENGTH, 0, 0), 5);
}

TEST_F(ControlBase, InvalidateMarksTheWholeControlWithoutErasing) {
  HWND parent = makeParent(true);
  PngControlBase box;
  ASSERT_TRUE(box.bind(addChild(parent, "STATIC", 0, 10, 10, 40, 20)));
  pumpMessages();
  ValidateRect(box.handle(), nullptr);
  RECT update{};
  ASSERT_FALSE(GetUpdateRect(box.handle(), &update, FALSE));

  installLogger(box.handle());
  messageLog().clear();
  box.invalidate();
  ASSERT_TRUE(GetUpdateRect(box.handle(), &update, FALSE));
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.top, 0);
  EXPECT_EQ(update.right, 40);
  EXPECT_EQ(update.bottom, 20);
  UpdateWindow(box.handle());
  EXPECT_EQ(countLogged(box.handle(), WM_PAINT), 1);
  EXPECT_EQ(countLogged(box.handle(), WM_ERASEBKGND), 0);
}

TEST_F(ControlBase, IsWindowFollowsTheControlsLife) {
  HWND parent = makeParent(false);
  HWND control = addChild(parent, "STATIC", 0, 10, 10, 40, 20);
  PngControlBase box;
  ASSERT_TRUE(box.bind(control));
  EXPECT_TRUE(box.isWindow());
  DestroyWindow(control);
  EXPECT_FALSE(box.isWindow());
  EXPECT_EQ(box.handle(), control);
}

TEST_F(ControlBase, StateImageFallsBackToTheNormalImage) {
  HWND parent = makeParent(false);
  HWND button = addChild(parent, "BUTTON", 0, 10, 10, 40, 20);
  // Only the handles' identity matters here; nothing is drawn.
  auto fake = [](intptr_t v) { return reinterpret_cast<Gdiplus::GpImage*>(v); };
  struct Case {
    const char* name;
    intptr_t normal, hover, down, disabled;
    intptr_t state;
    intptr_t expected;
  };
  const Case cases[] = {
      {"normal", 10, 11, 12, 13, 0, 10},
      {"hover", 10, 11, 12, 13, 1, 11},
      {"pressed", 10, 11, 12, 13, 2, 12},
      {"disabled", 10, 11, 12, 13, 3, 13},
      {"unknown state", 10, 11, 12, 13, 4, 10},
      {"negative state", 10, 11, 12, 13, -1, 10},
      {"hover missing", 10, 0, 12, 13, 1, 10},
      {"pressed missing", 10, 11, 0, 13, 2, 10},
      {"disabled missing", 10, 11, 12, 0, 3, 10},
      {"no images", 0, 0, 0, 0, 2, 0},
      {"only hover", 0, 11, 0, 0, 1, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeProperty(button, kPropNormalImage, c.normal);
    writeProperty(button, kPropOverlImage, c.hover);
    writeProperty(button, kPropDownImage, c.down);
    writeProperty(button, kPropDisableImage, c.disabled);
    EXPECT_EQ(stateImage(button, c.state), fake(c.expected));
  }
}

TEST_F(ControlBase, CallPreviousProcWithoutStoredProcedureUsesDefaultProcessing) {
  HWND parent = makeParent(false);
  SetWindowTextA(parent, "four");
  // The class procedure answers kAppMessage; default processing answers 0.
  EXPECT_EQ(callPreviousProc(parent, kAppMessage, 0, 0), 0);
  EXPECT_EQ(callPreviousProc(parent, WM_GETTEXTLENGTH, 0, 0), 4);
  EXPECT_EQ(countLogged(parent, kAppMessage), 0);

  writeProperty(parent, kPropWndProc, reinterpret_cast<intptr_t>(&parentClassProc));
  EXPECT_EQ(callPreviousProc(parent, kAppMessage, 0, 0), kParentAppAnswer);
  EXPECT_EQ(countLogged(parent, kAppMessage), 1);
}

TEST_F(ControlBase, ReleaseDeletesCacheToolAndEveryProperty) {
  HWND parent = makeParent(false);
  PngControlBase box;
  ASSERT_TRUE(box.bind(addChild(parent, "STATIC", 0, 10, 10, 40, 20)));
  box.setToolTip("tip");
  ASSERT_TRUE(toolTipWindow());
  const LRESULT tools = SendMessageA(toolTipWindow(), TTM_GETTOOLCOUNT, 0, 0);
  WindowDc screen(nullptr);
  HBITMAP cache = snapshotBackground(box.handle(), screen.get());
  ASSERT_TRUE(cache);
  for (const char* name : kControlPropertyNames) {
    if (readProperty(box.handle(), name) == 0) writeProperty(box.handle(), name, 7);
  }

  releaseControlProperties(box.handle());
  EXPECT_EQ(GetObjectType(cache), 0u);
  EXPECT_EQ(SendMessageA(toolTipWindow(), TTM_GETTOOLCOUNT, 0, 0), tools - 1);
  for (const char* name : kControlPropertyNames) {
    SCOPED_TRACE(name);
    EXPECT_EQ(GetPropA(box.handle(), name), nullptr);
  }
}

TEST_F(ControlBase, DestroyedKindForwardsNcDestroyThenReleases) {
  HWND parent = makeParent(true);
  HWND control = addChild(parent, "STATIC", 0, 10, 10, 40, 20);
  installLogger(control);  // below the kind: sees what the kind forwards
  PngControlBase box;
  ASSERT_TRUE(box.bind(control));
  writeProperty(control, kPropType, kKindPicture);
  ASSERT_TRUE(subclassWindow(control, paintingKindProc));
  InvalidateRect(control, nullptr, FALSE);
  UpdateWindow(control);
  auto cache = reinterpret_cast<HBITMAP>(readProperty(control, kPropCacheBitmap));
  ASSERT_TRUE(cache);
  ASSERT_EQ(GetObjectType(cache), static_cast<DWORD>(OBJ_BITMAP));

  messageLog().clear();
  DestroyWindow(control);
  EXPECT_EQ(countLogged(control, WM_NCDESTROY), 1);
  EXPECT_EQ(GetObjectType(cache), 0u);
}

TEST_F(ControlBase, SubclassWindowInstallsOncePerWindow) {
  HWND parent = makeParent(false);
  HWND control = addChild(parent, "STATIC", 0, 10, 10, 40, 20);
  HWND gone = addChild(parent, "STATIC", 0, 60, 10, 40, 20);
  DestroyWindow(gone);
  const WNDPROC classProc = procedureOf(control);
  struct Case {
    const char* name;
    HWND window;
    WNDPROC procedure;
    bool installed;
    WNDPROC current;  // the window's procedure afterwards
  };
  const Case cases[] = {
      {"first", control, paintingKindProc, true, paintingKindProc},
      {"second keeps the first", control, parentProc, false, paintingKindProc},
      {"no procedure", parent, nullptr, false, classProcedureOf(parent)},
      {"not a window", gone, paintingKindProc, false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(subclassWindow(c.window, c.procedure), c.installed);
    if (c.current) {
      EXPECT_EQ(procedureOf(c.window), c.current);
    }
  }
  EXPECT_EQ(reinterpret_cast<WNDPROC>(readProperty(control, kPropWndProc)), classProc);
  EXPECT_EQ(readProperty(parent, kPropWndProc), 0);
}

TEST_F(Parent, ForwardsWhatItDoesNotHandle) {
  HWND parent = makeParent(true);
  PngControlBase box;
  ASSERT_TRUE(box.bind(addChild(parent, "STATIC", 0, 10, 10, 40, 20)));
  messageLog().clear();
  EXPECT_EQ(SendMessageA(parent, kAppMessage, 3, 4), kParentAppAnswer);
  InvalidateRect(parent, nullptr, TRUE);
  UpdateWindow(parent);
  EXPECT_EQ(countLogged(parent, kAppMessage), 1);
  EXPECT_EQ(countLogged(parent, WM_PAINT), 1);
  EXPECT_EQ(countLogged(parent, WM_ERASEBKGND), 1);
}

std::wstring& lastWideText() {
  static std::wstring text;
  return text;
}

LRESULT CALLBACK wideClassProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT && lParam) lastWideText() = reinterpret_cast<const wchar_t*>(lParam);
  if (message == kAppMessage) return kParentAppAnswer;
  return DefWindowProcW(w, message, wParam, lParam);
}

TEST_F(Parent, ForwardsToAUnicodeClassProcedure) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = wideClassProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SkinTestWideParent";
  RegisterClassW(&wc);
  HWND parent = CreateWindowExW(0, L"SkinTestWideParent", L"", WS_POPUP, 300, 300, 200, 100,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  windows_.emplace_back(parent);
  ASSERT_TRUE(IsWindowUnicode(parent));
  PngControlBase box;
  ASSERT_TRUE(box.bind(addChild(parent, "STATIC", 0, 10, 10, 40, 20)));
  ASSERT_EQ(procedureOf(parent), &parentProc);

  EXPECT_EQ(SendMessageA(parent, kAppMessage, 0, 0), kParentAppAnswer);
  // The system's texts are code page 936 bytes; the class procedure gets them
  // as UTF-16, whichever way they were sent.
  SendMessageA(parent, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("备忘条"));
  EXPECT_EQ(lastWideText(), L"备忘条");
  SendMessageW(parent, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"提醒"));
  EXPECT_EQ(lastWideText(), L"提醒");
}

// parentProc at WM_NCDESTROY, seen from a layer above it.
LRESULT CALLBACK ncDestroyObserver(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  auto below = reinterpret_cast<WNDPROC>(GetPropA(w, "Test_Below"));
  const LRESULT result = CallWindowProcA(below, w, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    logMessage(w, WM_APP + 99, GetPropA(w, kPropWndProc) != nullptr, 0);
    RemovePropA(w, "Test_Below");
  }
  return result;
}

TEST_F(Parent, RemovesItsProcedurePropertyAtNcDestroy) {
  HWND parent = makeParent(false);
  PngControlBase box;
  ASSERT_TRUE(box.bind(addChild(parent, "STATIC", 0, 10, 10, 40, 20)));
  ASSERT_NE(readProperty(parent, kPropWndProc), 0);
  SetPropA(parent, "Test_Below",
           reinterpret_cast<HANDLE>(SetWindowLongPtrA(parent, GWLP_WNDPROC,
                                                      reinterpret_cast<LONG_PTR>(ncDestroyObserver))));
  messageLog().clear();
  windows_.clear();
  EXPECT_EQ(countLogged(parent, WM_NCDESTROY), 1);  // the class procedure still got it
  auto seen = lastLogged(parent, WM_APP + 99);
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->wParam, 0u) << "PngControl_WndProc left on the destroyed parent";
}

TEST_F(Parent, ColourMessagesByKind) {
  HWND parent = makeParent(false);
  HWND stat = addChild(parent, "STATIC", 0, 10, 10, 40, 20);
  HWND edit = addChild(parent, "EDIT", 0, 10, 40, 80, 20);
  HWND button = addChild(parent, "BUTTON", 0, 10, 70, 40, 20);
  PngControlBase any;
  ASSERT_TRUE(any.bind(stat));
  constexpr COLORREF kEditText = RGB(0, 0, 200);
  constexpr COLORREF kBefore = RGB(1, 2, 3);
  const HBRUSH hollow = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  struct Case {
    const char* name;
    UINT message;
    HWND control;
    int kind;
    bool forwarded;
    COLORREF textColour;  // expected afterwards
  };
  const Case cases[] = {
      {"plain static", WM_CTLCOLORSTATIC, stat, kKindNone, true, kParentTextColour},
      {"picture static", WM_CTLCOLORSTATIC, stat, kKindPicture, false, kBefore},
      {"plain edit", WM_CTLCOLOREDIT, edit, kKindNone, true, kParentTextColour},
      {"edit box", WM_CTLCOLOREDIT, edit, kKindEdit, false, kEditText},
      {"read-only edit box", WM_CTLCOLORSTATIC, edit, kKindEdit, false, kEditText},
      {"picture from edit", WM_CTLCOLOREDIT, edit, kKindPicture, false, kBefore},
      {"image button", WM_CTLCOLORBTN, button, kKindButton, false, kBefore},
      {"plain button", WM_CTLCOLORBTN, button, kKindNone, true, kParentTextColour},
      {"list box colours", WM_CTLCOLORLISTBOX, stat, kKindPicture, false, kBefore},
      {"dialog colours", WM_CTLCOLORDLG, stat, kKindPicture, false, kBefore},
      {"message box colours", WM_CTLCOLORMSGBOX, stat, kKindPicture, false, kBefore},
      {"scroll bar colours always forwarded", WM_CTLCOLORSCROLLBAR, stat, kKindPicture, true,
       kParentTextColour},
  };
  Dib32 target(4, 4);
  ASSERT_TRUE(target.valid());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeProperty(c.control, kPropType, c.kind);
    writeProperty(c.control, kPropTextColor, static_cast<intptr_t>(kEditText));
    SetTextColor(target.dc(), kBefore);
    SetBkMode(target.dc(), OPAQUE);
    messageLog().clear();
    const LRESULT brush = SendMessageA(parent, c.message, reinterpret_cast<WPARAM>(target.dc()),
                                       reinterpret_cast<LPARAM>(c.control));
    EXPECT_EQ(countLogged(parent, c.message), c.forwarded ? 1 : 0);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), c.forwarded ? parentBrush() : hollow);
    EXPECT_EQ(GetBkMode(target.dc()), c.forwarded ? OPAQUE : TRANSPARENT);
    EXPECT_EQ(GetTextColor(target.dc()), c.textColour);
  }
}

TEST_F(Parent, PaintingPictureStaticDoesNotReachParentColours) {
  HWND parent = makeParent(true);
  HWND stat = addChild(parent, "STATIC", SS_LEFT, 10, 10, 60, 20, 0, "text");
  PngControlBase box;
  ASSERT_TRUE(box.bind(stat));
  pumpMessages();

  messageLog().clear();
  InvalidateRect(stat, nullptr, TRUE);
  UpdateWindow(stat);
  EXPECT_GE(countLogged(parent, WM_CTLCOLORSTATIC), 1) << "a plain static asks its parent";

  writeProperty(stat, kPropType, kKindPicture);
  messageLog().clear();
  InvalidateRect(stat, nullptr, TRUE);
  UpdateWindow(stat);
  EXPECT_EQ(countLogged(parent, WM_CTLCOLORSTATIC), 0);
}

TEST_F(Parent, EditNotificationsInvalidateOnlyEditBoxesWithErase) {
  HWND parent = makeParent(true);
  HWND edit = addChild(parent, "EDIT", ES_AUTOHSCROLL, 10, 10, 100, 20, 7);
  PngControlBase box;
  ASSERT_TRUE(box.bind(edit));
  installLogger(edit);
  struct Case {
    const char* name;
    int kind;
    WORD code;
    bool invalidated;
  };
  const Case cases[] = {
      {"edit box change", kKindEdit, EN_CHANGE, true},
      {"edit box horizontal scroll", kKindEdit, EN_HSCROLL, true},
      {"edit box vertical scroll", kKindEdit, EN_VSCROLL, true},
      {"edit box focus", kKindEdit, EN_SETFOCUS, false},
      {"edit box update", kKindEdit, EN_UPDATE, false},
      {"plain edit change", kKindNone, EN_CHANGE, false},
      {"picture change", kKindPicture, EN_CHANGE, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeProperty(edit, kPropType, c.kind);
    pumpMessages();
    ValidateRect(edit, nullptr);
    messageLog().clear();
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(7, c.code), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(countLogged(parent, WM_COMMAND), 1) << "not forwarded";
    RECT update{};
    EXPECT_EQ(GetUpdateRect(edit, &update, FALSE) != FALSE, c.invalidated);
    UpdateWindow(edit);
    EXPECT_EQ(countLogged(edit, WM_ERASEBKGND), c.invalidated ? 1 : 0);
  }
}

TEST_F(Parent, CustomDrawFromUnpaintedButtonDrawsNothingAndIsForwarded) {
  HWND parent = makeParent(true);
  HWND button = addChild(parent, "BUTTON", 0, 10, 10, 40, 20, 5);
  PngControlBase box;
  ASSERT_TRUE(box.bind(button));
  writeProperty(button, kPropType, kKindButton);
  UniqueGpImage red = makeImage(40, 20, [](int, int) { return kOpaqueRed; });
  writeProperty(button, kPropNormalImage, reinterpret_cast<intptr_t>(red.get()));
  pumpMessages();
  const DWORD before = windowPixel(button, 20, 10);

  NMHDR header{button, 5, NM_CUSTOMDRAW};
  messageLog().clear();
  EXPECT_EQ(SendMessageA(parent, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header)),
            kParentNotifyAnswer);
  EXPECT_EQ(countLogged(parent, WM_NOTIFY), 1);
  EXPECT_EQ(readProperty(button, kPropCacheBitmap), 0);
  EXPECT_EQ(windowPixel(button, 20, 10), before);
}

TEST_F(Parent, CustomDrawFromPaintedButtonComposesItsStateImage) {
  HWND parent = makeParent(true);
  HWND button = addChild(parent, "BUTTON", 0, 10, 10, 40, 20, 5);
  HWND plain = addChild(parent, "BUTTON", 0, 60, 10, 40, 20, 6);
  PngControlBase box;
  ASSERT_TRUE(box.bind(button));
  writeProperty(button, kPropType, kKindButton);
  UniqueGpImage red = makeImage(40, 20, [](int, int) { return kOpaqueRed; });
  UniqueGpImage green = makeImage(40, 20, [](int x, int) { return x < 20 ? kOpaqueGreen : 0u; });
  writeProperty(button, kPropNormalImage, reinterpret_cast<intptr_t>(red.get()));
  writeProperty(button, kPropOverlImage, reinterpret_cast<intptr_t>(green.get()));
  writeProperty(button, kPropDrawState, kDrawHover);
  pumpMessages();
  {
    WindowDc screen(nullptr);
    storeCacheBitmap(button, makeSolidBitmap(screen.get(), 40, 20, kCacheBlue).release());
  }

  NMHDR header{button, 5, NM_CUSTOMDRAW};
  EXPECT_EQ(SendMessageA(parent, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header)),
            kParentNotifyAnswer);
  EXPECT_TRUE(pixelNear(windowPixel(button, 5, 10), kGreen, 5, 10));
  EXPECT_TRUE(pixelNear(windowPixel(button, 35, 10), kBlue, 35, 10));

  // Another code, or a sender of another kind, composes nothing.
  writeProperty(button, kPropDrawState, kDrawNormal);
  NMHDR other{button, 5, NM_CLICK};
  SendMessageA(parent, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&other));
  EXPECT_TRUE(pixelNear(windowPixel(button, 35, 10), kBlue, 35, 10));
  // A painted picture box is a toolkit control, but not a button.
  writeProperty(plain, kPropType, kKindPicture);
  storeCacheBitmap(plain, makeSolidBitmap(WindowDc(nullptr).get(), 40, 20, kCacheBlue).release());
  writeProperty(plain, kPropNormalImage, reinterpret_cast<intptr_t>(red.get()));
  const DWORD plainBefore = windowPixel(plain, 20, 10);
  NMHDR fromPlain{plain, 6, NM_CUSTOMDRAW};
  EXPECT_EQ(SendMessageA(parent, WM_NOTIFY, 6, reinterpret_cast<LPARAM>(&fromPlain)),
            kParentNotifyAnswer);
  EXPECT_EQ(windowPixel(plain, 20, 10), plainBefore);
  // And the normal image shows once the state is back to normal.
  SendMessageA(parent, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
  EXPECT_TRUE(pixelNear(windowPixel(button, 35, 10), kRed, 35, 10));
}

TEST_F(Style, SetWindowPosOnlyForARealChangeWithExtraFlags) {
  HWND parent = makeParent(false);
  HWND control = addChild(parent, "STATIC", WS_CLIPSIBLINGS, 10, 10, 40, 20);
  installLogger(control);
  constexpr UINT kAlways = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  struct Case {
    const char* name;
    bool extended;
    DWORD remove, add;
    UINT extra;
    bool changed;
  };
  const Case cases[] = {
      {"remove a bit that is set", false, WS_CLIPSIBLINGS, 0, 0, true},
      {"remove it again", false, WS_CLIPSIBLINGS, 0, SWP_FRAMECHANGED, false},
      {"add a bit that is set", false, 0, WS_VISIBLE, SWP_FRAMECHANGED, false},
      {"add a new bit with a frame change", false, 0, WS_BORDER, SWP_FRAMECHANGED, true},
      {"remove and add the same bit", false, WS_BORDER, WS_BORDER, SWP_FRAMECHANGED, false},
      {"nothing at all", false, 0, 0, SWP_FRAMECHANGED, false},
      {"extended: add a new bit", true, 0, WS_EX_CLIENTEDGE, 0, true},
      {"extended: add it again", true, 0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED, false},
      {"extended: remove with a frame change", true, WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int index = c.extended ? GWL_EXSTYLE : GWL_STYLE;
    const DWORD before = static_cast<DWORD>(GetWindowLongA(control, index));
    messageLog().clear();
    const bool result = c.extended ? changeExStyle(control, c.remove, c.add, c.extra)
                                   : changeStyle(control, c.remove, c.add, c.extra);
    EXPECT_EQ(result, c.changed);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, index)), (before & ~c.remove) | c.add);
    EXPECT_EQ(countLogged(control, WM_STYLECHANGING), c.changed ? 1 : 0);
    const bool positioned = c.changed && c.extra != 0;
    EXPECT_EQ(countLogged(control, WM_WINDOWPOSCHANGING), positioned ? 1 : 0);
    if (auto pos = lastLogged(control, WM_WINDOWPOSCHANGING)) {
      EXPECT_EQ(pos->positionFlags & (kAlways | c.extra), kAlways | c.extra);
    }
  }
}

TEST_F(Style, DestroyedWindowIsNotChanged) {
  HWND parent = makeParent(false);
  HWND gone = addChild(parent, "STATIC", 0, 10, 10, 40, 20);
  DestroyWindow(gone);
  EXPECT_FALSE(changeStyle(gone, 0, WS_BORDER));
  EXPECT_FALSE(changeExStyle(gone, 0, WS_EX_TRANSPARENT));
}

TEST(FitInside, ShrinksKeepingProportionsAndNeverEnlarges) {
  struct Case {
    int iw, ih, bw, bh;
    BoxSize expected;
  };
  const Case cases[] = {
      {300, 100, 150, 40, {120, 40}},  // wider, then still too tall
      {16, 16, 20, 20, {16, 16}},      // smaller: own size
      {100, 300, 50, 50, {16, 50}},    // 50x150 after the width, then 16x50
      {207, 20, 208, 20, {207, 20}},   // the row bar in its box
      {200, 100, 100, 100, {100, 50}}, // only too wide
      {100, 200, 100, 100, {50, 100}}, // only too tall
      {20, 20, 20, 20, {20, 20}},      // exact fit
      {3, 7, 2, 100, {2, 4}},          // 7 * 2 / 3 = 4.67 truncates
      {7, 3, 100, 2, {4, 2}},          // 7 * 2 / 3 truncates in step 2
      {10, 10, 0, 10, {0, 0}},         // empty box
      {0, 0, 10, 10, {0, 0}},          // empty image
      {10, 10, -5, 10, {0, 0}},        // negative box counts as empty
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.iw << "x" << c.ih << " into " << c.bw << "x" << c.bh);
    const BoxSize got = fitInside(c.iw, c.ih, c.bw, c.bh);
    EXPECT_EQ(got.width, c.expected.width);
    EXPECT_EQ(got.height, c.expected.height);
  }
}

// A hidden control of the given size with a blue cache bitmap, composed into
// a magenta DIB somewhat larger than the control.
struct ComposeScene {
  HWND control;
  Dib32 target;
  ComposeScene(HWND parent, int width, int height)
      : control(CreateWindowExA(0, "STATIC", "", WS_CHILD, 5, 5, width, height, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr)),
        target(width + 10, height + 10) {
    target.fill(kUntouched);
    storeCacheBitmap(control, makeSolidBitmap(target.dc(), width, height, kCacheBlue).release());
  }
};

TEST_F(Compose, PlacesTheImageByBackType) {
  HWND parent = makeParent(false);
  struct Probe {
    int x, y;
    DWORD rgb;
  };
  struct Case {
    const char* name;
    intptr_t backType;
    int cw, ch, iw, ih;
    Gdiplus::ARGB (*colour)(int, int);
    std::vector<Probe> probes;
  };
  auto allRed = [](int, int) -> Gdiplus::ARGB { return kOpaqueRed; };
  auto splitAt20 = [](int x, int) -> Gdiplus::ARGB { return x < 20 ? kOpaqueRed : kOpaqueGreen; };
  auto halves = [](int x, int) -> Gdiplus::ARGB { return x < 5 ? kOpaqueRed : kOpaqueGreen; };
  const Case cases[] = {
      // Own size from the top-left, cut at the control: the split stays at 20
      // and nothing lands outside the control.
      {"own size, larger image", 0, 40, 20, 60, 30, splitAt20,
       {{0, 0, kRed}, {19, 10, kRed}, {20, 10, kGreen}, {39, 19, kGreen}, {40, 10, kMagenta},
        {10, 20, kMagenta}}},
      {"unknown back type is own size", 7, 40, 20, 60, 30, splitAt20,
       {{0, 0, kRed}, {19, 19, kRed}, {21, 0, kGreen}, {39, 19, kGreen}}},
      {"own size, smaller image", 0, 40, 20, 10, 10, allRed,
       {{0, 0, kRed}, {9, 9, kRed}, {11, 5, kBlue}, {5, 11, kBlue}, {39, 19, kBlue}}},
      // Interpolation fades the outermost pixels of a stretched image into
      // the background (Wine only at the right and bottom, Windows at every
      // edge), so the probes stay inside.
      {"stretched", 1, 40, 20, 10, 10, halves,
       {{4, 4, kRed}, {15, 10, kRed}, {25, 10, kGreen}, {34, 15, kGreen}, {40, 10, kMagenta}}},
      {"fitted, smaller image centred", 2, 20, 20, 16, 16, allRed,
       {{1, 1, kBlue}, {3, 3, kRed}, {16, 16, kRed}, {18, 18, kBlue}, {10, 0, kBlue}}},
      {"fitted, wide image", 2, 150, 40, 300, 100, allRed,
       {{13, 20, kBlue}, {17, 20, kRed}, {75, 1, kRed}, {75, 38, kRed}, {133, 20, kRed},
        {137, 20, kBlue}}},
      {"fitted, tall image", 2, 50, 50, 100, 300, allRed,
       {{15, 25, kBlue}, {19, 25, kRed}, {30, 25, kRed}, {34, 25, kBlue}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ComposeScene scene(parent, c.cw, c.ch);
    ASSERT_TRUE(scene.target.valid());
    writeProperty(scene.control, kPropBackType, c.backType);
    UniqueGpImage image = makeImage(c.iw, c.ih, c.colour);
    composeOverCache(scene.control, scene.target.dc(), image.get());
    for (const Probe& p : c.probes) {
      const auto match = pixelNear(scene.target.pixel(p.x, p.y), p.rgb, p.x, p.y);
      EXPECT_TRUE(match) << "row " << p.y << ": " << scene.target.dumpRow(p.y) << "\ncolumn "
                        << p.x << ": " << scene.target.dumpColumn(p.x);
    }
    DestroyWindow(scene.control);
  }
}

TEST_F(Compose, AlphaBlendsOverTheCache) {
  HWND parent = makeParent(false);
  ComposeScene scene(parent, 30, 10);
  // Columns: transparent, half green, quarter red, opaque green.
  UniqueGpImage image = makeImage(30, 10, [](int x, int) -> Gdiplus::ARGB {
    if (x < 5) return 0x00FFFFFF;
    if (x < 12) return 0x8000FF00;
    if (x < 20) return 0x40FF0000;
    return kOpaqueGreen;
  });
  composeOverCache(scene.control, scene.target.dc(), image.get());
  struct Probe {
    int x;
    DWORD rgb;
  };
  const Probe probes[] = {
      {2, kBlue},
      {8, 0x00807F},   // 128/255 green over blue
      {15, 0x4000BF},  // 64/255 red over blue
      {25, kGreen},
  };
  for (const Probe& p : probes) EXPECT_TRUE(pixelNear(scene.target.pixel(p.x, 5), p.rgb, p.x, 5));
}

TEST_F(Compose, WithoutImageCopiesTheCacheBack) {
  HWND parent = makeParent(false);
  ComposeScene scene(parent, 30, 10);
  composeOverCache(scene.control, scene.target.dc(), nullptr);
  EXPECT_TRUE(pixelNear(scene.target.pixel(0, 0), kBlue, 0, 0));
  EXPECT_TRUE(pixelNear(scene.target.pixel(29, 9), kBlue, 29, 9));
  EXPECT_TRUE(pixelNear(scene.target.pixel(30, 9), kMagenta, 30, 9));
}

TEST_F(Compose, WithoutCacheBitmapDrawsNothing) {
  HWND parent = makeParent(false);
  ComposeScene scene(parent, 30, 10);
  storeCacheBitmap(scene.control, nullptr);
  ASSERT_EQ(readProperty(scene.control, kPropCacheBitmap), 0);
  UniqueGpImage image = makeImage(30, 10, [](int, int) { return kOpaqueRed; });
  composeOverCache(scene.control, scene.target.dc(), image.get());
  EXPECT_TRUE(pixelNear(scene.target.pixel(0, 0), kMagenta, 0, 0));
  EXPECT_TRUE(pixelNear(scene.target.pixel(15, 5), kMagenta, 15, 5));
}

TEST_F(Compose, SnapshotCopiesTheDcAndReplacesTheOldBitmap) {
  HWND parent = makeParent(false);
  HWND control = addChild(parent, "STATIC", 0, 10, 10, 20, 10);
  Dib32 source(40, 20);
  source.fill(RGB(10, 200, 30));
  {
    UniqueGdiObject brush(CreateSolidBrush(RGB(250, 100, 0)));
    // A 2x2 corner inside the control and a column just outside it show
    // that exactly the control's part from (0, 0) was copied.
    const RECT corner{0, 0, 2, 2};
    FillRect(source.dc(), &corner, static_cast<HBRUSH>(brush.get()));
    const RECT beyond{20, 0, 21, 20};
    FillRect(source.dc(), &beyond, static_cast<HBRUSH>(brush.get()));
  }
  HBITMAP first = snapshotBackground(control, source.dc());
  ASSERT_TRUE(first);
  EXPECT_EQ(reinterpret_cast<HBITMAP>(readProperty(control, kPropCacheBitmap)), first);
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(first, sizeof(info), &info));
  EXPECT_EQ(info.bmWidth, 20);
  EXPECT_EQ(info.bmHeight, 10);

  // The snapshot is the background compose puts back.
  Dib32 target(20, 10);
  composeOverCache(control, target.dc(), nullptr);
  const struct {
    int x, y;
    DWORD rgb;
  } probes[] = {{0, 0, 0xFA6400}, {1, 1, 0xFA6400}, {2, 2, 0x0AC81E}, {2, 0, 0x0AC81E},
                {10, 5, 0x0AC81E}, {19, 0, 0x0AC81E}, {19, 9, 0x0AC81E}};
  for (const auto& p : probes) EXPECT_TRUE(pixelNear(target.pixel(p.x, p.y), p.rgb, p.x, p.y));

  HBITMAP second = snapshotBackground(control, source.dc());
  ASSERT_TRUE(second);
  EXPECT_NE(second, first);
  EXPECT_EQ(GetObjectType(first), 0u) << "the replaced cache bitmap was not deleted";
  EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BITMAP));
  EXPECT_EQ(reinterpret_cast<HBITMAP>(readProperty(control, kPropCacheBitmap)), second);
  // Storing the bitmap it already has must not delete it.
  storeCacheBitmap(control, second);
  EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BITMAP));
}

TEST_F(Compose, RefreshInParentInvalidatesParentUnderControlThenControl) {
  HWND parent = makeParent(true);
  HWND control = addChild(parent, "STATIC", 0, 30, 40, 50, 20);
  PngControlBase box;
  ASSERT_TRUE(box.bind(control));
  pumpMessages();
  ValidateRect(parent, nullptr);
  ValidateRect(control, nullptr);

  refreshInParent(control);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(parent, &update, FALSE));
  EXPECT_EQ(update.left, 30);
  EXPECT_EQ(update.top, 40);
  EXPECT_EQ(update.right, 80);
  EXPECT_EQ(update.bottom, 60);
  ASSERT_TRUE(GetUpdateRect(control, &update, FALSE));
  EXPECT_EQ(update.right - update.left, 50);
  EXPECT_EQ(update.bottom - update.top, 20);
  messageLog().clear();
  UpdateWindow(parent);
  EXPECT_EQ(countLogged(parent, WM_PAINT), 1);
  EXPECT_EQ(countLogged(parent, WM_ERASEBKGND), 0);
}

TEST_F(Compose, TransparentControlShowsParentUnderItsImage) {
  HWND parent = makeParent(true);
  writeProperty(parent, kFillProperty, static_cast<intptr_t>(RGB(0, 128, 0)));
  InvalidateRect(parent, nullptr, FALSE);
  HWND control = addChild(parent, "STATIC", 0, 30, 40, 40, 20);
  PngControlBase box;
  ASSERT_TRUE(box.bind(control));
  writeProperty(control, kPropType, kKindPicture);
  ASSERT_TRUE(subclassWindow(control, paintingKindProc));
  // Left half opaque red, right half transparent.
  UniqueGpImage image = makeImage(40, 20, [](int x, int) { return x < 20 ? kOpaqueRed : 0u; });
  writeProperty(control, kPropBackImage, reinterpret_cast<intptr_t>(image.get()));
  refreshInParent(control);
  pumpMessages();
  EXPECT_TRUE(pixelNear(windowPixel(control, 5, 10), kRed, 5, 10));
  EXPECT_TRUE(pixelNear(windowPixel(control, 30, 10), 0x008000, 30, 10));
  EXPECT_TRUE(pixelNear(windowPixel(parent, 10, 10), 0x008000, 10, 10));

  // The parent's new colour reaches the control's background at the next refresh.
  writeProperty(parent, kFillProperty, static_cast<intptr_t>(RGB(0, 0, 160)));
  refreshInParent(control);
  pumpMessages();
  EXPECT_TRUE(pixelNear(windowPixel(control, 30, 10), 0x0000A0, 30, 10));
  EXPECT_TRUE(pixelNear(windowPixel(control, 5, 10), kRed, 5, 10));
  // Only the area under the control was repainted.
  EXPECT_TRUE(pixelNear(windowPixel(parent, 10, 10), 0x008000, 10, 10));
}

struct ToolRecord {
  bool found = false;
  UINT flags = 0;
  RECT rect{};
  std::string text;
};

ToolRecord toolOf(HWND control) {
  ToolRecord record;
  char text[256] = {};
  TTTOOLINFOA tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = control;
  tool.uId = 0;
  tool.lpszText = text;
  record.found = SendMessageA(toolTipWindow(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
  record.flags = tool.uFlags;
  record.rect = tool.rect;
  text[0] = 0;
  tool.lpszText = text;
  SendMessageA(toolTipWindow(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
  record.text = text;
  return record;
}

TEST_F(ToolTip, FirstCallCreatesTheSharedWindow) {
  HWND parent = makeParent(false);
  PngControlBase a;
  PngControlBase b;
  ASSERT_TRUE(a.bind(addChild(parent, "STATIC", 0, 10, 10, 40, 20)));
  ASSERT_TRUE(b.bind(addChild(parent, "BUTTON", 0, 60, 10, 40, 20)));
  a.setToolTip("first");
  HWND tip = toolTipWindow();
  ASSERT_TRUE(IsWindow(tip));
  char className[64] = {};
  GetClassNameA(tip, className, sizeof(className));
  EXPECT_STREQ(className, TOOLTIPS_CLASSA);
  EXPECT_TRUE(exStyleOf(tip) & WS_EX_TOPMOST);
  EXPECT_EQ(GetParent(tip), nullptr);
  EXPECT_EQ(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 1024);
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

  b.setToolTip("second");
  EXPECT_EQ(toolTipWindow(), tip);
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
  EXPECT_EQ(toolOf(a.handle()).text, "first");
  EXPECT_EQ(toolOf(b.handle()).text, "second");
}

TEST_F(ToolTip, SecondCallOnlyReplacesTheText) {
  HWND parent = makeParent(false);
  PngControlBase box;
  ASSERT_TRUE(box.bind(addChild(parent, "STATIC", 0, 10, 10, 40, 20)));
  box.setToolTip("备忘条", 1);
  EXPECT_EQ(box.property(kPropToolTips), 1);
  const ToolRecord first = toolOf(box.handle());
  ASSERT_TRUE(first.found);
  EXPECT_EQ(first.flags & (TTF_SUBCLASS | TTF_CENTERTIP), static_cast<UINT>(TTF_SUBCLASS));
  EXPECT_EQ(first.rect.right, 40);
  EXPECT_EQ(first.rect.bottom, 20);
  EXPECT_EQ(first.text, "备忘条");

  SetWindowPos(box.handle(), nullptr, 0, 0, 90, 30, SWP_NOMOVE | SWP_NOZORDER);
  box.setToolTip("second line\nthird", 0);
  const ToolRecord second = toolOf(box.handle());
  EXPECT_EQ(SendMessageA(toolTipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(second.flags, first.flags) << "placement changed by a later call";
  EXPECT_EQ(second.rect.right, 40);
  EXPECT_EQ(second.rect.bottom, 20);
  EXPECT_EQ(second.text, "second line\nthird");
}

TEST_F(ToolTip, LowestPlacementBitChoosesCentring) {
  HWND parent = makeParent(false);
  struct Case {
    int placement;
    bool centred;
  };
  const Case cases[] = {{1, false}, {0, true}, {2, true}, {3, false}, {-1, false}};
  int x = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.placement);
    PngControlBase box;
    ASSERT_TRUE(box.bind(addChild(parent, "STATIC", 0, x, 10, 20, 20)));
    x += 25;
    box.setToolTip("tip", c.placement);
    const ToolRecord tool = toolOf(box.handle());
    ASSERT_TRUE(tool.found);
    EXPECT_TRUE(tool.flags & TTF_SUBCLASS);
    EXPECT_EQ((tool.flags & TTF_CENTERTIP) != 0, c.centred);
  }
}

TEST_F(ToolTip, UnboundObjectRegistersNoTool) {
  HWND parent = makeParent(false);
  PngControlBase bound;
  ASSERT_TRUE(bound.bind(addChild(parent, "STATIC", 0, 10, 10, 40, 20)));
  bound.setToolTip("somebody");
  ASSERT_TRUE(toolTipWindow());
  PngControlBase unbound;
  unbound.setToolTip("nobody");
  EXPECT_EQ(SendMessageA(toolTipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_FALSE(toolOf(nullptr).found);
}

TEST_F(Move, KeepsWhatIsNotGiven) {
  HWND parent = makeParent(false);
  HWND control = addChild(parent, "STATIC", 0, 10, 20, 40, 30);
  installLogger(control);
  PngControlBase box;
  ASSERT_TRUE(box.bind(control));
  constexpr UINT kWatched = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW;
  using O = std::optional<int>;
  struct Case {
    const char* name;
    O left, top, width, height;
    bool noRedraw;
    RECT expected;  // left, top, right, bottom in the parent's client area
    UINT flags;
  };
  const Case cases[] = {
      {"only top", {}, 5, {}, {}, false, {10, 5, 50, 35}, SWP_NOZORDER | SWP_NOSIZE},
      {"only left", 70, {}, {}, {}, false, {70, 5, 110, 35}, SWP_NOZORDER | SWP_NOSIZE},
      {"only width", {}, {}, 60, {}, false, {70, 5, 130, 35}, SWP_NOZORDER | SWP_NOMOVE},
      {"only height", {}, {}, {}, 12, true, {70, 5, 130, 17},
       SWP_NOZORDER | SWP_NOMOVE | SWP_NOREDRAW},
      {"everything", 1, 2, 3, 4, false, {1, 2, 4, 6}, SWP_NOZORDER},
      {"left and height", 8, {}, {}, 9, true, {8, 2, 11, 11}, SWP_NOZORDER | SWP_NOREDRAW},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messageLog().clear();
    box.move(c.left, c.top, c.width, c.height, c.noRedraw);
    auto pos = lastLogged(control, WM_WINDOWPOSCHANGING);
    ASSERT_TRUE(pos);
    EXPECT_EQ(pos->positionFlags & kWatched, c.flags);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }

  // Nothing given moves and sizes nothing.
  messageLog().clear();
  box.move();
  auto pos = lastLogged(control, WM_WINDOWPOSCHANGING);
  if (pos) {
    EXPECT_EQ(pos->positionFlags & (SWP_NOMOVE | SWP_NOSIZE),
              static_cast<UINT>(SWP_NOMOVE | SWP_NOSIZE));
  }
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 8);
  EXPECT_EQ(r.top, 2);
}

TEST_F(Move, TopLevelControlUsesScreenCoordinates) {
  HWND owner = makeParent(false);
  HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP, 400, 420, 40, 20, owner, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  windows_.emplace_back(popup);
  PngControlBase box;
  ASSERT_TRUE(box.bind(popup));
  box.move(450);
  RECT r{};
  GetWindowRect(popup, &r);
  EXPECT_EQ(r.left, 450);
  EXPECT_EQ(r.top, 420);
}

}  // namespace
