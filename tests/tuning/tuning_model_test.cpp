#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/com/runtime.h"
#include "platform/media/tuning/dvbs_tuning_space.h"
#include "platform/media/tuning/tuning_space_container.h"
#include "platform/media/tuning/tuning_space_store.h"

namespace {

using namespace tuning;

class TuningModelTest : public testing::Test {
 protected:
  void SetUp() override {
    m_folder = std::filesystem::temp_directory_path() / ("rx40-tuning-" + std::to_string(::getpid()));
    std::filesystem::remove_all(m_folder);
    SetTuningSpaceStorePath((m_folder / "store" / "tuning-spaces.txt").string());
    RegisterTuningClasses();
  }
  void TearDown() override {
    SetTuningSpaceStorePath("");
    std::filesystem::remove_all(m_folder);
  }
  std::filesystem::path m_folder;
};

DvbsTuningSpaceValues Space(const wchar_t* uniqueName) {
  DvbsTuningSpaceValues v;
  v.uniqueName = uniqueName;
  v.friendlyName = L"Friendly \u00e9 name";
  v.networkType = DVB_SATELLITE_TV_NETWORK_TYPE;
  v.lowOscillator = 9750000;
  v.inputRange = L"-1";
  return v;
}

TEST_F(TuningModelTest, TheStoreKeepsEveryValueAndSkipsALineItCannotRead) {
  const std::string path = TuningSpaceStorePath();
  ASSERT_EQ(SaveTuningSpaces(path, {Space(L"one"), Space(L"two")}), 0);
  std::ofstream(path, std::ios::app) << "broken\tline\n";
  const auto loaded = LoadTuningSpaces(path);
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[1].uniqueName, L"two");
  EXPECT_EQ(loaded[0].friendlyName, L"Friendly \u00e9 name");
  EXPECT_EQ(loaded[0].networkType, DVB_SATELLITE_TV_NETWORK_TYPE);
  EXPECT_EQ(loaded[0].lowOscillator, 9750000);
  EXPECT_EQ(loaded[0].highOscillator, -1);
  EXPECT_EQ(loaded[0].spectralInversion, BDA_SPECTRAL_INVERSION_NOT_SET);
  EXPECT_TRUE(LoadTuningSpaces((m_folder / "missing.txt").string()).empty());
}

TEST_F(TuningModelTest, AContainerFindsWhatAnEarlierOneAddedAndRefusesATakenName) {
  {
    ComPtr<ITuningSpaceContainer> container;
    ASSERT_EQ(CoCreateInstance(CLSID_SystemTuningSpaces, container.ReleaseAndGetAddressOf()), S_OK);
    auto space = MakeComObject<DvbsTuningSpace>(Space(L"hallmere dvb-s"));
    LONG index = -1;
    EXPECT_EQ(container->Add(space.Get(), &index), S_OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(container->Add(MakeComObject<DvbsTuningSpace>(Space(L"hallmere dvb-s")).Get(), nullptr), E_INVALIDARG);
  }
  ComPtr<ITuningSpaceContainer> later;
  CoCreateInstance(CLSID_SystemTuningSpaces, later.ReleaseAndGetAddressOf());
  LONG count = 0;
  later->get_Count(&count);
  EXPECT_EQ(count, 1);
  ComPtr<IEnumTuningSpaces> spaces;
  later->get_EnumTuningSpaces(spaces.ReleaseAndGetAddressOf());
  ComPtr<ITuningSpace> space;
  ASSERT_EQ(spaces->Next(1, space.ReleaseAndGetAddressOf(), nullptr), S_OK);
  std::wstring name;
  space->get_UniqueName(&name);
  EXPECT_EQ(name, L"hallmere dvb-s");
  EXPECT_EQ(spaces->Next(1, space.ReleaseAndGetAddressOf(), nullptr), S_FALSE);
}

TEST_F(TuningModelTest, TheProviderKeepsRequestsAndTunesOnlyWhatItCanReach) {
  ComPtr<ITuner> provider;
  ASSERT_EQ(CoCreateInstance(DVB_SATELLITE_TV_NETWORK_TYPE, provider.ReleaseAndGetAddressOf()), S_OK);
  auto space = MakeComObject<DvbsTuningSpace>(Space(L"s"));
  ComPtr<ITuneRequest> request;
  space->CreateTuneRequest(request.ReleaseAndGetAddressOf());
  EXPECT_EQ(provider->put_TuningSpace(space.Get()), S_OK);
  EXPECT_EQ(provider->put_TuneRequest(request.Get()), S_OK) << "a request without a locator is only kept";
  EXPECT_EQ(provider->put_TuneRequest(nullptr), E_POINTER);

  ComPtr<IDVBSLocator> locator;
  CoCreateInstance(CLSID_DVBSLocator, locator.ReleaseAndGetAddressOf());
  locator->put_CarrierFrequency(11362000);
  request->put_Locator(locator.Get());
  EXPECT_TRUE(FAILED(provider->put_TuneRequest(request.Get()))) << "no tuner connected";
  ComPtr<ITuneRequest> kept;
  provider->get_TuneRequest(kept.ReleaseAndGetAddressOf());
  EXPECT_EQ(kept.Get(), request.Get());
}

}  // namespace
