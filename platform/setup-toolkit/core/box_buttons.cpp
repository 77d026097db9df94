#include "box_buttons.h"

namespace stf {
namespace {

// The MB_ values of the button sets and the default button (winuser.h).
constexpr unsigned kTypeMask = 0x0F, kDefaultMask = 0xF00;
constexpr unsigned kOkCancel = 1, kYesNoCancel = 3, kYesNo = 4, kRetryCancel = 5;

}  // namespace

BoxButtons ButtonsOfBox(unsigned style) {
  BoxButtons box;
  auto set = [&box](BoxAnswer a, BoxAnswer b, BoxAnswer c, int count) {
    box.buttons[0] = a;
    box.buttons[1] = b;
    box.buttons[2] = c;
    box.count = count;
  };
  switch (style & kTypeMask) {
    case kOkCancel: set(kBoxOk, kBoxCancel, kBoxNone, 2); break;
    case kYesNoCancel: set(kBoxYes, kBoxNo, kBoxCancel, 3); break;
    case kYesNo: set(kBoxYes, kBoxNo, kBoxNone, 2); break;
    case kRetryCancel: set(kBoxRetry, kBoxCancel, kBoxNone, 2); break;
    default: break;
  }
  const unsigned index = (style & kDefaultMask) >> 8;
  box.preferred = box.buttons[index < static_cast<unsigned>(box.count) ? index : 0];
  // Windows' box: Esc is Cancel where there is one, OK where OK stands alone,
  // and nothing for Yes and No (the close box is greyed).
  box.escape = kBoxNone;
  for (int i = 0; i < box.count; ++i) {
    if (box.buttons[i] == kBoxCancel) box.escape = kBoxCancel;
  }
  if (box.count == 1) box.escape = kBoxOk;
  // A retry nobody can make good would only repeat what failed.
  box.unattended = box.preferred == kBoxRetry ? kBoxCancel : box.preferred;
  return box;
}

}  // namespace stf
