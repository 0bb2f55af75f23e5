// Builds the settings dialog: the tab strip, the four pages (one borderless
// frame each, switched by visibility), the row of buttons, the connections of
// the value-change handlers and the tab order. Positions are design twips; a
// label spans from its left edge to the control it names.
#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <utility>
#include <vector>

#include "ui/settings_dialog/settings_dialog.h"
#include "ui/widgets/twips.h"

namespace dovetam {

namespace {

constexpr int kRowHeight = 270;  // text boxes, labels, check boxes
constexpr int kMarkWidth = 255;  // the one-character symbol boxes
constexpr int kPageWidth = 7935;
constexpr int kPageHeight = 3615;

QString Q(const char16_t* s) { return QString::fromUtf16(s); }

QLabel* Label(QWidget* page, const char16_t* text, int left, int top, int width) {
  auto* l = new QLabel(Q(text), page);
  l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  PlaceTwips(l, left, top, width, kRowHeight);
  return l;
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

QLineEdit* Edit(QWidget* page, int left, int top, int width) {
  auto* e = new QLineEdit(page);
  e->setTextMargins(0, 0, 0, 0);
  PlaceTwips(e, left, top, width, kRowHeight);
  return e;
}

// Where the screen's font needs a little more room than the design gives, a
// box grows to its caption: no caption is cut.
void FitCaption(QWidget* w) {
  if (w->width() < w->sizeHint().width()) w->resize(w->sizeHint().width(), w->height());
}

QCheckBox* CheckBox(QWidget* page, const char16_t* text, int left, int top, int width) {
  auto* c = new QCheckBox(Q(text), page);
  PlaceTwips(c, left, top, width, kRowHeight);
  FitCaption(c);
  return c;
}

QRadioButton* Option(QWidget* frame, const char16_t* text, int left, int top, int width) {
  auto* o = new QRadioButton(Q(text), frame);
  PlaceTwips(o, left, top, width, kRowHeight);
  FitCaption(o);
  return o;
}

QPushButton* Button(QWidget* dialog, const char16_t* text, int left, int width) {
  auto* b = new QPushButton(Q(text), dialog);
  PlaceTwips(b, left, 4560, width, 495);
  return b;
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
  for (const char16_t* caption : {u"全般", u"変更規則", u"生成名", u"変更処理"})
    tbsSetting->addTab(Q(caption));
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
    fraSetting[n] = new QFrame(this);
    fraSetting[n]->setFrameShape(QFrame::NoFrame);
    PlaceTwips(fraSetting[n], 360, 720, kPageWidth, kPageHeight);
  }
  CreateGeneralPage(fraSetting[1]);
  CreateRulePage(fraSetting[2]);
  CreateNamePage(fraSetting[3]);
  CreateProcessPage(fraSetting[4]);

  cmdCommandLoad = Button(this, u"読込み", 360, 855);
  cmdCommandSave = Button(this, u"保存", 1440, 855);
  cmdCommandInit = Button(this, u"クリア", 3840, 855);
  cmdCommandHelp = Button(this, u"ヘルプ", 4680, 855);
  cmdCommandHelp->hide();  // never shown, so it cannot be pressed
  cmdCommandExecute = Button(this, u"決定", 6240, 975);
  cmdCommandCancel = Button(this, u"キャンセル", 7440, 975);
  cmdCommandExecute->setDefault(true);  // Enter; Esc rejects, as "キャンセル" does
}

void frmDovetemSetting::CreateGeneralPage(QFrame* page) {
  Label(page, u"初期フォルダ", 120, 120, 1200);
  txtGenFolder = Edit(page, 1320, 120, 5415);
  Label(page, u"サンプル名", 120, 720, 1200);
  txtGenName = Edit(page, 1320, 720, 3735);
}

void frmDovetemSetting::CreateRulePage(QFrame* page) {
  auto mark = [&](int index, int left, int top) {
    txtRuleMark[index] = Edit(page, left, top, kMarkWidth);
    txtRuleMark[index]->setAlignment(Qt::AlignCenter);
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

  chkRuleEscape = CheckBox(page, u"エスケープ記号を使う", 600, 1560, 2160);
  Label(page, u"エスケープ", 2760, 1560, 960);
  mark(16, 3720, 1560);

  Title(page, u"選択", 0, 2040, 600);
  chkRuleReverse = CheckBox(page, u"逆選択を許可する", 600, 2040, 3000);

  Title(page, u"検索", 0, 2520, 600);
  Label(page, u"空白文字", 600, 2520, 840);
  txtRuleSpace = Edit(page, 1440, 2520, 1215);
  Label(page, u"半角記号", 2760, 2520, 840);
  txtRuleMark1 = Edit(page, 3600, 2520, 1215);
  Label(page, u"全角記号", 4920, 2520, 840);
  txtRuleMark2 = Edit(page, 5760, 2520, 1215);

  Label(page, u"パターン1", 600, 2880, 840);
  txtRulePat1 = Edit(page, 1440, 2880, 1215);
  Label(page, u"パターン2", 2760, 2880, 840);
  txtRulePat2 = Edit(page, 3600, 2880, 1215);

  chkRuleMatch = CheckBox(page, u"長い方に一致させる", 600, 3240, 3000);
}

void frmDovetemSetting::CreateNamePage(QFrame* page) {
  Title(page, u"禁則文字", 0, 0, 960);
  Label(page, u"禁則文字", 960, 0, 840);
  txtNameBanStr = Edit(page, 1800, 0, 1575);
  chkNameBan1 = CheckBox(page, u"禁則文字を全角に変換する", 960, 360, 4200);
  chkNameBan2 = CheckBox(page, u"禁則文字を次の文字列に置き換える", 960, 720, 3240);
  txtNameBanStr2 = Edit(page, 4200, 720, 615);
  chkNameBan3 = CheckBox(page, u"禁則文字を削除する", 960, 1080, 4200);

  Title(page, u"空白文字", 0, 1560, 1500);
  fraName1 = new QGroupBox(Q(u"両端の全半角スペース"), page);
  PlaceTwips(fraName1, 240, 1920, 2535, 1455);
  optNameSpace[0] = Option(fraName1, u"何もしない", 120, 300, 2295);
  optNameSpace[1] = Option(fraName1, u"全体の両端を削除", 120, 660, 2295);
  optNameSpace[2] = Option(fraName1, u"各部分の両端を削除", 120, 1020, 2295);
  chkNameSpace = CheckBox(page, u"各部分の空文字列をエラーとする", 3000, 2400, 4200);
}

void frmDovetemSetting::CreateProcessPage(QFrame* page) {
  Title(page, u"同名の変更名", 0, 0, 3000);
  Title(page, u"退避名", 5760, 0, 1500);

  fraAct1 = new QGroupBox(Q(u"形式"), page);
  PlaceTwips(fraAct1, 240, 360, 3015, 1455);
  const char16_t* formats1[] = {u"名前-数字", u"名前_数字",  u"名前 数字",
                                u"名前数字",  u"名前(数字)", u"名前[数字]"};
  for (int i = 0; i < 6; ++i)
    optActFormat1[i] = Option(fraAct1, formats1[i], i < 3 ? 120 : 1560, 300 + (i % 3) * 360, 1395);

  fraAct2 = new QGroupBox(Q(u"形式"), page);
  PlaceTwips(fraAct2, 6000, 360, 1935, 1455);
  const char16_t* formats2[] = {u"名前.$数字$", u"名前._数字_", u"名前.数字"};
  for (int i = 0; i < 3; ++i)
    optActFormat2[i] = Option(fraAct2, formats2[i], 120, 300 + i * 360, 1695);

  Label(page, u"開始数", 3480, 480, 600);
  txtActNum = Edit(page, 4080, 480, 615);
  chkActMix = CheckBox(page, u"拡張子をまとめる", 3480, 840, 2400);
  chkActFirst = CheckBox(page, u"単体名から番号を付ける", 3480, 1200, 2400);
  chkActBase = CheckBox(page, u"ベース名のみで比較する", 3480, 1560, 2400);

  Title(page, u"保存", 0, 2160, 600);
  chkActLog = CheckBox(page, u"ログを保存しない", 600, 2160, 2880);
  Label(page, u"全表示するアプリ", 3600, 2280, 2400);
  chkActReport = CheckBox(page, u"レポートを保存しない", 600, 2520, 3240);
  txtActAppname = Edit(page, 3840, 2640, 2535);
  chkActDel = CheckBox(page, u"終了時にログ・レポートを削除する", 600, 2880, 3240);
}

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

  const std::pair<QCheckBox*, void (frmDovetemSetting::*)()> checks[] = {
      {chkActBase, &frmDovetemSetting::chkActBase_Click},
      {chkActDel, &frmDovetemSetting::chkActDel_Click},
      {chkActFirst, &frmDovetemSetting::chkActFirst_Click},
      {chkActLog, &frmDovetemSetting::chkActLog_Click},
      {chkActMix, &frmDovetemSetting::chkActMix_Click},
      {chkActReport, &frmDovetemSetting::chkActReport_Click},
      {chkNameBan1, &frmDovetemSetting::chkNameBan1_Click},
      {chkNameBan2, &frmDovetemSetting::chkNameBan2_Click},
      {chkNameBan3, &frmDovetemSetting::chkNameBan3_Click},
      {chkNameSpace, &frmDovetemSetting::chkNameSpace_Click},
      {chkRuleEscape, &frmDovetemSetting::chkRuleEscape_Click},
      {chkRuleMatch, &frmDovetemSetting::chkRuleMatch_Click},
      {chkRuleReverse, &frmDovetemSetting::chkRuleReverse_Click},
  };
  for (const auto& [box, handler] : checks) connect(box, &QCheckBox::toggled, this, handler);

  auto connectGroup = [this](auto& group, void (frmDovetemSetting::*handler)(int)) {
    for (int i = 0; i < static_cast<int>(group.size()); ++i)
      connect(group[i], &QRadioButton::toggled, this, [this, handler, i](bool on) {
        if (on) (this->*handler)(i);
      });
  };
  connectGroup(optActFormat1, &frmDovetemSetting::optActFormat1_Click);
  connectGroup(optActFormat2, &frmDovetemSetting::optActFormat2_Click);
  connectGroup(optNameSpace, &frmDovetemSetting::optNameSpace_Click);

  const std::pair<QLineEdit*, void (frmDovetemSetting::*)()> texts[] = {
      {txtActAppname, &frmDovetemSetting::txtActAppname_Change},
      {txtActNum, &frmDovetemSetting::txtActNum_Change},
      {txtGenFolder, &frmDovetemSetting::txtGenFolder_Change},
      {txtGenName, &frmDovetemSetting::txtGenName_Change},
      {txtNameBanStr, &frmDovetemSetting::txtNameBanStr_Change},
      {txtNameBanStr2, &frmDovetemSetting::txtNameBanStr2_Change},
      {txtRuleMark1, &frmDovetemSetting::txtRuleMark1_Change},
      {txtRuleMark2, &frmDovetemSetting::txtRuleMark2_Change},
      {txtRulePat1, &frmDovetemSetting::txtRulePat1_Change},
      {txtRulePat2, &frmDovetemSetting::txtRulePat2_Change},
      {txtRuleSpace, &frmDovetemSetting::txtRuleSpace_Change},
  };
  for (const auto& [box, handler] : texts) connect(box, &QLineEdit::textChanged, this, handler);
  for (int i = 0; i < static_cast<int>(txtRuleMark.size()); ++i)
    connect(txtRuleMark[i], &QLineEdit::textChanged, this, [this, i] { txtRuleMark_Change(i); });
}

void frmDovetemSetting::SetTabOrder() {
  std::vector<QWidget*> order = {tbsSetting, txtGenFolder, txtGenName};
  for (int i = 0; i <= 15; ++i) order.push_back(txtRuleMark[i]);
  order.insert(order.end(), {chkRuleEscape, txtRuleMark[16], chkRuleReverse, txtRuleSpace,
                             txtRuleMark1, txtRuleMark2, txtRulePat1, txtRulePat2, chkRuleMatch,
                             txtNameBanStr, chkNameBan1, chkNameBan2, txtNameBanStr2, chkNameBan3});
  order.insert(order.end(), optNameSpace.begin(), optNameSpace.end());
  order.push_back(chkNameSpace);
  order.insert(order.end(), optActFormat1.begin(), optActFormat1.end());
  order.insert(order.end(), {txtActNum, chkActMix, chkActFirst, chkActBase});
  order.insert(order.end(), optActFormat2.begin(), optActFormat2.end());
  order.insert(order.end(),
               {chkActLog, chkActReport, chkActDel, txtActAppname, cmdCommandLoad, cmdCommandSave,
                cmdCommandInit, cmdCommandHelp, cmdCommandExecute, cmdCommandCancel});
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

}  // namespace dovetam
