// TsFileReplay: the packets of a transport stream file, in whole 188-byte
// packets read straight into the caller's buffer; a trailing partial packet
// is left out. At the end it starts again (loop) or ends.
#pragma once

#include <string>

#include "platform/sim/stream/ts_source.h"

class TsFileReplay final : public TsSource {
 public:
  TsFileReplay(const std::string& path, bool loop);
  ~TsFileReplay() override;
  TsFileReplay(const TsFileReplay&) = delete;
  TsFileReplay& operator=(const TsFileReplay&) = delete;

  // The errno of opening the file, 0 when it is open.
  int OpenError() const { return m_openError; }
  std::size_t Fill(std::uint8_t* out, std::size_t packets) override;

 private:
  std::size_t ReadPackets(std::uint8_t* out, std::size_t packets);

  int m_fd = -1;
  int m_openError = 0;
  bool m_loop;
};
