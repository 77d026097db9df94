#include <gtest/gtest.h>

#include <vector>

#include "box_buttons.h"

namespace stf {
namespace {

// The toolkit's boxes answer as Windows' MessageBox does; a run without
// windows gets the default, except that it never asks to retry.
TEST(BoxButtons, TheButtonsTheirDefaultEscAndTheUnattendedAnswer) {
  constexpr unsigned kOk = 0, kOkCancel = 1, kYesNoCancel = 3, kYesNo = 4, kRetryCancel = 5;
  constexpr unsigned kSecond = 0x100, kThird = 0x200, kHand = 0x10, kQuestion = 0x20;
  struct Case {
    unsigned style;
    std::vector<BoxAnswer> buttons;
    BoxAnswer preferred, escape, unattended;
  } cases[] = {
      {kOk | kHand, {kBoxOk}, kBoxOk, kBoxOk, kBoxOk},
      {kOkCancel, {kBoxOk, kBoxCancel}, kBoxOk, kBoxCancel, kBoxOk},
      {kOkCancel | kSecond, {kBoxOk, kBoxCancel}, kBoxCancel, kBoxCancel, kBoxCancel},
      {kYesNo | kQuestion, {kBoxYes, kBoxNo}, kBoxYes, kBoxNone, kBoxYes},
      {kYesNo | kSecond, {kBoxYes, kBoxNo}, kBoxNo, kBoxNone, kBoxNo},
      {kYesNoCancel | kThird, {kBoxYes, kBoxNo, kBoxCancel}, kBoxCancel, kBoxCancel, kBoxCancel},
      {kRetryCancel, {kBoxRetry, kBoxCancel}, kBoxRetry, kBoxCancel, kBoxCancel},
      {kYesNo | kThird, {kBoxYes, kBoxNo}, kBoxYes, kBoxNone, kBoxYes},  // no third: the first
      {2 /* MB_ABORTRETRYIGNORE */, {kBoxOk}, kBoxOk, kBoxOk, kBoxOk},    // not asked: OK alone
  };
  for (const Case& c : cases) {
    const BoxButtons box = ButtonsOfBox(c.style);
    ASSERT_EQ(box.count, static_cast<int>(c.buttons.size())) << c.style;
    for (int i = 0; i < box.count; ++i) EXPECT_EQ(box.buttons[i], c.buttons[i]) << c.style;
    EXPECT_EQ(box.preferred, c.preferred) << c.style;
    EXPECT_EQ(box.escape, c.escape) << c.style;
    EXPECT_EQ(box.unattended, c.unattended) << c.style;
  }
}

}  // namespace
}  // namespace stf
