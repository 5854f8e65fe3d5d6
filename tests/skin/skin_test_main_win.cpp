// Runs the toolkit tests with the toolkit started as the program starts it:
// GDI+ once for the whole run, never shut down.
#include <gtest/gtest.h>

#include "skin/toolkit_start_win.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  startToolkit();
  if (gdiplusToken() == 0) return 2;
  return RUN_ALL_TESTS();
}
