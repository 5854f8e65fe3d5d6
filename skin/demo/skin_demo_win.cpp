// Shows the toolkit at work: a layered window with a background, row bars,
// image buttons and skinned edit boxes, for looking at by screenshot.
// Usage: skin_demo.exe ASSETS_DIR [SECONDS]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/edit_box_win.h"
#include "skin/image_button_win.h"
#include "skin/image_loading_win.h"
#include "skin/layered_surface_win.h"
#include "skin/picture_box_win.h"
#include "skin/toolkit_start_win.h"

namespace {

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: skin_demo ASSETS_DIR [SECONDS]\n");
    return 2;
  }
  const std::string strip = std::string(argv[1]) + "\\strip\\";
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 0;
  startToolkit();
  auto image = [&](const char* name) { return loadImageFromBytes(readFile(strip + name)); };
  UniqueGpImage background = image("background_03.png"), bar = image("bar_normal.png"),
                redBar = image("bar_red.png"), add = image("add_normal.png"), help = image("help_normal.png"),
                close = image("close_normal.png"), clockOff = image("clock_off.png"), clockOn = image("clock_on.png"),
                remove = image("delete_hover.png");

  HWND window = CreateWindowExA(0, "Static", "skin demo", WS_POPUP, 400, 300, 208, 86, nullptr, nullptr, nullptr,
                                nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  PngLayeredWindow surface;
  surface.bindSurface(window);
  surface.setBackImage(background.get());
  PngButton addButton, helpButton, closeButton;
  addButton.create(window, 144, 1, 32, 15, "add");
  addButton.setImages(add.get());
  helpButton.create(window, 173, -2, 20, 20, "help");
  helpButton.setImages(help.get());
  closeButton.create(window, 189, 0, 20, 20, "close");
  closeButton.setImages(close.get());

  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  const char* texts[] = {"青岚映辉   碧溪奔腾", "请在此输入", "十点开会"};
  for (int row = 0; row < 3; ++row) {
    const int top = 26 + 20 * row;
    PngPictureBox().bindPicture(
        CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE, 0, top, 208, 20, window, nullptr, nullptr, nullptr),
        row == 2 ? redBar.get() : bar.get());
    HWND edit = CreateWindowExA(0, "Edit", texts[row], WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 6, top + 1, 170, 20,
                                window, nullptr, nullptr, nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    PngEditBox box;
    box.bindEdit(edit);
    box.setBackColor(kNoColour);
    box.setBorderColor(kNoColour);
    box.setTextColor(0xFFFFFF);
    PngButton clock;
    clock.create(window, 171, top + 1, 18, 18, "reminder");
    clock.setImages(row == 2 ? clockOn.get() : clockOff.get());
    if (row > 0) {
      PngButton removeButton;
      removeButton.create(window, 189, top + 2, 16, 16, "delete");
      removeButton.setImages(remove.get());
    }
  }
  surface.refresh();

  if (seconds > 0) SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && !msg.hwnd) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  DestroyWindow(window);
  DeleteObject(font);
  return 0;
}
