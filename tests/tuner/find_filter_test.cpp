#include "tuner/find_filter.h"

#include <gtest/gtest.h>

#include "platform/com/runtime.h"
#include "platform/devices/device_interfaces.h"
#include "platform/media/bda_interfaces.h"
#include "tests/support/fake_devices.h"

namespace {

const GUID& kTuner = KSCATEGORY_BDA_NETWORK_TUNER;

std::wstring NameOf(const ComPtr<IBaseFilter>& filter) {
  return filter ? static_cast<NamedFilter*>(filter.Get())->Name() : L"(none)";
}

TEST(FindFilter, MatchesTheBeginningOfTheFriendlyNameCaseSensitively) {
  ScopedDeviceRegistry registry;
  auto& devices = devices::DeviceRegistry::Instance();
  devices.Add(NamedDevice(kTuner, L"Orvane RX40 DVBS"));                     // only the first part: no match
  devices.Add(NamedDevice(kTuner, L"orvane rx40 dvbs/s2 tuner"));           // other case: no match
  devices.Add(NamedDevice(kTuner, L"Orvane RX40 DVBS/S2 Tuner #2 (PCIe)"));  // longer name: match
  devices.Add(NamedDevice(kTuner, L"Orvane RX40 DVBS/S2 Tuner"));
  EXPECT_EQ(NameOf(FindFilter(kTuner, kTunerFriendlyName)), L"Orvane RX40 DVBS/S2 Tuner #2 (PCIe)");
  EXPECT_EQ(NameOf(FindFilter(kTuner, L"Nothing like it")), L"(none)");
}

TEST(FindFilter, AnUnopenablePropertyBagEndsTheWholeSearch) {
  ScopedDeviceRegistry registry;
  auto& devices = devices::DeviceRegistry::Instance();
  devices.Add(NamedDevice(kTuner, L"Other card", {.propertyBagFails = true}));
  devices.Add(NamedDevice(kTuner, kTunerFriendlyName));
  EXPECT_FALSE(FindFilter(kTuner, kTunerFriendlyName));
  EXPECT_FALSE(FindFilter(kTuner, nullptr));
}

TEST(FindFilter, SkipsDevicesWhoseNameCannotBeReadOrThatCannotBeBound) {
  ScopedDeviceRegistry registry;
  auto& devices = devices::DeviceRegistry::Instance();
  devices.Add(NamedDevice(kTuner, L"Unreadable", {.friendlyNameFails = true}));
  devices.Add(NamedDevice(kTuner, L"Unbindable", {.bindFails = true}));
  devices.Add(NamedDevice(kTuner, L"First usable"));
  devices.Add(NamedDevice(kTuner, L"Second usable"));
  EXPECT_EQ(NameOf(FindFilter(kTuner, nullptr)), L"First usable");
  // A matching name on an unbindable device does not end the search.
  devices.Add(NamedDevice(kTuner, L"Target", {.bindFails = true}));
  devices.Add(NamedDevice(kTuner, L"Target too"));
  EXPECT_EQ(NameOf(FindFilter(kTuner, L"Target")), L"Target too");
}

TEST(FindFilter, AnEmptyCategoryOrAMissingEnumeratorGivesNone) {
  ScopedDeviceRegistry registry;
  devices::DeviceRegistry::Instance().Add(NamedDevice(KSCATEGORY_BDA_RECEIVER_COMPONENT, kCaptureFriendlyName));
  EXPECT_FALSE(FindFilter(kTuner, nullptr));
  UnregisterClassFactory(CLSID_SystemDeviceEnum);
  EXPECT_FALSE(FindFilter(KSCATEGORY_BDA_RECEIVER_COMPONENT, nullptr));
}

TEST(FindFilter, ADeviceThatAppearsLateIsFoundByALaterLookup) {
  ScopedDeviceRegistry registry;
  devices::DeviceRegistry::Instance().Add(
      NamedDevice(KSCATEGORY_BDA_RECEIVER_COMPONENT, kCaptureFriendlyName, {.visibleFromEnumeration = 2}));
  EXPECT_FALSE(FindFilter(KSCATEGORY_BDA_RECEIVER_COMPONENT, kCaptureFriendlyName));
  EXPECT_TRUE(FindFilter(KSCATEGORY_BDA_RECEIVER_COMPONENT, kCaptureFriendlyName));
}

}  // namespace
