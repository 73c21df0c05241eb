#include "documents/DocumentWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "documents/ChildFrame.h"
#include "documents/LineMarks.h"
#include "documents/LinkTarget.h"
#include "documents/Ruler.h"
#include "platform/MessageBox.h"
#include "platform/codec/Cp932Codec.h"
#include "platform/qt/Cp932QString.h"
#include "platform/qt/QtPlatform.h"
#include "search/ReplaceHit.h"
#include "settings/OptionData.h"
#include "textconv/TextConversion.h"
#include "textstore/SafeFileWriter.h"

namespace tw {

namespace {

const QString kChanged = QStringLiteral("変更あり");
const QString kUnchanged = QStringLiteral("新規");
const QString kReadOnlyMode = QStringLiteral("読み込み専用");
const QString kBackupFailed = QStringLiteral("バックアップを保存できません");

constexpr int kPanelWidths[6] = {60, 80, 100, 80, 90, 200};

QColor ColorOf(uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

}  // namespace

TMDIChild::TMDIChild(IChildFrame& frame, QWidget* parent)
    : QWidget(parent),
      mmText(new VellEditWidget(this)),
      Matcher(frame.SearchOptions()),
      frame_(frame) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mmText, 1);
    CreateStatusBar();
    layout->addWidget(statusBar_);
    resize(kChildWindowSize);

    TVellEdit& e = Edit();
    e.SetTopMargin(15);
    e.SetLeftMargin(10);
    e.SetCurSetMode(true);
    e.UndoBuf = 1015808;
    e.SetColumn(72);
    e.SetWordWrap(true);
    e.AutoWrap = false;
    e.SetHorzScrollBar(false);
    e.SetVertScrollBar(true);

    sizeTimer_ = new QTimer(this);
    sizeTimer_->setSingleShot(true);
    sizeTimer_->setInterval(250);
    connect(sizeTimer_, &QTimer::timeout, this, [this] { ShowTextSize(); });
    linesTimer_ = new QTimer(this);
    linesTimer_->setSingleShot(true);
    linesTimer_->setInterval(0);
    connect(linesTimer_, &QTimer::timeout, this, [this] { ShowLineCount(); });

    backup_ = std::make_unique<TAutoBackup>(Edit(), frame.Settings(), frame.ProgramDirectory(),
                                            std::make_unique<QtTimer>(), frame.Messages());
    backup_->Caption = [this] { return caption_; };
    backup_->OnWriteFailure = [this](bool failing) { ShowBackupFailure(failing); };

    CreateActions();
    CreateMenu();
    ConnectEditor();
    setFocusProxy(mmText);
}

TMDIChild::~TMDIChild() {
    // The editor outlives nothing of this window; its events must not reach it.
    TVellEdit& e = Edit();
    e.OnSelectionChange = nullptr;
    e.OnChangeInsMode = nullptr;
    e.OnChangeModify = nullptr;
    e.OnChangeRedoMode = nullptr;
    e.OnChange = nullptr;
    e.OnUserDraw = nullptr;
    e.OnPaint = nullptr;
    e.OnFind = nullptr;
    e.OnFindCandidate = nullptr;
    e.OnFindHit = nullptr;
    e.OnFindNoHit = nullptr;
    View().OnKeyPress = nullptr;
    View().OnDblclick = nullptr;
}

void TMDIChild::SetCaption(const std::string& caption) {
    caption_ = caption;
    setWindowTitle(QFile::decodeName(QByteArray::fromStdString(caption)));
}

// ---- Status bar ---------------------------------------------------------------------

void TMDIChild::CreateStatusBar() {
    statusBar_ = new QStatusBar(this);
    statusBar_->setSizeGripEnabled(false);
    const QString initial[6] = {QStringLiteral(" 0 : 0"),         QStringLiteral("Lines : "),
                                QStringLiteral("読み込み中...."), kUnchanged,
                                QStringLiteral("挿入"),           QString()};
    for (int i = 0; i < 6; ++i) {
        panels_[i] = new QLabel(initial[i], statusBar_);
        panels_[i]->setFixedWidth(kPanelWidths[i]);
        panels_[i]->setFrameShape(QFrame::Panel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        statusBar_->addWidget(panels_[i]);
    }
}

QString TMDIChild::PanelText(int panel) const {
    return panels_[panel]->text();
}

void TMDIChild::SetPanelText(int panel, const QString& text) {
    // Every edit refreshes the panels; most leave their text as it was.
    if (panels_[panel]->text() != text) panels_[panel]->setText(text);
}

bool TMDIChild::IsChanged() const {
    return PanelText(kPanelModified) == kChanged;
}

void TMDIChild::SetChanged(bool changed) {
    SetPanelText(kPanelModified, changed ? kChanged : kUnchanged);
}

void TMDIChild::Saved() {
    SetChanged(false);
    if (linesTimer_->isActive()) {
        linesTimer_->stop();
        ShowLineCount();
    }
    sizeTimer_->stop();
    ShowTextSize();
}

void TMDIChild::ShowCaretPosition() {
    SetPanelText(kPanelCaret,
                 QStringLiteral(" %1 :  %2").arg(Edit().CaretX()).arg(Edit().CaretY()));
}

void TMDIChild::ShowLineCount(const QString& prefix) {
    SetPanelText(kPanelLines, prefix + QString::number(Edit().Lines().Count()));
}

void TMDIChild::ShowBackupFailure(bool failing) {
    // The hint panel, so that the changed mark and the counts stay in view;
    // a tab drag's hint that took the panel meanwhile is left alone.
    if (failing)
        SetPanelText(kPanelHint, kBackupFailed);
    else if (PanelText(kPanelHint) == kBackupFailed)
        SetPanelText(kPanelHint, QString());
}

// ---- Commands ------------------------------------------------------------------------

void TMDIChild::CreateActions() {
    const auto rows = CommandTable();
    for (const CommandRow<TMDIChild>& row : rows) {
        QAction* a = MakeCommandAction(row, this);
        // Only the frame's menu holds these keys for real; here they are shown in
        // the menu, and the frame adds the window-only ones to this window.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, [this, run = row.run] { run(*this); });
        actions_.push_back(a);
    }
}

QAction* TMDIChild::Action(std::string_view name) const {
    return ActionNamed(CommandTable(), actions_, name);
}

void TMDIChild::CreateMenu() {
    EditPop = new QMenu(this);
    const auto submenus = FillMenus(*EditPop, CommandTable(), actions_);
    for (const auto& [caption, menu] : submenus) {
        if (caption == kConvertMenu) ConvertMenu = menu;
        if (caption == kMarkMenu) MarkMenu = menu;
    }
    MarkMenu->addSeparator();        // the marks follow it
    ConvertMenu->setEnabled(false);  // until a selection exists
    LetKeysStepOnDisabledEntries(*EditPop);
    connect(mmText, &VellEditWidget::contextMenuRequested, this,
            [this](const QPoint& at) { EditPop->popup(at); });
}

void TMDIChild::FollowState(CommandEnabled rule, bool enabled) {
    EnableByRule(CommandTable(), actions_, rule, enabled);
    frame_.FollowDocumentState(rule, enabled);
}

QList<QAction*> TMDIChild::MenuActions() const {
    QList<QAction*> all;
    std::function<void(QMenu*)> walk = [&](QMenu* m) {
        for (QAction* a : m->actions()) {
            all.push_back(a);
            if (a->menu()) walk(a->menu());
        }
    };
    walk(EditPop);
    return all;
}

void TMDIChild::CopyToClipboard(bool cut) {
    if (cut)
        Edit().CutToClipboard();
    else
        Edit().CopyToClipboard();
    if (auto text = mmText->Clipboard().GetText()) frame_.AddClipHistory(*text);
}

void TMDIChild::AddCopy(bool cut) {
    IClipboard& clipboard = mmText->Clipboard();
    const std::string joined = clipboard.GetText().value_or(std::string()) + Edit().GetSelText();
    clipboard.SetText(joined);
    if (cut) Edit().SetSelText("");
    frame_.AddClipHistory(joined);
}

void TMDIChild::ConvertSelection(Conversion conversion) {
    TVellEdit& e = Edit();
    if (!e.SelectionExists()) return;
    e.SetSelText(Convert(conversion, e.GetSelText(), e.TabCount()));
}

void TMDIChild::InsertFile() {
    const std::string name = frame_.ChooseInsertFile();
    if (name.empty()) return;
    std::string bytes;
    try {
        bytes = ReadWholeFile(name);
    } catch (const std::exception& e) {
        frame_.Messages().Show(e.what(), "Tarnwick Editor", MessageButtons::Ok, MessageIcon::Error);
        return;
    }
    Edit().ReplaceRange(bytes, -1, -1, -1, -1);
}

void TMDIChild::ToggleLineNumbers() {
    const bool show = !Edit().ShowLineNumber();
    Edit().SetShowLineNumber(show);
    View().RecreateView();
    frame_.Settings().ShowLineNumber = show;
}

// ---- Marks ---------------------------------------------------------------------------

QList<QAction*> TMDIChild::Marks() const {
    return MarkMenu->actions().mid(3);
}

void TMDIChild::AddMark() {
    const int32_t row = Edit().CaretY();
    const std::string caption = MarkCaption(Edit().Lines().View(row), row);
    // Control bytes of the row's end would make the menu unreadable.
    QString text = QStringFromCp932(caption);
    for (QChar& c : text)
        if (c.unicode() < 0x20) c = QChar(' ');
    QAction* mark = MarkMenu->addAction(text);
    mark->setData(row);
    connect(mark, &QAction::triggered, this, [this, row] { Edit().GotoXY(0, row); });
}

void TMDIChild::ClearMarks() {
    const QList<QAction*> marks = Marks();
    for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
        MarkMenu->removeAction(*it);
        delete *it;
    }
}

// ---- Editor events -------------------------------------------------------------------

void TMDIChild::ConnectEditor() {
    TVellEdit& e = Edit();
    e.OnSelectionChange = [this](TVellEdit&) { mmTextSelectionChange(); };
    e.OnChangeInsMode = [this](TVellEdit&, bool insert) { mmTextChangeInsMode(insert); };
    e.OnChangeModify = [this](TVellEdit&, bool modified) { mmTextChangeModify(modified); };
    e.OnChangeRedoMode = [this](TVellEdit&, bool canRedo) { mmTextChangeRedoMode(canRedo); };
    e.OnChange = [this](TVellEdit&) { mmTextChange(); };
    e.OnUserDraw = [this](TVellEdit&, int c1, int, int x1, int x2) { mmTextUserDraw(c1, x1, x2); };
    e.OnPaint = [this](TVellEdit&) { mmTextPaint(); };
    View().OnKeyPress = [this](unsigned char) { mmTextKeyPress(); };
    View().OnDblclick = [this](TVellEdit&) { mmTextDblclick(); };
    connect(mmText, &VellEditWidget::mouseReleased, this, [this] { ShowCaretPosition(); });
    ConnectSearch();
}

void TMDIChild::ConnectSearch() {
    TVellEdit& e = Edit();
    e.OnFind = [this](TVellEdit&, std::string_view Str, std::string_view findchr, int32_t index,
                      int32_t& x, int32_t& len) { Matcher.Match(Str, findchr, index, x, len); };
    e.OnFindCandidate = [this](TVellEdit& ed, std::string_view findchr, int32_t from,
                               int32_t last) {
        return Matcher.CandidateRow(ed.Lines(), findchr, from, last);
    };
    e.OnFindHit = [this](TVellEdit&, std::string_view findchr, int32_t x, int32_t y, int32_t len,
                         int32_t) {
        frame_.BringToFront(*this);
        const HitOutcome outcome = HandleFindHit(
            Edit(), Matcher, frame_.Replacing(), frame_.Messages(), frame_.ReplaceShowing(),
            frame_.Settings().FindColor, FindHit{findchr, x, y, len});
        if (outcome == HitOutcome::Cancelled) View().Redraw();
    };
    e.OnFindNoHit = [this](TVellEdit&, std::string_view) {
        frame_.Messages().Beep();
        // A walk leaves the layout as it was (a replacement re-cuts its own
        // line): the page is drawn again, nothing is re-cut.
        View().Redraw();
        Matcher.Missed();
    };
}

void TMDIChild::ShowFindDialog(FindShow how) {
    frame_.ShowFindDialog(how, how == FindShow::Selected ? SelectedText() : std::string());
}

void TMDIChild::ShowReplaceDialog(FindShow how) {
    frame_.ShowReplaceDialog(how, how == FindShow::Selected ? SelectedText() : std::string());
}

std::string TMDIChild::SelectedText() {
    return Edit().SelectionExists() ? Edit().GetSelText() : std::string();
}

void TMDIChild::mmTextSelectionChange() {
    const bool s = Edit().SelectionExists();
    FollowState(CommandEnabled::WithSelection, s);
    ConvertMenu->setEnabled(s);
    DrawRulerCaret(false);
    ShowCaretPosition();
}

void TMDIChild::mmTextChangeInsMode(bool insert) {
    if (PanelText(kPanelMode) == kReadOnlyMode) return;
    SetPanelText(kPanelMode, insert ? QStringLiteral("挿入") : QStringLiteral("上書き"));
}

void TMDIChild::mmTextChangeModify(bool modified) {
    FollowState(CommandEnabled::WithUndo, modified);
}

void TMDIChild::mmTextChangeRedoMode(bool canRedo) {
    FollowState(CommandEnabled::WithRedo, canRedo);
}

void TMDIChild::mmTextKeyPress() {
    // A character message is no change by itself: Esc, Ctrl+letters and any
    // key in a read-only text come here too. Changes arrive through OnChange.
    ShowCaretPosition();
}

void TMDIChild::mmTextChange() {
    // Every edit the editor records marks the text as changed, whatever
    // brought it: typing, an input-method commit, paste, Delete, a drop, a
    // conversion, a replacement.
    SetChanged(true);
    // The editor reports an edit before it has laid out the rows; the count
    // follows once the edit is done.
    linesTimer_->start();
    // Counting a huge text's bytes has no place in a keystroke; a burst of
    // typing is counted once, when it pauses.
    sizeTimer_->start();
}

void TMDIChild::ShowTextSize() {
    // The bytes the file would get: every row's bytes less the end marker,
    // without building the whole text.
    const TVellStrings& lines = Edit().Lines();
    int64_t size = 0;
    for (int32_t i = 0, n = lines.Count(); i < n; ++i)
        size += lines.View(i).size();
    size -= 2;
    SetPanelText(kPanelSize, QStringLiteral("Size : %1 Byte").arg(size));
}

void TMDIChild::mmTextPaint() {
    // Painting the hit repaints rows, which comes back here.
    if (painting_) return;
    painting_ = true;
    if (frame_.SearchOptions().FindActive) Edit().PaintHit(frame_.Settings().FindColor);
    ShowCaretPosition();
    painting_ = false;
}

void TMDIChild::mmTextDblclick() {
    int32_t col = Edit().CaretX(), line = Edit().CaretY();
    // Only the link under the caret opens: with seekStart the line's first
    // link would open from anywhere on the line, plain text included.
    const std::string link = View().GetLinkText(col, line, false);
    if (auto url = LinkTarget(link))
        QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(*url)));
}

// ---- Ruler ---------------------------------------------------------------------------

void TMDIChild::mmTextUserDraw(int c1, int x1, int x2) {
    const TVellEdit& e = Edit();
    const RulerDrawing ruler = LayOutRuler({c1, x1, x2, e.Viewport().TextLeft, e.Viewport().ScrollX,
                                            std::max(1, e.Viewport().CharWidth)});
    QImage& image = mmText->Canvas();
    if (image.isNull()) return;
    {
        QPainter p(&image);
        const QColor grey(0x80, 0x80, 0x80);
        p.setPen(grey);
        for (const RulerLine& l : ruler.lines)
            p.drawLine(l.x1, l.y1, l.x2, l.y2);
        QFont small(QStringLiteral("IPAGothic"));
        small.setPixelSize(8);
        p.setFont(small);
        for (const RulerLabel& label : ruler.labels)
            p.drawText(QPoint(label.x, label.y + 8), QString::number(label.column));
    }
    mmText->ImageChanged(QRect(0, 0, image.width(), e.TopMargin()));
    DrawRulerCaret(true);
}

void TMDIChild::DrawRulerCaret(bool afterRuler) {
    QImage& image = mmText->Canvas();
    if (image.isNull() || Edit().TopMargin() < kRulerCaretHeight) return;
    QPainter p(&image);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(ColorOf((Edit().Color() & 0xFFFFFF) ^ 0x808080));
    pen.setWidth(kRulerCaretPen);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    auto stroke = [&](int x) {
        p.drawLine(x, 0, x, kRulerCaretHeight);
        mmText->ImageChanged(
            QRect(x - kRulerCaretPen, 0, 2 * kRulerCaretPen, kRulerCaretHeight + 1));
    };
    if (!afterRuler) stroke(RulerCaretX);
    const int x = View().GetCaretX();
    stroke(x);
    RulerCaretX = x;
}

// ---- Window events -------------------------------------------------------------------

void TMDIChild::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    mmText->setFocus();
    backup_->Start();
}

void TMDIChild::FormActivate() {
    frame_.ChildActivated(*this);
    mmTextChangeModify(Edit().Modified());
    mmTextChangeRedoMode(Edit().RedoEnabled());
}

bool TMDIChild::ConfirmSave() {
    if (Edit().Lines().Count() <= 1 && Edit().Lines().View(0).size() <= 2) return true;  // empty
    if (!IsChanged()) return true;
    const MessageAnswer answer =
        frame_.Messages().Show(caption_ + " の変更を保存しますか？", "Tarnwick Editor",
                               MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == MessageAnswer::No) return true;
    if (answer != MessageAnswer::Yes) return false;
    return frame_.SaveChild(*this);
}

void TMDIChild::CloseWithoutPrompt() {
    closingWithoutPrompt_ = true;
}

void TMDIChild::closeEvent(QCloseEvent* event) {
    if (!closingWithoutPrompt_) {
        frame_.ChildActivated(*this);
        if (!ConfirmSave()) {
            event->ignore();
            return;
        }
        frame_.ChildClosing(*this);
    }
    event->accept();
}

}  // namespace tw
