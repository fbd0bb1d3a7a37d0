#include "platform/ui/dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QWindow>
#include <algorithm>
#include <mutex>
#include <set>
#include <utility>

#include "platform/ui/debug_output.h"
#include "platform/ui/label_alignment.h"
#include "platform/ui/resource_registry.h"
#include "platform/ui/ui_thread.h"
#include "platform/ui/window_timers.h"
#include "platform/ui/up_down_control.h"

namespace {

constexpr char kDialogProperty[] = "rx40.dialog";
constexpr char kIconProperty[] = "rx40.icon";
constexpr char kFlaggedProperty[] = "rx40.flagged";
constexpr char kOwnFontProperty[] = "rx40.ownFont";

// Top-level dialogs alive now, for device-change delivery. UI thread only.
std::set<CDialog*>& LiveTopLevels() {
  static std::set<CDialog*> dialogs;
  return dialogs;
}

template <typename F>
auto OnUi(F&& f) -> decltype(f()) {
  if (ui::IsUiThread()) return f();
  if constexpr (std::is_void_v<decltype(f())>) {
    ui::SendToUiThread(f);
  } else {
    decltype(f()) result{};
    ui::SendToUiThread([&] { result = f(); });
    return result;
  }
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

CDialog* DialogOf(QObject* object) {
  return object ? static_cast<CDialog*>(object->property(kDialogProperty).value<void*>()) : nullptr;
}

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

// Gives every dialog on the focus path a look at key presses first, the
// innermost first, and routes F1 to the top-level dialog. The path ends at
// the focus widget's own window: a box or dialog owned by a page keeps its
// keys, or Enter in a box would run the page's action again underneath it.
// A window that is closing takes no input at all: its pages are being torn
// down while the close waits for the monitor thread.
class KeyRouter final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    if (IsUserInput(event->type())) {
      if (CDialog* window = DialogOf(widget->window()); window && window->IsClosing()) return true;
    }
    if (event->type() != QEvent::KeyPress) return false;
    QWidget* focus = QApplication::focusWidget();
    if (focus ? widget != focus : !widget->isWindow()) return false;  // only the first delivery
    for (QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget())
      if (CDialog* dialog = DialogOf(w); dialog && dialog->PreTranslateMessage(event)) return true;
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
      if (CDialog* top = DialogOf(widget->window())) {
        top->OnHelp();
        return true;
      }
    }
    return false;
  }
};

void InstallKeyRouterOnce() {
  static KeyRouter* router = nullptr;
  if (!router && QApplication::instance()) {
    router = new KeyRouter;
    QApplication::instance()->installEventFilter(router);
  }
}

QWidget* MakeControl(const ui::ControlTemplate& c, QWidget* parent) {
  using ui::ControlKind;
  QWidget* w = nullptr;
  switch (c.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(Q(c.text), parent);
      label->setAttribute(Qt::WA_TransparentForMouseEvents);
      if (c.styles & ui::kRightAligned) label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      w = label;
      break;
    }
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(Q(c.text), parent);
      edit->setFrame(c.styles & ui::kBorder);
      edit->setReadOnly(c.styles & ui::kReadOnly);
      if (c.styles & ui::kReadOnly) {
        // A read-only box is a line of text on the dialog, as on the classic platform.
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        edit->setPalette(palette);
        // Tab walks what can be changed; a click still selects the text to copy.
        edit->setFocusPolicy(Qt::ClickFocus);
      }
      if (c.styles & ui::kDisabled) {
        // A disabled box is a display: its value stays legible.
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text, palette.color(QPalette::Active, QPalette::Text));
        edit->setPalette(palette);
      }
      if (c.styles & ui::kDigitsOnly)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
      w = edit;
      break;
    }
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
      auto* button = new QPushButton(Q(c.text), parent);
      button->setAutoDefault(false);
      button->setDefault(c.kind == ControlKind::DefPushButton);
      w = button;
      break;
    }
    case ControlKind::RadioButton:
      w = new QRadioButton(Q(c.text), parent);
      break;
    case ControlKind::CheckBox:
      w = new QCheckBox(Q(c.text), parent);
      break;
    case ControlKind::DropDownList:
    case ControlKind::DropDown: {
      auto* combo = new QComboBox(parent);
      if (c.kind == ControlKind::DropDown) {
        combo->setEditable(true);
        // Typed text stays text: Enter adds no entry and nothing completes it.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
      }
      for (const auto& item : c.items) combo->addItem(Q(item));
      combo->setCurrentIndex(-1);
      w = combo;
      break;
    }
    case ControlKind::GroupBox: {
      auto* group = new QGroupBox(Q(c.text), parent);
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      // The title sits on the frame's top line, inside the control's rectangle,
      // as the classic platform draws a group box; the default style puts it above.
      group->setStyleSheet(
          c.text.empty()
              ? QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 0; }")
              : QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 0.5em; }"
                               "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; "
                               "left: 7px; padding: 0 2px; }"));
      w = group;
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setTextVisible(false);
      bar->setRange(0, 100);
      bar->setValue(0);
      w = bar;
      break;
    }
    case ControlKind::Bitmap:
    case ControlKind::Icon: {
      auto* picture = new QLabel(parent);
      picture->setAttribute(Qt::WA_TransparentForMouseEvents);
      w = picture;
      break;
    }
    case ControlKind::EtchedLine: {
      auto* line = new QFrame(parent);
      line->setFrameShape(QFrame::HLine);
      line->setFrameShadow(QFrame::Sunken);
      line->setAttribute(Qt::WA_TransparentForMouseEvents);
      w = line;
      break;
    }
    case ControlKind::Spin:
      w = new ui::UpDownControl(c.styles & ui::kWrap, parent);
      break;
  }
  if (c.id != ui::kNoId) w->setObjectName(QString::number(c.id));
  if (c.styles & ui::kDisabled) w->setEnabled(false);
  return w;
}

}  // namespace

// The widget of a dialog: forwards the window's events to the CDialog.
class CDialog::DialogWidget final : public QDialog {
 public:
  DialogWidget(CDialog* owner, QWidget* parent) : QDialog(parent), m_owner(owner) {
    if (parent) setWindowFlags(Qt::Widget);
  }
  void accept() override { m_owner->OnOK(); }
  void reject() override { m_owner->OnCancel(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Escape:
        if (isWindow()) m_owner->OnCancel();
        else event->ignore();
        return;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (!isWindow()) {
          event->ignore();
          return;
        }
        if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget())) button->click();
        else m_owner->OnOK();
        return;
      default:
        QDialog::keyPressEvent(event);
    }
  }
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    m_owner->OnClose();
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) m_owner->OnLButtonDown(event->position().toPoint());
    QDialog::mousePressEvent(event);
  }

 private:
  CDialog* m_owner;
};

CDialog::CDialog(int templateId) : m_template(ui::FindDialogTemplate(templateId)) {
  if (!m_template) {
    OutputDebugString("dialog template " + std::to_string(templateId) + " is not registered");
    static const ui::DialogTemplate empty{templateId, "", 100, 50, {}};
    m_template = &empty;
  }
}

CDialog::~CDialog() {
  if (m_widget) DestroyWindow();
}

void CDialog::Build(QWidget* widget) {
  InstallKeyRouterOnce();
  m_widget = widget;
  widget->setProperty(kDialogProperty, QVariant::fromValue(static_cast<void*>(this)));
  widget->setFont(ui::DialogFont());
  m_units = ui::BaseUnitsOf(widget->font());
  // A page fills the sheet it is given; a window keeps a margin under its buttons.
  const int height = widget->isWindow() ? ui::DrawnDialogHeight(m_template->controls, m_template->cy) : m_template->cy;
  widget->setFixedSize(ui::DluToPixels(m_template->cx, height, m_units));
  widget->setWindowTitle(Q(m_template->caption));
  QWidget* previous = nullptr;
  const std::vector<ui::DluRect> drawn = ui::AlignLabels(m_template->controls);
  for (std::size_t index = 0; index < m_template->controls.size(); ++index) {
    const ui::ControlTemplate& c = m_template->controls[index];
    QWidget* control = MakeControl(c, widget);
    QRect rect = ui::DluToPixels(drawn[index], m_units);
    if (c.kind == ui::ControlKind::Bitmap) {
      // A bitmap control takes its bitmap's own size, as on the original platform.
      const QPixmap pixmap = ui::LoadBitmap(c.resourceId);
      static_cast<QLabel*>(control)->setPixmap(pixmap);
      if (!pixmap.isNull()) rect.setSize(pixmap.size());
    } else if (c.kind == ui::ControlKind::Icon) {
      rect.setSize(QSize(32, 32));
    } else if (c.kind == ui::ControlKind::DropDownList || c.kind == ui::ControlKind::DropDown) {
      // The template's height is the dropped list's; the closed box is one line.
      rect.setHeight(std::min(rect.height(), 14 * m_units.y / 8));
    } else if (c.kind == ui::ControlKind::EtchedLine) {
      rect.setHeight(std::max(rect.height(), 2));
    }
    control->setGeometry(rect);
    if (c.kind == ui::ControlKind::GroupBox) control->lower();
    if (c.kind == ui::ControlKind::Icon) {
      control->setProperty(kIconProperty, c.resourceId);
      static_cast<QLabel*>(control)->setPixmap(ui::LoadIcon(c.resourceId).pixmap(32, 32));
    }
    // A spin control takes the edit before it as its buddy.
    if (auto* upDown = dynamic_cast<ui::UpDownControl*>(control))
      upDown->AttachBuddy(qobject_cast<QLineEdit*>(previous));
    if (c.styles & ui::kHidden) control->hide();
    previous = control;
  }
}

void CDialog::Initialise() {
  ConnectMessageMap();
  // As the classic framework does: a button with the id IDOK or IDCANCEL
  // runs OnOK or OnCancel, unless the message map gives it a handler.
  for (const auto& [id, handler] : {std::pair<int, void (CDialog::*)()>{IDOK, &CDialog::OnOK},
                                    std::pair<int, void (CDialog::*)()>{IDCANCEL, &CDialog::OnCancel}}) {
    if (m_clickHandlers.count(id)) continue;
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
      QObject::connect(button, &QAbstractButton::clicked, button, [this, handler = handler] { (this->*handler)(); });
  }
  OnInitDialog();
}

int CDialog::DoModal() {
  auto* dialog = new DialogWidget(this, nullptr);
  m_modal = dialog;
  m_result = 0;
  Build(dialog);
  LiveTopLevels().insert(this);
  bool ended = false;
  QObject::connect(dialog, &QDialog::finished, [&ended] { ended = true; });
  Initialise();
  if (!ended && m_widget) dialog->exec();
  DestroyWindow();
  return m_result;
}

void CDialog::CreateChild(QWidget* parent) {
  auto* widget = new DialogWidget(this, parent);
  Build(widget);
  widget->move(0, 0);
  widget->show();
  widget->move(0, 0);  // a dialog centres itself when shown; a page sits at its parent's corner
  Initialise();
}

void CDialog::EndDialog(int result) {
  OnUi([&] {
    m_result = result;
    if (m_modal) m_modal->done(result);
  });
}

void CDialog::DestroyWindow() {
  if (!m_widget || m_destroying) return;
  m_destroying = true;
  LiveTopLevels().erase(this);  // no device messages for a closing window
  OnDestroy();
  for (CDialog* child : m_children) child->DestroyWindow();
  for (int id : std::exchange(m_timerIds, {})) ui::Timers().Kill(this, id);
  delete m_widget;
  m_widget = nullptr;
  m_modal = nullptr;
  m_destroying = false;
}

void CDialog::AddChildDialog(CDialog* child) { m_children.push_back(child); }

void CDialog::StartWindowDrag() {
  if (m_widget && m_widget->window()->windowHandle()) m_widget->window()->windowHandle()->startSystemMove();
}

void CDialog::RunBaseInitDialog() { UpdateData(false); }

bool CDialog::UpdateData(bool saveAndValidate) {
  CDataExchange exchange(this, saveAndValidate);
  return UpdateData(exchange);
}

bool CDialog::UpdateData(CDataExchange& exchange) {
  DoDataExchange(&exchange);
  if (!exchange.Failed()) return true;
  if (exchange.GetPrompting() == CDataExchange::Prompting::Box) {
    AfxMessageBox(exchange.FailedPrompt(), MB_ICONEXCLAMATION);
    GotoDlgCtrl(exchange.FailedControl());
  }
  return false;
}

bool CDialog::OnInitDialog() {
  RunBaseInitDialog();
  return true;
}

void CDialog::OnOK() { EndDialog(IDOK); }
void CDialog::OnCancel() { EndDialog(IDCANCEL); }
bool CDialog::PreTranslateMessage(QEvent*) { return false; }
LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM) { return 0; }

void CDialog::OnClicked(int id, std::function<void()> handler) {
  m_clickHandlers.insert(id);
  if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
    QObject::connect(button, &QAbstractButton::clicked, button, [handler = std::move(handler)] { handler(); });
}

void CDialog::OnSelChange(int id, std::function<void()> handler) {
  if (auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id)))
    QObject::connect(combo, &QComboBox::activated, combo, [handler = std::move(handler)] { handler(); });
}

void CDialog::OnChange(int id, std::function<void()> handler) {
  if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id)))
    QObject::connect(edit, &QLineEdit::textChanged, edit, [handler = std::move(handler)] { handler(); });
  else if (auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id)))
    QObject::connect(combo, &QComboBox::currentTextChanged, combo, [handler = std::move(handler)] { handler(); });
}

QWidget* CDialog::GetDlgItem(int id) const {
  if (!m_widget) return nullptr;
  return m_widget->findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

// A value box the operator cannot edit shrinks its font until the whole
// value shows: our sans face is wider than the classic dialog font.
static void FitDisplayText(QLineEdit* edit) {
  if (edit->isEnabled() && !edit->isReadOnly()) return;
  QFont font = edit->parentWidget()->font();
  const int room = edit->contentsRect().width() - 4;
  while (font.pixelSize() > 7 && QFontMetrics(font).horizontalAdvance(edit->text()) > room)
    font.setPixelSize(font.pixelSize() - 1);
  edit->setFont(font);
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
  OnUi([&] {
    QWidget* w = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      edit->setText(Q(text));
      FitDisplayText(edit);
    }
    else if (auto* label = qobject_cast<QLabel*>(w)) label->setText(Q(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(Q(text));
    else if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(Q(text));
    else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable()) combo->setEditText(Q(text));
  });
}

std::string CDialog::GetDlgItemText(int id) const {
  return OnUi([&]() -> std::string {
    QWidget* w = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().toStdString();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText().toStdString();
    return {};
  });
}

void CDialog::EnableDlgItem(int id, bool enable) {
  OnUi([&] {
    if (QWidget* w = GetDlgItem(id)) w->setEnabled(enable);
  });
}

bool CDialog::IsDlgItemEnabled(int id) const {
  return OnUi([&] {
    QWidget* w = GetDlgItem(id);
    return w && w->isEnabled();
  });
}

void CDialog::CheckDlgButton(int id, bool checked) {
  OnUi([&] {
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id))) button->setChecked(checked);
  });
}

bool CDialog::IsDlgButtonChecked(int id) const {
  return OnUi([&] {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return button && button->isChecked();
  });
}

int CDialog::ComboGetCurSel(int id) const {
  return OnUi([&] {
    auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id));
    return combo ? combo->currentIndex() : -1;
  });
}

void CDialog::ComboSetCurSel(int id, int index) {
  OnUi([&] {
    if (auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id)))
      combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
  });
}

int CDialog::ComboAddString(int id, const std::string& text) {
  return OnUi([&] {
    auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id));
    if (!combo) return -1;
    const ui::ControlTemplate* c = nullptr;
    for (const auto& control : m_template->controls)
      if (control.id == id) c = &control;
    int position = combo->count();
    if (c && (c->styles & ui::kSorted)) {
      // A sorted list places entries by case-insensitive text order.
      position = 0;
      while (position < combo->count() &&
             QString::compare(combo->itemText(position), Q(text), Qt::CaseInsensitive) <= 0)
        ++position;
    }
    const int selected = combo->currentIndex();
    combo->insertItem(position, Q(text));
    // Inserting must not change what the operator sees selected.
    combo->setCurrentIndex(selected < 0 ? -1 : (position <= selected ? selected + 1 : selected));
    return position;
  });
}

void CDialog::ComboResetContent(int id) {
  OnUi([&] {
    if (auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id))) {
      combo->clear();
      if (combo->isEditable()) combo->clearEditText();
    }
  });
}

int CDialog::ComboSelectString(int id, int startAfter, const std::string& prefix) {
  return OnUi([&] {
    auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id));
    if (!combo || combo->count() == 0) return -1;
    const int count = combo->count();
    const int first = startAfter >= 0 && startAfter < count ? startAfter + 1 : 0;
    for (int i = 0; i < count; ++i) {
      const int index = (first + i) % count;
      if (combo->itemText(index).startsWith(Q(prefix), Qt::CaseInsensitive)) {
        combo->setCurrentIndex(index);
        return index;
      }
    }
    return -1;
  });
}

int CDialog::ComboGetCount(int id) const {
  return OnUi([&] {
    auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id));
    return combo ? combo->count() : 0;
  });
}

std::string CDialog::ComboGetLBText(int id, int index) const {
  return OnUi([&]() -> std::string {
    auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id));
    if (!combo || index < 0 || index >= combo->count()) return {};
    return combo->itemText(index).toStdString();
  });
}

int CDialog::ComboFindStringExact(int id, const std::string& text) const {
  return OnUi([&] {
    auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id));
    return combo ? combo->findText(Q(text), Qt::MatchFixedString) : -1;
  });
}

void CDialog::ProgressSetRange(int id, int low, int high) {
  OnUi([&] {
    if (auto* bar = qobject_cast<QProgressBar*>(GetDlgItem(id))) bar->setRange(low, high);
  });
}

void CDialog::ProgressSetPos(int id, int pos) {
  OnUi([&] {
    // A value past the end fills the bar, as a progress control does.
    if (auto* bar = qobject_cast<QProgressBar*>(GetDlgItem(id)))
      bar->setValue(std::clamp(pos, bar->minimum(), bar->maximum()));
  });
}

int CDialog::ProgressGetPos(int id) const {
  return OnUi([&] {
    auto* bar = qobject_cast<QProgressBar*>(GetDlgItem(id));
    return bar ? bar->value() : 0;
  });
}

void CDialog::SetIcon(int id, int iconResourceId) {
  OnUi([&] {
    if (auto* label = qobject_cast<QLabel*>(GetDlgItem(id))) {
      label->setProperty(kIconProperty, iconResourceId);
      label->setPixmap(ui::LoadIcon(iconResourceId).pixmap(32, 32));
    }
  });
}

int CDialog::ShownIcon(int id) const {
  return OnUi([&] {
    QWidget* w = GetDlgItem(id);
    return w ? w->property(kIconProperty).toInt() : 0;
  });
}

void CDialog::SetDlgItemToolTip(int id, const std::string& text) {
  OnUi([&] {
    QWidget* w = GetDlgItem(id);
    if (!w) return;
    w->setToolTip(Q(text));
    // A label lets clicks through to what lies under it, but a tooltip needs
    // the pointer's hover.
    if (qobject_cast<QLabel*>(w)) w->setAttribute(Qt::WA_TransparentForMouseEvents, text.empty());
  });
}

void CDialog::GotoDlgCtrl(int id) {
  OnUi([&] {
    QWidget* w = GetDlgItem(id);
    if (!w) return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
  });
}

void CDialog::FlagDlgItem(int id, const std::string& why) {
  OnUi([&] {
    QWidget* w = GetDlgItem(id);
    if (!w || w->property(kFlaggedProperty).toBool() == !why.empty()) {
      if (w) w->setToolTip(Q(why));
      return;
    }
    w->setProperty(kFlaggedProperty, !why.empty());
    w->setToolTip(Q(why));
    if (!why.empty()) {
      w->setProperty(kOwnFontProperty, w->testAttribute(Qt::WA_SetFont) ? QVariant(w->font()) : QVariant());
      w->setStyleSheet(QStringLiteral("border: 2px solid #d40000;"));
      return;
    }
    // Qt leaves the application's font on a widget whose style sheet is
    // removed; give back the font it had, or let it inherit the dialog's again.
    w->setStyleSheet(QString());
    const QVariant ownFont = w->property(kOwnFontProperty);
    w->setFont(ownFont.isValid() ? ownFont.value<QFont>() : QFont());
  });
}

bool CDialog::IsDlgItemFlagged(int id) const {
  return OnUi([&] {
    QWidget* w = GetDlgItem(id);
    return w && w->property(kFlaggedProperty).toBool();
  });
}

void CDialog::SetWindowText(const std::string& text) {
  OnUi([&] {
    if (m_widget) m_widget->setWindowTitle(Q(text));
  });
}

std::string CDialog::GetWindowText() const {
  return OnUi([&]() -> std::string { return m_widget ? m_widget->windowTitle().toStdString() : std::string(); });
}

void CDialog::SetTimer(int timerId, unsigned intervalMs) {
  OnUi([&] {
    if (!m_widget) return;
    m_timerIds.insert(timerId);
    ui::Timers().Set(this, timerId, intervalMs, [this, timerId] { OnTimer(timerId); });
  });
}

void CDialog::KillTimer(int timerId) {
  OnUi([&] {
    if (m_timerIds.erase(timerId)) ui::Timers().Kill(this, timerId);
  });
}

void BroadcastDeviceChange(std::uint32_t eventCode) {
  ui::PostToUiThread([eventCode] {
    const auto dialogs = LiveTopLevels();
    for (CDialog* dialog : dialogs)
      if (LiveTopLevels().count(dialog)) dialog->DefWindowProc(WM_DEVICECHANGE, eventCode, 0);
  });
}

void CancelAllDialogs() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) box->done(QMessageBox::Cancel);
  const auto dialogs = LiveTopLevels();
  for (CDialog* dialog : dialogs)
    if (LiveTopLevels().count(dialog)) dialog->OnCancel();
}

void DismissBoxes(const std::string& text) {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible() && box->text() == Q(text))
      box->done(QMessageBox::Ok);
}
