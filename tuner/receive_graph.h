// The receive graph and its construction and teardown, for whoever owns it:
// the Tuner Setting page in the window, rx40ctl without one.
//
// network provider -> tuner -> capture -> tee -> demultiplexer -> transport
// information filter, and tee -> stream sink.
//
// Build fills the tuner context (the tuner filter only when start-up left it
// empty) and m_pKsCtrl, the property set of the tuner's pin "Input0"; each
// failed step shows its own box, owned by `owner` (none: an application-less
// caller), and ends construction, leaving what was made in the context.
// Release stops the graph, empties the context but for the driver mutex and
// closes the component runtime once, pairing the caller's initialisation.
// UI thread (the owner's thread) only.
#pragma once

#include "platform/com/com_ptr.h"
#include "platform/media/bda_interfaces.h"
#include "platform/media/media_interfaces.h"

class CDialog;

// The DVB-S tuning space the graph registers under this unique name.
inline constexpr wchar_t kTuningSpaceUniqueName[] = L"hallmere dvb-s";

class ReceiveGraph {
 public:
  // True when the graph was built whole.
  bool Build(const CDialog* owner);
  void Release();

  // The DVB-S tuning space every tune request is made from; none before
  // Build or when the network provider could not be made.
  ITuningSpace* TuningSpace() const { return m_pTuningSpace.Get(); }

 private:
  ComPtr<IBaseFilter> CreateDVBSNetworkProvider();
  ComPtr<ITuningSpace> FindDVBSTuningSpace();
  ComPtr<ITuningSpace> CreateDVBSTuningSpace();

  ComPtr<IPin> m_pTunerDevice;  // the tuner's "Input0" pin
  ComPtr<ITuningSpace> m_pTuningSpace;
};
