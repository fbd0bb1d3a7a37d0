#include "platform/sim/driver/tuner_driver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/com/clock.h"
#include "platform/sim/driver/bit_rate.h"
#include "platform/sim/driver/extension_properties.h"
#include "platform/sim/sky/carrier_rules.h"
#include "platform/sim/sky/dish_geometry.h"
#include "platform/sim/sky/media_info.h"

namespace sim {
namespace {

HRESULT Finish(CallOutcome outcome) { return outcome == CallOutcome::Positive ? S_FALSE : S_OK; }

int32_t ReadInt32(const uint8_t* bytes) {
  return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                              static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

// The LNB voltage a request's polarisation selects: 18 V for horizontal and
// circular left, 13 V for vertical and circular right.
std::optional<Polarisation> SupplyPolarisation(::Polarisation polarisation) {
  switch (polarisation) {
    case BDA_POLARISATION_LINEAR_H:
    case BDA_POLARISATION_CIRCULAR_L: return Polarisation::Horizontal;
    case BDA_POLARISATION_LINEAR_V:
    case BDA_POLARISATION_CIRCULAR_R: return Polarisation::Vertical;
    default: return std::nullopt;
  }
}

std::optional<TuneRequest> ToTuneRequest(const DvbsTuneParameters& p) {
  const auto polarisation = SupplyPolarisation(p.polarisation);
  if (!polarisation || p.carrierFrequencyKHz <= 0 || p.symbolRate <= 0 || p.lowOscillatorKHz < 0 ||
      p.highOscillatorKHz < 0 || p.lnbSwitchKHz < 0) {
    return std::nullopt;
  }
  return TuneRequest{p.carrierFrequencyKHz, p.lowOscillatorKHz, p.highOscillatorKHz, p.lnbSwitchKHz,
                     *polarisation, p.symbolRate, WantsHighBand(p),
                     static_cast<std::uint32_t>(std::max<LONG>(p.plsGold, 0))};
}

bool SameSupply(const LnbControl& a, const LnbControl& b) {
  return a.toneOn == b.toneOn && a.polarisation == b.polarisation && a.port == b.port;
}

// What the card puts out for a carrier in the given output format: a DVB-S
// carrier has no baseband frames to hand on as a generic stream, and a
// generic carrier has no packets to sync a transport stream output to.
Delivery DeliveryFor(const Transponder& carrier, OutputFormat output) {
  if (output == OutputFormat::GenericStream) {
    return carrier.system == DeliverySystem::DvbS2 ? Delivery::GenericStream : Delivery::None;
  }
  const bool transport = carrier.system == DeliverySystem::DvbS || carrier.streamType == StreamType::Transport;
  return transport ? Delivery::TransportStream : Delivery::None;
}

std::vector<std::optional<double>> SatelliteAngles(const Sky& sky) {
  std::vector<std::optional<double>> angles;
  for (const Satellite& satellite : sky.satellites) angles.push_back(MotorAngleTo(sky.site, satellite.orbitalEastDeg));
  return angles;
}

size_t PointedSatellite(const Sky& sky) {
  const auto pointed = static_cast<size_t>(std::max(0, sky.pointedSatelliteIndex));
  return pointed < sky.satellites.size() ? pointed : 0;
}

// Where the motor starts: facing the pointed satellite, or at the reference
// when that one is below the horizon.
double StartAngle(const Sky& sky, const std::vector<std::optional<double>>& angles) {
  const size_t pointed = PointedSatellite(sky);
  if (pointed >= angles.size() || !angles[pointed]) return 0;
  return std::clamp(*angles[pointed], -kMotorTravelDeg, kMotorTravelDeg);
}

}  // namespace

TunerDriver::TunerDriver(Sky sky, DriverFaults faults, std::unique_ptr<DriverTrace> trace, MotorOptions motor)
    : m_sky(std::move(sky)),
      m_satelliteAngles(SatelliteAngles(m_sky)),
      m_trace(std::move(trace)),
      m_faults(std::move(faults)),
      m_motor(motor, StartAngle(m_sky, m_satelliteAngles), TickCountMs()) {
  m_dish.satelliteIndex = PointedSatellite(m_sky);
  m_dish = NearestSatelliteLocked(m_motor.AngleAt(TickCountMs()));
}

TunerDriver::~TunerDriver() = default;

// ---- the property set ----

HRESULT TunerDriver::CheckProperty(REFGUID set, DWORD id, bool write, PropertyFaults* faults) const {
  if (!(set == KSPROPSETID_TunerExtension)) return E_PROP_SET_UNSUPPORTED;
  const DWORD directions = PropertyDirections(id);
  *faults = m_faults.For(id);
  if (directions == 0 || faults->unsupported) return E_PROP_ID_UNSUPPORTED;
  if (!(directions & (write ? KSPROPERTY_SUPPORT_SET : KSPROPERTY_SUPPORT_GET))) return E_NOTIMPL;
  return S_OK;
}

HRESULT TunerDriver::QuerySupported(REFGUID set, DWORD id, DWORD* typeSupport) {
  if (m_trace) m_trace->Property("QuerySupported", set, id, nullptr, 0);
  if (!typeSupport) return E_POINTER;
  *typeSupport = 0;
  if (!(set == KSPROPSETID_TunerExtension)) return E_PROP_SET_UNSUPPORTED;
  std::lock_guard lock(m_mutex);
  if (PropertyDirections(id) == 0 || m_faults.For(id).unsupported) return E_PROP_ID_UNSUPPORTED;
  *typeSupport = PropertyDirections(id);
  return S_OK;
}

HRESULT TunerDriver::Get(REFGUID set, DWORD id, void* propertyData, DWORD dataLength, DWORD* bytesReturned) {
  if (bytesReturned) *bytesReturned = 0;
  PropertyFaults faults;
  HRESULT hr;
  {
    std::lock_guard lock(m_mutex);
    hr = CheckProperty(set, id, false, &faults);
  }
  const size_t size = RecordSize(id);
  if (SUCCEEDED(hr) && !propertyData) hr = E_POINTER;
  if (SUCCEEDED(hr) && dataLength < size) {
    if (bytesReturned) *bytesReturned = static_cast<DWORD>(size);
    hr = E_INSUFFICIENT_BUFFER;
  }
  if (SUCCEEDED(hr) && faults.get == CallOutcome::Negative) hr = E_FAIL;
  std::array<uint8_t, kMediaInfoSize> record{};
  if (SUCCEEDED(hr)) {
    if (id == kPropertyMediaInfo) ReadMediaInfo(record.data());
    else ReadStreamType(record.data());
    std::memcpy(propertyData, record.data(), size);
    if (bytesReturned) *bytesReturned = static_cast<DWORD>(size);
    hr = Finish(faults.get);
  }
  if (m_trace) m_trace->Property("Get", set, id, record.data(), SUCCEEDED(hr) ? size : 0);
  return hr;
}

HRESULT TunerDriver::Set(REFGUID set, DWORD id, const void* propertyData, DWORD dataLength) {
  const auto* record = static_cast<const uint8_t*>(propertyData);
  const size_t size = RecordSize(id);
  if (m_trace) {
    // The record as passed, cut at the record's size (a media info's for an unknown id).
    const size_t traced = record ? std::min<size_t>(dataLength, size ? size : kMediaInfoSize) : 0;
    m_trace->Property("Set", set, id, record, traced);
  }
  PropertyFaults faults;
  {
    std::lock_guard lock(m_mutex);
    if (const HRESULT hr = CheckProperty(set, id, true, &faults); FAILED(hr)) return hr;
  }
  if (!record) return E_POINTER;
  if (dataLength < size) return E_INSUFFICIENT_BUFFER;
  switch (id) {
    case kPropertyDiseqcMessage: return SetDiseqc(record, faults.set);
    case kPropertyStreamType: return SetStreamType(record, faults.set);
    default: return SetInputStream(record, faults.set);
  }
}

HRESULT TunerDriver::SetDiseqc(const uint8_t* record, CallOutcome outcome) {
  const size_t length = record[kDiseqcLengthOffset];
  if (length < 1 || length > kDiseqcMaxLength) return E_INVALIDARG;
  if (outcome == CallOutcome::Negative) return E_FAIL;
  const std::vector<uint8_t> message(record, record + length);
  std::vector<DiseqcListener> listeners;
  std::optional<std::string> motorMove;
  {
    std::lock_guard lock(m_mutex);
    if (m_busLog.size() == kBusLogLimit) m_busLog.erase(m_busLog.begin());
    m_busLog.push_back(message);
    if (const auto command = ParseCommittedSwitch(message.data(), message.size())) {
      const LnbControl switched = ApplyCommittedSwitch(m_lnb, *command);
      if (!SameSupply(switched, m_lnb)) {
        m_lnb = switched;
        RestartAcquisitionLocked();
      }
    }
    // The motor on the bus; the pointing catches up with its last move first.
    const uint64_t now = TickCountMs();
    FollowDishLocked(now);
    motorMove = m_motor.Receive(message, now);
    for (const auto& [id, listener] : m_listeners) listeners.push_back(listener);
  }
  if (motorMove && m_trace) m_trace->Motor(*motorMove);
  for (const auto& listener : listeners) listener(message);
  return Finish(outcome);
}

HRESULT TunerDriver::SetStreamType(const uint8_t* record, CallOutcome outcome) {
  const bool transport = record[0] != 0;
  const bool generic = record[1] != 0;
  if (transport == generic) return E_INVALIDARG;  // exactly one of the two
  if (outcome == CallOutcome::Negative) return E_FAIL;
  std::lock_guard lock(m_mutex);
  const OutputFormat output = transport ? OutputFormat::TransportStream : OutputFormat::GenericStream;
  if (output != m_output) {
    m_output = output;
    ++m_generation;
  }
  return Finish(outcome);
}

HRESULT TunerDriver::SetInputStream(const uint8_t* record, CallOutcome outcome) {
  const int32_t id = ReadInt32(record + kInputStreamIdOffset);
  if (id < 0 || id > 255) return E_INVALIDARG;  // an ISI is one byte
  if (outcome == CallOutcome::Negative) return E_FAIL;
  std::lock_guard lock(m_mutex);
  // The demodulator starts over on the new stream, as on a retune.
  m_selectedStream = id;
  RestartAcquisitionLocked();
  return Finish(outcome);
}

void TunerDriver::ReadMediaInfo(uint8_t* record) {
  std::lock_guard lock(m_mutex);
  const Observation seen = ObserveLocked();
  if (!seen.Locked()) return;  // nothing to report: the record stays zero
  int reported = m_selectedStream.value_or(-1);
  if (!m_selectedStream && seen.carrier->IsMultipleInputStream()) {
    const std::vector<int>& ids = seen.carrier->inputStreamIds;
    reported = ids[m_unfilteredReads++ % ids.size()];
  }
  EncodeMediaInfo(DescribeCarrier(*seen.carrier, seen.reception.tune.ifKHz, reported), record);
}

void TunerDriver::ReadStreamType(uint8_t* record) {
  std::lock_guard lock(m_mutex);
  record[0] = m_output == OutputFormat::TransportStream ? 1 : 0;
  record[1] = m_output == OutputFormat::GenericStream ? 1 : 0;
}

// ---- tuning, signal and stream ----

HRESULT TunerDriver::SubmitTune(const DvbsTuneParameters& parameters) {
  if (m_trace) m_trace->Tune(parameters);
  const auto request = ToTuneRequest(parameters);
  if (!request) return E_INVALIDARG;
  std::lock_guard lock(m_mutex);
  if (m_faults.tune == CallOutcome::Negative) return E_FAIL;
  m_tune = request;
  m_unfilteredReads = 0;
  m_lnb = ApplyTuneToLnb(m_lnb, *request);
  RestartAcquisitionLocked();
  return S_OK;
}

HRESULT TunerDriver::ReadSignal(SignalStatistics* statistics) {
  if (!statistics) return E_POINTER;
  std::lock_guard lock(m_mutex);
  if (m_faults.statistics == CallOutcome::Negative) return E_FAIL;
  const Observation seen = ObserveLocked();
  const SignalReport& signal = seen.reception.signal;
  statistics->strength = seen.carrier ? signal.strength : 0;
  statistics->quality = seen.carrier && seen.acquired ? signal.quality : 0;
  statistics->locked = seen.Locked();
  statistics->marginDb.reset();
  if (seen.carrier && seen.acquired)
    statistics->marginDb = CarrierToNoiseDb(m_dish.errorDeg) - RequiredCarrierToNoiseDb(*seen.carrier);
  return S_OK;
}

StreamDescription TunerDriver::DescribeStream() {
  std::lock_guard lock(m_mutex);
  StreamDescription d;
  d.output = m_output;
  d.generation = m_generation;
  const Observation seen = ObserveLocked();
  if (!seen.Locked()) return d;
  const Transponder& carrier = *seen.carrier;
  d.locked = true;
  d.carrierStreamType = carrier.system == DeliverySystem::DvbS ? StreamType::Transport : carrier.streamType;
  d.inputStreamId = SelectInputStream(carrier, m_selectedStream.value_or(-1));
  d.satelliteIndex = m_dish.satelliteIndex;
  d.transponderIndex = *seen.reception.transponderIndex;
  d.delivery = DeliveryFor(carrier, m_output);
  if (d.delivery != Delivery::None) {
    // The input streams of a multiple-input-stream carrier share its capacity.
    const auto streams = static_cast<int64_t>(std::max<size_t>(1, carrier.inputStreamIds.size()));
    d.bitRate = UsefulBitRate(carrier) / streams;
  }
  return d;
}

TunerDriver::Observation TunerDriver::ObserveLocked() {
  const uint64_t now = TickCountMs();
  FollowDishLocked(now);
  Observation seen;
  if (!m_tune || m_dish.satelliteIndex >= m_sky.satellites.size()) return seen;
  if (m_faults.fadeAfterMs && m_firstLockMs && now >= *m_firstLockMs + *m_faults.fadeAfterMs &&
      (m_faults.fadeMs == 0 || now < *m_firstLockMs + *m_faults.fadeAfterMs + m_faults.fadeMs)) {
    // Nothing reaches the LNB; the demodulator starts over when it returns.
    m_acquisitionStartMs = now;
    return seen;
  }
  const Satellite& satellite = m_sky.satellites[m_dish.satelliteIndex];
  seen.reception = Receive(satellite, m_sky.lnb, *m_tune, m_lnb, m_dish.errorDeg);
  if (seen.reception.transponderIndex) seen.carrier = &satellite.transponders[*seen.reception.transponderIndex];
  seen.acquired = now - m_acquisitionStartMs >= static_cast<uint64_t>(kAcquisitionTimeMs);
  if (seen.Locked() && !m_firstLockMs) m_firstLockMs = now;
  return seen;
}

void TunerDriver::RestartAcquisitionLocked() {
  m_acquisitionStartMs = TickCountMs();
  ++m_generation;
}

// ---- dish, bus, faults ----

void TunerDriver::FollowDishLocked(uint64_t nowMs) {
  const DishPointing nearest = NearestSatelliteLocked(m_motor.AngleAt(nowMs));
  if (nearest.satelliteIndex != m_dish.satelliteIndex && nearest.satelliteIndex != DishPointing::kNoSatellite) {
    // The demodulator starts over from the moment the dish came onto this
    // satellite's stretch of the arc, whichever end it came in by.
    const auto [low, high] = StretchOfLocked(nearest.satelliteIndex);
    const uint64_t entered = std::min(nowMs, std::max(m_motor.TimePassing(low), m_motor.TimePassing(high)));
    m_acquisitionStartMs = std::max(m_acquisitionStartMs, entered);
    ++m_generation;
  }
  m_dish = nearest;
}

DishPointing TunerDriver::NearestSatelliteLocked(double angleDeg) const {
  DishPointing nearest{DishPointing::kNoSatellite, 0};
  auto consider = [&](size_t index) {
    if (index >= m_satelliteAngles.size() || !m_satelliteAngles[index]) return;
    const double error = std::fabs(angleDeg - *m_satelliteAngles[index]);
    if (nearest.satelliteIndex == DishPointing::kNoSatellite || error < nearest.errorDeg) nearest = {index, error};
  };
  consider(m_dish.satelliteIndex);
  for (size_t i = 0; i < m_satelliteAngles.size(); ++i) consider(i);
  return nearest;
}

std::pair<double, double> TunerDriver::StretchOfLocked(size_t satelliteIndex) const {
  const double at = *m_satelliteAngles[satelliteIndex];
  double low = -std::numeric_limits<double>::infinity();
  double high = std::numeric_limits<double>::infinity();
  for (const std::optional<double>& other : m_satelliteAngles) {
    if (!other) continue;
    if (*other < at) low = std::max(low, (*other + at) / 2);
    if (*other > at) high = std::min(high, (*other + at) / 2);
  }
  return {low, high};
}

bool TunerDriver::PointAt(size_t satelliteIndex, double errorDeg) {
  if (satelliteIndex >= m_sky.satellites.size() || !m_satelliteAngles[satelliteIndex]) return false;
  std::lock_guard lock(m_mutex);
  const uint64_t now = TickCountMs();
  FollowDishLocked(now);
  m_motor.Place(*m_satelliteAngles[satelliteIndex] + errorDeg, now);
  FollowDishLocked(now);
  return true;
}

void TunerDriver::SetPointingError(double errorDeg) {
  std::lock_guard lock(m_mutex);
  const uint64_t now = TickCountMs();
  FollowDishLocked(now);
  if (m_dish.satelliteIndex >= m_sky.satellites.size()) return;
  m_motor.Place(*m_satelliteAngles[m_dish.satelliteIndex] + errorDeg, now);
  FollowDishLocked(now);
}

DishPointing TunerDriver::Pointing() {
  std::lock_guard lock(m_mutex);
  FollowDishLocked(TickCountMs());
  return m_dish;
}

MotorPosition TunerDriver::Motor() {
  std::lock_guard lock(m_mutex);
  const uint64_t now = TickCountMs();
  return {m_motor.AngleAt(now), m_motor.MovingAt(now)};
}

MotorMemory TunerDriver::RememberMotor() {
  std::lock_guard lock(m_mutex);
  return m_motor.Remember();
}

void TunerDriver::RecallMotor(const MotorMemory& memory) {
  std::lock_guard lock(m_mutex);
  const uint64_t now = TickCountMs();
  m_motor.Recall(memory, now);
  FollowDishLocked(now);
}

int TunerDriver::AddDiseqcListener(DiseqcListener listener) {
  std::lock_guard lock(m_mutex);
  m_listeners.emplace_back(m_nextListenerId, std::move(listener));
  return m_nextListenerId++;
}

void TunerDriver::RemoveDiseqcListener(int id) {
  std::lock_guard lock(m_mutex);
  std::erase_if(m_listeners, [id](const auto& entry) { return entry.first == id; });
}

std::vector<std::vector<uint8_t>> TunerDriver::DiseqcBusLog() const {
  std::lock_guard lock(m_mutex);
  return m_busLog;
}

void TunerDriver::SetFaults(const DriverFaults& faults) {
  std::lock_guard lock(m_mutex);
  m_faults = faults;
}

LnbControl TunerDriver::LnbSupply() const {
  std::lock_guard lock(m_mutex);
  return m_lnb;
}

}  // namespace sim
