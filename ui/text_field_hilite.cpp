// How a text field is drawn enabled or disabled, and the lock images.
#include "ui/text_field_hilite.h"

namespace jc {

void myVx418JCHilite(ControlRef field, bool flag) {
  if (field->tag() != 0) {
    field->setEditable(!flag);
    field->setSelectable(!flag);
    field->setTextColor(flag ? TextColor::Gray : TextColor::Black);
    if (flag)
      field.resignFocus();
    else
      field.makeFirstResponder();
    return;
  }
  field->setTextColor(flag ? TextColor::Gray : TextColor::Black);
}

ImagePtr initWithSystemIconType(Toolkit* toolkit, std::uint32_t typeCode) {
  if (toolkit) return toolkit->systemIcon(typeCode, 18, 18);
  return std::make_shared<const Image>(Image{typeCode, {}, 18, 18});
}

}  // namespace jc
