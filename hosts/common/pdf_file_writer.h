// Printing to a file: the document written as one PDF file, without a printer.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "hosts/common/host_error.h"

namespace jc {

// The PDF file at `output` for the document `files`: a PDF file is copied as
// it is; any other file is converted by CUPS's own filters (cupsfilter, to
// application/pdf). The file is written whole (a temporary file beside it,
// then renamed); an `output` that is the document itself is left as it is.
// Throws HostError, with nothing written, for more than one file, a file
// the filters cannot convert, or an output that cannot be written.
void writePdfFile(const std::vector<std::string>& files, const std::filesystem::path& output);

// The file name printing `title` to a file offers: its name without its
// extension, and ".pdf" ("report.pdf" and "report.txt" give "report.pdf").
std::string pdfFileNameFor(const std::string& title);

// Whether the file begins as a PDF file does ("%PDF-").
bool isPdfFile(const std::filesystem::path& file);

}  // namespace jc
