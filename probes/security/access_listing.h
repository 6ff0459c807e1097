#pragma once
// The listings shared by the security probes (and the service probes): the
// access list of an object as text or tree items, the rights block of a file,
// and the permission listing of a registry key with effective rights.

#include <string>
#include <string_view>

#include "engine/app_context.h"
#include "engine/records.h"
#include "platform/machine.h"

namespace kavlo {

/// Mode 0 of the listing writes text, mode 1 adds items.
enum class ListingMode { Text = 0, Items = 1 };

/// Lists the DACL of a descriptor as a machine read it: one entry per line
/// (account, " allowed rights: " and the like, the file-rights line); a failed
/// read gives "Error getting file/directory rights: " and the system's text.
/// In Text mode the lines, each followed by an empty line, are appended to
/// `text`; in Items mode each line becomes an item below `item`.
void ListAccess(platform::Machine& machine, const Result<std::string>& descriptor, ListingMode mode, std::string* text,
                ResultNode* item);

/// Adds "Rights" below `item` and the access list of a file or directory below it.
void AddRightsBlock(platform::Machine& machine, ResultNode& item, std::string_view path);

/// Lists the accounts of a key's descriptor below `parent`: each account once
/// ("[D] " + account) with its effective rights as the summary and the ten
/// registry rights, then the same for the logged-on user ("[D] Effective -").
/// Nothing is added when the descriptor cannot be read.
void ListKeyPermissions(AppContext& context, const Result<std::string>& descriptor, ResultNode& parent);

/// "[D]  Permissions" below `keyItem`, and the key's permission listing below it.
void AddKeyPermissions(AppContext& context, ResultNode& keyItem, platform::RegRoot root, std::string_view keyPath);

}  // namespace kavlo
