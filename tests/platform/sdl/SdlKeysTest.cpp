// Physical keys to virtual keys: the runs whose order differs between SDL
// and the platform (the digit row ends with 0 in SDL, the keypad too).

#include <gtest/gtest.h>

#include "platform/backend/SdlKeys.h"
#include "platform/user/Messages.h"

namespace zel::sys {
namespace {

TEST(SdlKeys, RunsOfLettersDigitsAndFunctionKeys) {
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_A), UINT('A'));
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_Z), UINT('Z'));
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_1), UINT('1'));
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_9), UINT('9'));
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_0), UINT('0'));
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_KP_1), VK_NUMPAD0 + 1);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_KP_9), VK_NUMPAD0 + 9);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_KP_0), VK_NUMPAD0);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_F1), VK_F1);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_F12), VK_F12);
}

TEST(SdlKeys, ModifiersAreTheGeneralKeysAndUnknownKeysNone) {
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_LSHIFT), VK_SHIFT);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_RSHIFT), VK_SHIFT);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_RCTRL), VK_CONTROL);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_LALT), VK_MENU);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_KP_ENTER), VK_RETURN);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_MUTE), 0u);
}

} // namespace
} // namespace zel::sys
