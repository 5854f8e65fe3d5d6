#include <algorithm>
#include <map>

#include "assets/resource_ids.h"
#include "reminder/due_check.h"
#include "strip/strip_win.h"

namespace {

constexpr int kRowHeight = 20;
constexpr int kHeaderHeight = 26;
constexpr int kStripWidth = 207;
constexpr std::size_t kMemoTextLimit = 26;

UniqueGpImage decode(int resource) { return loadImageFromBytes(embeddedBytes(resource)); }

Gdiplus::GpImage* background(int rows) {
  auto& kept = strip().backgrounds[static_cast<std::size_t>(rows - 1)];
  if (!kept) kept = decode(stripBackgroundId(rows));
  return kept.get();
}

// The template's controls by name, looked up once: the control list grows
// with every row.
ControlRef templateControl(const char* name) {
  static std::map<std::string, ControlRef, std::less<>> found;
  auto it = found.find(name);
  if (it != found.end()) return it->second;
  const ControlRef control = findControl(strip().window, name).value_or(ControlRef{});
  found.emplace(name, control);
  return control;
}

// The row (1-based) whose control in `controls` is the sender, or whose
// template control it is; 0 when none.
std::size_t rowOfSender(const char* templateName, const std::vector<ControlRef>& controls) {
  const ControlRef sender = eventSender();
  if (sender == templateControl(templateName)) return 1;
  auto it = std::find(controls.begin(), controls.end(), sender);
  return it == controls.end() ? 0 : static_cast<std::size_t>(it - controls.begin()) + 2;
}

void setClockLook(PngButton& clock, bool timerOn) {
  StripState& s = strip();
  clock.setImages(timerOn ? s.clockOnImage.get() : s.clockOffImage.get(), s.clockHoverImage.get(),
                  s.clockPressedImage.get());
}

// Keeps the memo of the edited row current at every change.
void onMemoTextChanged() {
  StripState& s = strip();
  if (s.building) return;  // construction sets the memos itself
  const std::size_t row = rowOfSender(kMemoEdit, s.editControls);
  if (row == 0) return;
  const ControlRef edit = eventSender();
  const std::string text = controlText(edit);
  // The edit boxes refuse "&" and "\", typed or pasted: see withoutItemDelimiters.
  const std::string kept = withoutItemDelimiters(text);
  if (kept != text) {
    HWND handle = controlHandle(edit);
    DWORD caret = 0;
    SendMessageA(handle, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    setControlText(edit, kept);  // comes back here once more, with the clean text
    const DWORD removed = static_cast<DWORD>(text.size() - kept.size());
    const DWORD at = caret > removed ? caret - removed : 0;
    SendMessageA(handle, EM_SETSEL, at, at);
    return;
  }
  s.memos.update(row, [&](MemoItem& memo) { memo.text = kept; });
}

void showFramesOfDueRows(DateTime moment) {
  StripState& s = strip();
  const std::vector<MemoItem> memos = s.memos.snapshot();
  const auto due = findDueMemos(memos, moment);
  if (due.empty()) return;
  for (std::size_t row : due) {
    rowBar(row).setBackImage(isTrue(memos[row - 1].yellowFrame) ? s.yellowFrameImage.get()
                                                                  : s.redFrameImage.get());
    s.framedBars.push_back(rowBar(row).handle());
  }
  s.stripSurface.refresh();
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  showBalloon(templateControl(kBalloonTip), {width - 20, height - 28}, kBalloonText, 0);
}

void restoreBarsOfDueRows(DateTime moment) {
  StripState& s = strip();
  const auto due = findDueMemos(s.memos.snapshot(), moment);
  bool restored = !due.empty();
  for (std::size_t row : due) rowBar(row).setBackImage(s.normalBarImage.get());
  for (std::size_t row = 1; row <= static_cast<std::size_t>(s.rowCount) && !s.framedBars.empty(); ++row) {
    PngPictureBox& bar = rowBar(row);
    if (std::find(s.framedBars.begin(), s.framedBars.end(), bar.handle()) == s.framedBars.end()) continue;
    bar.setBackImage(s.normalBarImage.get());
    restored = true;
  }
  s.framedBars.clear();
  if (restored) s.stripSurface.refresh();
}

void loadImages() {
  StripState& s = strip();
  s.normalBarImage = decode(kResBarNormal);
  s.redFrameImage = decode(kResBarRed);
  s.yellowFrameImage = decode(kResBarYellow);
  s.clockOffImage = decode(kResClockOff);
  s.clockOnImage = decode(kResClockOn);
  s.clockHoverImage = decode(kResClockHover);
  s.clockPressedImage = decode(kResClockPressed);
  s.deleteNormalImage = decode(kResDeleteNormal);
  s.deleteHoverImage = decode(kResDeleteHover);
  s.deletePressedImage = decode(kResDeletePressed);
}

void bindHeaderButton(PngButton& button, const char* name, int normal, int hover, int pressed) {
  button.bindButton(controlHandle(templateControl(name)));
  button.setImagesFromBytes(embeddedBytes(normal), embeddedBytes(hover), embeddedBytes(pressed));
}

void fillRow(std::size_t row, const MemoItem& memo, ControlRef edit) {
  if (isTrue(memo.timerOn)) setClockLook(rowClock(row), true);
  setControlText(edit, memo.text);
  rowEdit(row).setTextColor(memo.textColor);
}

void buildStrip(int window) {
  StripState& s = strip();
  s.window = window;
  s.building = true;
  s.trayIcon = loadTrayIcon(16);
  setTrayIcon(window, s.trayIcon.get(), kTrayTip);
  s.defaultTextColor = readDefaultTextColor();
  s.rowCount = 1;
  s.stripHeight = 46;
  const auto [left, top] = readStartPosition();
  moveWindow(window, left, top);
  s.storedItems = splitText(readSetting(kKeyMemoItems), '\\');
  std::erase(s.storedItems, std::string());  // "\\" holds no memo
  loadImages();

  s.stripSurface.bindSurface(windowHandle(window));
  bindHeaderButton(s.addButton, kAddButton, kResAddNormal, kResAddHover, kResAddPressed);
  bindHeaderButton(s.helpButton, kHelpButton, kResHelpNormal, kResHelpHover, kResHelpPressed);
  bindHeaderButton(s.closeButton, kCloseButton, kResCloseNormal, kResCloseHover, kResClosePressed);
  s.firstRowClock.bindButton(controlHandle(templateControl(kClockButton)));
  setClockLook(s.firstRowClock, false);
  s.firstRowBar.bindPicture(controlHandle(templateControl(kBar)));
  s.firstRowBar.setBackImage(s.normalBarImage.get());
  s.firstRowEdit.bindEdit(controlHandle(templateControl(kMemoEdit)));
  s.firstRowEdit.setBackColor(kNoColour);
  s.firstRowEdit.setBorderColor(kNoColour);

  MemoItem first = s.storedItems.empty() ? makeFirstRunMemo(s.defaultTextColor)
                                         : parseMemoItem(s.storedItems[0], s.defaultTextColor);
  s.memos.assign({first});
  fillRow(1, first, templateControl(kMemoEdit));
  s.stripSurface.refresh();

  for (std::size_t i = 2; i <= s.storedItems.size(); ++i) {
    addRow();
    MemoItem memo = parseMemoItem(s.storedItems[i - 1], s.defaultTextColor);
    s.memos.replace(i, memo);
    fillRow(i, memo, s.editControls[i - 2]);
  }
  s.building = false;
  s.stripSurface.move(std::nullopt, std::nullopt, kStripWidth, s.stripHeight);
  applyRowBackground();
  s.stripSurface.refresh();
  s.reminder.start(windowHandle(window), s.memos);
}

bool onStripMessage(int, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case kMsgFlashDueRows:
      showFramesOfDueRows(momentOf(wParam));
      return true;
    case kMsgRestoreDueRows:
      restoreBarsOfDueRows(momentOf(wParam));
      return true;
    default:
      return false;
  }
}

}  // namespace

StripState& strip() {
  static auto* state = new StripState;  // the reminder thread is stopped before the process ends
  return *state;
}

PngPictureBox& rowBar(std::size_t row) { return row == 1 ? strip().firstRowBar : strip().barPictures[row - 2]; }
PngEditBox& rowEdit(std::size_t row) { return row == 1 ? strip().firstRowEdit : strip().editBoxes[row - 2]; }
PngButton& rowClock(std::size_t row) { return row == 1 ? strip().firstRowClock : strip().clockButtons[row - 2]; }

WindowTemplate stripTemplate() {
  WindowTemplate form;
  form.title = kStripTitle;
  form.left = 50;
  form.top = 50;
  form.width = kStripWidth;
  form.height = 46;
  form.dragByBackground = true;
  // Button texts are never drawn; screen readers announce them.
  form.controls = {
      {kAddButton, ControlKind::kButton, 144, 1, 32, 15, "添加备忘"},
      {kHelpButton, ControlKind::kButton, 173, -2, 20, 20, "帮助"},
      {kCloseButton, ControlKind::kButton, 189, 0, 20, 20, "关闭"},
      {kBalloonTip, ControlKind::kBalloonTip, 56, 0, 16, 16, ""},
      {kBar, ControlKind::kButton, 0, 26, 208, 20, ""},
      {kMemoEdit, ControlKind::kEdit, 6, 27, 170, 20, "请输入...", true, 0, static_cast<int>(kMemoTextLimit)},
      {kClockButton, ControlKind::kButton, 171, 27, 18, 18, "定时提醒"},
      {kDeleteButton, ControlKind::kButton, 189, 28, 16, 16, "删除此条", false},
  };
  return form;
}

WindowHandlers stripHandlers() {
  WindowHandlers handlers;
  handlers.created = buildStrip;
  handlers.positionChanged = saveStripPosition;
  handlers.deactivated = [](int) { saveMemoList(); };
  handlers.sessionEnding = [](int) { saveMemoList(); };
  handlers.trayEvent = onTrayEvent;
  // However the strip closes (its button, Alt+F4, the task list), what was typed is kept.
  handlers.willBeDestroyed = [](int window) {
    saveMemoList();
    removeTrayIcon(window);
  };
  handlers.clicked[kAddButton] = addRow;
  handlers.clicked[kDeleteButton] = deleteMemoRow;
  handlers.clicked[kCloseButton] = closeStrip;
  handlers.clicked[kHelpButton] = showHelp;
  handlers.clicked[kClockButton] = openReminderSettings;
  handlers.lostFocus[kMemoEdit] = storeRowText;
  handlers.textChanged[kMemoEdit] = onMemoTextChanged;
  handlers.otherMessage = onStripMessage;
  return handlers;
}

void addRow() {
  StripState& s = strip();
  s.rowCount += 1;
  s.stripHeight += kRowHeight;
  // Construction sizes the window once, for its last row.
  if (!s.building) s.stripSurface.move(std::nullopt, std::nullopt, kStripWidth, s.stripHeight);
  applyRowBackground();

  const int barTop = s.stripHeight - 20;
  const int rowTop = s.stripHeight - 19;
  auto copyOf = [](const char* name, int top) {
    ControlRef copy = copyControl(templateControl(name)).value_or(ControlRef{});
    setControlVisible(copy, true);
    moveControl(copy, std::nullopt, top);
    return copy;
  };

  s.barControls.push_back(copyOf(kBar, barTop));
  s.barPictures.emplace_back().bindPicture(controlHandle(s.barControls.back()));
  s.barPictures.back().setBackImage(s.normalBarImage.get());

  s.editControls.push_back(copyOf(kMemoEdit, rowTop));
  PngEditBox& edit = s.editBoxes.emplace_back();
  edit.bindEdit(controlHandle(s.editControls.back()));
  edit.setBackColor(kNoColour);
  edit.setBorderColor(kNoColour);
  edit.setTextColor(s.defaultTextColor);

  s.deleteControls.push_back(copyOf(kDeleteButton, rowTop));
  PngButton& remove = s.deleteButtons.emplace_back();
  remove.bindButton(controlHandle(s.deleteControls.back()));
  remove.setImages(s.deleteNormalImage.get(), s.deleteHoverImage.get(), s.deletePressedImage.get());

  s.clockControls.push_back(copyOf(kClockButton, rowTop));
  PngButton& clock = s.clockButtons.emplace_back();
  clock.bindButton(controlHandle(s.clockControls.back()));
  setClockLook(clock, false);

  const MemoItem memo = makeNewRowMemo(s.defaultTextColor);
  s.memos.append(memo);
  // Construction fills the row with its stored memo next.
  if (!s.building) setControlText(s.editControls.back(), memo.text);
  s.stripSurface.refresh();
}

void applyRowBackground() {
  StripState& s = strip();
  // During construction only the last row count is ever seen.
  if (s.building) return;
  if (s.rowCount >= 1 && s.rowCount <= kMaxRowBackgrounds) s.stripSurface.setBackImage(background(s.rowCount));
}

void deleteMemoRow() {
  StripState& s = strip();
  HWND sender = controlHandle(eventSender());
  std::size_t p = 0;
  while (p < s.deleteControls.size() && controlHandle(s.deleteControls[p]) != sender) ++p;
  if (p == s.deleteControls.size()) return;  // not a row's delete button: delete nothing

  destroyControl(s.editControls[p]);
  destroyControl(s.barControls[p]);
  destroyControl(s.deleteControls[p]);
  destroyControl(s.clockControls[p]);
  const auto at = [p](auto& rows) { rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(p)); };
  at(s.editControls);
  at(s.editBoxes);
  at(s.barControls);
  at(s.barPictures);
  at(s.deleteControls);
  at(s.deleteButtons);
  at(s.clockControls);
  at(s.clockButtons);
  s.memos.remove(p + 2);
  s.stripSurface.refresh();
  closeRowGap(p);
}

void closeRowGap(std::size_t p) {
  StripState& s = strip();
  for (std::size_t j = p; j < s.barControls.size(); ++j) {
    for (ControlRef control : {s.barControls[j], s.editControls[j], s.deleteControls[j], s.clockControls[j]}) {
      moveControl(control, std::nullopt, controlRect(control).top - kRowHeight);
    }
  }
  s.rowCount -= 1;
  s.stripHeight -= kRowHeight;
  s.stripSurface.move(std::nullopt, std::nullopt, std::nullopt, s.stripHeight);
  s.stripSurface.refresh();
  applyRowBackground();
}

void saveStripPosition(int window) {
  if (strip().building) return;  // the start-up move writes nothing
  const RECT rect = windowRect(window);
  writeSetting(kKeyStartX, integerToText(rect.left));
  writeSetting(kKeyStartY, integerToText(rect.top));
}

void storeRowText() {
  StripState& s = strip();
  const std::size_t row = rowOfSender(kMemoEdit, s.editControls);
  if (row == 0) return;
  const std::string text = controlText(eventSender());
  s.memos.update(row, [&](MemoItem& memo) { memo.text = text; });
}

void saveMemoList() {
  if (strip().building) return;
  writeSetting(kKeyMemoItems, strip().memos.serialize());
}

void onTrayEvent(int window, int action) {
  if (action != kTrayDoubleClick) return;
  const RECT rect = windowRect(window);
  // A strip left wholly off every monitor (one was unplugged) comes back first.
  if (!MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) {
    MONITORINFO info{sizeof info, {}, {}, 0};
    GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& work = info.rcWork;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    moveWindow(window, std::clamp(rect.left, work.left, std::max(work.left, work.right - width)),
               std::clamp(rect.top, work.top, std::max(work.top, work.bottom - height)));
  }
  raiseWindow(window);
}

void closeStrip() { destroyWindow(strip().window); }

void removeTrayIcon(int window) {
  strip().reminder.stop();
  clearTrayIcon(window);
}
