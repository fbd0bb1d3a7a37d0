// The Capture Control page: the record file, a file-size limit in MB or a
// time limit in seconds, Start Record and Cancel Record, and the progress of
// the recording (status line, size or time-left line, progress bar, and a
// health line of packets, bytes and stream errors). It refuses to start
// while the signal monitor sees no lock, drives the stream sink through the
// recording state, and enforces the limit itself with the record timer:
// 100 ms, killed at the start of each tick and set again at its end, so
// ticks never queue up behind a slow one. Its values start from the
// defaults on every run.
//
// Where the classic page left it open or went wrong:
// - Start Record whose fields fail their check shows the prompt once and
//   stays idle: nothing is created, no timer runs, no limit of 0 is used.
// - Only the limit of the mode in use is checked and read; the other keeps
//   its text (a greyed-out field never blocks Start Record).
// - A limit the operator is typing takes effect when it is committed (Enter,
//   or the focus leaving the field), never keystroke by keystroke: typing
//   70000 must not stop the recording at 7. Until then the tick keeps the
//   last committed limit.
// - A tick whose fields fail their check shows no box: the last valid
//   limits stay in force and the field is flagged (red frame, the prompt
//   as its tool tip) while it stays invalid. Editing a field removes its
//   flag until it is read again.
// - A record file that cannot be created, or a write that fails during the
//   recording (full disk, I/O error), is reported once, in the status line
//   and one box; the recording stops by the normal stop procedure and
//   every byte written before stays in the file.
// - A recording still running when the page is destroyed (window closed,
//   device removed) is stopped and its file closed.
// - "Record is started!" shown over a recording closes when that recording
//   ends; a failed start clears the last recording's health line.
// - The default record file is "Lumo-capture.ts" in the user's home folder.
// - Enter in one of the page's boxes does nothing (it would end the program).
//
// UI thread only.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "platform/ui/property_sheet.h"
#include "recording/record_limit.h"
#include "recording/recording_health.h"

class CUtiVirtualDamonDlg : public CPropertyPage {
 public:
  static constexpr int kRecordTimer = 0;
  static constexpr unsigned kRecordTimerMs = kRecordTickMs;
  static constexpr UIntRange kTimeLimitRange{kTimeLimitSeconds.low, kTimeLimitSeconds.high};
  static constexpr UIntRange kSizeLimitRange{kSizeLimitMB.low, kSizeLimitMB.high};
  static constexpr char kFilter[] = "TS Files (*.ts)|*.ts|All Files (*.*)|*.*||";

  CUtiVirtualDamonDlg();
  ~CUtiVirtualDamonDlg() override;

  bool OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnTimer(int timerId) override;
  void OnDestroy() override;
  bool PreTranslateMessage(QEvent* event) override;

  void OnFileSizeLimit();
  void OnTimeLimit();
  void OnBrowse();
  void OnStartRecord();
  void OnCancelRecord();

  bool IsRecording() const { return m_bRecording; }
  bool IsSizeLimitMode() const { return m_bSizeLimitMode; }
  std::uint32_t TickCount() const { return m_Limit.Ticks(); }
  std::uint32_t TimeLimit() const { return m_nTimeLimit; }
  std::uint32_t SizeLimit() const { return m_nSizeLimit; }
  const std::string& RecordPath() const { return m_strFilePath; }

 protected:
  void ConnectMessageMap() override;

 private:
  // Cancel Record's steps after its check: idle, timer killed, graph
  // stopped and file closed, progress 0, "Record Stopped!".
  void StopProcedure();
  // The limit's tick: the size or time-left line, then the status and the
  // progress bar, or the stop procedure at 100 percent.
  // The status line says what is wrong, if anything (recording_health.h).
  void TickLimit(const RecordingHealth& health, std::uint32_t silentSeconds);
  // Reads the fields during a recording without a box; flags a failing one.
  void ReadFieldsQuietly();
  // The operator finished editing a limit field (Enter or focus out).
  void CommitLimitField(int id);
  bool IsLimitInUse(int id) const;
  void ClearFieldFlags();
  // Reports a failed write once per recording; stops a running recording.
  void CheckWriteError();
  // Whether the size limit fits where the file goes; asks the user when not.
  bool SizeLimitFitsOrUserGoesOn();
  // Once the rate is known, whether the rest of the time limit fits; warns once.
  void CheckSpaceForTimeLimit();
  void ShowHealth();

  std::string m_strFilePath;
  std::uint32_t m_nTimeLimit = 10;
  std::uint32_t m_nSizeLimit = 500;
  bool m_bSizeLimitMode = true;
  bool m_bRecording = false;
  RecordLimit m_Limit;  // the tick count of time-limit mode
  SilenceWatch m_Silence;
  bool m_bWriteErrorReported = false;
  bool m_bSpaceChecked = false;  // this recording's time limit was judged against the free space
  std::uint64_t m_RecordStartMs = 0;
  bool m_bStartedBoxOpen = false;  // "Record is started!" is up, over a running recording
  // Limit fields typed into since they were last committed; a tick does
  // not read them.
  std::set<int> m_UncommittedFields;
};

// "Lumo-capture.ts" in the user's home folder ($HOME, else the account's).
std::string DefaultRecordPath();
