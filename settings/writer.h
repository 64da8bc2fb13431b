// Turning the panel's settings into the job's print-settings entries.
#pragma once

#include <string_view>

#include "platform/print_settings.h"
#include "platform/text.h"
#include "settings/job_control_settings.h"
#include "soap/folder_entry.h"

namespace jc {

struct WriterContext {
  const char* spoolTime = "";  // the spool time text of this save
  bool checkHardDisk = false;  // the printer has storage for filing
  bool varnokSelvo = false;    // quick file files with suspend "0"
  CFStringEncoding systemEncoding = kCFStringEncodingMacRoman;
  const FolderList* folderList = nullptr;
};

// Writes every entry of the key table afresh: what the settings hold, and
// removes the entries of features that are off or whose controls are absent.
void writeJobControlEntries(const JobControlSettings& settings, PrintSettings& out,
                            const WriterContext& context);

// Stores an ASCII C string under `key`; an absent, empty or non-ASCII value
// removes the entry.
void MyPMPrintSetAsciiCStrValue(PrintSettings* settings, std::string_view key, const char* value);
// Stores a long value over numbered keys "<prefix>1", "<prefix>2", ... in
// chunks of 254 characters and removes the chunk after the last one. An empty
// value removes chunks 1 and 2, so no fragment of an earlier value stays.
void MyMultiPMPrintSetAsciiCStrValue(PrintSettings* settings, const char* prefix,
                                     const char* value);
// Replaces control characters other than tab, and double quotes, by spaces.
void ReplaceSpaceCode(unsigned char* bytes, int count);
// True unless the system encoding is one of the CJK system encodings.
bool encodingWindowsLatin1(CFStringEncoding systemEncoding);

}  // namespace jc
