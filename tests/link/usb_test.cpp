// USB printer discovery and the registry access grant: the model table and its matching, the
// search over the printers a factory offers (first known wins, unopenable ones skipped), the
// Windows 95 family's branch and version rules, and the grant's option and key-path parsing.
#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <map>
#include <new>
#include <optional>
#include <set>

#include "app/modelcatalog.h"
#include "link/registryaccess.h"
#include "link/usbprinter.h"
#include "platform/osversion.h"
#include "support/linkfixture.h"

namespace velmora::testing {
namespace {

using platform::AccessMode;
using platform::RegistryRoot;

// A registry in memory that records every call.
class FakeRegistry : public platform::Registry {
public:
    struct KeyData {
        std::map<std::string, std::string> values;
        std::vector<std::string> subkeys;
    };
    struct Merge {
        std::string key;  // "machine|root|subkey" of the key it went to
        platform::AccessEntry entry;
    };

    long openKey(const std::string& machine, RegistryRoot root, const std::string& subkey, Key& key) override {
        const std::string name = machine + "|" + std::to_string(static_cast<int>(root)) + "|" + subkey;
        opened.push_back(name);
        if (throwOnOpen) throw std::bad_alloc();
        if (openResult) return openResult;
        if (!openAll && !keys.count(subkey)) return platform::win_error::kFileNotFound;
        handles.push_back({name, subkey});
        key = static_cast<Key>(handles.size() - 1);
        return 0;
    }
    long queryValue(Key key, const std::string& name, std::string& value) override {
        auto& values = keys[handles[key].second].values;
        if (!values.count(name)) return platform::win_error::kFileNotFound;
        value = values[name];
        return 0;
    }
    long enumSubkey(Key key, unsigned index, std::string& name) override {
        const auto& subkeys = keys[handles[key].second].subkeys;
        if (index >= subkeys.size()) return platform::win_error::kNoMoreItems;
        name = subkeys[index];
        return 0;
    }
    long mergeAccess(Key key, const platform::AccessEntry& entry) override {
        merges.push_back({handles[key].first, entry});
        return mergeResult;
    }
    void closeKey(Key) override { ++closes; }
    std::string computerName() override { return "BENCH7"; }

    std::map<std::string, KeyData> keys;  // by subkey path
    bool openAll = false;                 // every key opens, listed or not
    bool throwOnOpen = false;
    long openResult = 0;
    long mergeResult = 0;
    std::vector<std::string> opened;
    std::vector<Merge> merges;
    int closes = 0;

private:
    std::vector<std::pair<std::string, std::string>> handles;  // name, subkey
};

std::string pathOf(const std::string& ids, const std::string& serial = "SN1") {
    return "\\\\?\\usb#" + ids + "#" + serial + "#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
}

// --- The tables -----------------------------------------------------------------------------

TEST(UsbModelTable, HoldsThirtyCodesOfFourVendorsAndAgreesWithTheBuiltInCatalog) {
    const std::set<int> codes = {0,  1,  2,  3,  4,  5,  6,   7,   8,   9,   10,  11,  12,  13,  14,
                                 15, 16, 20, 21, 22, 23, 24, 100, 101, 110, 111, 112, 123, 130, 131};
    std::set<int> seen;
    std::set<std::string> vendors;
    std::set<std::string> pairs;
    for (const auto& entry : link::UsbModelTable) {
        const std::string ids = entry.ids;
        SCOPED_TRACE(ids);
        ASSERT_EQ(ids.size(), link::kUsbIdChars);
        EXPECT_EQ(ids.substr(0, 4), "vid_");
        EXPECT_EQ(ids.substr(8, 5), "&pid_");
        EXPECT_EQ(ids.find_first_not_of("0123456789abcdef", 13), std::string::npos);
        seen.insert(entry.modelCode);
        vendors.insert(ids.substr(0, 8));
        pairs.insert(ids);
    }
    EXPECT_EQ(seen, codes);
    EXPECT_EQ(vendors.size(), 4u);
    EXPECT_EQ(pairs.size(), 30u);

    // Every built-in catalog model is a printer of the maker's vendor id with the same code.
    for (const auto& [name, record] : app::builtInModelCatalog()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(link::UsbModelCode(std::string(link::kMakerVendorId) + "&pid_" + record->id, false),
                  record->modelType);
    }
}

TEST(UsbPrintNameTable, OneOrTwoNamesPerCodeAndNoneForUnknownCodes) {
    const std::set<int> twoNames = {0, 1, 2, 3, 8, 9};
    for (const auto& entry : link::UsbModelTable) {
        SCOPED_TRACE(entry.modelCode);
        EXPECT_EQ(link::UsbPrintNames(entry.modelCode).size(), twoNames.count(entry.modelCode) ? 2u : 1u);
    }
    for (int code : {-1, 17, 99, 1000}) EXPECT_TRUE(link::UsbPrintNames(code).empty());
}

// --- Version rules --------------------------------------------------------------------------

TEST(UsbVersionRules, LegacyFlagFromThePackedVersion) {
    const std::pair<std::uint32_t, bool> cases[] = {
        {0x0A280105u, false},  // NT family, build 2600
        {0x00000006u, true},   // NT family without a build number
        {0x80000004u, true},   // 95 family, major 4
        {0xC0000A04u, true},   // 95 family, major 4, any build
        {0x80000003u, true},   // 95 family, major 3, build 0
        {0x80010003u, false},  // 95 family, major 3, build 1
        {0xFFFF0003u, false},  // build 0x7FFF once its top bit is dropped
    };
    for (auto [packed, legacy] : cases) {
        SCOPED_TRACE(packed);
        EXPECT_EQ(link::LegacyWindowsFromVersion(packed), legacy);
    }
    // Linux: clear, so the parallel status is queried and USB matching reads the interface path.
    EXPECT_FALSE(link::LegacyWindowsFromVersion(platform::packedOsVersion()));
    ScriptedLink l;
    EXPECT_FALSE(l.comm.legacyWindows);
}

TEST(UsbVersionRules, UsbNeedsMoreThanWindows95AndNt4) {
    using F = platform::OsVersion::Family;
    const std::pair<std::optional<platform::OsVersion>, bool> cases[] = {
        {platform::OsVersion{F::Windows95, 4, 0}, false}, {platform::OsVersion{F::Windows95, 4, 10}, true},
        {platform::OsVersion{F::WindowsNt, 4, 0}, false}, {platform::OsVersion{F::WindowsNt, 5, 0}, true},
        {platform::OsVersion{F::Other, 0, 0}, true},      {std::nullopt, false},
    };
    for (const auto& [version, supported] : cases) EXPECT_EQ(link::UsbSupportedByWindows(version), supported);
    EXPECT_TRUE(link::UsbSupportedByWindows(platform::osVersion()));
}

// --- The search -----------------------------------------------------------------------------

struct SearchCase {
    const char* what;
    std::vector<platform::UsbPrinterInterface> present;
    std::map<std::string, int> refused;  // node → errno of its open
    int code;                            // model code found, -1 none
    std::string node;                    // the device opened
    std::vector<std::string> tried;      // nodes whose open was attempted
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.what; }

class UsbSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(UsbSearch, FirstKnownPrinterThatOpensWins) {
    const SearchCase& c = GetParam();
    ScriptedFactory factory;
    factory.usbList = c.present;
    factory.usbPresent = !c.present.empty();
    factory.script.refusedPaths = c.refused;
    FakeRegistry registry;
    link::UsbSearch search;
    auto device = link::FindUsbPrinter(factory, registry, search);
    EXPECT_EQ(device != nullptr, c.code >= 0);
    EXPECT_EQ(factory.script.openedPaths, c.tried);
    if (c.code >= 0) {
        EXPECT_EQ(search.modelIndex, c.code);
        EXPECT_EQ(factory.script.openedPaths.back(), c.node);
        EXPECT_TRUE(device->isOpen());
    }
    EXPECT_TRUE(registry.opened.empty());  // the NT family reads the ids from the path alone
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsbSearch,
    ::testing::Values(
        SearchCase{"known pair", {{pathOf("vid_5a2e&pid_0a08"), "/dev/usb/lp0"}}, {}, 8, "/dev/usb/lp0",
                   {"/dev/usb/lp0"}},
        SearchCase{"catalog product under another vendor is unknown",
                   {{pathOf("vid_1234&pid_0a08"), "/dev/usb/lp0"}}, {}, -1, "", {}},
        SearchCase{"upper-case ids are unknown on this family",
                   {{pathOf("VID_5A2E&PID_0A08"), "/dev/usb/lp0"}}, {}, -1, "", {}},
        SearchCase{"first enumerated of two known",
                   {{pathOf("vid_7b3f&pid_3105"), "/dev/usb/lp3"}, {pathOf("vid_5a2e&pid_0a83"), "/dev/usb/lp1"}},
                   {}, 5, "/dev/usb/lp3", {"/dev/usb/lp3"}},
        SearchCase{"unknown before known",
                   {{pathOf("vid_1234&pid_5678"), "/dev/usb/lp0"}, {pathOf("vid_5a2e&pid_0a64"), "/dev/usb/lp1"}},
                   {}, 100, "/dev/usb/lp1", {"/dev/usb/lp1"}},
        SearchCase{"unopenable known printer is skipped",
                   {{pathOf("vid_6d81&pid_2100"), "/dev/usb/lp0"}, {pathOf("vid_8c5a&pid_417b"), "/dev/usb/lp1"}},
                   {{"/dev/usb/lp0", EBUSY}}, 123, "/dev/usb/lp1", {"/dev/usb/lp0", "/dev/usb/lp1"}},
        SearchCase{"nothing present", {}, {}, -1, "", {}}),
    [](const auto& info) {
        std::string n = info.param.what;
        for (auto& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(UsbSearchLegacy, IdsComeFromTheDeviceInstanceAndTheCatalogMustListTheProduct) {
    const std::string path = pathOf("vid_5a2e&pid_0a08", "7&2F&0&1");
    std::string key = "System\\CurrentControlSet\\Control\\DeviceClasses\\{a5dcbf10-6530-11d2-901f-00c04fb951ed}"
                      "\\##.#" +
                      path.substr(4);
    key.resize(127);
    struct Case {
        const char* what;
        const char* instance;  // nullptr: no key
        std::vector<std::string> catalog;
        bool opens;
    };
    const Case cases[] = {
        {"listed and known", "USB\\VID_5A2E&PID_0A08\\7&2F&0&1", {"0a10", "0a08"}, true},
        {"catalog ids in upper case too", "USB\\VID_5A2E&PID_0A08\\1", {"0A08"}, true},
        {"not in the catalog", "USB\\VID_5A2E&PID_0A08\\1", {"0a09"}, false},
        {"lower-case instance", "USB\\vid_5a2e&pid_0a08\\1", {"0a08"}, false},
        {"in the catalog but not in the table", "USB\\VID_5A2E&PID_0A11\\1", {"0a11"}, false},
        {"no key", nullptr, {"0a08"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedFactory factory;
        factory.usbList = {{path, "/dev/usb/lp0"}};
        FakeRegistry registry;
        if (c.instance) registry.keys[key].values["DeviceInstance"] = c.instance;
        link::UsbSearch search;
        search.legacyWindows = true;
        search.catalogProductIds = c.catalog;
        search.modelIndex = 42;
        auto device = link::FindUsbPrinter(factory, registry, search);
        EXPECT_EQ(device != nullptr, c.opens);
        EXPECT_EQ(registry.opened, std::vector<std::string>{"|0|" + key});
        EXPECT_EQ(search.modelIndex, 42);  // this family leaves the model code alone
        EXPECT_EQ(search.devicePath, c.opens ? path : "");
    }
}

TEST(CommUsbOpen, GrantsAccessForTheFoundModelAndReportsARefusedDevice) {
    ScriptedLink l;
    FakeRegistry registry;
    registry.openAll = true;
    registry.keys["SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\NorvikVL-2405"].subkeys = {"7&1A&0&USB001"};
    l.comm.registry = &registry;
    l.factory.usbModel = 8;
    l.comm.portName = "USB";
    ASSERT_EQ(l.comm.Open(), 1);
    EXPECT_EQ(l.comm.modelIndex, 8);
    ASSERT_EQ(registry.merges.size(), 1u);
    EXPECT_EQ(registry.merges[0].key, "BENCH7|0|SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\NorvikVL-2405\\7&1A&0&USB001");
    EXPECT_TRUE(l.comm.openFailure().device.empty());

    // The grant runs again with every reopen of a transfer.
    EXPECT_EQ(l.write("A"), 1);
    EXPECT_EQ(registry.merges.size(), 2u);

    l.script.refusedPaths = {{"/dev/usb/lp0", EACCES}};
    EXPECT_EQ(l.comm.Open(), 0);
    EXPECT_EQ(l.comm.openFailure().device, "/dev/usb/lp0");
    EXPECT_EQ(l.comm.openFailure().error, EACCES);
    EXPECT_EQ(registry.merges.size(), 2u);
}

// --- The registry grant ---------------------------------------------------------------------

struct AccessCase {
    const char* option;
    const char* path;
    long result;
    std::string opened;  // "machine|root|subkey", "" when nothing was opened
    AccessMode mode;
    std::uint32_t rights;
    const char* trustee;
};

void PrintTo(const AccessCase& c, std::ostream* os) { *os << c.option << ' ' << c.path; }

class RegistryKeyAccess : public ::testing::TestWithParam<AccessCase> {};

TEST_P(RegistryKeyAccess, ParsesOptionAndPath) {
    const AccessCase& c = GetParam();
    FakeRegistry registry;
    registry.openAll = true;
    EXPECT_EQ(link::SetRegistryKeyAccess(registry, c.option, c.path), c.result);
    EXPECT_EQ(registry.opened, c.opened.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.opened});
    if (c.result == 0) {
        ASSERT_EQ(registry.merges.size(), 1u);
        const platform::AccessEntry& e = registry.merges[0].entry;
        EXPECT_EQ(e.mode, c.mode);
        EXPECT_EQ(e.rights, c.rights);
        EXPECT_EQ(e.trustee, c.trustee);
        EXPECT_TRUE(e.containerInherit);
        EXPECT_EQ(registry.closes, 1);
    } else {
        EXPECT_TRUE(registry.merges.empty());
    }
}

constexpr std::uint32_t kFc = 0xF003F, kRd = 0x20019, kWr = 0x20026;

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistryKeyAccess,
    ::testing::Values(
        AccessCase{"/PG:Everyone:Fc", "\\\\BENCH7\\HKLM\\SYSTEM\\X\\Y", 0, "BENCH7|0|SYSTEM\\X\\Y", AccessMode::Grant, kFc,
                   "Everyone"},
        AccessCase{"/ps:Users:rDwR", "HKU\\S-1-5\\Soft", 0, "|1|S-1-5\\Soft", AccessMode::Set, kRd | kWr, "Users"},
        AccessCase{"/PD:Guest:Wr", "hkey_current_user\\A", 0, "|3|A", AccessMode::Deny, kWr, "Guest"},
        AccessCase{"/PR:Everyone", "HKEY_CLASSES_ROOT\\A", 0, "|2|A", AccessMode::Revoke, 0, "Everyone"},
        AccessCase{"/XG:Everyone", "HKEY_LOCAL_MACHINE", 0, "|0|", AccessMode::NotUsed, 0, "Everyone"},
        AccessCase{"/PG:Everyone:Fcx", "HKLM\\A", 0, "|0|A", AccessMode::Grant, 0, "Everyone"},
        AccessCase{"/PG:Everyone:FcZzRd", "HKLM\\A", 0, "|0|A", AccessMode::Grant, kFc | kRd, "Everyone"},
        AccessCase{"/PX:Everyone:Fc", "HKLM\\A", 87, "", AccessMode::NotUsed, 0, ""},
        AccessCase{"/P:Everyone:Fc", "HKLM\\A", 87, "", AccessMode::NotUsed, 0, ""},
        AccessCase{"/PG", "HKLM\\A", 87, "", AccessMode::NotUsed, 0, ""},
        AccessCase{"/PG::Fc", "HKLM\\A", 87, "", AccessMode::NotUsed, 0, ""},
        AccessCase{"/PG:Everyone", "HKLM\\A", 87, "", AccessMode::NotUsed, 0, ""},
        AccessCase{"/PS:Everyone:", "HKLM\\A", 87, "", AccessMode::NotUsed, 0, ""},
        AccessCase{"/PG:Everyone:Fc", "HKXY\\A", 87, "", AccessMode::NotUsed, 0, ""},
        AccessCase{"/PG:Everyone:Fc", "\\\\BENCH7", 87, "", AccessMode::NotUsed, 0, ""},
        AccessCase{"/PG:Everyone:Fc", "\\\\BENCH7\\HKCU\\A", 87, "", AccessMode::NotUsed, 0, ""},
        AccessCase{"/PG:Everyone:Fc", "\\\\BENCH7\\HKEY_CLASSES_ROOT\\A", 87, "", AccessMode::NotUsed, 0, ""},
        AccessCase{"/PG:Everyone:Fc", "\\\\BENCH7\\hku\\A", 0, "BENCH7|1|A", AccessMode::Grant, kFc, "Everyone"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(RegistryKeyAccessFailures, ReturnTheFirstFailingCallsCode) {
    FakeRegistry refused;
    refused.openResult = 5;  // access denied
    EXPECT_EQ(link::SetRegistryKeyAccess(refused, "/PG:Everyone:Fc", "HKLM\\A"), 5);
    EXPECT_TRUE(refused.merges.empty());

    FakeRegistry mergeFails;
    mergeFails.openAll = true;
    mergeFails.mergeResult = 1336;  // the access list is damaged
    EXPECT_EQ(link::SetRegistryKeyAccess(mergeFails, "/PG:Everyone:Fc", "HKLM\\A"), 1336);
    EXPECT_EQ(mergeFails.closes, 1);

    FakeRegistry noMemory;
    noMemory.throwOnOpen = true;
    EXPECT_EQ(link::SetRegistryKeyAccess(noMemory, "/PG:Everyone:Fc", "HKLM\\A"), 8);

    // Linux has no registry: no key, and the grant leaves it at that.
    EXPECT_EQ(link::SetRegistryKeyAccess(platform::systemRegistry(), "/PG:Everyone:Fc", "HKLM\\A"), 2);
    link::GrantUsbPrintKeyAccess(platform::systemRegistry(), 8);
}

TEST(GrantUsbPrintKeyAccess, EveryInstanceOfEveryNameOfTheModel) {
    FakeRegistry registry;
    registry.openAll = true;
    const std::string base = "SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\";
    registry.keys[base + "NorvikVL-2405"].subkeys = {"7&1A&0&USB001", "7&2B&0&USB002"};
    registry.keys[base + "NVK_VM2405"].subkeys = {"8&3C&0&USB003"};
    link::GrantUsbPrintKeyAccess(registry, 8);
    std::vector<std::string> granted;
    for (const auto& m : registry.merges) {
        EXPECT_EQ(m.entry.trustee, "Everyone");
        EXPECT_EQ(m.entry.rights, kFc);
        EXPECT_EQ(m.entry.mode, AccessMode::Grant);
        granted.push_back(m.key);
    }
    EXPECT_EQ(granted, (std::vector<std::string>{"BENCH7|0|" + base + "NorvikVL-2405\\7&1A&0&USB001",
                                                 "BENCH7|0|" + base + "NorvikVL-2405\\7&2B&0&USB002",
                                                 "BENCH7|0|" + base + "NVK_VM2405\\8&3C&0&USB003"}));
    EXPECT_EQ(registry.closes, 5);  // two name keys, three instance keys

    // A code without names touches nothing.
    for (int code : {-1, 17}) {
        FakeRegistry none;
        none.openAll = true;
        link::GrantUsbPrintKeyAccess(none, code);
        EXPECT_TRUE(none.opened.empty());
    }
}

}  // namespace
}  // namespace velmora::testing
