// Every named control of a loaded layout as the user would see it, read
// through the toolkit seam alone, so that any toolkit's view is dumped alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/toolkit.h"

namespace jc {

// What a toolkit's control tells beyond the panel's seam.
class ControlFacts {
 public:
  virtual ~ControlFacts() = default;
  // The layout's class of the widget ("QLineEdit").
  virtual const std::string& className() const = 0;
  // An edit field whose text is shown as bullets.
  virtual bool isSecret() const = 0;
};

// One pop-up item, tab or matrix cell in a snapshot.
struct ItemSnapshot {
  std::u16string title;
  bool separator = false;
  std::uint32_t iconType = 0;  // the system icon the item shows ('lock'), 0 for none or a file
  bool operator==(const ItemSnapshot&) const = default;
};

// A control as the user would see it. Members that do not apply to the kind
// are left empty.
struct ControlSnapshot {
  std::string name;
  ControlKind kind = ControlKind::Other;
  std::string className;
  std::optional<int> state;                        // check boxes, radio cells
  std::optional<int> selectedRow;                  // radio matrices
  std::optional<int> selectedIndex;                // pop-ups, tab views
  std::optional<std::vector<ItemSnapshot>> items;  // pop-up items, tab labels, matrix cells
  std::optional<std::u16string> text;  // title or string value; a secret field shows bullets
  bool enabled = false;                // shown enabled (text fields: by the drawing rule)
  bool hidden = false;
  std::optional<bool> editable;   // edit fields
  std::optional<int> tag;         // text fields
  std::optional<bool> animating;  // progress indicators
};

// Shown enabled: a label drawn in black, an edit field that can be selected
// and is drawn in black; any other control when it is enabled.
bool isShownEnabled(const Control& control);

// One snapshot of `control` under `name`.
ControlSnapshot snapshotControl(const std::string& name, const Control& control);

// Every outlet of the view, in layout order.
std::vector<ControlSnapshot> snapshotControls(const View& view);

}  // namespace jc
