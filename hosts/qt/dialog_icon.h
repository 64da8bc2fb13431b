// The dialog's window icon.
#pragma once

#include <QIcon>
#include <filesystem>

namespace jc::qt {

// The icon "jobcontrol-dialog" of the desktop's icon theme; without one, its
// PNG files in <share>/icons/hicolor beside the panel's resource folder
// `bundleFolder` (<share>/jobcontrol), as the build and the install leave them.
QIcon dialogIcon(const std::filesystem::path& bundleFolder);

}  // namespace jc::qt
