#include "tuner/tuner_extension.h"

#include "platform/com/error_info.h"

#include "platform/ui/debug_output.h"
#include "platform/ui/message_box.h"
#include "tuner/tuner_context.h"

namespace {

constexpr char kError[] = "error";

// A counted copy: the monitor thread calls the driver through it too.
ComPtr<IKsPropertySet> Driver() { return TheTunerContext().SharedKsCtrl(); }

bool Supported(IKsPropertySet* driver, std::uint32_t id) {
  DWORD support = 0;
  return SUCCEEDED(driver->QuerySupported(KSPROPSETID_TunerExtension, id, &support));
}

// The same buffer goes as instance and property data, as the driver expects.
template <typename Record>
HRESULT SetRecord(IKsPropertySet* driver, std::uint32_t id, Record& record) {
  return driver->Set(KSPROPSETID_TunerExtension, id, &record, sizeof record, &record, sizeof record);
}

template <typename Record>
HRESULT GetRecord(IKsPropertySet* driver, std::uint32_t id, Record& record) {
  DWORD returned = 0;
  return driver->Get(KSPROPSETID_TunerExtension, id, &record, sizeof record, &record, sizeof record, &returned);
}

// The checks and the read shared by the two stream-type reads.
bool ReadStreamType(const CDialog* owner, TUNER_STREAMTYPE_PARAMS* params) {
  ComPtr<IKsPropertySet> driver = Driver();
  if (!driver) {
    MessageBox(owner, "m_pKsCtrl==NULL", kError);
    return false;
  }
  if (!Supported(driver.Get(), KSPROPERTY_BDA_STREAMTYPE_PARAMS)) {
    MessageBox(owner, "don't support this interface", kError);
    return false;
  }
  if (FAILED(GetRecord(driver.Get(), KSPROPERTY_BDA_STREAMTYPE_PARAMS, *params))) {
    AfxMessageBox("Get KSPROPERTY_BDA_GET_MEDIAINFO error");
    return false;
  }
  return true;
}

}  // namespace

bool GetStreamTypeParams(const CDialog* owner, TUNER_STREAMTYPE_PARAMS* params) { return ReadStreamType(owner, params); }

bool StreamTypeParamsMatch(const CDialog* owner, const TUNER_STREAMTYPE_PARAMS& wanted) {
  TUNER_STREAMTYPE_PARAMS current{};
  if (!ReadStreamType(owner, &current)) return false;
  return current.TransportStream == wanted.TransportStream && current.GenericStream == wanted.GenericStream;
}

bool SetStreamTypeParams(const CDialog* owner, const TUNER_STREAMTYPE_PARAMS& params) {
  if (TheTunerContext().m_pMediaControl) TheTunerContext().m_pMediaControl->Stop();
  ComPtr<IKsPropertySet> driver = Driver();
  if (!driver) return false;
  if (!Supported(driver.Get(), KSPROPERTY_BDA_STREAMTYPE_PARAMS)) {
    MessageBox(owner, "don't support this interface", kError);
    return false;
  }
  TUNER_STREAMTYPE_PARAMS record = params;
  if (FAILED(SetRecord(driver.Get(), KSPROPERTY_BDA_STREAMTYPE_PARAMS, record))) {
    AfxMessageBox("Get KSPROPERTY_BDA_STREAMTYPE_PARAMS error");
    return false;
  }
  return true;
}

bool SendDiseqCommand(const CDialog* owner, const std::uint8_t* bytes, std::size_t length) {
  ComPtr<IKsPropertySet> driver = Driver();
  if (!driver) return false;
  if (!Supported(driver.Get(), KSPROPERTY_BDA_DISEQC_MESSAGE)) {
    OutputDebugString("@@@@@!!!!DiSEqC Interface Not Supported\n");
    MessageBox(owner, "SendDiseqCommand11 QueryInterface Failed", kError);
    return false;
  }
  TUNER_DISEQC_MESSAGE message = MakeDiseqcMessage(bytes, length);
  ClearErrorDescription();
  if (SetRecord(driver.Get(), KSPROPERTY_BDA_DISEQC_MESSAGE, message) != S_OK) {
    MessageBox(owner, "SendDiseqCommand11122 QueryInterface Failed", kError, MB_OK, TakeErrorDescription());
    return false;
  }
  return true;
}

bool SendMotorMessage(const CDialog* owner, const MotorMessage& motor) {
  TunerContext& context = TheTunerContext();
  bool succeeded = false;
  const char* refusal = nullptr;
  std::string reason;
  {
    // The boxes wait until the mutex is released, so that the monitor is
    // not held up while the operator reads them.
    std::lock_guard driverLock(context.m_hDriverMutex);
    if (IKsPropertySet* driver = context.m_pKsCtrl.Get()) {
      succeeded = Supported(driver, KSPROPERTY_BDA_DISEQC_MESSAGE);
      if (!succeeded) {
        refusal = "OnMotor22 false";
      } else {
        TUNER_DISEQC_MESSAGE message = MakeDiseqcMessage(motor.bytes, static_cast<std::size_t>(motor.length));
        ClearErrorDescription();
        if (SetRecord(driver, KSPROPERTY_BDA_DISEQC_MESSAGE, message) != S_OK) {
          refusal = "OnMotor11 false";
          reason = TakeErrorDescription();
        }
      }
    }
  }
  if (refusal) MessageBox(owner, refusal, kError, MB_OK, reason);
  // A refused write leaves the outcome as the support query made it.
  if (!succeeded) MessageBox(owner, "KSPROPERTY_CTRL_TUNER false", kError);
  return succeeded && !refusal;
}

DiseqcSendResult SendPositionerMessage(const std::uint8_t* bytes, std::size_t length) {
  ComPtr<IKsPropertySet> driver = Driver();
  if (!driver) return DiseqcSendResult::NoDriver;
  TUNER_DISEQC_MESSAGE message = MakeDiseqcMessage(bytes, length);
  ClearErrorDescription();
  if (SetRecord(driver.Get(), KSPROPERTY_BDA_DISEQC_MESSAGE, message) != S_OK) {
    MessageBox(nullptr, "SendDiseqCommandRX40 QueryInterface Failed", AfxGetAppName(), MB_OK, TakeErrorDescription());
    return DiseqcSendResult::Refused;
  }
  return DiseqcSendResult::Sent;
}

bool SendDiseqCommandRX40(const std::uint8_t* bytes, std::size_t length) {
  SendPositionerMessage(bytes, length);
  return false;
}

TUNER_MEDIA_INFO& TheMediaInfo() {
  static TUNER_MEDIA_INFO info{};
  return info;
}

MediaInfoResult QueryMediaInfo(const CDialog* owner, bool locked, MediaInfoDisplay* display) {
  ComPtr<IKsPropertySet> driver = Driver();
  if (!driver) return MediaInfoResult::NoDriver;
  if (!locked) {
    if (display) display->ClearMediaInfo();
    return MediaInfoResult::Done;
  }
  if (!Supported(driver.Get(), KSPROPERTY_BDA_GET_MEDIAINFO)) {
    MessageBox(owner, "don't support this interface", kError);
    return MediaInfoResult::NoDriver;
  }
  if (FAILED(GetRecord(driver.Get(), KSPROPERTY_BDA_GET_MEDIAINFO, TheMediaInfo()))) {
    AfxMessageBox("Get KSPROPERTY_BDA_GET_MEDIAINFO error");
    return MediaInfoResult::ReadFailed;
  }
  if (display) display->ShowMediaInfo(TheMediaInfo());
  return MediaInfoResult::Done;
}

bool ApplyInputStreamId(const CDialog* owner, int inputStreamId) {
  ComPtr<IKsPropertySet> driver = Driver();
  if (!driver) return false;
  if (!Supported(driver.Get(), KSPROPERTY_BDA_INPUTMULTISTREAMID)) {
    MessageBox(owner, "don't support this interface", kError);
    return false;
  }
  // Only the identifier means anything in this request; the rest stays zero.
  TUNER_MEDIA_INFO request{};
  request.InputStreamId = inputStreamId;
  if (FAILED(SetRecord(driver.Get(), KSPROPERTY_BDA_INPUTMULTISTREAMID, request))) {
    AfxMessageBox("Set KSPROPERTY_BDA_INPUTMULTISTREAMID error");
    return false;
  }
  return true;
}
