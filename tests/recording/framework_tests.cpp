#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/runtime.h"
#include "recording/framework/enum_media_types.h"
#include "recording/framework/enum_pins.h"
#include "recording/framework/media_type.h"
#include "tests/recording/test_filters.h"

namespace {

TEST(FrameworkCounting, LookupAndCountsActOnTheFilterAndPinsDieWithIt) {
  int destroyed = 0;
  auto* filter = new TestFilter(&destroyed);
  TestInputPin* pin = filter->AddInput(L"In");
  EXPECT_EQ(filter->NonDelegatingAddRef(), 1u);
  EXPECT_EQ(filter->NonDelegatingAddRef(), 2u);

  void* face = nullptr;
  EXPECT_EQ(filter->QueryInterface(IBaseFilter::IID, nullptr), E_POINTER);
  ASSERT_EQ(filter->QueryInterface(IPersist::IID, &face), S_OK);
  EXPECT_EQ(face, static_cast<IBaseFilter*>(filter));
  ASSERT_EQ(filter->QueryInterface(IMediaFilter::IID, &face), S_OK);
  EXPECT_EQ(face, static_cast<IBaseFilter*>(filter));
  ASSERT_EQ(filter->QueryInterface(IAMovieSetup::IID, &face), S_OK);
  EXPECT_EQ(filter->RefCount(), 5u);
  face = reinterpret_cast<void*>(1);
  EXPECT_EQ(filter->QueryInterface(IPin::IID, &face), E_NOINTERFACE);
  EXPECT_EQ(face, nullptr);

  // A pin's counting is its filter's.
  ComPtr<IMemInputPin> memInput;
  ASSERT_EQ(static_cast<IPin*>(pin)->QueryInterface(IID_PPV_ARGS(memInput.ReleaseAndGetAddressOf())), S_OK);
  EXPECT_EQ(filter->RefCount(), 6u);
  ComPtr<IUnknown> pinIdentity, pinIdentity2;
  static_cast<IPin*>(pin)->QueryInterface(IID_PPV_ARGS(pinIdentity.ReleaseAndGetAddressOf()));
  memInput->QueryInterface(IID_PPV_ARGS(pinIdentity2.ReleaseAndGetAddressOf()));
  EXPECT_EQ(pinIdentity, pinIdentity2);
  pinIdentity = nullptr;
  pinIdentity2 = nullptr;
  memInput = nullptr;

  for (int i = 0; i < 3; ++i) filter->Release();
  EXPECT_EQ(filter->RefCount(), 2u);
  EXPECT_EQ(filter->NonDelegatingRelease(), 1u);
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(filter->NonDelegatingRelease(), 0u);
  EXPECT_EQ(destroyed, 1);
}

TEST(FrameworkFilter, InformationNamesAndRegistration) {
  ComPtr<IBaseFilter> held = Hold(new TestFilter);
  auto* filter = static_cast<TestFilter*>(held.Get());
  filter->AddInput(L"Input");

  CLSID clsid;
  EXPECT_EQ(filter->GetClassID(nullptr), E_POINTER);
  ASSERT_EQ(filter->GetClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, kTestFilterClass);

  ComPtr<IPin> pin;
  EXPECT_EQ(filter->FindPin(L"Input", pin.ReleaseAndGetAddressOf()), S_OK);
  EXPECT_TRUE(pin);
  EXPECT_EQ(filter->FindPin(L"input", pin.ReleaseAndGetAddressOf()), VFW_E_NOT_FOUND);
  EXPECT_FALSE(pin);

  FILTER_INFO info;
  ASSERT_EQ(filter->QueryFilterInfo(&info), S_OK);
  EXPECT_STREQ(info.achName, L"");
  EXPECT_EQ(info.pGraph, nullptr);
  const std::wstring longName(200, L'n');
  filter->JoinFilterGraph(nullptr, longName.c_str());
  ASSERT_EQ(filter->QueryFilterInfo(&info), S_OK);
  EXPECT_EQ(std::wstring(info.achName), longName.substr(0, MAX_FILTER_NAME - 1));

  FILTER_STATE state;
  EXPECT_EQ(filter->GetState(0, &state), S_OK);
  EXPECT_EQ(state, State_Stopped);
  REFERENCE_TIME t;
  EXPECT_EQ(filter->StreamTime(&t), VFW_E_NO_CLOCK);
  EXPECT_EQ(filter->Register(), S_FALSE);
  EXPECT_EQ(filter->Unregister(), S_FALSE);
  LPWSTR vendor;
  EXPECT_EQ(filter->QueryVendorInfo(&vendor), E_NOTIMPL);

  LPWSTR id = nullptr;
  const long blocks = CoTaskMemOutstanding();
  ASSERT_EQ(filter->FindPin(L"Input", pin.ReleaseAndGetAddressOf()), S_OK);
  ASSERT_EQ(pin->QueryId(&id), S_OK);
  EXPECT_STREQ(id, L"Input");
  CoTaskMemFree(id);
  EXPECT_EQ(CoTaskMemOutstanding(), blocks);
}

class Connection : public ::testing::Test {
 protected:
  void SetUp() override {
    upstream = Hold(new TestFilter);
    downstream = Hold(new TestFilter);
    out = Up()->AddOutput(L"Out");
    in = Down()->AddInput(L"In");
    out->offered = {TypeOf(kTypeA), TypeOf(kTypeB)};
  }
  TestFilter* Up() { return static_cast<TestFilter*>(upstream.Get()); }
  TestFilter* Down() { return static_cast<TestFilter*>(downstream.Get()); }

  ComPtr<IBaseFilter> upstream, downstream;
  TestOutputPin* out = nullptr;
  TestInputPin* in = nullptr;
};

TEST_F(Connection, NegotiatesTheFirstTypeBothSidesAcceptAndHoldsThePeer) {
  in->accepted = kTypeB;
  const ULONG before = Up()->RefCount();
  ASSERT_EQ(out->Connect(in, nullptr), S_OK);
  EXPECT_EQ(Up()->RefCount(), before + 1);  // the input pin holds the output pin

  ComPtr<IPin> peer;
  ASSERT_EQ(in->ConnectedTo(peer.ReleaseAndGetAddressOf()), S_OK);
  EXPECT_EQ(peer.Get(), static_cast<IPin*>(out));
  CMediaType mt;
  ASSERT_EQ(in->ConnectionMediaType(&mt), S_OK);
  EXPECT_EQ(mt.majortype, kTypeB);
  ASSERT_EQ(out->ConnectionMediaType(&mt), S_OK);
  EXPECT_EQ(mt.majortype, kTypeB);
  peer = nullptr;

  // A second connection is refused and the first kept.
  ComPtr<IBaseFilter> other = Hold(new TestFilter);
  TestOutputPin* otherOut = static_cast<TestFilter*>(other.Get())->AddOutput(L"Out");
  const AM_MEDIA_TYPE b = TypeOf(kTypeB);
  EXPECT_EQ(in->ReceiveConnection(otherOut, &b), VFW_E_ALREADY_CONNECTED);
  EXPECT_EQ(out->Connect(in, nullptr), VFW_E_ALREADY_CONNECTED);
  EXPECT_TRUE(in->GetConnected().Get() == static_cast<IPin*>(out));

  EXPECT_EQ(in->Disconnect(), S_OK);
  EXPECT_EQ(out->Disconnect(), S_OK);
  EXPECT_EQ(in->Disconnect(), S_FALSE);
  EXPECT_EQ(Up()->RefCount(), before);
}

TEST_F(Connection, RefusalsEndInBreakConnectWithNothingHeld) {
  in->accepted = kTypeB;
  AM_MEDIA_TYPE onlyA = TypeOf(kTypeA);
  onlyA.formattype = GUID_NULL;  // partial: major type A only
  EXPECT_EQ(out->Connect(in, &onlyA), VFW_E_NO_ACCEPTABLE_TYPES);
  EXPECT_FALSE(out->IsConnected());
  EXPECT_FALSE(in->IsConnected());
  EXPECT_GE(out->calls.breakConnect, 1);

  const AM_MEDIA_TYPE fullA = TypeOf(kTypeA);
  EXPECT_EQ(in->ReceiveConnection(out, &fullA), VFW_E_TYPE_NOT_ACCEPTED);  // S_FALSE becomes a refusal
  EXPECT_GE(in->calls.breakConnect, 1);
  in->checkResult = E_OUTOFMEMORY;  // other failures pass through unchanged
  EXPECT_EQ(in->ReceiveConnection(out, &fullA), E_OUTOFMEMORY);
  EXPECT_EQ(out->Connect(in, &fullA), E_OUTOFMEMORY);
  in->checkResult = S_OK;

  // Same direction.
  TestInputPin* secondIn = Up()->AddInput(L"In2");
  EXPECT_EQ(secondIn->ReceiveConnection(in, &fullA), VFW_E_INVALID_DIRECTION);

  // The receiver's completion fails: neither side stays connected.
  in->accepted = GUID_NULL;
  in->completeResult = E_FAIL;
  EXPECT_EQ(out->Connect(in, &fullA), E_FAIL);
  EXPECT_FALSE(in->IsConnected());
  EXPECT_FALSE(out->IsConnected());

  // The initiator's completion fails: the receiver is told to disconnect.
  in->completeResult = S_OK;
  out->completeResult = E_ABORT;
  EXPECT_EQ(out->Connect(in, &fullA), E_ABORT);
  EXPECT_FALSE(in->IsConnected());
  EXPECT_FALSE(out->IsConnected());

  EXPECT_EQ(out->Connect(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(in->ReceiveConnection(out, nullptr), E_POINTER);
  EXPECT_EQ(in->QueryAccept(&fullA), S_OK);
  in->accepted = kTypeB;
  EXPECT_EQ(in->QueryAccept(&fullA), S_FALSE);
  in->checkResult = E_INVALIDARG;
  EXPECT_EQ(in->QueryAccept(&fullA), S_FALSE);
}

TEST_F(Connection, UnconnectedPinAnswersNotConnectedWithAFreshType) {
  ComPtr<IPin> peer;
  EXPECT_EQ(in->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);
  AM_MEDIA_TYPE mt;
  std::memset(&mt, 0xAB, sizeof(mt));
  EXPECT_EQ(in->ConnectionMediaType(&mt), VFW_E_NOT_CONNECTED);
  EXPECT_EQ(mt.majortype, GUID_NULL);
  EXPECT_EQ(mt.bFixedSizeSamples, 1);
  EXPECT_EQ(mt.lSampleSize, 1u);
  EXPECT_EQ(mt.pbFormat, nullptr);
}

TEST_F(Connection, StateRulesActivateConnectedPinsAndRefuseChangesWhileRunning) {
  ASSERT_EQ(out->Connect(in, nullptr), S_OK);
  TestInputPin* loose = Down()->AddInput(L"Loose");
  auto allocator = MakeComObject<CountingAllocator>();
  in->NotifyAllocator(allocator.Get(), 0);

  ASSERT_EQ(downstream->Run(0), S_OK);
  EXPECT_EQ(in->calls.active, 1);
  EXPECT_EQ(in->calls.run, 1);
  EXPECT_EQ(loose->calls.active, 0);
  EXPECT_EQ(downstream->Run(0), S_OK);  // already running: nothing again
  EXPECT_EQ(in->calls.run, 1);
  EXPECT_EQ(in->CheckStreaming(), S_OK);

  const AM_MEDIA_TYPE a = TypeOf(kTypeA);
  EXPECT_EQ(loose->ReceiveConnection(out, &a), VFW_E_NOT_STOPPED);
  EXPECT_EQ(in->Disconnect(), VFW_E_NOT_STOPPED);

  EXPECT_EQ(in->BeginFlush(), S_OK);
  EXPECT_EQ(in->CheckStreaming(), S_FALSE);
  EXPECT_EQ(in->EndFlush(), S_OK);

  ASSERT_EQ(downstream->Stop(), S_OK);
  EXPECT_EQ(in->calls.inactive, 1);
  EXPECT_EQ(allocator->decommits, 1);
  EXPECT_EQ(in->CheckStreaming(), VFW_E_WRONG_STATE);

  // Without an allocator the pin's deactivation fails; Stop still stops.
  in->NotifyAllocator(nullptr, 0);
  ASSERT_EQ(downstream->Pause(), S_OK);
  EXPECT_EQ(downstream->Stop(), VFW_E_NO_ALLOCATOR);
  FILTER_STATE state;
  downstream->GetState(0, &state);
  EXPECT_EQ(state, State_Stopped);

  // Breaking the connection decommits and drops the allocator.
  in->NotifyAllocator(allocator.Get(), 1);
  EXPECT_TRUE(in->IsReadOnly());
  EXPECT_EQ(in->Disconnect(), S_OK);
  EXPECT_EQ(allocator->decommits, 2);
  EXPECT_FALSE(in->Allocator());
  out->Disconnect();
}

TEST(FrameworkEnumPins, RefreshesOnNextButSkipAndCloneReportOutOfSync) {
  ComPtr<IBaseFilter> held = Hold(new TestFilter);
  auto* filter = static_cast<TestFilter*>(held.Get());
  filter->AddInput(L"A");
  filter->AddInput(L"B");

  ComPtr<IEnumPins> pins;
  ASSERT_EQ(filter->EnumPins(pins.ReleaseAndGetAddressOf()), S_OK);
  IPin* got[4] = {};
  ULONG fetched = 0;
  EXPECT_EQ(pins->Next(2, got, nullptr), E_INVALIDARG);
  EXPECT_EQ(pins->Next(1, nullptr, &fetched), E_POINTER);
  ASSERT_EQ(pins->Next(1, got, &fetched), S_OK);
  EXPECT_EQ(got[0], static_cast<IPin*>(filter->GetPin(0)));
  got[0]->Release();

  filter->AddInput(L"C");
  EXPECT_EQ(pins->Skip(1), VFW_E_ENUM_OUT_OF_SYNC);
  ComPtr<IEnumPins> clone;
  EXPECT_EQ(pins->Clone(clone.ReleaseAndGetAddressOf()), VFW_E_ENUM_OUT_OF_SYNC);
  EXPECT_FALSE(clone);

  // Next starts again but does not hand out "A" twice.
  ASSERT_EQ(pins->Next(4, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(got[0], static_cast<IPin*>(filter->GetPin(1)));
  EXPECT_EQ(got[1], static_cast<IPin*>(filter->GetPin(2)));
  for (ULONG i = 0; i < fetched; ++i) got[i]->Release();

  ASSERT_EQ(pins->Reset(), S_OK);
  EXPECT_EQ(pins->Skip(2), S_OK);
  EXPECT_EQ(pins->Skip(2), S_FALSE);
  ASSERT_EQ(pins->Clone(clone.ReleaseAndGetAddressOf()), S_OK);
  ASSERT_EQ(clone->Next(1, got, &fetched), S_OK);
  EXPECT_EQ(got[0], static_cast<IPin*>(filter->GetPin(2)));
  got[0]->Release();

  const ULONG refs = filter->RefCount();
  pins = nullptr;
  clone = nullptr;
  EXPECT_EQ(filter->RefCount(), refs - 2);  // each enumerator held the filter
}

TEST(FrameworkEnumMediaTypes, HandsOutTaskAllocatedCopiesAndDetectsTypeChanges) {
  ComPtr<IBaseFilter> held = Hold(new TestFilter);
  TestInputPin* pin = static_cast<TestFilter*>(held.Get())->AddInput(L"In");
  pin->offered = {TypeOf(kTypeA), TypeOf(kTypeB)};

  const long blocks = CoTaskMemOutstanding();
  ComPtr<IEnumMediaTypes> types;
  ASSERT_EQ(pin->EnumMediaTypes(types.ReleaseAndGetAddressOf()), S_OK);
  AM_MEDIA_TYPE* got[3] = {};
  ULONG fetched = 0;
  ASSERT_EQ(types->Next(3, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(got[0]->majortype, kTypeA);
  EXPECT_EQ(got[1]->majortype, kTypeB);
  DeleteMediaType(got[0]);
  DeleteMediaType(got[1]);
  EXPECT_EQ(CoTaskMemOutstanding(), blocks);

  ASSERT_EQ(types->Reset(), S_OK);
  EXPECT_EQ(types->Skip(0), S_OK);
  EXPECT_EQ(types->Skip(2), S_OK);
  EXPECT_EQ(types->Skip(1), S_FALSE);

  pin->ChangeOfferedTypes({TypeOf(kTypeB)});
  EXPECT_EQ(types->Next(1, got, &fetched), VFW_E_ENUM_OUT_OF_SYNC);
  EXPECT_EQ(types->Skip(1), VFW_E_ENUM_OUT_OF_SYNC);
  ComPtr<IEnumMediaTypes> clone;
  EXPECT_EQ(types->Clone(clone.ReleaseAndGetAddressOf()), VFW_E_ENUM_OUT_OF_SYNC);
  ASSERT_EQ(types->Reset(), S_OK);
  ASSERT_EQ(types->Next(1, got, nullptr), S_OK);
  EXPECT_EQ(got[0]->majortype, kTypeB);
  DeleteMediaType(got[0]);
}

class CountedOwner final : public ComObject<CountedOwner, IPersist> {
 public:
  HRESULT GetClassID(CLSID*) override { return E_NOTIMPL; }
  ULONG Count() {
    AddRef();
    return Release();
  }
};

TEST(FrameworkMediaType, CopiesFormatAndOwnerAndMatchesPartialTypes) {
  auto owner = MakeComObject<CountedOwner>();
  BYTE format[3] = {1, 2, 3};
  AM_MEDIA_TYPE src = TypeOf(kTypeA);
  src.cbFormat = sizeof(format);
  src.pbFormat = format;
  src.pUnk = owner.Get();

  const long blocks = CoTaskMemOutstanding();
  {
    CMediaType copy;
    ASSERT_EQ(copy.Set(src), S_OK);
    EXPECT_NE(copy.pbFormat, format);
    EXPECT_EQ(std::memcmp(copy.pbFormat, format, 3), 0);
    EXPECT_EQ(owner->Count(), 2u);
    EXPECT_EQ(CoTaskMemOutstanding(), blocks + 1);

    AM_MEDIA_TYPE partial{};
    EXPECT_TRUE(MatchesPartial(copy, partial));
    EXPECT_TRUE(IsPartiallySpecified(partial));
    partial.majortype = kTypeA;
    EXPECT_TRUE(MatchesPartial(copy, partial));
    partial.subtype = kTypeB;
    EXPECT_FALSE(MatchesPartial(copy, partial));
    partial.subtype = GUID_NULL;
    partial.formattype = kFormatX;
    EXPECT_FALSE(MatchesPartial(copy, partial));  // format length differs
    BYTE other[3] = {1, 2, 4};
    partial.cbFormat = 3;
    partial.pbFormat = other;
    EXPECT_FALSE(MatchesPartial(copy, partial));
    partial.pbFormat = format;
    EXPECT_TRUE(MatchesPartial(copy, partial));
  }
  EXPECT_EQ(owner->Count(), 1u);
  EXPECT_EQ(CoTaskMemOutstanding(), blocks);
}

}  // namespace
