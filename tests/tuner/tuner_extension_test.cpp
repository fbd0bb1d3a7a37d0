#include "tuner/tuner_extension.h"

#include <gtest/gtest.h>

#include "tests/support/fake_property_set.h"
#include "tests/support/message_box_recorder.h"
#include "tuner/tuner_context.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class CountingMediaControl final : public ComObject<CountingMediaControl, IMediaControl> {
 public:
  HRESULT Run() override { return S_OK; }
  HRESULT Pause() override { return S_OK; }
  HRESULT Stop() override {
    ++stops;
    return S_OK;
  }
  HRESULT GetState(LONG, OAFilterState* state) override {
    *state = 0;
    return S_OK;
  }
  int stops = 0;
};

class TunerExtensionTest : public testing::Test {
 protected:
  void SetUp() override {
    m_driver = MakeComObject<FakePropertySet>();
    TheTunerContext().m_pKsCtrl = ComPtr<IKsPropertySet>(m_driver.Get());
  }
  void TearDown() override {
    TheTunerContext().m_pKsCtrl = nullptr;
    TheTunerContext().m_pMediaControl = nullptr;
  }
  FakePropertySet& Driver() { return *m_driver; }

  ComPtr<FakePropertySet> m_driver;
  MessageBoxRecorder m_boxes;
  const CDialog* const kOwner = reinterpret_cast<const CDialog*>(0x1);
};

TEST_F(TunerExtensionTest, StreamTypeReadsNameEveryFailureAndReadTheDriversPair) {
  TUNER_STREAMTYPE_PARAMS params{7, 7};
  Driver().getData[13] = {0, 1};
  EXPECT_TRUE(GetStreamTypeParams(kOwner, &params));
  EXPECT_EQ(params.TransportStream, 0);
  EXPECT_EQ(params.GenericStream, 1);
  EXPECT_TRUE(StreamTypeParamsMatch(kOwner, {0, 1}));
  EXPECT_FALSE(StreamTypeParamsMatch(kOwner, {1, 0}));
  for (const auto& call : Driver().CallsOf("Get")) {
    EXPECT_EQ(call.bytes.size(), 2u);
    EXPECT_TRUE(call.sameBuffers);
  }
  EXPECT_TRUE(m_boxes.Boxes().empty());

  Driver().getResult[13] = E_FAIL;
  EXPECT_FALSE(StreamTypeParamsMatch(kOwner, {0, 1}));
  Driver().supportResult[13] = E_NOTIMPL;
  EXPECT_FALSE(GetStreamTypeParams(kOwner, &params));
  TheTunerContext().m_pKsCtrl = nullptr;
  EXPECT_FALSE(GetStreamTypeParams(kOwner, &params));

  const auto boxes = m_boxes.Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, "Get KSPROPERTY_BDA_GET_MEDIAINFO error");
  EXPECT_EQ(boxes[0].caption, "OrvaneRX40 Tessel");
  EXPECT_EQ(boxes[1].text, "don't support this interface");
  EXPECT_EQ(boxes[1].caption, "error");
  EXPECT_EQ(boxes[1].owner, kOwner);
  EXPECT_EQ(boxes[2].text, "m_pKsCtrl==NULL");
  EXPECT_EQ(boxes[2].owner, kOwner);
}

TEST_F(TunerExtensionTest, WritingTheStreamTypeStopsTheGraphFirstAndAcceptsAnyNonNegativeResult) {
  auto control = MakeComObject<CountingMediaControl>();
  TheTunerContext().m_pMediaControl = ComPtr<IMediaControl>(control.Get());
  Driver().setResult[13] = 1;  // positive: still a success here
  EXPECT_TRUE(SetStreamTypeParams(kOwner, {0, 1}));
  EXPECT_EQ(control->stops, 1);
  ASSERT_EQ(Driver().CallsOf("Set").size(), 1u);
  EXPECT_EQ(Driver().CallsOf("Set")[0].bytes, (Bytes{0, 1}));

  Driver().setResult[13] = E_FAIL;
  EXPECT_FALSE(SetStreamTypeParams(kOwner, {1, 0}));
  Driver().supportResult[13] = E_NOTIMPL;
  EXPECT_FALSE(SetStreamTypeParams(kOwner, {1, 0}));
  TheTunerContext().m_pKsCtrl = nullptr;
  EXPECT_FALSE(SetStreamTypeParams(kOwner, {1, 0}));
  EXPECT_EQ(control->stops, 4) << "the graph stops whatever follows";
  EXPECT_EQ(m_boxes.Texts(), (std::vector<std::string>{"Get KSPROPERTY_BDA_STREAMTYPE_PARAMS error",
                                                       "don't support this interface"}));
}

TEST_F(TunerExtensionTest, DiseqcMessagesGoOutAsElevenBytesAndOnlyAZeroResultIsSuccess) {
  const std::uint8_t sw[] = {0xE0, 0x10, 0x38, 0xF2};
  EXPECT_TRUE(SendDiseqCommand(kOwner, sw, 4));
  const std::uint8_t ten[] = {0xE0, 0x31, 0x6E, 1, 2, 3, 4, 5, 6, 7};
  EXPECT_TRUE(SendDiseqCommand(kOwner, ten, 10));
  const auto sets = Driver().CallsOf("Set");
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0].id, 0u);
  EXPECT_EQ(sets[0].bytes, (Bytes{0xE0, 0x10, 0x38, 0xF2, 0, 0, 0, 0, 0, 0, 4}));
  EXPECT_EQ(sets[1].bytes, (Bytes{0xE0, 0x31, 0x6E, 1, 2, 3, 4, 5, 6, 7, 10}));
  EXPECT_TRUE(sets[0].sameBuffers);

  Driver().setResult[0] = 1;
  EXPECT_FALSE(SendDiseqCommand(kOwner, sw, 4));
  Driver().supportResult[0] = E_NOTIMPL;
  EXPECT_FALSE(SendDiseqCommand(kOwner, sw, 4));
  EXPECT_EQ(m_boxes.Texts(), (std::vector<std::string>{"SendDiseqCommand11122 QueryInterface Failed",
                                                       "SendDiseqCommand11 QueryInterface Failed"}));
  TheTunerContext().m_pKsCtrl = nullptr;
  EXPECT_FALSE(SendDiseqCommand(kOwner, sw, 4));
  EXPECT_EQ(m_boxes.Boxes().size(), 2u) << "no interface: no box";
}

TEST_F(TunerExtensionTest, MotorMessageOutcomes) {
  const MotorMessage motor{{0xE0, 0x31, 0, 0, 0}, 2};
  SendMotorMessage(kOwner, motor);
  EXPECT_TRUE(m_boxes.Boxes().empty());
  EXPECT_EQ(Driver().CallsOf("Set").back().bytes, (Bytes{0xE0, 0x31, 0, 0, 0, 0, 0, 0, 0, 0, 2}));

  Driver().setResult[0] = 5;
  SendMotorMessage(kOwner, motor);
  EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"OnMotor11 false"}) << "a refused write keeps the outcome";

  m_boxes.Clear();
  Driver().supportResult[0] = E_NOTIMPL;
  SendMotorMessage(kOwner, motor);
  EXPECT_EQ(m_boxes.Texts(), (std::vector<std::string>{"OnMotor22 false", "KSPROPERTY_CTRL_TUNER false"}));

  m_boxes.Clear();
  TheTunerContext().m_pKsCtrl = nullptr;
  SendMotorMessage(kOwner, motor);
  EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"KSPROPERTY_CTRL_TUNER false"});
  for (const auto& box : m_boxes.Boxes()) EXPECT_EQ(box.caption, "error");
}

TEST_F(TunerExtensionTest, ThePositionersSenderAsksNothingFirstAndAlwaysReportsFailure) {
  const std::uint8_t halt[] = {0xE0, 0x31, 0x60};
  EXPECT_FALSE(SendDiseqCommandRX40(halt, 3));
  EXPECT_TRUE(Driver().CallsOf("QuerySupported").empty());
  EXPECT_EQ(Driver().CallsOf("Set")[0].bytes, (Bytes{0xE0, 0x31, 0x60, 0, 0, 0, 0, 0, 0, 0, 3}));
  EXPECT_TRUE(m_boxes.Boxes().empty());
  Driver().setResult[0] = 1;
  EXPECT_FALSE(SendDiseqCommandRX40(halt, 3));
  ASSERT_EQ(m_boxes.Boxes().size(), 1u);
  EXPECT_EQ(m_boxes.Boxes()[0].text, "SendDiseqCommandRX40 QueryInterface Failed");
  EXPECT_EQ(m_boxes.Boxes()[0].caption, "OrvaneRX40 Tessel");

  // The same steps, with their outcome for callers that show it.
  Driver().setResult[0] = S_OK;
  EXPECT_EQ(SendPositionerMessage(halt, 3), DiseqcSendResult::Sent);
  Driver().setResult[0] = E_FAIL;
  EXPECT_EQ(SendPositionerMessage(halt, 3), DiseqcSendResult::Refused);
  EXPECT_EQ(m_boxes.Boxes().size(), 2u);
  TheTunerContext().m_pKsCtrl = nullptr;
  EXPECT_EQ(SendPositionerMessage(halt, 3), DiseqcSendResult::NoDriver);
  EXPECT_FALSE(SendDiseqCommandRX40(halt, 3));
  EXPECT_EQ(m_boxes.Boxes().size(), 2u);
  EXPECT_EQ(Driver().CallsOf("Set").size(), 4u);
}

class RecordingDisplay final : public MediaInfoDisplay {
 public:
  void ShowMediaInfo(const TUNER_MEDIA_INFO& info) override { shown.push_back(info.InputStreamId); }
  void ClearMediaInfo() override { ++cleared; }
  std::vector<int> shown;
  int cleared = 0;
};

TEST_F(TunerExtensionTest, MediaInfoIsReadOnlyWhileLockedAndAFailedReadLeavesTheDisplayAlone) {
  RecordingDisplay display;
  Bytes report(72, 0);
  report[48] = 7;  // InputStreamId
  Driver().getData[12] = report;
  EXPECT_EQ(QueryMediaInfo(kOwner, false, &display), MediaInfoResult::Done);
  EXPECT_EQ(display.cleared, 1);
  EXPECT_TRUE(Driver().calls.empty()) << "no driver call without lock";

  EXPECT_EQ(QueryMediaInfo(kOwner, true, &display), MediaInfoResult::Done);
  EXPECT_EQ(display.shown, std::vector<int>{7});
  EXPECT_EQ(TheMediaInfo().InputStreamId, 7);
  EXPECT_EQ(Driver().CallsOf("Get").at(0).bytes.size(), 72u);
  EXPECT_TRUE(Driver().CallsOf("Get").at(0).sameBuffers);

  Driver().getResult[12] = E_FAIL;
  EXPECT_EQ(QueryMediaInfo(kOwner, true, &display), MediaInfoResult::ReadFailed);
  Driver().supportResult[12] = E_NOTIMPL;
  EXPECT_EQ(QueryMediaInfo(kOwner, true, &display), MediaInfoResult::NoDriver);
  EXPECT_EQ(display.shown.size(), 1u);
  EXPECT_EQ(display.cleared, 1);
  EXPECT_EQ(m_boxes.Texts(), (std::vector<std::string>{"Get KSPROPERTY_BDA_GET_MEDIAINFO error",
                                                       "don't support this interface"}));

  TheTunerContext().m_pKsCtrl = nullptr;
  EXPECT_EQ(QueryMediaInfo(kOwner, false, &display), MediaInfoResult::NoDriver);
  EXPECT_EQ(display.cleared, 1) << "without the interface the display is left alone";
}

TEST_F(TunerExtensionTest, AnInputStreamIsSelectedWithA72ByteRequestCarryingOnlyItsIdentifier) {
  EXPECT_TRUE(ApplyInputStreamId(kOwner, 258));
  const auto sets = Driver().CallsOf("Set");
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].id, 14u);
  Bytes expected(72, 0);
  expected[48] = 2;
  expected[49] = 1;
  EXPECT_EQ(sets[0].bytes, expected);
  Driver().setResult[14] = E_FAIL;
  EXPECT_FALSE(ApplyInputStreamId(kOwner, 1));
  EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Set KSPROPERTY_BDA_INPUTMULTISTREAMID error"});
}

}  // namespace
