// Between Qt's printer and CUPS: the options the print dialog's standard
// choices stand for, and the panel's entries as extra options of Qt's own
// CUPS print engine.
#pragma once

#include <string>

#include "plugin/host.h"

class QPrinter;

namespace jc::qt {

// The CUPS options of the dialog's choices for a job sent as files: copies,
// collation, page ranges, sides, media, orientation, colour, and the options
// the dialog's job page set on the printer.
PrintSettings jobOptionsOf(QPrinter& printer);

// Adds `entries` to the CUPS options of `printer`'s print engine, replacing
// options of the same name, so that a job painted through the printer
// carries them. Nothing happens for a printer that does not print to CUPS.
void addEntriesTo(QPrinter& printer, const PrintSettings& entries);

// Readies `printer` for the print dialog: the job is named `title`, printing
// to a file offers "<home>/<title without its extension>.pdf", and the dialog opens on the CUPS
// queue `queue` (empty: the printer's own). A printer made on `queue` is not
// asked for it again.
void prepareForDialog(QPrinter& printer, const std::string& title, const std::string& queue);

}  // namespace jc::qt
