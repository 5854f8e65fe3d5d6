#include "skin/toolkit_start_win.h"

#include <mutex>

#include "skin/image_loading_win.h"
#include "skin/load_dialog_win.h"
#include "skin/native_handles_win.h"

namespace {

ULONG_PTR gToken = 0;
GUID gTimeFrameDimension{};
std::once_flag gStarted;

}  // namespace

void startToolkit() {
  std::call_once(gStarted, [] {
    Gdiplus::GdiplusStartupInput input(nullptr, FALSE, FALSE);
    Gdiplus::GdiplusStartup(&gToken, &input, nullptr);

    const std::wstring text = toWide("{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}");
    CLSIDFromString(text.c_str(), &gTimeFrameDimension);

    registerLoadDialogClass();
  });
}

ULONG_PTR gdiplusToken() { return gToken; }

const GUID& timeFrameDimension() { return gTimeFrameDimension; }
