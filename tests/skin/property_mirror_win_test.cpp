#include <gtest/gtest.h>

#include "skin/control_base_win.h"
#include "skin/property_mirror_win.h"

namespace {

TEST(PropertyMirror, ReadsWhatTheToolkitWroteAndWhatOthersSet) {
  UniqueWindow window(CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(window);
  // Never written by the toolkit: read from the window itself.
  SetPropA(window.get(), kPropBackType, reinterpret_cast<HANDLE>(2));
  EXPECT_FALSE(mirroredProperty(window.get(), kPropBackType).has_value());
  EXPECT_EQ(readProperty(window.get(), kPropBackType), 2);

  writeProperty(window.get(), kPropBackColor, -1);
  EXPECT_EQ(readProperty(window.get(), kPropBackColor), -1);
  EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropA(window.get(), kPropBackColor)), -1) << "the property itself is set";
  removeProperty(window.get(), kPropBackColor);
  EXPECT_EQ(readProperty(window.get(), kPropBackColor), 0);
  EXPECT_EQ(GetPropA(window.get(), kPropBackColor), nullptr);

  writeProperty(window.get(), kPropTextColor, 255);
  releaseControlProperties(window.get());
  EXPECT_FALSE(mirroredProperty(window.get(), kPropTextColor).has_value()) << "forgotten with the properties";
  EXPECT_EQ(readProperty(window.get(), kPropTextColor), 0);
}

TEST(PropertyMirror, WritesToADestroyedWindowLeaveNoCopy) {
  HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(window);
  writeProperty(window, kPropType, 3);
  EXPECT_FALSE(mirroredProperty(window, kPropType).has_value());
  EXPECT_EQ(readProperty(window, kPropType), 0);
}

}  // namespace
