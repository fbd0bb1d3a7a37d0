// The Motor/Positioner page on a recorded driver: its lists, its buttons'
// messages, "Go", and the keyboard, through real key and mouse events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "positioner/look_angles.h"
#include "positioner/position_dlg.h"
#include "positioner/usals.h"
#include "positioner/usals_text.h"
#include "settings/program_folder.h"
#include "tests/support/fake_property_set.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/real_box_keys.h"
#include "tuner/tuner_context.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kCityList[] =
    "Nigeria\tLagos\t6.52\t3.38\n"
    "Niger\tNiamey\t13.51\t2.11\n"
    "Germany\tMunich\t48.14\t11.58\n"
    "Germany\tBerlin\t52.52\t13.40\n"
    "France\tParis\t48.86\t2.35\n"
    "Germany\tHamburg\t53.55\t9.99\n"
    "Australia\tSydney\t-33.87\t151.21\n";

Bytes Record(Bytes message) {
  Bytes record(11, 0);
  std::copy(message.begin(), message.end(), record.begin());
  record[10] = static_cast<std::uint8_t>(message.size());
  return record;
}

class PositionPage : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/position_page_test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_folder = pattern;
    SetProgramFolder(m_folder.string());
    Write("CityList.txt", kCityList);
    Write("Transponders/0192.ini", "[SATTYPE]\n1=0192\n2=Astra 1KR/1L/1M/1N\n");
    Write("Transponders/0192 copy.ini", "[SATTYPE]\n1=0192\n2=Astra 1KR/1L/1M/1N\n");
    Write("Transponders/3300.ini", "\xEF\xBB\xBF[SATTYPE]\r\n1=3300\r\n2=Hispasat 30W-6\r\n");
    Write("Transponders/0130.ini", "[SATTYPE]\n1=0130\n2=Hot Bird 13F/13G\n");
    m_driver = MakeComObject<FakePropertySet>();
    TheTunerContext().m_pKsCtrl = ComPtr<IKsPropertySet>(m_driver.Get());
  }
  void TearDown() override {
    m_page.DestroyWindow();
    TheTunerContext().m_pKsCtrl = nullptr;
    SetProgramFolder("");
    SetShippedDataFolder("");
    fs::remove_all(m_folder);
  }

  void Write(const std::string& name, const std::string& bytes) {
    const fs::path path = m_folder / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // The page in a shown, active window, so that keys reach it as typed keys do.
  void Open() {
    m_page.CreateChild(&m_host);
    m_host.show();
    m_host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_host));
  }

  QWidget* Item(int id) { return m_page.GetDlgItem(id); }
  QComboBox* Combo(int id) { return qobject_cast<QComboBox*>(Item(id)); }
  QLineEdit* Edit(int id) {
    if (auto* combo = Combo(id)) return combo->lineEdit();
    return qobject_cast<QLineEdit*>(Item(id));
  }
  void Click(int id) { QTest::mouseClick(Item(id), Qt::LeftButton); }
  void Type(int id, const char* text) {
    Edit(id)->setFocus();
    Edit(id)->selectAll();
    if (*text) QTest::keyClicks(Edit(id), text);
    else QTest::keyClick(Edit(id), Qt::Key_Delete);
  }
  void Key(int id, Qt::Key key) {
    QWidget* target = Edit(id) ? static_cast<QWidget*>(Edit(id)) : Item(id);
    target->setFocus();
    QTest::keyClick(target, key);
  }
  std::vector<std::string> Entries(int id) {
    std::vector<std::string> entries;
    for (int i = 0; i < m_page.ComboGetCount(id); ++i) entries.push_back(m_page.ComboGetLBText(id, i));
    return entries;
  }
  std::vector<Bytes> Sent() {
    std::vector<Bytes> records;
    for (const auto& call : m_driver->CallsOf("Set")) {
      EXPECT_EQ(call.id, 0u);
      EXPECT_TRUE(call.sameBuffers);
      records.push_back(call.bytes);
    }
    m_driver->calls.clear();
    return records;
  }

  fs::path m_folder;
  MessageBoxRecorder m_boxes;
  ComPtr<FakePropertySet> m_driver;
  QWidget m_host;
  CPositionDlg m_page;
};

TEST_F(PositionPage, FirstDisplayListsEverythingSortedAndShowsTheSelectedCitysCoordinates) {
  Open();
  EXPECT_EQ(Entries(IDC_POS_COUNTRY), (std::vector<std::string>{"Australia", "France", "Germany", "Niger", "Nigeria"}));
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_COUNTRY), "Australia");
  EXPECT_EQ(Entries(IDC_POS_CITY), std::vector<std::string>{"Sydney"});
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_CITY), "Sydney");
  // Nothing recorded before the first Go: the city's place, not empty boxes.
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LATITUDE), "-33.87");
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LONGITUDE), "151.21");
  EXPECT_EQ(Entries(IDC_POS_SATELLITE),
            (std::vector<std::string>{"0130  Hot Bird 13F/13G", "0192  Astra 1KR/1L/1M/1N", "0192  Astra 1KR/1L/1M/1N",
                                      "3300  Hispasat 30W-6"}));
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_SATELLITE), "0130  Hot Bird 13F/13G");
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_USALS_OUTCOME), "");
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_DISH_MOTION), "") << "this driver reports no position";
  for (int id : {IDC_POS_COUNTRY, IDC_POS_CITY, IDC_POS_SATELLITE}) EXPECT_TRUE(Combo(id)->isEditable()) << id;
  EXPECT_TRUE(qobject_cast<QPushButton*>(Item(IDC_POS_GO))->isDefault());
  EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(PositionPage, CountryAndCityChosenWithTheArrowKeys) {
  Open();
  Key(IDC_POS_COUNTRY, Qt::Key_Down);
  Key(IDC_POS_COUNTRY, Qt::Key_Down);
  ASSERT_EQ(m_page.GetDlgItemText(IDC_POS_COUNTRY), "Germany");
  // Only the first block of Germany's lines; the coordinates of its first
  // line, though the list shows its alphabetically first city.
  EXPECT_EQ(Entries(IDC_POS_CITY), (std::vector<std::string>{"Berlin", "Munich"}));
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_CITY), "Berlin");
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LATITUDE), "48.14");
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LONGITUDE), "11.58");

  Key(IDC_POS_CITY, Qt::Key_Down);
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LATITUDE), "48.14");
  Key(IDC_POS_CITY, Qt::Key_Up);
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LATITUDE), "52.52");
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LONGITUDE), "13.40");

  // Niger and Nigeria are two countries.
  Key(IDC_POS_COUNTRY, Qt::Key_Down);
  EXPECT_EQ(Entries(IDC_POS_CITY), std::vector<std::string>{"Niamey"});
  Key(IDC_POS_COUNTRY, Qt::Key_Down);
  EXPECT_EQ(Entries(IDC_POS_CITY), std::vector<std::string>{"Lagos"});
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LATITUDE), "6.52");
  EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(PositionPage, TheCityListIsReadAgainForEveryChoice) {
  Open();
  Key(IDC_POS_COUNTRY, Qt::Key_Down);  // France
  Write("CityList.txt", "France\tParis\t48.8566\t2.3522\r\nFrance\tLyon\t45.76\t4.84\r\n");
  Key(IDC_POS_CITY, Qt::Key_Down);  // still the list of before: Paris only
  Key(IDC_POS_COUNTRY, Qt::Key_Up);
  Key(IDC_POS_COUNTRY, Qt::Key_Down);  // France again: read afresh
  EXPECT_EQ(Entries(IDC_POS_CITY), (std::vector<std::string>{"Lyon", "Paris"}));
  Key(IDC_POS_CITY, Qt::Key_Down);
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LATITUDE), "48.8566");

  fs::remove(m_folder / "CityList.txt");
  Key(IDC_POS_CITY, Qt::Key_Up);
  ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{"open file error!"});
  EXPECT_EQ(m_boxes.Boxes()[0].caption, AfxGetAppName());
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LATITUDE), "48.8566");
  Key(IDC_POS_COUNTRY, Qt::Key_Up);  // without the file: an empty City list, no box
  EXPECT_TRUE(Entries(IDC_POS_CITY).empty());
  EXPECT_EQ(m_boxes.Texts().size(), 1u);
}

// A data folder without lists (a new --data-dir) reads the shipped ones;
// with none anywhere the page says so instead of showing empty lists.
TEST_F(PositionPage, ListsMissingFromTheDataFolderComeFromTheShippedOnesOrThePageSaysSo) {
  const fs::path shipped = m_folder / "shipped";
  fs::create_directories(shipped / "Transponders");
  fs::rename(m_folder / "CityList.txt", shipped / "CityList.txt");
  for (const auto& entry : fs::directory_iterator(m_folder / "Transponders"))
    fs::rename(entry.path(), shipped / "Transponders" / entry.path().filename());
  fs::remove_all(m_folder / "Transponders");
  EXPECT_EQ(ShippedDataFolderFor(shipped.string()), shipped.string()) << "a build: the lists lie beside the executable";
  EXPECT_EQ(ShippedDataFolderFor("/usr/bin"), "/usr/share/rx40-tessel") << "an installed copy";
  SetShippedDataFolder(shipped.string());
  Open();
  EXPECT_FALSE(Entries(IDC_POS_COUNTRY).empty());
  EXPECT_FALSE(Entries(IDC_POS_SATELLITE).empty());
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_USALS_OUTCOME), "");
  m_page.DestroyWindow();

  SetShippedDataFolder("");
  fs::remove_all(shipped);
  Open();
  EXPECT_TRUE(Entries(IDC_POS_COUNTRY).empty());
  EXPECT_TRUE(Entries(IDC_POS_SATELLITE).empty());
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_USALS_OUTCOME), "No city list or satellite files: type the values");
  EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(PositionPage, EachButtonSendsItsCommandTwiceRepeatFirst) {
  Open();
  const struct {
    int button;
    const char* position;
    Bytes message;  // after the framing byte
  } cases[] = {
      {IDC_POS_STEP_EAST, "", {0x31, 0x68, 0xFF}},      {IDC_POS_STEP_WEST, "", {0x31, 0x69, 0xFF}},
      {IDC_POS_DRIVE_EAST, "", {0x31, 0x68, 0x50}},     {IDC_POS_DRIVE_WEST, "", {0x31, 0x69, 0x50}},
      {IDC_POS_STOP, "", {0x31, 0x60}},                 {IDC_POS_LIMIT_EAST, "", {0x31, 0x66}},
      {IDC_POS_LIMIT_WEST, "", {0x31, 0x67}},           {IDC_POS_LIMITS_RESET, "", {0x31, 0x63}},
      {IDC_POS_GOTO, "5", {0x31, 0x6B, 0x05}},          {IDC_POS_STORE, "5", {0x31, 0x6A, 0x05}},
      {IDC_POS_GOTO, "300", {0x31, 0x6B, 0x2C}},        {IDC_POS_STORE, "-1", {0x31, 0x6A, 0xFF}},
      {IDC_POS_GOTO, "", {0x31, 0x6B, 0x00}},           {IDC_POS_STORE, " 12abc", {0x31, 0x6A, 0x0C}},
  };
  for (const auto& c : cases) {
    Type(IDC_POS_NUMBER, c.position);
    Sent();
    Click(c.button);
    Bytes repeat{0xE1}, first{0xE0};
    repeat.insert(repeat.end(), c.message.begin(), c.message.end());
    first.insert(first.end(), c.message.begin(), c.message.end());
    EXPECT_EQ(Sent(), (std::vector<Bytes>{Record(repeat), Record(first)})) << c.button << " " << c.position;
    EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_USALS_OUTCOME),
              "sent " + HexBytesText(repeat) + ", " + HexBytesText(first))
        << "the result line says what went out";
  }
  EXPECT_TRUE(m_driver->CallsOf("QuerySupported").empty());
  EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(PositionPage, ARefusingDriverShowsOneBoxPerMessageAndNoTunerShowsNothing) {
  Open();
  m_driver->setResult[0] = S_FALSE;
  Click(IDC_POS_STOP);
  EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>(2, "SendDiseqCommandRX40 QueryInterface Failed"));
  EXPECT_EQ(Sent().size(), 2u);
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_USALS_OUTCOME), "E1 31 60, E0 31 60 refused by the driver");

  m_boxes.Clear();
  TheTunerContext().m_pKsCtrl = nullptr;
  for (int id : {IDC_POS_GOTO, IDC_POS_STORE, IDC_POS_STEP_EAST, IDC_POS_STEP_WEST, IDC_POS_STOP, IDC_POS_DRIVE_EAST,
                 IDC_POS_DRIVE_WEST, IDC_POS_LIMIT_EAST, IDC_POS_LIMIT_WEST, IDC_POS_LIMITS_RESET})
    Click(id);
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_USALS_OUTCOME), "E1 31 63, E0 31 63 not sent, no tuner");
  Type(IDC_POS_LATITUDE, "51.5");
  Type(IDC_POS_LONGITUDE, "-0.1");
  Click(IDC_POS_GO);
  EXPECT_TRUE(m_boxes.Texts().empty());
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_USALS_OUTCOME), "Angle -14.324\u00B0: E1 31 6E E0 E5 not sent, no tuner");
}

TEST_F(PositionPage, GoSendsTheAngularGotoOnceAndShowsIt) {
  Open();
  Type(IDC_POS_SATELLITE, "0130");
  Type(IDC_POS_LATITUDE, "51.5");
  Type(IDC_POS_LONGITUDE, "-0.1");
  Click(IDC_POS_GO);
  EXPECT_EQ(Sent(), std::vector<Bytes>{Record({0xE1, 0x31, 0x6E, 0xE0, 0xE5})});
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_USALS_OUTCOME), "Angle -14.324\u00B0: sent E1 31 6E E0 E5");

  // Only the first four characters are the position.
  Type(IDC_POS_SATELLITE, "01305");
  Click(IDC_POS_GO);
  EXPECT_EQ(Sent(), std::vector<Bytes>{Record({0xE1, 0x31, 0x6E, 0xE0, 0xE5})});
  // An entry of the list.
  Key(IDC_POS_SATELLITE, Qt::Key_Down);
  ASSERT_EQ(m_page.GetDlgItemText(IDC_POS_SATELLITE), "0192  Astra 1KR/1L/1M/1N");
  Click(IDC_POS_GO);
  EXPECT_EQ(Sent(), std::vector<Bytes>{Record({0xE1, 0x31, 0x6E, 0xE1, 0x50})});
  // A refused message: the driver's box, and the label says so.
  m_driver->setResult[0] = E_FAIL;
  Click(IDC_POS_GO);
  EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"SendDiseqCommandRX40 QueryInterface Failed"});
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_USALS_OUTCOME), "Angle -21.076\u00B0: E1 31 6E E1 50 refused by the driver");
}

// Where a fixed dish would point follows every key typed, with no "Go".
TEST_F(PositionPage, TheFixedDishAnglesFollowTheTypedSiteAndSatellite) {
  Open();
  Type(IDC_POS_SATELLITE, "0282");
  Type(IDC_POS_LATITUDE, "51.5");
  Type(IDC_POS_LONGITUDE, "-0.1");
  const usals::LookAngles london = usals::ComputeLookAngles(51.5, -0.1, 28.2);
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LOOK_ANGLES), usals::ShortLookAnglesText(london));
  EXPECT_EQ(m_page.GetDlgItem(IDC_POS_LOOK_ANGLES)->toolTip().toStdString(), usals::LookAnglesText(london));
  Key(IDC_POS_SATELLITE, Qt::Key_Down);  // an entry of the list
  EXPECT_NE(m_page.GetDlgItemText(IDC_POS_LOOK_ANGLES), usals::ShortLookAnglesText(london));
  Type(IDC_POS_LATITUDE, "51,5");
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LOOK_ANGLES), "") << "no angles for a latitude that does not read";
  EXPECT_TRUE(Sent().empty());
}

TEST_F(PositionPage, GoRightAwayPointsFromTheSelectedCity) {
  Open();
  Click(IDC_POS_GO);
  const usals::Result expected = usals::Compute(130, 151.21, -33.87);
  ASSERT_EQ(expected.status, usals::Status::Unreachable) << "13.0E is out of Sydney's reach";
  EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Can not reach this satellite from your location!"});
  EXPECT_TRUE(Sent().empty());
}

TEST_F(PositionPage, GoWithInputsOutOfRangeOrOutOfReachShowsTheErrorAndSendsNothing) {
  Open();
  const struct {
    const char* satellite;
    const char* latitude;
    const char* longitude;
    const char* box;
    const char* label;
  } cases[] = {
      {"0130", "nan", "0", "Longitude or Latitude error!", "Nothing sent: latitude or longitude is not a number"},
      {"0130", "51.5", "1e999", "Longitude or Latitude error!", nullptr},
      {"0130", "-inf", "8", "Longitude or Latitude error!", nullptr},
      {"nan", "51.5", "8", "Longitude or Latitude error!", nullptr},
      {"inf", "51.5", "8", "Longitude or Latitude error!", nullptr},
      {"5401", "51.5", "8", "Longitude or Latitude error!", nullptr},
      {"0130", "90.1", "8", "Longitude or Latitude error!", nullptr},
      {"0130", "50", "180.1", "Longitude or Latitude error!", nullptr},
      {"0130", "50", "100", "Can not reach this satellite from your location!",
       "Nothing sent: 87.0\u00B0 apart in longitude (65\u00B0 at most)"},
      {"0130", "51.5", "13", "Can not reach this satellite from your location!",
       "Nothing sent: satellite at the site's own longitude"},
      {"0650", "70", "0", "Can not reach this satellite from your location!",
       "Nothing sent: motor angle 66.9\u00B0 beyond 65\u00B0"},
      // Empty or no plain number: never read as 0 or as its leading digits.
      {"0130", "", "8", "Longitude or Latitude error!",
       "Nothing sent: latitude or longitude is not a number"},
      {"0130", "51.5", "", "Longitude or Latitude error!", nullptr},
      {"0130", "abc", "8", "Longitude or Latitude error!", nullptr},
      {"0130", "50,5", "8", "Longitude or Latitude error!", nullptr},
      {"0130", "51.5", "8E", "Longitude or Latitude error!", nullptr},
      // McMurdo Station to 105.5E: within the motor's reach, below the horizon.
      {"1055", "-77.85", "166.67", "The satellite is below your horizon (elevation -2.9\u00B0).",
       "Nothing sent: the satellite is 2.9\u00B0 below the horizon"},
  };
  for (const auto& c : cases) {
    m_boxes.Clear();
    Type(IDC_POS_SATELLITE, c.satellite);
    Type(IDC_POS_LATITUDE, c.latitude);
    Type(IDC_POS_LONGITUDE, c.longitude);
    Click(IDC_POS_GO);
    ASSERT_EQ(m_boxes.Boxes().size(), 1u) << c.satellite << " " << c.latitude << " " << c.longitude;
    const auto box = m_boxes.Boxes()[0];
    EXPECT_EQ(box.text, c.box);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.flags, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(box.owner, &m_page);
    EXPECT_TRUE(Sent().empty()) << c.satellite << " " << c.latitude << " " << c.longitude;
    if (c.label) EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_USALS_OUTCOME), c.label);
  }
}

TEST_F(PositionPage, APageCreatedAgainComesBackWithTheLastGo) {
  Open();
  Key(IDC_POS_COUNTRY, Qt::Key_Down);
  Key(IDC_POS_COUNTRY, Qt::Key_Down);  // Germany
  Key(IDC_POS_CITY, Qt::Key_Down);     // Munich
  for (int i = 0; i < 3; ++i) Key(IDC_POS_SATELLITE, Qt::Key_Down);  // the last entry
  ASSERT_EQ(m_page.GetDlgItemText(IDC_POS_SATELLITE), "3300  Hispasat 30W-6");
  Type(IDC_POS_LATITUDE, "48.1");
  Click(IDC_POS_GO);
  ASSERT_EQ(Sent().size(), 1u);

  m_page.DestroyWindow();
  m_page.CreateChild(&m_host);
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_COUNTRY), "Germany");
  EXPECT_EQ(Entries(IDC_POS_CITY), (std::vector<std::string>{"Berlin", "Munich"}));
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_CITY), "Munich");
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_SATELLITE), "3300  Hispasat 30W-6");
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LATITUDE), "48.1");
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_LONGITUDE), "11.58");

  // A typed position comes back as the entry it begins.
  Type(IDC_POS_SATELLITE, "0192");
  Click(IDC_POS_GO);
  m_page.DestroyWindow();
  m_page.CreateChild(&m_host);
  EXPECT_EQ(m_page.ComboGetCurSel(IDC_POS_SATELLITE), 1);
}

TEST_F(PositionPage, TheSpinsUpperArrowLowersThePositionNumber) {
  Open();
  Type(IDC_POS_NUMBER, "5");
  QToolButton* up = Item(IDC_POS_SPIN)->findChild<QToolButton*>("up");
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_NUMBER), "4");
  Key(IDC_POS_NUMBER, Qt::Key_Up);
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_NUMBER), "3");
  Click(IDC_POS_GOTO);
  EXPECT_EQ(Sent()[1], Record({0xE0, 0x31, 0x6B, 0x03}));
  Type(IDC_POS_NUMBER, "0");
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_EQ(m_page.GetDlgItemText(IDC_POS_NUMBER), "100") << "wraps round";
  const QRect edit = Item(IDC_POS_NUMBER)->geometry();
  EXPECT_EQ(Item(IDC_POS_SPIN)->geometry().topLeft(), QPoint(edit.right() + 1, edit.top()));
}

TEST_F(PositionPage, EnterPressesTheFocusedButtonOrGoAndEscapeDoesNothing) {
  Open();
  Type(IDC_POS_LATITUDE, "51.5");
  Type(IDC_POS_LONGITUDE, "-0.1");
  Key(IDC_POS_LONGITUDE, Qt::Key_Return);
  EXPECT_EQ(Sent(), std::vector<Bytes>{Record({0xE1, 0x31, 0x6E, 0xE0, 0xE5})});
  Key(IDC_POS_SATELLITE, Qt::Key_Enter);  // in the Satellite box too
  EXPECT_EQ(Sent().size(), 1u);
  Key(IDC_POS_STOP, Qt::Key_Return);
  EXPECT_EQ(Sent(), (std::vector<Bytes>{Record({0xE1, 0x31, 0x60}), Record({0xE0, 0x31, 0x60})}));
  Key(IDC_POS_LATITUDE, Qt::Key_Escape);
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(m_page.IsCreated());
  EXPECT_TRUE(m_boxes.Texts().empty());
}

// A real message box: the key that closes it must not reach the page
// behind it and run "Go" again.
TEST_F(PositionPage, EnterOrEscapeClosesARealBoxAndRunsNothingAgain) {
  Open();
  Type(IDC_POS_LATITUDE, "nan");
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Enter}) {
    // The window behind the closed box takes the keys again (the offscreen
    // platform does not hand activation back by itself).
    m_host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_host));
    RealBoxKeys boxes(key, 1);
    Key(IDC_POS_LATITUDE, Qt::Key_Return);  // "Go" by Enter in the edit
    EXPECT_EQ(boxes.Shown(), std::vector<std::string>{"Longitude or Latitude error!"}) << key;
    EXPECT_EQ(boxes.LeftOpen(), 0) << key;
  }
  RealBoxKeys boxes(Qt::Key_Return, 1);
  Click(IDC_POS_GO);
  EXPECT_EQ(boxes.Shown().size(), 1u);
  EXPECT_TRUE(Sent().empty());
}

}  // namespace
