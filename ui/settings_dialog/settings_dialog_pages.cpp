// Builds the settings dialog: the tab strip, the four pages (one borderless
// frame each, switched by visibility), the row of buttons, the connections of
// the handlers, the keys that turn the pages and the tab order. Positions are
// design twips; a label spans from its left edge to the control it names.
// Every control is named: a value control is made for its key's row of the
// key table, named as the row says, and held by the dialog under that row.
#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabBar>
#include <vector>

#include "ui/settings_dialog/settings_dialog.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/twips.h"

namespace dovetam {

namespace {

constexpr int kRowHeight = 270;  // text boxes, labels, check boxes
constexpr int kMarkWidth = 255;  // the one-character symbol boxes
constexpr int kPageWidth = 7935;
constexpr int kPageHeight = 3615;


QLabel* Label(QWidget* page, const char16_t* text, int left, int top, int width) {
  return MakeLabel(page, QString(), QtText(text), left, top, width, kRowHeight);
}

// A section title in a bold 9-point font.
QLabel* Title(QWidget* page, const char16_t* text, int left, int top, int width) {
  QLabel* l = Label(page, text, left, top, width);
  QFont f = l->font();
  f.setBold(true);
  f.setPointSize(9);
  l->setFont(f);
  return l;
}

// The "～" between the two boxes of a symbol pair.
void Tilde(QWidget* page, int leftBox, int rightBox, int top) {
  QLabel* l = Label(page, u"～", leftBox + kMarkWidth, top, rightBox - leftBox - kMarkWidth);
  l->setAlignment(Qt::AlignCenter);
}

// Where the screen's font needs a little more room than the design gives, a
// box grows to its caption: no caption is cut.
void FitCaption(QWidget* w) {
  if (w->width() < w->sizeHint().width()) w->resize(w->sizeHint().width(), w->height());
}

// The row of the key table whose control is `control`, of the kind the page
// makes for it (a text box, a check box, an option group); a name that no row
// gives such a control does not compile.
enum class Kind { Text, Check, Options };

consteval std::size_t Row(std::u16string_view control, Kind kind) {
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (kSettingKeys[i].control != control) continue;
    const FormField& field = kSettingKeys[i].field;
    const bool text = std::holds_alternative<std::u16string SettingsForm::*>(field) ||
                      std::holds_alternative<TextAt<SettingsForm, 17>>(field);
    const bool check = std::holds_alternative<bool SettingsForm::*>(field);
    if ((kind == Kind::Text && text) || (kind == Kind::Check && check) ||
        (kind == Kind::Options && !text && !check))
      return i;
    throw "the row of this control is of another kind";
  }
  throw "no row of the key table has this control";
}
consteval std::size_t TextRow(std::u16string_view control) { return Row(control, Kind::Text); }
consteval std::size_t CheckRow(std::u16string_view control) { return Row(control, Kind::Check); }
consteval std::size_t OptionRow(std::u16string_view control) {
  return Row(control, Kind::Options);
}

QString ControlName(std::size_t row) { return QtText(kSettingKeys[row].control); }

QGroupBox* FrameAt(QWidget* page, const char16_t* name, const char16_t* title, int left,
                   int top, int width, int height) {
  auto* g = PlaceControl(new QGroupBox(page), QtText(name), left, top, width, height);
  g->setTitle(QtText(title));
  return g;
}

QPushButton* Button(QWidget* dialog, const char16_t* name, const char16_t* text, int left,
                    int width) {
  return MakeButton(dialog, QtText(name), QtText(text), QString(), left, 4560, width, 495);
}

}  // namespace

void frmDovetemSetting::CreateControls() {
  setWindowTitle(QString::fromUtf16(kWindowCaption.data(), kWindowCaption.size()));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(TwipsToPixels(8790, this), TwipsToPixels(5145, this));

  // The tab strip: the tabs above a panel that frames the pages.
  tbsSetting = new QTabBar(this);
  tbsSetting->setObjectName(QStringLiteral("tbsSetting"));
  for (const char16_t* caption : {u"全般", u"変更規則", u"生成名", u"変更処理"})
    tbsSetting->addTab(QtText(caption));
  tbsSetting->setExpanding(false);
  tbsSetting->setDrawBase(false);
  const int stripLeft = TwipsToPixels(120, this);
  const int stripTop = TwipsToPixels(120, this);
  const int tabHeight = tbsSetting->sizeHint().height();
  tbsSetting->setGeometry(stripLeft, stripTop, TwipsToPixels(8415, this), tabHeight);
  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setGeometry(stripLeft, stripTop + tabHeight - 1, TwipsToPixels(8415, this),
                     TwipsToPixels(4335, this) - tabHeight + 1);
  panel->lower();

  for (int n = 1; n <= 4; ++n) {
    fraSetting[n] = PlaceControl(new QFrame(this), ArrayControlName(QStringLiteral("fraSetting"), n),
                                        360, 720, kPageWidth, kPageHeight);
    fraSetting[n]->setFrameShape(QFrame::NoFrame);
  }
  CreateGeneralPage(fraSetting[1]);
  CreateRulePage(fraSetting[2]);
  CreateNamePage(fraSetting[3]);
  CreateProcessPage(fraSetting[4]);

  cmdCommandLoad = Button(this, u"cmdCommandLoad", u"読込み", 360, 855);
  cmdCommandSave = Button(this, u"cmdCommandSave", u"保存", 1440, 855);
  cmdCommandInit = Button(this, u"cmdCommandInit", u"クリア", 3840, 855);
  cmdCommandHelp = Button(this, u"cmdCommandHelp", u"ヘルプ", 4680, 855);
  cmdCommandHelp->hide();  // never shown, so it cannot be pressed
  cmdCommandExecute = Button(this, u"cmdCommandExecute", u"決定", 6240, 975);
  cmdCommandCancel = Button(this, u"cmdCommandCancel", u"キャンセル", 7440, 975);
  cmdCommandExecute->setDefault(true);  // Enter; Esc rejects, as "キャンセル" does
}

void frmDovetemSetting::TextBoxFor(QWidget* page, std::size_t row, int left, int top,
                                   int width) {
  auto* e = PlaceControl(new QLineEdit(page), ControlName(row), left, top, width, kRowHeight);
  e->setTextMargins(0, 0, 0, 0);
  keyControls_[row].box = e;
}

void frmDovetemSetting::CheckBoxFor(QWidget* page, std::size_t row, const char16_t* text, int left,
                                    int top, int width) {
  auto* c = PlaceControl(new QCheckBox(page), ControlName(row), left, top, width, kRowHeight);
  c->setText(QtText(text));
  FitCaption(c);
  keyControls_[row].check = c;
}

void frmDovetemSetting::OptionFor(QWidget* frame, std::size_t row, const char16_t* text, int left,
                                  int top, int width) {
  std::vector<QRadioButton*>& group = keyControls_[row].options;
  const int index = static_cast<int>(group.size());
  auto* o = PlaceControl(new QRadioButton(frame), ArrayControlName(ControlName(row), index), left,
                         top, width, kRowHeight);
  o->setText(QtText(text));
  FitCaption(o);
  group.push_back(o);
}

void frmDovetemSetting::CreateGeneralPage(QFrame* page) {
  Label(page, u"初期フォルダ", 120, 120, 1200);
  TextBoxFor(page, TextRow(u"txtGenFolder"), 1320, 120, 5415);
  Label(page, u"サンプル名", 120, 720, 1200);
  TextBoxFor(page, TextRow(u"txtGenName"), 1320, 720, 3735);
}

void frmDovetemSetting::CreateRulePage(QFrame* page) {
  auto mark = [&](std::size_t row, int left, int top) {
    TextBoxFor(page, row, left, top, kMarkWidth);
    keyControls_[row].box->setAlignment(Qt::AlignCenter);
  };
  Title(page, u"記号", 0, 0, 600);
  Label(page, u"元の名前", 600, 0, 840);
  mark(TextRow(u"txtRuleMark(0)"), 1440, 0);
  Label(page, u"選択", 1920, 0, 480);
  mark(TextRow(u"txtRuleMark(1)"), 2400, 0);
  Tilde(page, 2400, 3000, 0);
  mark(TextRow(u"txtRuleMark(2)"), 3000, 0);
  Label(page, u"操作", 3480, 0, 480);
  mark(TextRow(u"txtRuleMark(3)"), 3960, 0);
  Tilde(page, 3960, 4560, 0);
  mark(TextRow(u"txtRuleMark(4)"), 4560, 0);
  Label(page, u"記号内の区切り", 5040, 0, 1320);
  mark(TextRow(u"txtRuleMark(5)"), 6360, 0);

  Label(page, u"コピー文字列の繰返し", 600, 360, 1800);
  mark(TextRow(u"txtRuleMark(6)"), 2400, 360);
  Tilde(page, 2400, 3000, 360);
  mark(TextRow(u"txtRuleMark(7)"), 3000, 360);
  Label(page, u"選択・操作の範囲", 3480, 360, 1440);
  mark(TextRow(u"txtRuleMark(8)"), 4920, 360);
  Tilde(page, 4920, 5520, 360);
  mark(TextRow(u"txtRuleMark(9)"), 5520, 360);

  Label(page, u"特殊", 600, 720, 480);
  mark(TextRow(u"txtRuleMark(10)"), 1080, 720);
  Label(page, u"桁の区切り", 1560, 720, 960);
  mark(TextRow(u"txtRuleMark(11)"), 2520, 720);

  Label(page, u"順序選択", 600, 1080, 840);
  mark(TextRow(u"txtRuleMark(12)"), 1440, 1080);
  Tilde(page, 1440, 2040, 1080);
  mark(TextRow(u"txtRuleMark(13)"), 2040, 1080);
  Label(page, u"順序選択の区切り", 2520, 1080, 1560);
  mark(TextRow(u"txtRuleMark(14)"), 4080, 1080);
  Label(page, u"検索文字列の区切り", 4560, 1080, 1680);
  mark(TextRow(u"txtRuleMark(15)"), 6240, 1080);

  CheckBoxFor(page, CheckRow(u"chkRuleEscape"), u"エスケープ記号を使う", 600, 1560, 2160);
  Label(page, u"エスケープ", 2760, 1560, 960);
  mark(TextRow(u"txtRuleMark(16)"), 3720, 1560);

  Title(page, u"選択", 0, 2040, 600);
  CheckBoxFor(page, CheckRow(u"chkRuleReverse"), u"逆選択を許可する", 600, 2040, 3000);

  Title(page, u"検索", 0, 2520, 600);
  Label(page, u"空白文字", 600, 2520, 840);
  TextBoxFor(page, TextRow(u"txtRuleSpace"), 1440, 2520, 1215);
  Label(page, u"半角記号", 2760, 2520, 840);
  TextBoxFor(page, TextRow(u"txtRuleMark1"), 3600, 2520, 1215);
  Label(page, u"全角記号", 4920, 2520, 840);
  TextBoxFor(page, TextRow(u"txtRuleMark2"), 5760, 2520, 1215);

  Label(page, u"パターン1", 600, 2880, 840);
  TextBoxFor(page, TextRow(u"txtRulePat1"), 1440, 2880, 1215);
  Label(page, u"パターン2", 2760, 2880, 840);
  TextBoxFor(page, TextRow(u"txtRulePat2"), 3600, 2880, 1215);

  CheckBoxFor(page, CheckRow(u"chkRuleMatch"), u"長い方に一致させる", 600, 3240, 3000);
}

void frmDovetemSetting::CreateNamePage(QFrame* page) {
  Title(page, u"禁則文字", 0, 0, 960);
  Label(page, u"禁則文字", 960, 0, 840);
  TextBoxFor(page, TextRow(u"txtNameBanStr"), 1800, 0, 1575);
  CheckBoxFor(page, CheckRow(u"chkNameBan1"), u"禁則文字を全角に変換する", 960, 360, 4200);
  CheckBoxFor(page, CheckRow(u"chkNameBan2"), u"禁則文字を次の文字列に置き換える", 960, 720, 3240);
  TextBoxFor(page, TextRow(u"txtNameBanStr2"), 4200, 720, 615);
  CheckBoxFor(page, CheckRow(u"chkNameBan3"), u"禁則文字を削除する", 960, 1080, 4200);

  Title(page, u"空白文字", 0, 1560, 1500);
  QGroupBox* spaces = FrameAt(page, u"fraName1", u"両端の全半角スペース", 240, 1920, 2535, 1455);
  OptionFor(spaces, OptionRow(u"optNameSpace"), u"何もしない", 120, 300, 2295);
  OptionFor(spaces, OptionRow(u"optNameSpace"), u"全体の両端を削除", 120, 660, 2295);
  OptionFor(spaces, OptionRow(u"optNameSpace"), u"各部分の両端を削除", 120, 1020, 2295);
  CheckBoxFor(page, CheckRow(u"chkNameSpace"), u"各部分の空文字列をエラーとする", 3000, 2400, 4200);
}

void frmDovetemSetting::CreateProcessPage(QFrame* page) {
  Title(page, u"同名の変更名", 0, 0, 3000);
  Title(page, u"退避名", 5760, 0, 1500);

  QGroupBox* format1 = FrameAt(page, u"fraAct1", u"形式", 240, 360, 3015, 1455);
  const char16_t* formats1[] = {u"名前-数字", u"名前_数字",  u"名前 数字",
                                u"名前数字",  u"名前(数字)", u"名前[数字]"};
  for (int i = 0; i < 6; ++i)
    OptionFor(format1, OptionRow(u"optActFormat1"), formats1[i], i < 3 ? 120 : 1560,
              300 + (i % 3) * 360, 1395);

  QGroupBox* format2 = FrameAt(page, u"fraAct2", u"形式", 6000, 360, 1935, 1455);
  const char16_t* formats2[] = {u"名前.$数字$", u"名前._数字_", u"名前.数字"};
  for (int i = 0; i < 3; ++i)
    OptionFor(format2, OptionRow(u"optActFormat2"), formats2[i], 120, 300 + i * 360, 1695);

  Label(page, u"開始数", 3480, 480, 600);
  TextBoxFor(page, TextRow(u"txtActNum"), 4080, 480, 615);
  CheckBoxFor(page, CheckRow(u"chkActMix"), u"拡張子をまとめる", 3480, 840, 2400);
  CheckBoxFor(page, CheckRow(u"chkActFirst"), u"単体名から番号を付ける", 3480, 1200, 2400);
  CheckBoxFor(page, CheckRow(u"chkActBase"), u"ベース名のみで比較する", 3480, 1560, 2400);

  Title(page, u"保存", 0, 2160, 600);
  CheckBoxFor(page, CheckRow(u"chkActLog"), u"ログを保存しない", 600, 2160, 2880);
  Label(page, u"全表示するアプリ", 3600, 2280, 2400);
  CheckBoxFor(page, CheckRow(u"chkActReport"), u"レポートを保存しない", 600, 2520, 3240);
  TextBoxFor(page, TextRow(u"txtActAppname"), 3840, 2640, 2535);
  CheckBoxFor(page, CheckRow(u"chkActDel"), u"終了時にログ・レポートを削除する", 600, 2880, 3240);
}

// The buttons and the tab strip, the keys that turn the pages, then the value
// controls of every key.
void frmDovetemSetting::ConnectHandlers() {
  connect(tbsSetting, &QTabBar::currentChanged, this, &frmDovetemSetting::tbsSetting_Click);
  connect(cmdCommandExecute, &QPushButton::clicked, this,
          &frmDovetemSetting::cmdCommandExecute_Click);
  connect(cmdCommandCancel, &QPushButton::clicked, this,
          &frmDovetemSetting::cmdCommandCancel_Click);
  connect(cmdCommandSave, &QPushButton::clicked, this, &frmDovetemSetting::cmdCommandSave_Click);
  connect(cmdCommandLoad, &QPushButton::clicked, this, &frmDovetemSetting::cmdCommandLoad_Click);
  connect(cmdCommandInit, &QPushButton::clicked, this, &frmDovetemSetting::cmdCommandInit_Click);
  connect(cmdCommandHelp, &QPushButton::clicked, this, &frmDovetemSetting::cmdCommandHelp_Click);

  // From any control of the dialog: shortcuts of its window, so that no
  // control takes these keys for itself.
  struct PageKey {
    QKeyCombination keys;
    int step;
  };
  const PageKey pageKeys[] = {
      {Qt::CTRL | Qt::Key_Tab, 1},
      {Qt::CTRL | Qt::Key_PageDown, 1},
      {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
      {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
      {Qt::CTRL | Qt::Key_PageUp, -1},
  };
  for (const PageKey& k : pageKeys) {
    auto* shortcut = new QShortcut(QKeySequence(k.keys), this);
    connect(shortcut, &QShortcut::activated, this, [this, step = k.step] { TurnPage(step); });
  }
  ConnectValueHandlers();
  for (const KeyControls& c : keyControls_)
    if (!c.options.empty()) TabEntersAtTheSelectedOption(c.options);
}

// A text box marks the form changed on every change of its text, a check box
// on every change of its state, an option button when it becomes the
// selected one of its group.
void frmDovetemSetting::ConnectValueHandlers() {
  for (const KeyControls& c : keyControls_) {
    if (c.box != nullptr)
      connect(c.box, &QLineEdit::textChanged, this, &frmDovetemSetting::MarkFormChanged);
    if (c.check != nullptr)
      connect(c.check, &QCheckBox::toggled, this, &frmDovetemSetting::MarkFormChanged);
    for (QRadioButton* option : c.options) {
      connect(option, &QRadioButton::toggled, this, [this](bool on) {
        if (on) MarkFormChanged();
      });
    }
  }
}

// The tab strip, the value controls in the order the dialog visits their
// keys (the reading order of the pages), then the buttons.
void frmDovetemSetting::SetTabOrder() {
  std::vector<QWidget*> order = {tbsSetting};
  for (std::size_t i : kFormOrder) {
    const std::vector<QWidget*> controls = ValueControls(i);
    order.insert(order.end(), controls.begin(), controls.end());
  }
  order.insert(order.end(), {cmdCommandLoad, cmdCommandSave, cmdCommandInit, cmdCommandHelp,
                             cmdCommandExecute, cmdCommandCancel});
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

}  // namespace dovetam
