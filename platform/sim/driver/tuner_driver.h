// The simulated card's driver: all of the card's state in one place, and the
// calls through which the rest of the program reaches it.
//
// State: the sky (fixed at construction), the dish's motor and where the
// dish points, the LNB
// supply (22 kHz tone, voltage, switch port), the output stream type
// (transport stream at power-up), the selected input stream, the current
// tune and when acquisition began, the injected faults, the DiSEqC bus log
// and its listeners.
//
// Threads: the UI thread sets properties and tunes, the signal monitor reads
// statistics and media information, the capture filter's streaming thread
// asks for the stream description, the positioner page reads the motor. Every
// public method may be called from any thread. One mutex, m_mutex, guards all
// state; it is never held while calling out (bus listeners, the trace file).
//
// Input streams: until a stream is selected, the demodulator of a multiple-
// input-stream carrier follows the baseband frames of all its streams, and
// each media-information read reports the stream of the frame seen last:
// the carrier's streams in turn, from its first after every tune. Once one
// is selected it reports that one (or the first, when the carrier lacks it).
// The capture filter delivers the selected stream, else the first.
//
// Lock: a tuned carrier locks kAcquisitionTimeMs after the last event that
// made the demodulator start over (a tune, an input stream selection, a
// switch message that changed the LNB supply, the dish turning to another
// satellite), measured with TickCountMs(). A change of pointing error alone
// does not restart acquisition: lock follows the carrier-to-noise ratio.
//
// Dish: a DiSEqC 1.2 motor (sky/dish_motor.h) hears every message put on
// the bus and turns at its speed. The dish points at the visible satellite
// whose motor angle (sky/dish_geometry.h, for the sky's site) lies nearest
// the motor's angle at the moment, off it by the difference; it comes onto
// another satellite when it crosses the midpoint between the two, and the
// demodulator starts over from that moment. The dish starts at the sky's
// pointed satellite.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/media/bda_interfaces.h"
#include "platform/sim/driver/driver_options.h"
#include "platform/sim/driver/driver_trace.h"
#include "platform/sim/driver/stream_description.h"
#include "platform/sim/sky/dish_motor.h"
#include "platform/sim/sky/reception.h"
#include "platform/sim/sky/sky.h"

namespace sim {

struct SignalStatistics {
  LONG strength = 0;  // percent; the model keeps to 0..100
  LONG quality = 0;   // percent; 0 until the carrier is acquired
  bool locked = false;
  // Carrier-to-noise ratio less what the carrier's modulation and code rate
  // need, in dB; known once the carrier is acquired, like the quality.
  std::optional<double> marginDb;
};

struct DishPointing {
  static constexpr size_t kNoSatellite = static_cast<size_t>(-1);
  size_t satelliteIndex = 0;  // into Sky::satellites; kNoSatellite when none is visible
  double errorDeg = 0;        // how far off that satellite's centre
};

struct MotorPosition {
  double angleDeg = 0;  // from the reference, positive west
  bool moving = false;
};

class TunerDriver {
 public:
  // Called with each message put on the DiSEqC bus, on the caller's thread,
  // without the driver's lock: a listener may call back into the driver. A
  // listener removed while a message is in flight may still see that one.
  using DiseqcListener = std::function<void(const std::vector<uint8_t>& message)>;
  static constexpr size_t kBusLogLimit = 64;  // the oldest messages drop out

  // trace may be null (no trace file).
  TunerDriver(Sky sky, DriverFaults faults, std::unique_ptr<DriverTrace> trace = nullptr, MotorOptions motor = {});
  ~TunerDriver();
  TunerDriver(const TunerDriver&) = delete;
  TunerDriver& operator=(const TunerDriver&) = delete;

  // The tuner extension property set (IKsPropertySet on the tuner's input
  // pin). Records travel in propertyData; instance data is not used. A
  // buffer may be larger than its record. Status: E_PROP_SET_UNSUPPORTED for
  // another set, E_PROP_ID_UNSUPPORTED for another id (or an injected
  // "unsupported"), E_NOTIMPL for a direction the property lacks, E_POINTER
  // for no buffer, E_INSUFFICIENT_BUFFER for a short one (a Get then reports
  // the size needed in bytesReturned), E_INVALIDARG for a record the card
  // cannot take, E_FAIL or S_FALSE when injected.
  HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* typeSupport);
  HRESULT Get(REFGUID set, DWORD id, void* propertyData, DWORD dataLength, DWORD* bytesReturned);
  HRESULT Set(REFGUID set, DWORD id, const void* propertyData, DWORD dataLength);

  // A tune from the network provider. S_OK for any well-formed request, even
  // one that finds no carrier; E_INVALIDARG for a zero or negative frequency
  // or symbol rate, a negative oscillator or no polarisation.
  HRESULT SubmitTune(const DvbsTuneParameters& parameters);

  // The signal statistics; E_FAIL when injected.
  HRESULT ReadSignal(SignalStatistics* statistics);

  StreamDescription DescribeStream();

  // The dish: which satellite it points at and how far off. PointAt puts
  // the dish there at once (motor angle plus errorDeg, ending any move) and
  // fails (false) for an index the sky lacks or a satellite below the
  // horizon; SetPointingError does the same for the satellite pointed at.
  bool PointAt(size_t satelliteIndex, double errorDeg = 0);
  void SetPointingError(double errorDeg);
  DishPointing Pointing();
  MotorPosition Motor();
  // The motor's memory across runs (sky/motor_memory.h); Recall turns the
  // dish at once.
  MotorMemory RememberMotor();
  void RecallMotor(const MotorMemory& memory);

  // The DiSEqC bus: every message put on it, oldest first, and listeners.
  int AddDiseqcListener(DiseqcListener listener);
  void RemoveDiseqcListener(int id);
  std::vector<std::vector<uint8_t>> DiseqcBusLog() const;

  void SetFaults(const DriverFaults& faults);
  LnbControl LnbSupply() const;
  const Sky& GetSky() const { return m_sky; }

 private:
  // What the card receives now. Computed under m_mutex.
  struct Observation {
    const Transponder* carrier = nullptr;  // null: nothing found
    Reception reception;
    bool acquired = false;  // the acquisition time has passed
    bool Locked() const { return carrier && acquired && reception.signal.locked; }
  };
  Observation ObserveLocked();
  void RestartAcquisitionLocked();
  // Brings the pointing up to the motor's angle at nowMs.
  void FollowDishLocked(uint64_t nowMs);
  // The visible satellite nearest the angle; the current one wins a tie.
  DishPointing NearestSatelliteLocked(double angleDeg) const;
  // The stretch of motor angles nearer this satellite than any other
  // visible one: from the midpoints to its neighbours, low and high.
  std::pair<double, double> StretchOfLocked(size_t satelliteIndex) const;

  HRESULT CheckProperty(REFGUID set, DWORD id, bool write, PropertyFaults* faults) const;
  HRESULT SetDiseqc(const uint8_t* record, CallOutcome outcome);
  HRESULT SetStreamType(const uint8_t* record, CallOutcome outcome);
  HRESULT SetInputStream(const uint8_t* record, CallOutcome outcome);
  void ReadMediaInfo(uint8_t* record);
  void ReadStreamType(uint8_t* record);

  const Sky m_sky;
  // The motor angle of each satellite from the site; none below the horizon.
  const std::vector<std::optional<double>> m_satelliteAngles;
  const std::unique_ptr<DriverTrace> m_trace;

  mutable std::mutex m_mutex;
  // All below guarded by m_mutex.
  DriverFaults m_faults;
  DishMotor m_motor;
  DishPointing m_dish;
  LnbControl m_lnb;
  OutputFormat m_output = OutputFormat::TransportStream;
  std::optional<int> m_selectedStream;  // none: the carrier's first
  size_t m_unfilteredReads = 0;          // media-information reads since the tune
  std::optional<TuneRequest> m_tune;
  uint64_t m_acquisitionStartMs = 0;
  std::optional<uint64_t> m_firstLockMs;  // when a carrier first locked: a fade counts from it
  uint64_t m_generation = 0;
  std::vector<std::vector<uint8_t>> m_busLog;
  std::vector<std::pair<int, DiseqcListener>> m_listeners;
  int m_nextListenerId = 1;
};

}  // namespace sim
