// The program's resources read back from this executable, which links them
// exactly as the program does.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/resource_ids.h"
#include "host/embedded_resources_win.h"
#include "skin/image_loading_win.h"
#include "skin/toolkit_start_win.h"

namespace {

namespace gp = Gdiplus::DllExports;

struct Embedded {
  int id;
  std::string file;  // relative to assets/
  unsigned width;
  unsigned height;
};

std::vector<Embedded> everyEmbeddedImage() {
  std::vector<Embedded> images;
  for (int rows = 1; rows <= kStripBackgroundCount; ++rows) {
    char name[32];
    std::snprintf(name, sizeof name, "strip/background_%02d.png", rows);
    images.push_back({stripBackgroundId(rows), name, 208, static_cast<unsigned>(46 + 20 * (rows - 1))});
  }
  const std::vector<Embedded> fixed = {
      {kResBarNormal, "strip/bar_normal.png", 207, 20},
      {kResBarRed, "strip/bar_red.png", 207, 20},
      {kResBarYellow, "strip/bar_yellow.png", 207, 20},
      {kResAddNormal, "strip/add_normal.png", 32, 15},
      {kResAddHover, "strip/add_hover.png", 32, 15},
      {kResAddPressed, "strip/add_pressed.png", 32, 15},
      {kResHelpNormal, "strip/help_normal.png", 20, 20},
      {kResHelpHover, "strip/help_hover.png", 20, 20},
      {kResHelpPressed, "strip/help_pressed.png", 20, 20},
      {kResCloseNormal, "strip/close_normal.png", 20, 20},
      {kResCloseHover, "strip/close_hover.png", 20, 20},
      {kResClosePressed, "strip/close_pressed.png", 20, 20},
      {kResClockOff, "strip/clock_off.png", 17, 17},
      {kResClockOn, "strip/clock_on.png", 17, 17},
      {kResClockHover, "strip/clock_hover.png", 17, 17},
      {kResClockPressed, "strip/clock_pressed.png", 17, 17},
      {kResDeleteNormal, "strip/delete_normal.png", 16, 16},
      {kResDeleteHover, "strip/delete_hover.png", 16, 16},
      {kResDeletePressed, "strip/delete_pressed.png", 16, 16},
      {kResAboutFace, "about/face.png", 427, 284},
      {kResAboutCloseNormal, "about/close_normal.png", 61, 35},
      {kResAboutCloseHover, "about/close_hover.png", 61, 35},
      {kResAboutClosePressed, "about/close_pressed.png", 61, 35},
      {kResProductCentreNormal, "about/product_centre_normal.png", 322, 20},
      {kResProductCentreHover, "about/product_centre_hover.png", 322, 20},
      {kResProductCentrePressed, "about/product_centre_pressed.png", 322, 20},
      {kResColourNormal, "about/colour_normal.png", 16, 16},
      {kResColourHover, "about/colour_hover.png", 16, 16},
      {kResColourPressed, "about/colour_pressed.png", 16, 16},
      {kResOnlineContactOnNormal, "about/online_contact_on_normal.png", 78, 25},
      {kResOnlineContactOnHover, "about/online_contact_on_hover.png", 78, 25},
      {kResOnlineContactOnPressed, "about/online_contact_on_pressed.png", 78, 25},
      {kResOnlineContactOffNormal, "about/online_contact_off_normal.png", 78, 25},
      {kResOnlineContactOffHover, "about/online_contact_off_hover.png", 78, 25},
      {kResOnlineContactOffPressed, "about/online_contact_off_pressed.png", 78, 25},
  };
  images.insert(images.end(), fixed.begin(), fixed.end());
  return images;
}

std::vector<std::uint8_t> readAsset(const std::string& file) {
  std::ifstream in(std::string(EMBEDDED_ASSETS_DIR) + "/" + file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(EmbeddedBytes, EveryImageIsItsFileAndDecodesToItsSize) {
  const auto images = everyEmbeddedImage();
  ASSERT_EQ(images.size(), 76u);  // 60 strip images and 16 of the about window
  for (const Embedded& image : images) {
    SCOPED_TRACE(image.file + " id " + std::to_string(image.id));
    const auto bytes = embeddedBytes(image.id);
    ASSERT_FALSE(bytes.empty());
    // Same size and same bytes: a swapped hover/pressed pair would pass a size check alone.
    const auto file = readAsset(image.file);
    ASSERT_FALSE(file.empty()) << "cannot read the asset file";
    EXPECT_TRUE(std::vector<std::uint8_t>(bytes.begin(), bytes.end()) == file);
    UniqueGpImage decoded = loadImageFromBytes(bytes);
    ASSERT_TRUE(decoded);
    UINT width = 0, height = 0;
    gp::GdipGetImageWidth(decoded.get(), &width);
    gp::GdipGetImageHeight(decoded.get(), &height);
    EXPECT_EQ(width, image.width);
    EXPECT_EQ(height, image.height);
  }
}

TEST(EmbeddedBytes, IdsAreDistinct) {
  const auto images = everyEmbeddedImage();
  for (std::size_t i = 0; i < images.size(); ++i)
    for (std::size_t j = i + 1; j < images.size(); ++j) EXPECT_NE(images[i].id, images[j].id) << images[j].file;
}

TEST(EmbeddedBytes, AnIdWithoutImageGivesNothing) {
  struct Case {
    int id;
    const char* why;
  };
  const Case cases[] = {
      {stripBackgroundId(0), "below the first background"},
      {stripBackgroundId(kStripBackgroundCount + 1), "past the last background"},
      {999, "never used"},
      {kResTrayIcon, "an icon, not raw data"},
      {0, "zero"},
      {-1, "negative"},
      {0x10000, "wider than a resource number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const auto bytes = embeddedBytes(c.id);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(bytes.data(), nullptr);
  }
}

TEST(TrayIcon, LoadsAtTheTraySizesAsAlphaIcons) {
  for (int size : {16, 32}) {
    SCOPED_TRACE("size " + std::to_string(size));
    UniqueIcon icon = loadTrayIcon(size);
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    BITMAP colour{};
    ASSERT_NE(info.hbmColor, nullptr);
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_TRUE(info.fIcon);
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    EXPECT_EQ(colour.bmBitsPixel, 32);

    // Drawn over white: the round emblem covers the centre and leaves the corner.
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    UniqueBitmap target(CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(target);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(dc.get(), target.get());
    RECT all{0, 0, size, size};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(DrawIconEx(dc.get(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL));
    GdiFlush();
    SelectObject(dc.get(), old);
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFFFFFFu) << std::hex << pixels[0];
    const std::uint32_t centre = pixels[(size / 2) * size + size / 2] & 0xFFFFFF;
    EXPECT_NE(centre, 0xFFFFFFu);
  }
}

TEST(TrayIcon, AMissingIconGivesNothing) {
  EXPECT_FALSE(loadEmbeddedIcon(999, 16));
  EXPECT_FALSE(loadEmbeddedIcon(kResBarNormal, 16));  // raw data, not an icon
  EXPECT_FALSE(loadEmbeddedIcon(kResTrayIcon, 0));
}

TEST(Manifest, IsEmbeddedWithItsSettings) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
  ASSERT_NE(info, nullptr);
  const auto* data = static_cast<const char*>(LockResource(LoadResource(module, info)));
  ASSERT_NE(data, nullptr);
  const std::string manifest(data, SizeofResource(module, info));
  const char* required[] = {
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
      "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
      ">PerMonitorV2, PerMonitor</dpiAwareness>",
      "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
  };
  for (const char* fragment : required) EXPECT_NE(manifest.find(fragment), std::string::npos) << fragment;
}

TEST(Manifest, SelectsCommonControlsSix) {
  // comctl32 v6 reports 5.81 from DllGetVersion under Wine: tell it by its side-by-side path.
  // The process's activation context comes from the manifest and redirects the load.
  HMODULE comctl = LoadLibraryA("comctl32.dll");
  ASSERT_NE(comctl, nullptr);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(comctl, path, MAX_PATH);
  const std::string where = lowered(path);
  EXPECT_NE(where.find("winsxs"), std::string::npos) << path;
  EXPECT_NE(where.find("common-controls"), std::string::npos) << path;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  startToolkit();
  if (gdiplusToken() == 0) return 2;
  return RUN_ALL_TESTS();
}
