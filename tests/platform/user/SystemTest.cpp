// The clock, system colours, metrics and parameters, and choosing a backend.

#include <cstdlib>

#include "tests/platform/user/UserTestSupport.h"

namespace zel::sys::test {
namespace {

TEST(Clock, VirtualClockIsInstalledForAScopeAndNeverRunsBackwards) {
  const uint64_t realBefore = GetTickCount64();
  {
    ScopedVirtualClock outer(5000);
    EXPECT_EQ(GetTickCount(), 5000u);
    {
      ScopedVirtualClock inner(100);
      inner.Advance(25);
      EXPECT_EQ(GetTickCount(), 125u);
      inner.clock().AdvanceTo(50);
      EXPECT_EQ(GetTickCount(), 125u);
    }
    EXPECT_EQ(GetTickCount(), 5000u);
    // The tick count wraps like the platform's 32-bit one.
    outer.clock().AdvanceTo(0x100000010ull);
    EXPECT_EQ(GetTickCount(), 0x10u);
    EXPECT_EQ(GetTickCount64(), 0x100000010ull);
  }
  EXPECT_FALSE(ActiveClock().IsVirtual());
  EXPECT_GE(GetTickCount64(), realBefore);
}

TEST(SystemParams, ColoursFormTheAgreedLightScheme) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(236, 236, 236));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(182, 182, 182));
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
  // The 3D shades are ordered from dark to light around the face.
  auto grey = [](int i) { return GetRValue(GetSysColor(i)); };
  EXPECT_LT(grey(COLOR_3DDKSHADOW), grey(COLOR_BTNSHADOW));
  EXPECT_LT(grey(COLOR_BTNSHADOW), grey(COLOR_BTNFACE));
  EXPECT_LT(grey(COLOR_BTNFACE), grey(COLOR_3DLIGHT));
  EXPECT_LE(grey(COLOR_3DLIGHT), grey(COLOR_BTNHIGHLIGHT));
  // Text is readable on its background.
  EXPECT_NE(GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_NE(GetSysColor(COLOR_CAPTIONTEXT), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_NE(GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_BTNFACE));
  EXPECT_NE(GetSysColor(COLOR_HOTLIGHT), GetSysColor(COLOR_WINDOW));
  EXPECT_NE(GetSysColor(COLOR_GRADIENTACTIVECAPTION), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(GetSysColor(99), 0u);
  EXPECT_EQ(GetSysColor(-1), 0u);
  for (int i = 0; i < kSysColorCount; ++i) {
    ASSERT_NE(GetSysColorBrush(i), nullptr);
    EXPECT_EQ(GetSysColorBrush(i)->color, GetSysColor(i));
    DeleteObject(GetSysColorBrush(i)); // a stock brush survives deletion
    EXPECT_EQ(GetSysColorBrush(i)->color, GetSysColor(i));
  }
  EXPECT_EQ(GetSysColorBrush(kSysColorCount), nullptr);
}

TEST(SystemParams, NonClientMetricsCarryTheFonts) {
  NONCLIENTMETRICS m;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
  EXPECT_EQ(m.lfCaptionFont.lfWeight, FW_BOLD);
  EXPECT_FALSE(m.lfSmCaptionFont.lfFaceName.empty());
  EXPECT_LT(m.lfMenuFont.lfHeight, 0);
  EXPECT_FALSE(m.lfStatusFont.lfFaceName.empty());
  EXPECT_FALSE(m.lfMessageFont.lfFaceName.empty());
  EXPECT_EQ(m.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
  NONCLIENTMETRICS bad;
  bad.cbSize = 12;
  EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 12, &bad, 0));
  EXPECT_FALSE(SystemParametersInfo(0xFFFF, 0, &bad, 0));
  EXPECT_FALSE(SystemParametersInfo(SPI_GETWORKAREA, 0, nullptr, 0));
}

TEST(SystemParams, MetricsFollowTheScreenOfTheBackend) {
  UseHeadlessBackend(SIZE{800, 600});
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
  RECT work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work, (RECT{0, 0, 800, 600}));
  ResetWindowSystem();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_GT(GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYSMCAPTION));
  EXPECT_GT(GetSystemMetrics(SM_CXDRAG), 0);
  EXPECT_EQ(GetDoubleClickTime(), 500u);
  SetDoubleClickTime(300);
  EXPECT_EQ(GetDoubleClickTime(), 300u);
  SetDoubleClickTime(0);
  EXPECT_EQ(GetDoubleClickTime(), 500u);
}

TEST(BackendChoice, TheEnvironmentForcesHeadlessAndUnknownNamesAreRefused) {
  const char* old = std::getenv("ZEL_BACKEND");
  const std::string saved = old ? old : "";
  setenv("ZEL_BACKEND", "headless", 1);
  std::string error;
  auto b = CreateBackendFromEnvironment(&error);
  ASSERT_NE(b, nullptr);
  EXPECT_STREQ(b->Name(), "headless");
  setenv("ZEL_BACKEND", "teletype", 1);
  EXPECT_EQ(CreateBackendFromEnvironment(&error), nullptr);
  EXPECT_NE(error.find("teletype"), std::string::npos);
  if (old)
    setenv("ZEL_BACKEND", saved.c_str(), 1);
  else
    unsetenv("ZEL_BACKEND");
}

TEST(Headless, WithoutAnythingToWaitForTheVirtualClockRefusesToHang) {
  ScopedVirtualClock clock;
  UseHeadlessBackend();
  MSG m;
  EXPECT_THROW(GetMessage(&m), std::runtime_error);
  ResetWindowSystem();
}

} // namespace
} // namespace zel::sys::test
