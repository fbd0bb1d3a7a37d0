// The simulated card's driver reached the way the program reaches it: the
// tuner device bound to its filter, the property set on the pin "Input0",
// statistics through the topology's control node, tunes through the
// filter's tuning face.
#include "platform/sim/tuner_filter.h"

#include <gtest/gtest.h>

#include "platform/com/com_ptr.h"
#include "platform/sim/driver/extension_properties.h"
#include "platform/sim/sim_card.h"
#include "platform/sim/sim_filters.h"
#include "platform/sim/sky/media_info.h"
#include "tests/sim/driver_test_support.h"
#include "tests/support/instant_clock.h"

namespace sim {
namespace {

ComPtr<IBaseFilter> BindTuner(const std::shared_ptr<SimCard>& card) {
  ComPtr<IBaseFilter> filter;
  EXPECT_EQ(BindTunerFilter(card, IBaseFilter::IID, reinterpret_cast<void**>(filter.ReleaseAndGetAddressOf())), S_OK);
  return filter;
}

TEST(SimTunerFilter, LocksASkyTransponderThroughItsFaces) {
  ScopedInstantClock clock;
  std::string error;
  const auto card = SimCard::Install(SimConfig{}, &error);
  ASSERT_TRUE(card) << error;
  const ComPtr<IBaseFilter> filter = BindTuner(card);
  ASSERT_TRUE(filter);

  ComPtr<IPin> input;
  ASSERT_EQ(filter->FindPin(kTunerInputPinName, input.ReleaseAndGetAddressOf()), S_OK);
  const auto properties = input.As<IKsPropertySet>();
  ASSERT_TRUE(properties);
  const auto topology = filter.As<IBDA_Topology>();
  ASSERT_TRUE(topology);
  const auto tuning = filter.As<IBDA_DvbsTuning>();
  ASSERT_TRUE(tuning);

  ComPtr<IUnknown> node;
  EXPECT_EQ(topology->GetControlNode(0, 0, 0, node.ReleaseAndGetAddressOf()), E_INVALIDARG);
  EXPECT_EQ(topology->GetControlNode(1, 1, 0, node.ReleaseAndGetAddressOf()), E_INVALIDARG);
  EXPECT_EQ(topology->GetControlNode(0, 1, 1, node.ReleaseAndGetAddressOf()), E_INVALIDARG);
  EXPECT_FALSE(node);
  ASSERT_EQ(topology->GetControlNode(0, 1, 0, node.ReleaseAndGetAddressOf()), S_OK);
  const auto statistics = node.As<IBDA_SignalStatistics>();
  ASSERT_TRUE(statistics);
  const auto margin = node.As<ILinkMarginStatistics>();
  ASSERT_TRUE(margin);
  LONG centiDb = -1;
  EXPECT_EQ(margin->get_LinkMargin(&centiDb), S_FALSE) << "nothing tuned, nothing to measure";
  EXPECT_EQ(centiDb, 0);

  // The tuning action's order: stream type, switch command, tune request.
  DWORD support = 0;
  ASSERT_EQ(properties->QuerySupported(KSPROPSETID_TunerExtension, kPropertyStreamType, &support), S_OK);
  uint8_t pair[2] = {1, 0};
  ASSERT_EQ(properties->Set(KSPROPSETID_TunerExtension, kPropertyStreamType, pair, 2, pair, 2), S_OK);
  auto diseqc = testing::DiseqcRecord({0xE0, 0x10, 0x38, 0xF3});  // high band, horizontal, port A
  ASSERT_EQ(properties->Set(KSPROPSETID_TunerExtension, kPropertyDiseqcMessage, diseqc.data(), 11, diseqc.data(),
                            11),
            S_OK);
  ASSERT_EQ(tuning->SubmitTune(testing::TuneMHz(11720, 9750, 10600, 10600, BDA_POLARISATION_LINEAR_H, 27500)), S_OK);
  clock->SleepMs(kAcquisitionTimeMs);

  LONG quality = 0, strength = 0;
  BOOLEAN locked = 0;
  EXPECT_EQ(statistics->get_SignalQuality(&quality), S_OK);
  EXPECT_EQ(statistics->get_SignalStrength(&strength), S_OK);
  EXPECT_EQ(statistics->get_SignalLocked(&locked), S_OK);
  EXPECT_EQ(locked, 1);
  EXPECT_GT(quality, 10);
  EXPECT_GT(strength, 10);
  EXPECT_EQ(margin->get_LinkMargin(&centiDb), S_OK);
  EXPECT_EQ(centiDb, 1009) << "18 dB on target less the 7.91 dB that 8PSK 3/4 needs";

  uint8_t record[kMediaInfoSize] = {};
  DWORD returned = 0;
  ASSERT_EQ(properties->Get(KSPROPSETID_TunerExtension, kPropertyMediaInfo, record, sizeof record, record,
                            sizeof record, &returned),
            S_OK);
  EXPECT_EQ(returned, kMediaInfoSize);
  const MediaInfoReport info = DecodeMediaInfo(record);
  EXPECT_EQ(info.intermediateFrequencyKHz, 1120000);
  EXPECT_EQ(info.symbolRateBd, 27500000);
  EXPECT_EQ(info.matype1, 0xF2u);

  // A second filter bound from the card sees the same driver.
  const ComPtr<IBaseFilter> again = BindTuner(card);
  ComPtr<IUnknown> otherNode;
  ASSERT_EQ(again.As<IBDA_Topology>()->GetControlNode(0, 1, 0, otherNode.ReleaseAndGetAddressOf()), S_OK);
  locked = 0;
  EXPECT_EQ(otherNode.As<IBDA_SignalStatistics>()->get_SignalLocked(&locked), S_OK);
  EXPECT_EQ(locked, 1);
  EXPECT_TRUE(card->Driver()->DescribeStream().locked);
}

TEST(SimTunerFilter, InstallFailsWhenTheTraceCannotBeWritten) {
  SimConfig config;
  config.card.traceFile = "/nonexistent/dir/trace.txt";
  std::string error;
  EXPECT_FALSE(SimCard::Install(config, &error));
  EXPECT_NE(error.find("/nonexistent/dir/trace.txt"), std::string::npos) << error;
}

}  // namespace
}  // namespace sim
