#pragma once
// The customer's contact information: the block that the information page shows,
// and its copy in the registry under "SOFTWARE\Quorvane\KAVLO".

#include <string>

#include "platform/machine.h"

namespace kavlo::report {

struct ContactInfo {
    std::string caseNumber;  ///< "Case"
    std::string name;        ///< "Name"
    std::string phone;       ///< "Phone"
    std::string email;       ///< "EMail"
    std::string issue;       ///< "Issue" (several lines)
};

/// The registry key of the contact information (below HKLM, or HKCU where HKLM is closed).
inline constexpr const char* kContactKeyPath = "SOFTWARE\\Quorvane\\KAVLO";

/// Appends "Contact information:\n" and a line for each non-empty field
/// ("Case #: ", "Name: ", "Phone: ", "EMail: ", "Issue: ").
void AppendContactBlock(std::string& text, const ContactInfo& contact);

/// Fills the fields from the registry: from the HKEY_CURRENT_USER copy when it
/// exists, else from HKEY_LOCAL_MACHINE. A missing key, a missing value or one
/// longer than 400 bytes leaves its field as it was; text ends at the first NUL.
void LoadContactInfo(platform::Machine& machine, ContactInfo& contact);

/// Writes the five values (REG_SZ without terminator) below HKEY_LOCAL_MACHINE;
/// where that key cannot be written, below HKEY_CURRENT_USER. A copy that already
/// exists below HKEY_CURRENT_USER is updated too, so that loading never sees an
/// older one. Fails only when neither place can be written.
Status StoreContactInfo(platform::Machine& machine, const ContactInfo& contact);

}  // namespace kavlo::report
