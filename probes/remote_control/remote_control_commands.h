#pragma once
// The commands of the remote-control product.

#include "engine/command_table.h"

namespace kavlo {

/// "MIRROLET_NET:": the host's IP addresses in the resolver's order.
void MirroletNetCommand(CommandCall& call);
/// "MIRROLET_CHF:": the product's caller files that dial a modem, with their settings.
void MirroletChfCommand(CommandCall& call);

}  // namespace kavlo
