// The Capture Control page through its controls: limits, ticks, messages,
// field checks and file failures, against the real stream sink with a
// counting graph control. Ticks are fired by hand (ManualTimers), so the
// time limits cost no real time.
#include <sys/resource.h>

#include <functional>

#include "recording/free_space.h"
#include "recording/recording_health.h"
#include "tests/recording/capture_page_fixture.h"
#include "tests/support/instant_clock.h"

namespace {

namespace fs = std::filesystem;

TEST_F(CapturePageTest, OpensWithTheDefaultsAndTheRecordFileInTheHomeFolder) {
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_PATH), home + "/Lumo-capture.ts");
  EXPECT_EQ(page->GetDlgItemText(IDC_TIME_LIMIT), "10");
  EXPECT_EQ(page->GetDlgItemText(IDC_SIZE_LIMIT), "500");
  EXPECT_TRUE(page->IsDlgButtonChecked(IDC_USE_SIZE_LIMIT));
  EXPECT_FALSE(page->IsDlgButtonChecked(IDC_USE_TIME_LIMIT));
  EXPECT_TRUE(page->IsDlgItemEnabled(IDC_SIZE_LIMIT));
  EXPECT_FALSE(page->IsDlgItemEnabled(IDC_TIME_LIMIT));
  EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_CAPTION), "File Size:");
  EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_LINE), "0 KBytes");
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "");
  EXPECT_EQ(Progress()->maximum(), 100);
  EXPECT_FALSE(page->IsRecording());
  EXPECT_EQ(timers.ArmedCount(), 0u);

  // Without $HOME the account's home folder is used.
  const std::string saved = std::getenv("HOME");
  unsetenv("HOME");
  const std::string fallback = DefaultRecordPath();
  setenv("HOME", saved.c_str(), 1);
  EXPECT_TRUE(fallback.ends_with("/Lumo-capture.ts")) << fallback;
  EXPECT_NE(fallback, "/Lumo-capture.ts");
}

TEST_F(CapturePageTest, TheModeButtonsSwitchCaptionLineAndBoxesAtOnce) {
  QTest::mouseClick(Button(IDC_USE_TIME_LIMIT), Qt::LeftButton);
  EXPECT_FALSE(page->IsSizeLimitMode());
  EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_CAPTION), "Time Left:");
  EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_LINE), "0 Seconds");
  EXPECT_TRUE(page->IsDlgItemEnabled(IDC_TIME_LIMIT));
  EXPECT_FALSE(page->IsDlgItemEnabled(IDC_SIZE_LIMIT));
  EXPECT_FALSE(page->IsDlgButtonChecked(IDC_USE_SIZE_LIMIT));

  QTest::mouseClick(Button(IDC_USE_SIZE_LIMIT), Qt::LeftButton);
  EXPECT_TRUE(page->IsSizeLimitMode());
  EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_CAPTION), "File Size:");
  EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_LINE), "0 KBytes");
  EXPECT_FALSE(page->IsDlgItemEnabled(IDC_TIME_LIMIT));
  EXPECT_TRUE(page->IsDlgButtonChecked(IDC_USE_SIZE_LIMIT));
}

// The recorded size is the file's length: a sparse file stands for a long
// recording without the disk it would need.
TEST_F(CapturePageTest, TheSizeLimitStopsAtItsKilobytesAndCountsPastFourGiB) {
  struct Step {
    std::uint64_t kbytes;
    const char* status;  // after the tick
    int progress;
    bool recording;
  };
  struct Case {
    const char* limitMB;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"500", {{0, "Recording... 0%", 0, true}, {506'880, "Recording... 99%", 99, true}, {511'999, "Recording... 99%", 99, true},
               {512'000, "Record Stopped!", 0, false}}},
      {"50", {{51'199, "Recording... 99%", 99, true}, {51'200, "Record Stopped!", 0, false}}},
      {"800000", {{4'194'305, "Recording... 0%", 0, true}, {409'600'000, "Recording... 50%", 50, true},
                  {819'199'999, "Recording... 99%", 99, true}, {819'200'000, "Record Stopped!", 0, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limitMB);
    page->SetDlgItemText(IDC_SIZE_LIMIT, c.limitMB);
    StartRecordingByClick();
    ASSERT_TRUE(page->IsRecording());
    for (const Step& step : c.steps) {
      if (!GrowRecordTo(step.kbytes * 1024)) GTEST_SKIP() << "the file system holds no sparse file this large";
      Tick();
      EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_LINE), std::to_string(step.kbytes) + " KBytes");
      EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), step.status);
      EXPECT_EQ(Progress()->value(), step.progress);
      EXPECT_EQ(page->IsRecording(), step.recording);
      EXPECT_EQ(IsTimerArmed(), step.recording) << "re-armed by every tick of a running recording only";
      EXPECT_EQ(page->TickCount(), 0u) << "size-limit ticks are not counted";
    }
    EXPECT_FALSE(TheRecordingState().IsFileOpen());
    EXPECT_EQ(control->stops, control->runs);
  }
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(CapturePageTest, TheTimeLimitIsCountedInTicksTenToTheSecond) {
  struct Check {
    std::uint32_t tick;
    const char* line;
    const char* status;
    int progress;
  };
  struct Case {
    const char* limit;
    std::vector<Check> checks;
    std::uint32_t stopTick;
  };
  const Case cases[] = {
      {"10", {{1, "10 Seconds", "Recording... 1%", 1}, {10, "9 Seconds", "Recording... 10%", 10},
              {99, "1 Seconds", "Recording... 99%", 99}, {100, "0 Seconds", "Record Stopped!", 0}}, 100},
      {"1", {{9, "1 Seconds", "Recording... 90%", 90}, {10, "0 Seconds", "Record Stopped!", 0}}, 10},
  };
  QTest::mouseClick(Button(IDC_USE_TIME_LIMIT), Qt::LeftButton);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    page->SetDlgItemText(IDC_TIME_LIMIT, c.limit);
    StartRecordingByClick();
    std::uint32_t ticks = 0;
    for (const Check& check : c.checks) {
      while (ticks < check.tick) {
        ASSERT_TRUE(page->IsRecording()) << "stopped early, at tick " << ticks;
        Tick();
        ++ticks;
      }
      EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_LINE), check.line);
      EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), check.status);
      EXPECT_EQ(Progress()->value(), check.progress);
    }
    EXPECT_FALSE(page->IsRecording());
    EXPECT_EQ(ticks, c.stopTick);
    EXPECT_EQ(page->TickCount(), 0u) << "reset by the stop";
    EXPECT_FALSE(IsTimerArmed());
  }
}

// Past a lowered limit nothing is left: the line shows 0, not a wrapped count.
TEST_F(CapturePageTest, ATimeLimitLoweredBelowTheElapsedTimeStopsAtTheNextTick) {
  QTest::mouseClick(Button(IDC_USE_TIME_LIMIT), Qt::LeftButton);
  StartRecordingByClick();
  for (int i = 0; i < 50; ++i) Tick();
  EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_LINE), "5 Seconds");
  page->SetDlgItemText(IDC_TIME_LIMIT, "2");
  Tick();
  EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_LINE), "0 Seconds");
  EXPECT_FALSE(page->IsRecording());
}

TEST_F(CapturePageTest, SwitchingToTheTimeLimitDuringARecordingCountsFromZero) {
  StartRecordingByClick();
  for (int i = 0; i < 30; ++i) Tick();
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Recording... 0%");
  QTest::mouseClick(Button(IDC_USE_TIME_LIMIT), Qt::LeftButton);
  Tick();
  EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_LINE), "10 Seconds");
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Recording... 1%");
  EXPECT_EQ(page->TickCount(), 1u);
  // And back: the size limit applies again at the next tick.
  QTest::mouseClick(Button(IDC_USE_SIZE_LIMIT), Qt::LeftButton);
  ASSERT_TRUE(GrowRecordTo(512'000ull * 1024));
  Tick();
  EXPECT_FALSE(page->IsRecording());
}

TEST_F(CapturePageTest, StartAndCancelTwiceOnlyShowTheirMessages) {
  StartRecordingByClick();
  Send(Counting(1316, 3));
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Record is started! Please wait or cancel record."});
  EXPECT_EQ(boxes.Boxes()[0].caption, "OrvaneRX40 Tessel");
  EXPECT_EQ(boxes.Boxes()[0].flags, MB_ICONEXCLAMATION);
  EXPECT_EQ(control->runs, 1);
  EXPECT_EQ(ReadRecord(), Counting(1316, 3)) << "the file was not created again";
  EXPECT_TRUE(IsTimerArmed());

  QTest::mouseClick(Button(IDC_CANCEL_RECORD), Qt::LeftButton);
  EXPECT_FALSE(page->IsRecording());
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Record Stopped!");
  EXPECT_EQ(control->stops, 1);
  QTest::mouseClick(Button(IDC_CANCEL_RECORD), Qt::LeftButton);
  EXPECT_EQ(boxes.Texts().back(), "Record is not started!");
  EXPECT_EQ(control->stops, 1);
  EXPECT_EQ(ReadRecord(), Counting(1316, 3));
}

TEST_F(CapturePageTest, WithoutLockStartCreatesNothing) {
  SignalLockedFlag() = 0;
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Signal is not locked! Please check signal first."});
  EXPECT_FALSE(page->IsRecording());
  EXPECT_FALSE(fs::exists(recordPath));
  EXPECT_FALSE(IsTimerArmed());
  EXPECT_EQ(control->runs, 0);
}

// The prompt appears once, the field takes the focus with its text
// selected, and nothing starts.
TEST_F(CapturePageTest, AFieldThatFailsItsCheckAtStartIsPromptedAndNothingStarts) {
  struct Case {
    const char* language;
    int field;  // checked in its own mode
    const char* text;
    const char* prompt;
  };
  const Case cases[] = {
      {"en", IDC_TIME_LIMIT, "", "Please enter a positive integer."},
      {"en", IDC_TIME_LIMIT, "ten", "Please enter a positive integer."},
      {"en", IDC_TIME_LIMIT, "0", "Please enter an integer between 1 and 65535."},
      {"en", IDC_TIME_LIMIT, "65536", "Please enter an integer between 1 and 65535."},
      {"en", IDC_SIZE_LIMIT, "-5", "Please enter a positive integer."},
      {"en", IDC_SIZE_LIMIT, "49", "Please enter an integer between 50 and 800000."},
      {"en", IDC_SIZE_LIMIT, "800001", "Please enter an integer between 50 and 800000."},
      {"en", IDC_SIZE_LIMIT, "99999999999", "Please enter a positive integer."},
      {"zh", IDC_TIME_LIMIT, "x", "请输入一个正整数。"},
      {"zh", IDC_SIZE_LIMIT, "0", "请输入一个在 50 和 800000 之间的整数。"},
  };
  ShowHost();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.language) + " " + c.text);
    ui::SetUiLanguage(c.language);
    boxes.Clear();
    page->SetDlgItemText(IDC_TIME_LIMIT, "10");
    page->SetDlgItemText(IDC_SIZE_LIMIT, "500");
    page->SetDlgItemText(c.field, c.text);
    QTest::mouseClick(Button(c.field == IDC_TIME_LIMIT ? IDC_USE_TIME_LIMIT : IDC_USE_SIZE_LIMIT), Qt::LeftButton);
    QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{c.prompt});
    EXPECT_TRUE(page->IsDlgItemFlagged(c.field));
    EXPECT_FALSE(page->IsRecording());
    EXPECT_FALSE(IsTimerArmed());
    EXPECT_FALSE(fs::exists(recordPath));
    EXPECT_EQ(control->runs, 0);
    EXPECT_EQ(page->TimeLimit(), 10u) << "a value that fails never reaches the limit";
    EXPECT_EQ(page->SizeLimit(), 500u);
    EXPECT_EQ(QApplication::focusWidget(), Edit(c.field));
    EXPECT_EQ(Edit(c.field)->selectedText().toStdString(), c.text);
  }
  // Only the mode in use is checked: a refused value in the other, greyed
  // out field keeps its text and blocks nothing.
  ui::SetUiLanguage("en");
  boxes.Clear();
  page->SetDlgItemText(IDC_TIME_LIMIT, "0");
  page->SetDlgItemText(IDC_SIZE_LIMIT, "500");
  QTest::mouseClick(Button(IDC_USE_SIZE_LIMIT), Qt::LeftButton);
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  EXPECT_TRUE(boxes.Texts().empty());
  EXPECT_FALSE(page->IsDlgItemFlagged(IDC_TIME_LIMIT));
  EXPECT_EQ(page->GetDlgItemText(IDC_TIME_LIMIT), "0");
  EXPECT_TRUE(page->IsRecording());
  QTest::mouseClick(Button(IDC_CANCEL_RECORD), Qt::LeftButton);

  // Editing a flagged field removes the flag.
  page->SetDlgItemText(IDC_SIZE_LIMIT, "1");
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  ASSERT_TRUE(page->IsDlgItemFlagged(IDC_SIZE_LIMIT));
  Edit(IDC_SIZE_LIMIT)->setFocus();
  QTest::keyClick(Edit(IDC_SIZE_LIMIT), Qt::Key_5);
  EXPECT_FALSE(page->IsDlgItemFlagged(IDC_SIZE_LIMIT));

  // Blanks around a number are allowed.
  page->SetDlgItemText(IDC_TIME_LIMIT, "10");
  QTest::mouseClick(Button(IDC_USE_SIZE_LIMIT), Qt::LeftButton);
  page->SetDlgItemText(IDC_SIZE_LIMIT, " 600 ");
  boxes.Clear();
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  EXPECT_TRUE(boxes.Texts().empty());
  EXPECT_EQ(page->SizeLimit(), 600u);
  EXPECT_TRUE(page->IsRecording());
}

TEST_F(CapturePageTest, AFieldThatFailsDuringARecordingIsFlaggedAndTheLastLimitStays) {
  StartRecordingByClick();
  ASSERT_TRUE(GrowRecordTo(256'000ull * 1024));  // half of 500 MB
  page->SetDlgItemText(IDC_SIZE_LIMIT, "abc");
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_TRUE(boxes.Texts().empty()) << "no box from a tick";
  EXPECT_TRUE(page->IsDlgItemFlagged(IDC_SIZE_LIMIT));
  EXPECT_EQ(Edit(IDC_SIZE_LIMIT)->toolTip().toStdString(), "Please enter a positive integer.");
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Recording... 50%") << "500 MB still applies";
  EXPECT_TRUE(page->IsRecording());

  // The other mode's field is not read.
  page->SetDlgItemText(IDC_SIZE_LIMIT, "400");
  page->SetDlgItemText(IDC_TIME_LIMIT, "0");
  Tick();
  EXPECT_FALSE(page->IsDlgItemFlagged(IDC_TIME_LIMIT));
  EXPECT_FALSE(page->IsDlgItemFlagged(IDC_SIZE_LIMIT));
  EXPECT_EQ(page->SizeLimit(), 400u);
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Recording... 62%");
  page->SetDlgItemText(IDC_SIZE_LIMIT, "250");
  Tick();
  EXPECT_FALSE(page->IsRecording()) << "a lowered limit applies from the next tick";
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(CapturePageTest, AFileThatCannotBeCreatedIsReportedOnceAndThePageStaysIdle) {
  const std::string missing = dir + "/no such folder/take.ts";
  page->SetDlgItemText(IDC_RECORD_PATH, missing);
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "Cannot create the record file \"" + missing + "\": No such file or directory");
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Create error: No such file or directory");
  EXPECT_FALSE(page->IsRecording());
  EXPECT_FALSE(IsTimerArmed());
  EXPECT_EQ(control->runs, 0);
}

// A full disk and a process file-size limit: the failure is reported once,
// the recording stops, and what was written before stays.
TEST_F(CapturePageTest, AFailedWriteStopsTheRecordingOnceKeepingTheBytesBeforeIt) {
  struct Case {
    const char* what;
    std::function<void()> limit;
    std::function<void()> restore;
    const char* reason;
  };
  rlimit original{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
  const Case cases[] = {
      {"full disk", [] { SetWriteFailureAfterBytes(3000); }, [] { SetWriteFailureAfterBytes(std::nullopt); },
       "No space left on device"},
      {"file size limit",
       [&] {
         rlimit small = original;
         small.rlim_cur = 3000;
         setrlimit(RLIMIT_FSIZE, &small);
       },
       [&] { setrlimit(RLIMIT_FSIZE, &original); }, "File too large"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.Clear();
    c.limit();
    StartRecordingByClick();
    Send(Counting(1316, 0));
    Send(Counting(1316, 50));
    Send(Counting(1316, 100));  // 368 bytes of it fit: one whole packet is kept
    Send(Counting(188, 150));
    c.restore();
    Tick();
    EXPECT_FALSE(page->IsRecording());
    EXPECT_FALSE(IsTimerArmed());
    EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), std::string("Write error: ") + c.reason);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_NE(boxes.Texts()[0].find(c.reason), std::string::npos) << boxes.Texts()[0];
    EXPECT_NE(boxes.Texts()[0].find(recordPath), std::string::npos);
    EXPECT_NE(boxes.Texts()[0].find("2820 bytes"), std::string::npos) << boxes.Texts()[0];
    std::vector<BYTE> expected = Counting(1316, 0);
    for (const auto& part : {Counting(1316, 50), Counting(188, 100)}) expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(ReadRecord(), expected);
    // Nothing more is shown: no tick runs, and Cancel only says it is idle.
    EXPECT_EQ(timers.FireArmed(), 0);
    QTest::mouseClick(Button(IDC_CANCEL_RECORD), Qt::LeftButton);
    EXPECT_EQ(boxes.Texts().size(), 2u);
    EXPECT_EQ(boxes.Texts().back(), "Record is not started!");
  }
}

TEST_F(CapturePageTest, AWriteFailureBeforeCancelIsReportedByTheCancel) {
  SetWriteFailureAfterBytes(100);
  StartRecordingByClick();
  SetWriteFailureAfterBytes(std::nullopt);
  Send(Counting(188, 0));
  QTest::mouseClick(Button(IDC_CANCEL_RECORD), Qt::LeftButton);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Write error: No space left on device");
  EXPECT_TRUE(ReadRecord().empty()) << "100 bytes are no whole packet";
}

// A graph that will not run: nothing is left open, and the page says so.
// The disk holds 10 MB where the file goes.
class CapturePageOnASmallDisk : public CapturePageTest {
 protected:
  CapturePageOnASmallDisk() {
    previous = SetFreeSpaceFunction([this](const std::string& path) {
      asked.push_back(path);
      return std::optional<std::uint64_t>(10u * 1024 * 1024);
    });
  }
  ~CapturePageOnASmallDisk() override { SetFreeSpaceFunction(previous); }
  FreeSpaceFunction previous;
  std::vector<std::string> asked;
  ScopedInstantClock clock;
};

TEST_F(CapturePageOnASmallDisk, ASizeLimitThatWillNotFitAsksFirstAndTheUserMayGoOn) {
  const std::string warning = "The recording may not fit: it needs about 500 MB and only 10 MB are free in " + home +
                              ". Record anyway?";
  boxes.AnswerQuestions(IDNO);
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  EXPECT_FALSE(page->IsRecording());
  EXPECT_FALSE(std::filesystem::exists(recordPath)) << "nothing is created";
  ASSERT_EQ(boxes.Texts(), std::vector<std::string>({warning}));
  EXPECT_EQ(asked, std::vector<std::string>({recordPath}));

  boxes.Clear();
  boxes.AnswerQuestions(IDYES);
  StartRecordingByClick();
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>({warning}));
}

TEST_F(CapturePageOnASmallDisk, ATimeLimitIsJudgedOnceAtTheRateMeasuredOverTwoSeconds) {
  QTest::mouseClick(Button(IDC_USE_TIME_LIMIT), Qt::LeftButton);
  page->SetDlgItemText(IDC_TIME_LIMIT, "60");
  StartRecordingByClick();
  EXPECT_TRUE(boxes.Texts().empty()) << "no rate is known at the start";
  Send(Counting(188 * 1000, 0));  // 188 000 bytes in 2 s: 5.4 MB for the 58 s left
  clock->SleepMs(2000);
  Tick();
  EXPECT_TRUE(boxes.Texts().empty()) << "5.4 MB fit in 10 MB";

  page->SetDlgItemText(IDC_TIME_LIMIT, "600");
  QTest::mouseClick(Button(IDC_CANCEL_RECORD), Qt::LeftButton);
  boxes.Clear();
  StartRecordingByClick();
  Send(Counting(188 * 1000, 0));
  clock->SleepMs(2000);
  Tick();
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0].rfind("The recording may not fit: it needs about 54 MB and only 10 MB are free", 0), 0u)
      << boxes.Texts()[0];
  EXPECT_TRUE(page->IsRecording()) << "a warning, not a stop";
  clock->SleepMs(2000);
  Tick();
  EXPECT_EQ(boxes.Texts().size(), 1u) << "once";
}

TEST_F(CapturePageTest, AGraphThatCannotRunLeavesNothingOpenAndSaysWhy) {
  control->runResult = E_FAIL;
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  EXPECT_FALSE(page->IsRecording());
  EXPECT_FALSE(IsTimerArmed());
  EXPECT_FALSE(TheRecordingState().IsFileOpen());
  EXPECT_EQ(control->stops, 1) << "what ran is stopped";
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "The receive graph cannot run");
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0].rfind("The receive graph cannot run", 0), 0u);
}

// A share or a quota may report a lost write only when the file is closed:
// that is a write error, not "Record Stopped!".
TEST_F(CapturePageTest, AFailureFoundAtTheCloseIsReportedAsAWriteError) {
  StartRecordingByClick();
  Send(Counting(1316, 0));
  SetCloseFailure(EIO);
  QTest::mouseClick(Button(IDC_CANCEL_RECORD), Qt::LeftButton);
  SetCloseFailure(std::nullopt);
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Write error: Input/output error");
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_NE(boxes.Texts()[0].find("Input/output error"), std::string::npos) << boxes.Texts()[0];
}

TEST_F(CapturePageTest, DestroyingThePageDuringARecordingClosesTheFileWithEverythingInIt) {
  StartRecordingByClick();
  Send(Counting(1316, 7));
  TheTunerContext().m_pMediaControl = nullptr;  // the graph went first, as at the window's close
  page.Destroy();
  EXPECT_FALSE(TheRecordingState().IsFileOpen());
  EXPECT_EQ(ReadRecord(), Counting(1316, 7));
  EXPECT_EQ(timers.ArmedCount(), 0u);
}

TEST_F(CapturePageTest, BrowseTakesTheChosenPathForTheNextStartOnly) {
  auto answers = std::make_shared<ScriptedFileDialog>();
  const auto previous = SetFileDialogService(answers);
  QTest::mouseClick(Button(IDC_BROWSE), Qt::LeftButton);  // cancelled
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_PATH), recordPath);
  ASSERT_EQ(answers->requests.size(), 1u);
  const SaveFileRequest& asked = answers->requests[0];
  EXPECT_EQ(asked.defaultExtension, "ts");
  EXPECT_EQ(asked.fileName, "");
  EXPECT_EQ(asked.directory, dir);
  EXPECT_TRUE(asked.confirmOverwrite);
  EXPECT_EQ(asked.nameFilters, (std::vector<std::string>{"TS Files (*.ts)", "All Files (*)"}));

  StartRecordingByClick();
  answers->answer = dir + "/chosen.ts";
  QTest::mouseClick(Button(IDC_BROWSE), Qt::LeftButton);
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_PATH), dir + "/chosen.ts");
  Send(Counting(188, 1));
  EXPECT_EQ(ReadRecord(), Counting(188, 1)) << "the running recording keeps its file";
  EXPECT_FALSE(fs::exists(dir + "/chosen.ts"));
  QTest::mouseClick(Button(IDC_CANCEL_RECORD), Qt::LeftButton);
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  EXPECT_TRUE(fs::exists(dir + "/chosen.ts"));
  SetFileDialogService(previous);
}

TEST_F(CapturePageTest, APathTypedIntoTheBoxIsUsedUnchangedAtTheNextStart) {
  ShowHost();
  QLineEdit* path = Edit(IDC_RECORD_PATH);
  path->setFocus();
  path->selectAll();
  const std::string typed = dir + "/typed by hand.TS";
  QTest::keyClicks(path, QString::fromStdString(typed));
  QTest::keyClick(path, Qt::Key_Tab);
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  EXPECT_TRUE(page->IsRecording());
  EXPECT_TRUE(fs::exists(typed));
}

}  // namespace

namespace {

TEST(RecordingHealthLine, NamesWhatWasCountedAndTheSourcesLossesOnlyWhenItReportsThem) {
  RecordingHealth counted;
  counted.streamCounted = true;
  counted.stream.packets = 1000;
  counted.stream.continuityErrors = 2;
  counted.stream.syncLosses = 1;
  counted.bytesWritten = 188000;
  RecordingHealth uncounted;
  uncounted.bytesWritten = 376;
  RecordingHealth realCard = counted;
  realCard.sourceReported = true;
  realCard.source.overflows = 3;
  RecordingHealth failedCard = realCard;
  failedCard.source.fault = "dvr read failed: EIO";
  const std::pair<RecordingHealth, std::string> cases[] = {
      {counted, "Packets: 1000   Bytes: 188000   CC errors: 2   Sync losses: 1"},
      {uncounted, "Packets: 2   Bytes: 376   CC errors: -   Sync losses: -"},  // the file's packets
      {realCard, "Packets: 1000   Bytes: 188000   CC errors: 2   Sync losses: 1   Overflows: 3"},
      {failedCard, "Packets: 1000   Bytes: 188000   CC errors: 2   Sync losses: 1   Overflows: 3   dvr read failed: EIO"},
  };
  for (const auto& [health, line] : cases) EXPECT_EQ(DescribeRecordingHealth(health), line);
}

}  // namespace
