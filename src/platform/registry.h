// The system registry and its key security, as far as the USB access grant needs them: open a
// key (on this machine or another), read a value, list subkeys, merge one access entry into a
// key's access list. Results are Windows error codes, which the grant returns as they are.
// Linux keeps no registry: its registry has no keys, so every open reports "not found".
#pragma once

#include <cstdint>
#include <string>

namespace velmora::platform {

// Windows error codes the registry calls and the grant return.
namespace win_error {
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kNotEnoughMemory = 8;
constexpr long kInvalidParameter = 87;
constexpr long kNoMoreItems = 259;
}  // namespace win_error

enum class RegistryRoot { LocalMachine, Users, ClassesRoot, CurrentUser };

// How an access entry combines with a key's access list.
enum class AccessMode { NotUsed, Grant, Set, Deny, Revoke };

// Access rights of registry keys.
namespace key_rights {
constexpr std::uint32_t kFullControl = 0xF003F;  // KEY_ALL_ACCESS
constexpr std::uint32_t kRead = 0x20019;         // KEY_READ
constexpr std::uint32_t kWrite = 0x20026;        // KEY_WRITE
}  // namespace key_rights

// One explicit access entry: a trustee by name, rights, mode, and whether subkeys inherit it.
struct AccessEntry {
    std::string trustee;
    std::uint32_t rights = 0;
    AccessMode mode = AccessMode::NotUsed;
    bool containerInherit = false;
};

class Registry {
public:
    using Key = int;

    virtual ~Registry() = default;
    // Opens `subkey` ("A\B\C"; empty: the root itself) of `root` on `machine` (empty: this
    // machine) for reading its access list and its subkeys. An error code; `key` set on success.
    virtual long openKey(const std::string& machine, RegistryRoot root, const std::string& subkey, Key& key) = 0;
    // A text value of an open key.
    virtual long queryValue(Key key, const std::string& name, std::string& value) = 0;
    // The name of subkey number `index`; kNoMoreItems past the last.
    virtual long enumSubkey(Key key, unsigned index, std::string& name) = 0;
    // Reads the key's access list, merges the entry into it and writes the list back.
    virtual long mergeAccess(Key key, const AccessEntry& entry) = 0;
    virtual void closeKey(Key key) = 0;
    // This machine's name, as the remote-style key paths name it.
    virtual std::string computerName() = 0;
};

// The system's registry: on Linux, one without keys.
Registry& systemRegistry();

}  // namespace velmora::platform
