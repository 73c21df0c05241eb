#include "dialogs/OptionDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/KeyShortcut.h"
#include "editor/VellEdit.h"
#include "editor/VellView.h"
#include "editor/qt/VellEditWidget.h"
#include "platform/MessageBox.h"
#include "platform/codec/Cp932Codec.h"
#include "platform/qt/SystemColors.h"
#include "settings/ApplySettings.h"
#include "settings/ColorScheme.h"
#include "settings/ColorSchemeFile.h"
#include "settings/ColorText.h"
#include "settings/FileAssociation.h"
#include "settings/KeyCommands.h"
#include "settings/OptionForm.h"

namespace tw {

namespace {

constexpr const char* kCaption = "詳細設定";
/// The preview wraps this much wider than the chosen column: it is a small
/// window, and the column itself would hardly show.
constexpr int kPreviewColumnExtra = 29;
constexpr uint32_t kQuoteColorOnEnable = 0x006785;

QString FromCp932(const std::string& bytes) {
    return QString::fromStdU16String(cp932::Decode(bytes));
}

std::string ToCp932(const QString& text) {
    return FitShortString(cp932::Encode(text.toStdU16String()));
}

QComboBox* NumberList(QWidget* parent, int first, int last) {
    auto* box = new QComboBox(parent);
    for (int i = first; i <= last; ++i)
        box->addItem(QString::number(i));
    return box;
}

/// The index a list shows for a value, kept inside the list.
int IndexFor(const QComboBox* box, int value) {
    return std::clamp(value, 0, box->count() - 1);
}

QCheckBox* Check(const char* caption, QWidget* parent) {
    return new QCheckBox(QString::fromUtf8(caption), parent);
}

QLabel* Label(const char* caption, QWidget* parent) {
    return new QLabel(QString::fromUtf8(caption), parent);
}

uint32_t Rgb(uint32_t color) {
    const QColor c = ToQColor(color);
    return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
           static_cast<uint32_t>(c.blue()) << 16;
}

QFont FontOf(const std::string& name, uint8_t style) {
    QFont font(FromCp932(name));
    font.setBold(style & kFontBold);
    font.setItalic(style & kFontItalic);
    font.setUnderline(style & kFontUnderline);
    font.setStrikeOut(style & kFontStrikeOut);
    return font;
}

uint8_t StyleOf(const QFont& font) {
    return (font.bold() ? kFontBold : 0) | (font.italic() ? kFontItalic : 0) |
           (font.underline() ? kFontUnderline : 0) | (font.strikeOut() ? kFontStrikeOut : 0);
}

}  // namespace

TOption::TOption(OptionData& options, KeyTexts& keys, IMessageBox& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      options_(options),
      keys_(keys),
      messages_(messages) {
    setWindowTitle(QString::fromUtf8(kCaption));
    setObjectName("Option");
    PageControl2 = new QTabWidget(this);
    PageControl2->addTab(CreateEditorPage(), QStringLiteral("エディタ"));
    PageControl2->addTab(CreateFontColorPage(), QStringLiteral("フォント カラー"));
    PageControl2->addTab(CreateWindowPage(), QStringLiteral("ウィンドウ"));
    PageControl2->addTab(CreateTabPage(), QStringLiteral("タブ 特殊"));
    PageControl2->addTab(CreateKeyboardPage(), QStringLiteral("キーボード"));
    OK = new QPushButton(QStringLiteral("変更"), this);
    Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    OK->setAutoDefault(false);
    Cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl2);
    layout->addLayout(buttons);
    connect(OK, &QPushButton::clicked, this, &TOption::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &TOption::CancelClick);
    ConnectPreview();
    ChooseSchemeFile = [this](bool save) { return SchemeFileDialog(save); };
}

QWidget* TOption::CreateEditorPage() {
    auto* page = new QWidget;
    auto* marks = new QGroupBox(QStringLiteral("特殊記号"), page);
    chEOF = Check("EOF記号を表示", marks);
    chCr = Check("改行記号を表示", marks);
    chSpace = Check("全角スペース記号を表示", marks);
    auto* marksLayout = new QVBoxLayout(marks);
    for (QWidget* w : {chEOF, chCr, chSpace})
        marksLayout->addWidget(w);

    // Made before the editor group, so that Tab walks the left column first.
    QGroupBox* association = CreateAssociationGroup(page);

    auto* editor = new QGroupBox(QStringLiteral("エディタ"), page);
    chInyo = Check("引用行の色を変更する", editor);
    txtInyo = new QLineEdit(QStringLiteral(">"), editor);
    chWordWrap = Check("文章を指定行で折り返す", editor);
    cbWordWrap = NumberList(editor, 1, 170);
    cbGyokan = NumberList(editor, 0, 100);
    cbTab = NumberList(editor, 2, 8);
    cbScroll = NumberList(editor, 1, 100);
    chUnderLine = Check("キャレット部にアンダーラインを表示", editor);
    auto* form = new QFormLayout(editor);
    form->addRow(chInyo);
    form->addRow(Label("引用符 ：", editor), txtInyo);
    form->addRow(chWordWrap);
    form->addRow(Label("折り返し文字数 ：", editor), cbWordWrap);
    form->addRow(Label("行間(%) ：", editor), cbGyokan);
    form->addRow(Label("Tab文字数 ：", editor), cbTab);
    form->addRow(Label("高速スクロールのステップ数 ：", editor), cbScroll);
    form->addRow(chUnderLine);

    auto* left = new QVBoxLayout;
    left->addWidget(marks);
    left->addWidget(association);
    left->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addWidget(editor);
    return page;
}

QGroupBox* TOption::CreateAssociationGroup(QWidget* page) {
    auto* group = new QGroupBox(QStringLiteral("テキストファイルの関連付け"), page);
    btRegistory = new QPushButton(QStringLiteral("関連付ける"), group);
    btCancelRegistory = new QPushButton(QStringLiteral("解除する"), group);
    auto* layout = new QGridLayout(group);
    layout->addWidget(Label("ファイル関連付け", group), 0, 0);
    layout->addWidget(btRegistory, 0, 1);
    layout->addWidget(Label("関連付け解除", group), 1, 0);
    layout->addWidget(btCancelRegistory, 1, 1);
    for (QPushButton* b : {btRegistory, btCancelRegistory})
        b->setAutoDefault(false);
    connect(btRegistory, &QPushButton::clicked, this, &TOption::btRegistoryClick);
    connect(btCancelRegistory, &QPushButton::clicked, this, &TOption::btCancelRegistoryClick);
    return group;
}

QWidget* TOption::CreateFontColorPage() {
    auto* page = new QWidget;
    txtFont = new QLineEdit(page);
    txtFont->setReadOnly(true);
    btFont = new QPushButton(QStringLiteral("フォント変更"), page);
    cbFontSize = NumberList(page, 1, 149);
    listColor = new QListWidget(page);
    for (const char* name : kColorEntryNames)
        listColor->addItem(QString::fromUtf8(name));
    cbColor = new QComboBox(page);
    for (const NamedColor& c : kNamedColors)
        cbColor->addItem(QString::fromUtf8(c.Name));
    lbColor = new QLabel(page);
    lbColor->setFixedSize(40, 20);
    lbColor->setAutoFillBackground(true);
    lbColor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    btClear = new QPushButton(QStringLiteral("初期化"), page);
    btLoad = new QPushButton(QStringLiteral("設定保存"), page);
    btSave = new QPushButton(QStringLiteral("読み込み"), page);
    for (QPushButton* b : {btClear, btLoad, btSave})
        b->setAutoDefault(false);
    EditTest = new VellEditWidget(page);
    EditTest->setMinimumSize(200, 90);

    auto* font = new QHBoxLayout;
    font->addWidget(Label("フォント：", page));
    font->addWidget(txtFont, 1);
    font->addWidget(btFont);
    font->addWidget(Label("サイズ ：", page));
    font->addWidget(cbFontSize);
    auto* colorPick = new QVBoxLayout;
    colorPick->addWidget(cbColor);
    colorPick->addWidget(lbColor);
    colorPick->addWidget(btClear);
    colorPick->addWidget(btLoad);
    colorPick->addWidget(btSave);
    colorPick->addStretch();
    auto* colors = new QHBoxLayout;
    colors->addWidget(listColor);
    colors->addLayout(colorPick);
    colors->addWidget(EditTest, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(font);
    layout->addLayout(colors);
    connect(btFont, &QPushButton::clicked, this, &TOption::btFontClick);
    connect(listColor, &QListWidget::currentRowChanged, this, &TOption::listColorClick);
    connect(cbColor, &QComboBox::activated, this, &TOption::cbColorChange);
    connect(btClear, &QPushButton::clicked, this, &TOption::btClearClick);
    connect(btLoad, &QPushButton::clicked, this, &TOption::btLoadClick);
    connect(btSave, &QPushButton::clicked, this, &TOption::btSaveClick);
    return page;
}

QWidget* TOption::CreateWindowPage() {
    auto* page = new QWidget;
    auto* position = new QGroupBox(QStringLiteral("メインウィンドウ位置"), page);
    chSaveWindow = Check("終了時にウィンドウ位置を保存", position);
    txtTop = new QLineEdit(position);
    txtLeft = new QLineEdit(position);
    txtHeight = new QLineEdit(position);
    txtWidth = new QLineEdit(position);
    cbWindowState = new QComboBox(position);
    cbWindowState->addItems({QStringLiteral("通常"), QStringLiteral("最大化")});
    auto* posForm = new QGridLayout(position);
    posForm->addWidget(chSaveWindow, 0, 0, 1, 4);
    const std::pair<const char*, QLineEdit*> edits[] = {
        {"Top ：", txtTop}, {"Left ：", txtLeft}, {"Height ：", txtHeight}, {"Width ：", txtWidth}};
    int row = 1;
    for (const auto& [caption, edit] : edits) {
        QLabel* label = Label(caption, position);
        posForm->addWidget(label, row, 0);
        posForm->addWidget(edit, row++, 1);
        positionControls_ << label << edit;
    }
    QLabel* stateLabel = Label("起動時のウィンドウ状態 ：", position);
    posForm->addWidget(stateLabel, row, 0);
    posForm->addWidget(cbWindowState, row, 1);
    positionControls_ << stateLabel << cbWindowState;

    auto* style = new QGroupBox(QStringLiteral("編集スタイル"), page);
    optMDI = new QRadioButton(QStringLiteral("常にアプリの二重起動を許可しない"), style);
    optSDI = new QRadioButton(QStringLiteral("アプリの二重起動を可能にする"), style);
    auto* styleLayout = new QVBoxLayout(style);
    styleLayout->addWidget(optMDI);
    styleLayout->addWidget(optSDI);

    auto* mdi = new QGroupBox(QStringLiteral("MDIウィンドウ"), page);
    chReadMAX = Check("読み込み時に最大化する", mdi);
    chReadMIN = Check("読み込み時に最小化する", mdi);
    chUseTAB = Check("ウィンドウの移動にタブを使用する", mdi);
    chCreateBlank = Check("起動時に空白のページを表示する", mdi);
    chMaxWindow = Check("ウィンドウ数に制限を掛ける", mdi);
    txtMaxWindow = new QLineEdit(mdi);
    chMaxSize = Check("ファイルサイズに制限を掛ける", mdi);
    txtMaxSize = new QLineEdit(mdi);
    auto* mdiLayout = new QGridLayout(mdi);
    mdiLayout->addWidget(chReadMAX, 0, 0, 1, 3);
    mdiLayout->addWidget(chReadMIN, 1, 0, 1, 3);
    mdiLayout->addWidget(chUseTAB, 2, 0, 1, 3);
    mdiLayout->addWidget(chCreateBlank, 3, 0, 1, 3);
    mdiLayout->addWidget(chMaxWindow, 4, 0);
    mdiLayout->addWidget(txtMaxWindow, 4, 1);
    mdiLayout->addWidget(Label("個まで", mdi), 4, 2);
    mdiLayout->addWidget(chMaxSize, 5, 0);
    mdiLayout->addWidget(txtMaxSize, 5, 1);
    mdiLayout->addWidget(Label("バイトまで", mdi), 5, 2);

    auto* right = new QVBoxLayout;
    right->addWidget(style);
    right->addWidget(mdi);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(position, 0, Qt::AlignTop);
    layout->addLayout(right);
    connect(chSaveWindow, &QCheckBox::clicked, this, &TOption::chSaveWindowClick);
    return page;
}

QWidget* TOption::CreateTabPage() {
    auto* page = new QWidget;
    auto* backup = new QGroupBox(QStringLiteral("オートバックアップ"), page);
    chAutoSave = Check("自動バックアップを使用する", backup);
    txtHour = new QLineEdit(backup);
    txtMinits = new QLineEdit(backup);
    txtSecond = new QLineEdit(backup);
    txtDay = new QLineEdit(backup);
    for (QLineEdit* e : {txtHour, txtMinits, txtSecond})
        e->setMaxLength(2);
    txtDay->setMaxLength(3);
    chSameFile = Check("多重にバックアップを取る", backup);
    chSameFile->setToolTip(QStringLiteral(
        "前回バックアップした状態から未編集の場合、バックアップをするかどうかの設定"));
    auto* grid = new QGridLayout(backup);
    grid->addWidget(chAutoSave, 0, 0, 1, 6);
    QLabel* labels[] = {Label("時間", backup),
                        Label("分", backup),
                        Label("秒", backup),
                        Label("ごとにバックアップを取る", backup),
                        Label("日間分のバックアップを保存", backup),
                        Label("(バックアップを削除しない場合は 0)", backup)};
    grid->addWidget(txtHour, 1, 0);
    grid->addWidget(labels[0], 1, 1);
    grid->addWidget(txtMinits, 1, 2);
    grid->addWidget(labels[1], 1, 3);
    grid->addWidget(txtSecond, 1, 4);
    grid->addWidget(labels[2], 1, 5);
    grid->addWidget(labels[3], 2, 0, 1, 6);
    grid->addWidget(txtDay, 3, 0);
    grid->addWidget(labels[4], 3, 1, 1, 5);
    grid->addWidget(labels[5], 4, 0, 1, 6);
    grid->addWidget(chSameFile, 5, 0, 1, 6);
    backupControls_ << chSameFile << txtHour << txtMinits << txtSecond << txtDay;
    for (QLabel* l : labels)
        backupControls_ << l;

    auto* face = new QGroupBox(QStringLiteral("インターフェース"), page);
    chToolBar = Check("ツールバーを表示する", face);
    (new QVBoxLayout(face))->addWidget(chToolBar);

    auto* tabs = new QGroupBox(QStringLiteral("タブ表示"), page);
    chTabBox = Check("タブボックスを表示する", tabs);
    chMultiTabBox = Check("タブボックスを複数行表示する", tabs);
    edTabWidth = new QLineEdit(tabs);
    edTabWidth->setToolTip(QStringLiteral("タブのサイズを指定します"));
    auto* tabGrid = new QGridLayout(tabs);
    tabGrid->addWidget(chTabBox, 0, 0, 1, 3);
    tabGrid->addWidget(chMultiTabBox, 1, 0, 1, 3);
    tabGrid->addWidget(Label("Width", tabs), 2, 0);
    tabGrid->addWidget(edTabWidth, 2, 1);
    const std::tuple<const char*, QLineEdit**, const char*> colors[] = {
        {"Face", &edTabFace, "タブのフェースカラーを指定します"},
        {"LineLight", &edTabLight, "タブのハイライトカラーを指定します"},
        {"LineShadow", &edTabShadow, "タブのシャドウカラーを指定します"},
        {"Text", &edTabText, "タブのテキストカラーを指定します"}};
    int row = 3;
    for (const auto& [caption, edit, tip] : colors) {
        *edit = new QLineEdit(QStringLiteral("#000000"), tabs);
        (*edit)->setToolTip(QString::fromUtf8(tip));
        auto* change = new QPushButton(QStringLiteral("変更"), tabs);
        change->setAutoDefault(false);
        tabGrid->addWidget(Label(caption, tabs), row, 0);
        tabGrid->addWidget(*edit, row, 1);
        tabGrid->addWidget(change, row++, 2);
        QLineEdit* target = *edit;
        connect(change, &QPushButton::clicked, this, [this, target] { ChangeTabColor(target); });
    }

    auto* left = new QVBoxLayout;
    left->addWidget(backup);
    left->addWidget(face);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addWidget(tabs, 0, Qt::AlignTop);
    connect(chAutoSave, &QCheckBox::clicked, this, &TOption::chAutoSaveClick);
    return page;
}

QWidget* TOption::CreateKeyboardPage() {
    auto* page = new QWidget;
    cbCategory = new QComboBox(page);
    for (const char* name : kKeyCategoryNames)
        cbCategory->addItem(QString::fromUtf8(name));
    lsCommand = new QListWidget(page);
    lbExplanation = new QLabel(page);
    lbExplanation->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lbExplanation->setWordWrap(true);
    hkNowCommand = new QKeySequenceEdit(page);
    hkNewCommand = new QKeySequenceEdit(page);
    lbOutSame = new QLabel(page);
    lbOutSame->setStyleSheet(QStringLiteral("color: red"));
    lbOutSame->hide();
    btComAssign = new QPushButton(QStringLiteral("割り当て"), page);
    btComDelet = new QPushButton(QStringLiteral("削除"), page);
    btComAllDelet = new QPushButton(QStringLiteral("全て削除"), page);
    for (QPushButton* b : {btComAssign, btComDelet, btComAllDelet})
        b->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addWidget(Label("カテゴリ ：", page));
    left->addWidget(cbCategory);
    left->addWidget(Label("コマンド ：", page));
    left->addWidget(lsCommand);
    auto* right = new QVBoxLayout;
    right->addWidget(Label("説明 ：", page));
    right->addWidget(lbExplanation);
    right->addWidget(Label("現在の割り当て ：", page));
    right->addWidget(hkNowCommand);
    right->addWidget(Label("新しい割り当て ：", page));
    right->addWidget(hkNewCommand);
    right->addWidget(lbOutSame);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btComAssign);
    buttons->addWidget(btComDelet);
    buttons->addWidget(btComAllDelet);
    right->addLayout(buttons);
    right->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(cbCategory, &QComboBox::currentIndexChanged, this, &TOption::cbCategoryChange);
    connect(lsCommand, &QListWidget::currentRowChanged, this, &TOption::lsCommandClick);
    // Both fields take their keys through eventFilter: the current one shows
    // and never records, the new one records one combination.
    for (QKeySequenceEdit* field : {hkNowCommand, hkNewCommand}) {
        field->installEventFilter(this);
        // Typed keys reach the field's inner line edit, its focus proxy.
        for (QLineEdit* inner : field->findChildren<QLineEdit*>())
            inner->installEventFilter(this);
    }
    connect(btComAssign, &QPushButton::clicked, this, &TOption::btComAssignClick);
    connect(btComDelet, &QPushButton::clicked, this, &TOption::btComDeletClick);
    connect(btComAllDelet, &QPushButton::clicked, this, &TOption::btComAllDeletClick);
    cbCategoryChange();
    return page;
}

int TOption::SelectedSlot() const {
    const auto commands = KeyCommandsOf(cbCategory->currentIndex());
    const int row = lsCommand->currentRow();
    return row >= 0 && row < static_cast<int>(commands.size()) ? commands[row].slot : -1;
}

void TOption::ShowOutSame(const char* message) {
    lbOutSame->setText(QString::fromUtf8(message));
    lbOutSame->show();
}

void TOption::cbCategoryChange() {
    lsCommand->clear();
    for (const KeyCommand& c : KeyCommandsOf(cbCategory->currentIndex()))
        lsCommand->addItem(QString::fromUtf8(c.name));
    lsCommand->setCurrentRow(0);
    lsCommandClick();
}

void TOption::lsCommandClick() {
    const auto commands = KeyCommandsOf(cbCategory->currentIndex());
    const int row = lsCommand->currentRow();
    if (row < 0 || row >= static_cast<int>(commands.size())) return;
    lbExplanation->setText(QString::fromUtf8(commands[row].description));
    const int slot = commands[row].slot;
    hkNowCommand->setKeySequence(slot < 0 ? QKeySequence() : ShortcutFromText(keys_[slot]));
    // "すべてを最小化" has no slot: it shows no key and takes none.
    hkNewCommand->setEnabled(slot >= 0);
    btComAssign->setEnabled(slot >= 0);
    btComDelet->setEnabled(slot >= 0);
    hkNewCommand->setFocus();
    lbOutSame->hide();
}

bool TOption::eventFilter(QObject* watched, QEvent* event) {
    if (watched->parent() == hkNewCommand || watched->parent() == hkNowCommand)
        watched = watched->parent();
    if (event->type() != QEvent::KeyPress || (watched != hkNewCommand && watched != hkNowCommand))
        return QDialog::eventFilter(watched, event);
    if (watched == hkNowCommand) return true;
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta:
        case Qt::Key_AltGr:
            return true;
        default:
            break;
    }
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    // A key that types a character needs Ctrl or Alt: alone it types, and
    // with Shift alone it only types another character.
    const bool typesText = key->key() < Qt::Key_Escape;
    if (typesText && !(mods & (Qt::ControlModifier | Qt::AltModifier)))
        hkNewCommand->clear();
    else
        hkNewCommand->setKeySequence(QKeySequence(QKeyCombination(mods, Qt::Key(key->key()))));
    hkNewCommandChange();
    return true;
}

void TOption::hkNewCommandChange() {
    const QKeySequence typed = hkNewCommand->keySequence();
    const auto stroke = KeyStrokeFromShortcut(typed);
    if (!stroke) {
        lbOutSame->hide();
        btComAssign->setEnabled(SelectedSlot() >= 0);
        return;
    }
    if (SlotHoldingKey(keys_, *stroke) >= 0) {
        ShowOutSame(kKeyUsedMessage);
        btComAssign->setEnabled(false);
        return;
    }
    lbOutSame->hide();
    btComAssign->setEnabled(SelectedSlot() >= 0);
}

void TOption::btComAssignClick() {
    const int slot = SelectedSlot();
    if (slot < 0) {
        ShowOutSame(kNoCommandMessage);
        return;
    }
    keys_[slot] = TextFromShortcut(hkNewCommand->keySequence());
    hkNowCommand->setKeySequence(ShortcutFromText(keys_[slot]));
    hkNewCommand->clear();
    hkNewCommandChange();
}

void TOption::btComDeletClick() {
    const int slot = SelectedSlot();
    if (slot < 0) {
        ShowOutSame(kNoCommandMessage);
        return;
    }
    keys_[slot].clear();
    hkNewCommand->clear();
    hkNowCommand->clear();
}

void TOption::btComAllDeletClick() {
    if (messages_.Show(kDeleteAllKeysQuestion, kCaption, MessageButtons::YesNo,
                       MessageIcon::Question) != MessageAnswer::Yes)
        return;
    for (std::string& text : keys_)
        text.clear();
    hkNewCommand->clear();
    hkNowCommand->clear();
}

TVellEdit& TOption::Preview() {
    return EditTest->Edit();
}

void TOption::RelayOutPreview() {
    EditTest->View().RefreshView();
    EditTest->View().Rewrap();
    EditTest->View().RecreateView();
}

void TOption::ConnectPreview() {
    TVellEdit& ed = Preview();
    TVellView& view = EditTest->View();
    const auto refresh = [&view] { view.RefreshView(); };
    connect(chEOF, &QCheckBox::clicked, this, [&ed, refresh](bool on) {
        ed.SetEofDraw(on);
        refresh();
    });
    connect(chCr, &QCheckBox::clicked, this, [&ed, refresh](bool on) {
        ed.SetCRDraw(on);
        refresh();
    });
    connect(chSpace, &QCheckBox::clicked, this, [&ed, refresh](bool on) {
        ed.SetZspcDraw(on);
        refresh();
    });
    connect(chInyo, &QCheckBox::clicked, this, [this, &ed, refresh](bool on) {
        txtInyo->setEnabled(on);
        ed.InyoColor = on ? kQuoteColorOnEnable : ed.Font().Color;
        if (on) ed.Inyostr = ToCp932(txtInyo->text());
        refresh();
    });
    connect(txtInyo, &QLineEdit::textEdited, this, [this, &ed, refresh](const QString& text) {
        ed.Inyostr = ToCp932(text);
        refresh();
    });
    connect(chWordWrap, &QCheckBox::clicked, this, [this, &ed](bool on) {
        ed.SetHorzScrollBar(!on);
        ed.SetWordWrap(on);
        ed.AutoWrap = on;
        RelayOutPreview();
    });
    connect(cbWordWrap, &QComboBox::activated, this, [&ed, &view](int index) {
        ed.SetColumn(index + 1 + kPreviewColumnExtra);
        view.Rewrap();
    });
    connect(cbGyokan, &QComboBox::activated, this, [&ed, refresh](int index) {
        ed.SetGyokan(index);
        refresh();
    });
    connect(cbTab, &QComboBox::activated, this, [&ed, refresh](int index) {
        ed.SetTabCount(index + 2);
        refresh();
    });
    connect(cbScroll, &QComboBox::activated, this, [&ed, &view](int index) {
        ed.ScrollStep = static_cast<uint8_t>(index + 1);
        view.RecreateView();
    });
    connect(chUnderLine, &QCheckBox::clicked, this, [&ed, refresh](bool on) {
        ed.UlineF = on;
        refresh();
    });
    connect(cbFontSize, &QComboBox::activated, this, [&ed, &view](int index) {
        TVellFont font = ed.Font();
        font.Size = index + 1;
        ed.SetFont(font);
        view.RecreateView();
    });
}

void TOption::showEvent(QShowEvent* event) {
    Odaizi();
    QDialog::showEvent(event);
    // The keyboard starts on the page's first control, as Tab then walks it.
    for (QWidget* w : PageControl2->currentWidget()->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled()) {
            w->setFocus();
            break;
        }
}

void TOption::Odaizi() {
    const OptionData& o = options_;
    chEOF->setChecked(o.EofDraw);
    chCr->setChecked(o.CRDraw);
    chSpace->setChecked(o.ZspcDraw);
    chInyo->setChecked(o.InyoEnabled);
    txtInyo->setEnabled(o.InyoEnabled);
    txtInyo->setText(FromCp932(o.Inyostr));
    chWordWrap->setChecked(o.WordWrap);
    cbWordWrap->setCurrentIndex(IndexFor(cbWordWrap, o.Column - 1));
    cbGyokan->setCurrentIndex(IndexFor(cbGyokan, o.Gyokan));
    cbTab->setCurrentIndex(IndexFor(cbTab, o.TabCount - 2));
    cbScroll->setCurrentIndex(IndexFor(cbScroll, o.ScrollStep - 1));
    chUnderLine->setChecked(o.UlineF);

    txtFont->setText(FromCp932(o.FontName));
    txtFont->setFont(FontOf(o.FontName, o.FontStyle));
    cbFontSize->setCurrentIndex(IndexFor(cbFontSize, o.FontSize - 1));

    chSaveWindow->setChecked(o.SaveWindow);
    txtTop->setText(QString::number(o.WindowTop));
    txtLeft->setText(QString::number(o.WindowLeft));
    txtHeight->setText(QString::number(o.WindowHeight));
    txtWidth->setText(QString::number(o.WindowWidth));
    cbWindowState->setCurrentIndex(IndexFor(cbWindowState, o.WindowState));
    (o.SingleInstance ? optMDI : optSDI)->setChecked(true);
    if (o.ReadWindowState == 1) chReadMAX->setChecked(true);
    if (o.ReadWindowState == 2) chReadMIN->setChecked(true);
    chUseTAB->setChecked(o.UseTab);
    chCreateBlank->setChecked(o.CreateBlank);
    chMaxWindow->setChecked(o.LimitWindowCount);
    txtMaxWindow->setText(QString::number(o.MaxWindowCount));
    chMaxSize->setChecked(o.LimitFileSize);
    txtMaxSize->setText(QString::number(o.MaxFileSize));
    chSaveWindowClick();

    chAutoSave->setChecked(o.AutoSave);
    const IntervalParts parts = SplitInterval(o.AutoSaveInterval);
    txtHour->setText(QString::number(parts.Hours));
    txtMinits->setText(QString::number(parts.Minutes));
    txtSecond->setText(QString::number(parts.Seconds));
    txtDay->setText(QString::number(o.BackupDays));
    chSameFile->setChecked(o.SameFile);
    chToolBar->setChecked(o.ShowToolBar);
    chTabBox->setChecked(o.ShowTabBox);
    chMultiTabBox->setChecked(o.MultiTabBox);
    edTabWidth->setText(QString::number(o.TabWidth));
    ShowTabColor(edTabFace, o.TabFaceColor);
    ShowTabColor(edTabLight, o.TabLightColor);
    ShowTabColor(edTabShadow, o.TabShadowColor);
    ShowTabColor(edTabText, o.TabTextColor);
    chAutoSaveClick();
    LoadPreview();
}

void TOption::LoadPreview() {
    // The stored settings with the lists' present choices; no line numbers,
    // and the cut 29 columns further out so the sample's lines show whole.
    OptionData shown = options_;
    shown.ShowLineNumber = false;
    shown.Gyokan = cbGyokan->currentIndex();
    shown.TabCount = cbTab->currentIndex() + 2;
    shown.ScrollStep = cbScroll->currentIndex() + 1;
    shown.FontSize = cbFontSize->currentIndex() + 1;
    TVellEdit& ed = Preview();
    ed.SetLeftMargin(10);
    ed.SetTopMargin(0);
    ed.SetVertScrollBar(true);
    ed.SetHorzScrollBar(!shown.WordWrap);
    ed.AutoWrap = shown.WordWrap;
    findColor_ = shown.FindColor;
    ApplySettings(ed, shown, [this](TVellEdit& e) {
        e.SetColumn(cbWordWrap->currentIndex() + 1 + kPreviewColumnExtra);
        RelayOutPreview();
    });
    ed.SetAllText("Tarnwick Editor\r\nhttps://tarnwick.example.org/\r\n");
    listColorClick();
}

void TOption::chSaveWindowClick() {
    // With the box checked the position is taken from the window at exit.
    for (QWidget* w : positionControls_)
        w->setEnabled(!chSaveWindow->isChecked());
}

void TOption::chAutoSaveClick() {
    for (QWidget* w : backupControls_)
        w->setEnabled(chAutoSave->isChecked());
}

void TOption::btFontClick() {
    QFont initial = txtFont->font();
    initial.setPointSize(cbFontSize->currentIndex() + 1);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, this);
    if (!ok) return;
    txtFont->setText(chosen.family());
    QFont shown = chosen;
    shown.setPointSize(txtFont->font().pointSize());
    txtFont->setFont(shown);
    cbFontSize->setCurrentIndex(IndexFor(cbFontSize, chosen.pointSize() - 1));
    EditTest->View().RecreateView();
}

uint32_t TOption::PreviewColor(int entry) {
    const TVellEdit& ed = Preview();
    switch (entry) {
        case 0:
            return ed.Font().Color;
        case 1:
            return ed.Color();
        case 2:
            return ed.SelColor();
        case 3:
            return findColor_;
        case 4:
            return ed.URLColor;
        case 5:
            return ed.CREOFcolor;
        case 6:
            return ed.InyoColor;
        default:
            return ed.UlineColor;
    }
}

void TOption::SetPreviewColor(int entry, uint32_t color) {
    TVellEdit& ed = Preview();
    switch (entry) {
        case 0: {
            TVellFont font = ed.Font();
            font.Color = color;
            ed.SetFont(font);
            break;
        }
        case 1:
            ed.SetColor(color);
            break;
        case 2:
            ed.SetSelColor(color);
            break;
        case 3:
            findColor_ = color;
            break;
        case 4:
            ed.URLColor = color;
            break;
        case 5:
            ed.CREOFcolor = color;
            break;
        case 6:
            ed.InyoColor = color;
            break;
        default:
            ed.UlineColor = color;
            break;
    }
}

void TOption::listColorClick() {
    const int entry = listColor->currentRow();
    if (entry < 0) return;
    const uint32_t color = PreviewColor(entry);
    QPalette palette = lbColor->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    lbColor->setPalette(palette);
    const int named = NamedColorIndex(color);
    if (named >= 0) cbColor->setCurrentIndex(named);
}

void TOption::cbColorChange() {
    const int entry = listColor->currentRow();
    if (entry < 0) return;
    SetPreviewColor(entry, NamedColorValue(cbColor->currentIndex()));
    listColorClick();
    EditTest->View().RefreshView();
}

void TOption::btClearClick() {
    for (int i = 0; i < static_cast<int>(kBuiltInColors.size()); ++i)
        SetPreviewColor(i, kBuiltInColors[i]);
    EditTest->View().RefreshView();
}

std::string TOption::SchemeFileDialog(bool save) {
    const QString start = QFile::decodeName(QByteArray::fromStdString(SchemeFolder));
    // The name is written with ".ini" appended, so the dialog's question
    // about replacing the chosen name would be about another file.
    const QString name =
        save ? QFileDialog::getSaveFileName(this, QString(), start,
                                            QStringLiteral("INI ファイル(*.INI) (*ini *INI)"),
                                            nullptr, QFileDialog::DontConfirmOverwrite)
             : QFileDialog::getOpenFileName(this, QString(), start,
                                            QStringLiteral("INI ファイル(*.INI) (*.ini *.INI)"));
    return name.isEmpty() ? std::string() : QFile::encodeName(name).toStdString();
}

void TOption::btLoadClick() {
    const std::string chosen = ChooseSchemeFile(true);
    if (!chosen.empty()) {
        EditorColors colors;
        for (int i = 0; i < static_cast<int>(colors.size()); ++i)
            colors[i] = PreviewColor(i);
        try {
            SaveColorScheme(chosen, colors);
        } catch (const std::exception& e) {
            messages_.Show(e.what(), kCaption, MessageButtons::Ok, MessageIcon::Warning);
        }
    }
    EditTest->View().RefreshView();
}

void TOption::btSaveClick() {
    const std::string chosen = ChooseSchemeFile(false);
    if (chosen.empty()) return;
    try {
        const EditorColors colors = LoadColorScheme(chosen);
        for (int i = 0; i < static_cast<int>(colors.size()); ++i)
            SetPreviewColor(i, colors[i]);
    } catch (const std::exception& e) {
        messages_.Show(e.what(), kCaption, MessageButtons::Ok, MessageIcon::Warning);
    }
    EditTest->View().RefreshView();
}

namespace {

std::string RunningProgram() {
    return QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
}

}  // namespace

void TOption::btRegistoryClick() {
    const std::string message = Associate(AssociationPlaces::FromEnvironment(), RunningProgram());
    const bool failed = message == kAssociateFailedMessage;
    messages_.Show(message, kCaption, MessageButtons::Ok,
                   failed ? MessageIcon::Warning : MessageIcon::Information);
}

void TOption::btCancelRegistoryClick() {
    const std::string message = Unassociate(AssociationPlaces::FromEnvironment(), RunningProgram());
    if (message.empty()) return;
    const bool failed = message == kUnassociateFailedMessage;
    messages_.Show(message, kCaption, MessageButtons::Ok,
                   failed ? MessageIcon::Warning : MessageIcon::Information);
}

uint32_t TOption::TabColorFrom(QLineEdit* edit) {
    const ParsedColor parsed = ParseColorText(edit->text().toStdString());
    if (!parsed.Complete)
        messages_.Show(kColorTextMessage, kCaption, MessageButtons::Ok, MessageIcon::Warning);
    return parsed.Color;
}

void TOption::ShowTabColor(QLineEdit* edit, uint32_t stored) {
    const QString text = QString::fromStdString(ColorText(Rgb(stored)));
    edit->setText(text);
    loadedTabColors_[edit] = text;
}

uint32_t TOption::StoredTabColor(QLineEdit* edit, uint32_t stored) {
    // An edit left as loaded keeps the stored value, so a system colour stays
    // one and follows the desktop's theme.
    if (loadedTabColors_.value(edit) == edit->text()) return stored;
    return TabColorFrom(edit);
}

void TOption::ChangeTabColor(QLineEdit* edit) {
    const QColor chosen = QColorDialog::getColor(ToQColor(TabColorFrom(edit)), this);
    if (!chosen.isValid()) return;
    const uint32_t rgb = static_cast<uint32_t>(chosen.red()) |
                         static_cast<uint32_t>(chosen.green()) << 8 |
                         static_cast<uint32_t>(chosen.blue()) << 16;
    edit->setText(QString::fromStdString(ColorText(rgb)));
}

void TOption::OKClick() {
    OptionNumberTexts texts;
    texts.Hours = txtHour->text().toStdString();
    texts.Minutes = txtMinits->text().toStdString();
    texts.Seconds = txtSecond->text().toStdString();
    texts.Days = txtDay->text().toStdString();
    texts.Top = txtTop->text().toStdString();
    texts.Left = txtLeft->text().toStdString();
    texts.Height = txtHeight->text().toStdString();
    texts.Width = txtWidth->text().toStdString();
    texts.MaxWindowCount = txtMaxWindow->text().toStdString();
    texts.MaxFileSize = txtMaxSize->text().toStdString();
    texts.TabWidth = edTabWidth->text().toStdString();
    const std::string bad = CheckNumberFields(texts);
    if (!bad.empty()) {
        messages_.Show(bad, kCaption, MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    if (!StoreBackupFields(texts, chAutoSave->isChecked(), chSameFile->isChecked(), options_)) {
        messages_.Show(kIntervalNotNumberMessage, kCaption, MessageButtons::Ok,
                       MessageIcon::Warning);
        return;
    }
    StoreNumberFields(texts, options_);
    StoreControls();
    if (OnApplied) OnApplied();
    accept();
}

void TOption::StoreControls() {
    OptionData& o = options_;
    o.EofDraw = chEOF->isChecked();
    o.CRDraw = chCr->isChecked();
    o.ZspcDraw = chSpace->isChecked();
    o.InyoEnabled = chInyo->isChecked();
    o.Inyostr = ToCp932(txtInyo->text());
    o.WordWrap = chWordWrap->isChecked();
    o.Column = cbWordWrap->currentIndex() + 1;
    o.Gyokan = cbGyokan->currentIndex();
    o.TabCount = cbTab->currentIndex() + 2;
    o.ScrollStep = cbScroll->currentIndex() + 1;
    o.UlineF = chUnderLine->isChecked();
    o.FontName = ToCp932(txtFont->text());
    o.FontStyle = StyleOf(txtFont->font());
    o.FontSize = cbFontSize->currentIndex() + 1;
    o.FontColor = PreviewColor(0);
    o.EditorColor = PreviewColor(1);
    o.SelColor = PreviewColor(2);
    o.FindColor = PreviewColor(3);
    o.URLColor = PreviewColor(4);
    o.CREOFcolor = PreviewColor(5);
    // With quoting off the preview draws quoted rows in the text colour; that
    // stand-in must not overwrite the quoted-line colour kept for later.
    if (o.InyoEnabled) o.InyoColor = PreviewColor(6);
    o.UlineColor = PreviewColor(7);
    o.SaveWindow = chSaveWindow->isChecked();
    o.WindowState = cbWindowState->currentIndex();
    o.SingleInstance = optMDI->isChecked();
    o.ReadWindowState = ReadWindowStateFrom(chReadMAX->isChecked(), chReadMIN->isChecked());
    o.UseTab = chUseTAB->isChecked();
    o.CreateBlank = chCreateBlank->isChecked();
    o.LimitWindowCount = chMaxWindow->isChecked();
    o.LimitFileSize = chMaxSize->isChecked();
    o.ShowToolBar = chToolBar->isChecked();
    o.ShowTabBox = chTabBox->isChecked();
    o.MultiTabBox = chMultiTabBox->isChecked();
    o.TabFaceColor = StoredTabColor(edTabFace, o.TabFaceColor);
    o.TabLightColor = StoredTabColor(edTabLight, o.TabLightColor);
    o.TabShadowColor = StoredTabColor(edTabShadow, o.TabShadowColor);
    o.TabTextColor = StoredTabColor(edTabText, o.TabTextColor);
}

void TOption::CancelClick() {
    if (OnCancelled) OnCancelled();
    reject();
}

void TOption::keyPressEvent(QKeyEvent* event) {
    // Esc closes without touching the keyboard assignment.
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tw
