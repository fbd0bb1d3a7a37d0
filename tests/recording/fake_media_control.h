// The graph's run/stop control for tests, counting what the recording state
// asks of it.
#pragma once

#include "platform/com/com_object.h"
#include "platform/media/media_interfaces.h"

class FakeMediaControl final : public ComObject<FakeMediaControl, IMediaControl> {
 public:
  HRESULT Run() override { ++runs; return runResult; }
  HRESULT Pause() override { return S_OK; }
  HRESULT Stop() override { ++stops; return S_OK; }
  HRESULT GetState(LONG, OAFilterState*) override { return E_NOTIMPL; }
  int runs = 0, stops = 0;
  HRESULT runResult = S_OK;
};
