// Resource pictures loaded by number from the host's picture folder.
#include <gtest/gtest.h>

#include "qzplatform/driver.h"
#include "windows.h"

namespace {

constexpr int BrowseIcon = 400;  // 16x16, transparent round an open folder

uint32_t PixelAt(HANDLE bitmap, int x, int y) {
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  return static_cast<const uint32_t*>(bm.bmBits)[y * bm.bmWidth + x] & 0xffffff;
}

TEST(LoadImage, AnIconIsItsPictureOverTheButtonFace) {
  qz::SetImageFolder(QZ_RESOURCE_DIR);
  HANDLE icon = LoadImageA(nullptr, MAKEINTRESOURCEA(BrowseIcon), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
  qz::SetImageFolder("");
  ASSERT_NE(icon, nullptr);
  ASSERT_EQ(GetObjectType(icon), static_cast<DWORD>(OBJ_BITMAP));
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(PixelAt(icon, 0, 0), static_cast<uint32_t>(GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face)));
  EXPECT_EQ(PixelAt(icon, 1, 2), 0x785814u);  // the folder's edge
  EXPECT_TRUE(DeleteObject(icon));
}

TEST(LoadImage, WithoutAPictureAnIconIsTheOpaqueHandle) {
  EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(BrowseIcon), IMAGE_ICON, 0, 0, 0),
            LoadIconA(nullptr, MAKEINTRESOURCEA(BrowseIcon)));
  qz::SetImageFolder(QZ_RESOURCE_DIR);
  EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(401), IMAGE_BITMAP, 0, 0, 0), nullptr);
  qz::SetImageFolder("");
}

}  // namespace
