// The hosts' own messages in the user's language.
//
// They come from the "jobcontrol-cli" catalogue of the panel's resource folder,
// in the language the environment names (LANGUAGE, LC_ALL, LC_MESSAGES, LANG),
// chosen as the panel chooses its own. Without that catalogue, or without a
// translation in it, a message stays in English.
//
// `tr("...")` marks a message for extraction (xgettext --keyword=tr); the
// hosts' common parts mark theirs with `Message("...")`.
#pragma once

#include <string>
#include <vector>

#include "platform/message.h"

namespace jc {

// The translation of `msgid`.
std::string tr(const char* msgid);
// The translation of `pattern` with its {N} markers filled from `values`.
std::string tr(const char* pattern, const std::vector<std::string>& values);
// A message of the hosts' common parts, translated the same way.
std::string tr(const Message& message);

// Reads the catalogue now (it is read once, on the first message): a host that
// changes the environment's language afterwards keeps the user's.
void loadHostMessages();

}  // namespace jc
