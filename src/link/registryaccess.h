// Widening the access rights on the registry keys under which the system records a USB printer
// model's print devices, run after every successful USB open. Plain parsing and calls on the
// registry layer; Linux has no registry, so there the grant finds no key and does nothing.
#pragma once

#include <string>

#include "platform/registry.h"

namespace velmora::link {

// Grants "Everyone" full control, inherited by subkeys, on each print-device instance key of
// the model code's registered names (SYSTEM\CurrentControlSet\Enum\USBPRINT\<name>\<instance>).
// A code without names, or a name without a key, does nothing.
void GrantUsbPrintKeyAccess(platform::Registry& registry, int modelCode);

// Applies one access entry to a key. `option` is "/P<mode>:<trustee>:<rights>": mode G grant,
// S set, D deny, R revoke (another letter after "P": invalid; no "P": the mode not-used);
// rights a run of two-letter codes Fc, Rd, Wr in any case (an odd length gives no rights,
// other pairs add nothing). `keyPath` is "[\\machine\]ROOT[\subkey]" with ROOT one of HKLM,
// HKEY_LOCAL_MACHINE, HKU, HKEY_USERS, HKCR, HKEY_CLASSES_ROOT, HKCU, HKEY_CURRENT_USER; another
// machine's current-user or classes root is invalid. Returns 0, 87 for invalid parameters, 8
// when memory runs out, else the code of the first registry call that failed.
long SetRegistryKeyAccess(platform::Registry& registry, const std::string& option, const std::string& keyPath);

}  // namespace velmora::link
