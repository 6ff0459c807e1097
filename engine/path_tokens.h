#pragma once
// Script variables and path tokens: "SetVar:", "<VARS2>"/"<CLB>"/"<CRB>" in
// registry paths, and folder tokens such as "<SYSTEM32>" or "<CSIDL_APPDATA>".

#include <string>
#include <string_view>

#include "engine/app_context.h"

namespace kavlo {

/// "<VARS2>" replaced by VARS2, then "<CLB>" by "{" and "<CRB>" by "}".
std::string SubstituteVars(const AppContext& context, std::string_view text);
/// Expands the first folder token that the text contains (see the token table).
std::string ExpandPathToken(AppContext& context, std::string_view text);
/// Replaces a "<CSIDL_name>" token by the shell folder; unchanged when unknown or unresolvable.
std::string ExpandFolderToken(AppContext& context, std::string_view text);

}  // namespace kavlo
