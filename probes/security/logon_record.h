#pragma once
// The logon record: who is logged on, with which groups. "LogonInfo:" writes it
// out and records it; the probes that name the user collect it silently first
// when nothing has recorded it yet, so that no result depends on script order.

#include <optional>
#include <string>

#include "engine/app_context.h"

namespace kavlo {

/// Reads the logged-on user and groups, records them in the context and returns
/// the "Username: …" block; nullopt (and the record left as it was) when the
/// machine cannot say who is logged on.
std::optional<std::string> CollectLogonInfo(AppContext& context);

/// Collects the record when it is still empty.
void EnsureLogonRecord(AppContext& context);

}  // namespace kavlo
