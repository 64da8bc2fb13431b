// What the tab adds around the folder-list button: a failure's alert keeps
// its text and gets the reason as its detail; a success is said in one line
// of the Filing group ("The printer listed 3 folders.").
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "soap/folder_list_outcome.h"

namespace jc::qt {

class QtToolkit;
class QtView;

// `outcome` answers what the latest request came to, `text` words a message
// in the user's language. Nothing happens for a view without the button.
void watchFolderList(QtView& view, QtToolkit& toolkit,
                     std::function<std::optional<FolderListOutcome>()> outcome,
                     std::function<QString(const Message&)> text);

}  // namespace jc::qt
