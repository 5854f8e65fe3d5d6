// The memo strip: its template, its state and the handlers of its window.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "host/embedded_resources_win.h"
#include "host/form_runtime_win.h"
#include "memo/memo_store.h"
#include "reminder/reminder_loop_win.h"
#include "skin/skin_win.h"

inline constexpr const char* kStripTitle = "青岚碧溪备忘条";
inline constexpr const char* kTrayTip = "青岚碧溪备忘条v2.0";
inline constexpr const char* kBalloonText = "备忘条提醒您：时间到了！";
inline constexpr int kMaxRowBackgrounds = 41;

// Template control names.
inline constexpr const char* kAddButton = "添加按钮";
inline constexpr const char* kHelpButton = "帮助按钮";
inline constexpr const char* kCloseButton = "关闭按钮";
inline constexpr const char* kBalloonTip = "气球提示框1";
inline constexpr const char* kBar = "底条按钮";
inline constexpr const char* kMemoEdit = "编辑框1";
inline constexpr const char* kClockButton = "时钟按钮";
inline constexpr const char* kDeleteButton = "删除按钮";

// Everything the strip's handlers share. Element k of each row array belongs
// to row k + 2 (the vectors are 0-based; row 1 is the template's own controls).
struct StripState {
  MemoList memos;
  int rowCount = 1;
  int stripHeight = 46;
  std::int32_t defaultTextColor = kWhite;
  int window = 0;
  bool building = false;  // construction: nothing is saved, no background decoded

  // Decoded once and kept for the run: bars, clock and delete looks, and the
  // backgrounds by row count as they are first needed.
  UniqueGpImage normalBarImage, redFrameImage, yellowFrameImage;
  UniqueGpImage clockOffImage, clockOnImage, clockHoverImage, clockPressedImage;
  UniqueGpImage deleteNormalImage, deleteHoverImage, deletePressedImage;
  std::array<UniqueGpImage, kMaxRowBackgrounds> backgrounds;
  UniqueIcon trayIcon;

  PngLayeredWindow stripSurface;
  PngButton addButton, helpButton, closeButton;
  PngPictureBox firstRowBar;
  PngEditBox firstRowEdit;
  PngButton firstRowClock;

  std::vector<ControlRef> barControls, editControls, deleteControls, clockControls;
  std::vector<PngPictureBox> barPictures;
  std::vector<PngEditBox> editBoxes;
  std::vector<PngButton> deleteButtons, clockButtons;
  std::vector<std::string> storedItems;
  // Bars the last flash framed: the plain bar comes back on each of them even
  // when its memo stopped being due meanwhile (its time was changed).
  std::vector<HWND> framedBars;

  ReminderLoop reminder;
};

StripState& strip();

WindowTemplate stripTemplate();
WindowHandlers stripHandlers();

void addRow();
void applyRowBackground();
void deleteMemoRow();
void closeRowGap(std::size_t p);
void saveStripPosition(int window);
void storeRowText();
void saveMemoList();
void onTrayEvent(int window, int action);
void closeStrip();
void removeTrayIcon(int window);
void showHelp();
void openReminderSettings();

// The objects of row `row` (1-based).
PngPictureBox& rowBar(std::size_t row);
PngEditBox& rowEdit(std::size_t row);
PngButton& rowClock(std::size_t row);
