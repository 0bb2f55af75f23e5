// Builds the settings dialog: the tab strip, the four pages (one borderless
// frame each, switched by visibility), the row of buttons, the connections of
// the value-change handlers and the tab order. Positions are design twips; a
// label spans from its left edge to the control it names. Every control is
// named: a value control as its key's row of the key table says, so the
// dialog finds it by that name when it moves the form.
#include <QByteArray>
#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>
#include <QRadioButton>
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

QLineEdit* Edit(QWidget* page, const char16_t* name, int left, int top, int width) {
  auto* e = PlaceControl(new QLineEdit(page), QtText(name), left, top, width, kRowHeight);
  e->setTextMargins(0, 0, 0, 0);
  return e;
}

// Where the screen's font needs a little more room than the design gives, a
// box grows to its caption: no caption is cut.
void FitCaption(QWidget* w) {
  if (w->width() < w->sizeHint().width()) w->resize(w->sizeHint().width(), w->height());
}

void CheckBoxAt(QWidget* page, const char16_t* name, const char16_t* text, int left, int top,
                int width) {
  auto* c = PlaceControl(new QCheckBox(page), QtText(name), left, top, width, kRowHeight);
  c->setText(QtText(text));
  FitCaption(c);
}

// Button `index` of the option group `name` in its frame.
void OptionAt(QWidget* frame, const char16_t* name, int index, const char16_t* text, int left,
              int top, int width) {
  auto* o = PlaceControl(new QRadioButton(frame), ArrayControlName(QtText(name), index), left, top, width,
                                      kRowHeight);
  o->setText(QtText(text));
  FitCaption(o);
}

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

void frmDovetemSetting::CreateGeneralPage(QFrame* page) {
  Label(page, u"初期フォルダ", 120, 120, 1200);
  Edit(page, u"txtGenFolder", 1320, 120, 5415);
  Label(page, u"サンプル名", 120, 720, 1200);
  Edit(page, u"txtGenName", 1320, 720, 3735);
}

void frmDovetemSetting::CreateRulePage(QFrame* page) {
  auto mark = [&](int index, int left, int top) {
    const QString name = ArrayControlName(QStringLiteral("txtRuleMark"), index);
    auto* box = PlaceControl(new QLineEdit(page), name, left, top, kMarkWidth, kRowHeight);
    box->setTextMargins(0, 0, 0, 0);
    box->setAlignment(Qt::AlignCenter);
  };
  Title(page, u"記号", 0, 0, 600);
  Label(page, u"元の名前", 600, 0, 840);
  mark(0, 1440, 0);
  Label(page, u"選択", 1920, 0, 480);
  mark(1, 2400, 0);
  Tilde(page, 2400, 3000, 0);
  mark(2, 3000, 0);
  Label(page, u"操作", 3480, 0, 480);
  mark(3, 3960, 0);
  Tilde(page, 3960, 4560, 0);
  mark(4, 4560, 0);
  Label(page, u"記号内の区切り", 5040, 0, 1320);
  mark(5, 6360, 0);

  Label(page, u"コピー文字列の繰返し", 600, 360, 1800);
  mark(6, 2400, 360);
  Tilde(page, 2400, 3000, 360);
  mark(7, 3000, 360);
  Label(page, u"選択・操作の範囲", 3480, 360, 1440);
  mark(8, 4920, 360);
  Tilde(page, 4920, 5520, 360);
  mark(9, 5520, 360);

  Label(page, u"特殊", 600, 720, 480);
  mark(10, 1080, 720);
  Label(page, u"桁の区切り", 1560, 720, 960);
  mark(11, 2520, 720);

  Label(page, u"順序選択", 600, 1080, 840);
  mark(12, 1440, 1080);
  Tilde(page, 1440, 2040, 1080);
  mark(13, 2040, 1080);
  Label(page, u"順序選択の区切り", 2520, 1080, 1560);
  mark(14, 4080, 1080);
  Label(page, u"検索文字列の区切り", 4560, 1080, 1680);
  mark(15, 6240, 1080);

  CheckBoxAt(page, u"chkRuleEscape", u"エスケープ記号を使う", 600, 1560, 2160);
  Label(page, u"エスケープ", 2760, 1560, 960);
  mark(16, 3720, 1560);

  Title(page, u"選択", 0, 2040, 600);
  CheckBoxAt(page, u"chkRuleReverse", u"逆選択を許可する", 600, 2040, 3000);

  Title(page, u"検索", 0, 2520, 600);
  Label(page, u"空白文字", 600, 2520, 840);
  Edit(page, u"txtRuleSpace", 1440, 2520, 1215);
  Label(page, u"半角記号", 2760, 2520, 840);
  Edit(page, u"txtRuleMark1", 3600, 2520, 1215);
  Label(page, u"全角記号", 4920, 2520, 840);
  Edit(page, u"txtRuleMark2", 5760, 2520, 1215);

  Label(page, u"パターン1", 600, 2880, 840);
  Edit(page, u"txtRulePat1", 1440, 2880, 1215);
  Label(page, u"パターン2", 2760, 2880, 840);
  Edit(page, u"txtRulePat2", 3600, 2880, 1215);

  CheckBoxAt(page, u"chkRuleMatch", u"長い方に一致させる", 600, 3240, 3000);
}

void frmDovetemSetting::CreateNamePage(QFrame* page) {
  Title(page, u"禁則文字", 0, 0, 960);
  Label(page, u"禁則文字", 960, 0, 840);
  Edit(page, u"txtNameBanStr", 1800, 0, 1575);
  CheckBoxAt(page, u"chkNameBan1", u"禁則文字を全角に変換する", 960, 360, 4200);
  CheckBoxAt(page, u"chkNameBan2", u"禁則文字を次の文字列に置き換える", 960, 720, 3240);
  Edit(page, u"txtNameBanStr2", 4200, 720, 615);
  CheckBoxAt(page, u"chkNameBan3", u"禁則文字を削除する", 960, 1080, 4200);

  Title(page, u"空白文字", 0, 1560, 1500);
  QGroupBox* spaces = FrameAt(page, u"fraName1", u"両端の全半角スペース", 240, 1920, 2535, 1455);
  OptionAt(spaces, u"optNameSpace", 0, u"何もしない", 120, 300, 2295);
  OptionAt(spaces, u"optNameSpace", 1, u"全体の両端を削除", 120, 660, 2295);
  OptionAt(spaces, u"optNameSpace", 2, u"各部分の両端を削除", 120, 1020, 2295);
  CheckBoxAt(page, u"chkNameSpace", u"各部分の空文字列をエラーとする", 3000, 2400, 4200);
}

void frmDovetemSetting::CreateProcessPage(QFrame* page) {
  Title(page, u"同名の変更名", 0, 0, 3000);
  Title(page, u"退避名", 5760, 0, 1500);

  QGroupBox* format1 = FrameAt(page, u"fraAct1", u"形式", 240, 360, 3015, 1455);
  const char16_t* formats1[] = {u"名前-数字", u"名前_数字",  u"名前 数字",
                                u"名前数字",  u"名前(数字)", u"名前[数字]"};
  for (int i = 0; i < 6; ++i)
    OptionAt(format1, u"optActFormat1", i, formats1[i], i < 3 ? 120 : 1560, 300 + (i % 3) * 360,
             1395);

  QGroupBox* format2 = FrameAt(page, u"fraAct2", u"形式", 6000, 360, 1935, 1455);
  const char16_t* formats2[] = {u"名前.$数字$", u"名前._数字_", u"名前.数字"};
  for (int i = 0; i < 3; ++i) OptionAt(format2, u"optActFormat2", i, formats2[i], 120, 300 + i * 360, 1695);

  Label(page, u"開始数", 3480, 480, 600);
  Edit(page, u"txtActNum", 4080, 480, 615);
  CheckBoxAt(page, u"chkActMix", u"拡張子をまとめる", 3480, 840, 2400);
  CheckBoxAt(page, u"chkActFirst", u"単体名から番号を付ける", 3480, 1200, 2400);
  CheckBoxAt(page, u"chkActBase", u"ベース名のみで比較する", 3480, 1560, 2400);

  Title(page, u"保存", 0, 2160, 600);
  CheckBoxAt(page, u"chkActLog", u"ログを保存しない", 600, 2160, 2880);
  Label(page, u"全表示するアプリ", 3600, 2280, 2400);
  CheckBoxAt(page, u"chkActReport", u"レポートを保存しない", 600, 2520, 3240);
  Edit(page, u"txtActAppname", 3840, 2640, 2535);
  CheckBoxAt(page, u"chkActDel", u"終了時にログ・レポートを削除する", 600, 2880, 3240);
}

// The buttons and the tab strip, then the value controls of every key.
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
  ConnectValueHandlers();
}

namespace {

// The value-change handler of a control: its signature among the dialog's
// slots, and the index it is handed (-1 for none). The name is the
// control's and its event's joined by an underscore; a control of an array
// hands the array's handler its index: "txtGenName" "txtGenName_Change()",
// "txtRuleMark(5)" "txtRuleMark_Change(int)" with 5, "chkActLog"
// "chkActLog_Click()", "optNameSpace(1)" "optNameSpace_Click(int)" with 1.
struct ValueHandler {
  QByteArray signature;
  int index = -1;
};

ValueHandler HandlerOf(const QWidget* control) {
  QString name = control->objectName();
  ValueHandler h;
  if (const qsizetype open = name.indexOf(QLatin1Char('(')); open > 0) {
    h.index = name.sliced(open + 1, name.size() - open - 2).toInt();
    name.truncate(open);
  }
  const bool box = qobject_cast<const QLineEdit*>(control) != nullptr;
  h.signature = (name + QLatin1String(box ? "_Change" : "_Click") +
                 QLatin1String(h.index < 0 ? "()" : "(int)"))
                    .toLatin1();
  return h;
}

}  // namespace

// The key table names each key's controls (ValueControls), so its rows are
// all it takes to connect them: a text box raises its handler on every
// change of its text, a check box on every change of its state, an option
// button when it becomes the selected one of its group.
void frmDovetemSetting::ConnectValueHandlers() {
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    for (QWidget* control : ValueControls(i)) {
      const ValueHandler h = HandlerOf(control);
      const int slot = metaObject()->indexOfSlot(h.signature.constData());
      if (slot < 0) qFatal("settings dialog: no handler %s", h.signature.constData());
      const auto raise = [this, method = metaObject()->method(slot), index = h.index] {
        if (index < 0)
          method.invoke(this, Qt::DirectConnection);
        else
          method.invoke(this, Qt::DirectConnection, Q_ARG(int, index));
      };
      if (auto* box = qobject_cast<QLineEdit*>(control))
        connect(box, &QLineEdit::textChanged, this, raise);
      else if (auto* option = qobject_cast<QRadioButton*>(control))
        connect(option, &QRadioButton::toggled, this, [raise](bool on) {
          if (on) raise();
        });
      else if (auto* check = qobject_cast<QCheckBox*>(control))
        connect(check, &QCheckBox::toggled, this, raise);
      else
        qFatal("settings dialog: %s is no value control", qUtf8Printable(control->objectName()));
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
