// Runs the toolkit tests with GDI+ started for the whole run.
#include <gtest/gtest.h>

#include "skin/native_handles_win.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 2;
  const int result = RUN_ALL_TESTS();
  Gdiplus::GdiplusShutdown(token);
  return result;
}
