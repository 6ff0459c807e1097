#pragma once
// The hardware probes: "PCI_INFO:" and "PCI_DISP:" list the PCI functions with
// the names of the device index, "MODEM_INFO:" describes every telephony modem
// and tests its serial port.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/command_table.h"
#include "platform/result.h"

namespace kavlo {

void PciInfoCommand(CommandCall& call);
void PciDisplayCommand(CommandCall& call);
void ModemInfoCommand(CommandCall& call);

enum class PciListing { AllFunctions, DisplayOnly };

/// The lines of whole PCI records (an empty text when the byte count is 0 or not
/// a multiple of a record), names looked up in the device index's bytes.
std::string FormatPciRecords(std::string_view records, std::string_view deviceIndex, PciListing listing);

/// The probe's words for a failure of reading the PCI records.
std::string_view PciFailureText(WinError error);

/// "1.4" for 0x10004 and the other published versions, else the number in decimal.
std::string TapiVersionName(std::uint32_t version);

}  // namespace kavlo
