#include "PeerEditors.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/FrameWindow.h"
#include "app/HandOff.h"
#include "dialogs/ReplaceDialog.h"
#include "documents/DocumentWindow.h"
#include "editor/qt/VellEditWidget.h"
#include "platform/codec/Cp932Codec.h"
#include "platform/qt/QtPlatform.h"
#include "search/FindMatch.h"
#include "settings/SettingsStore.h"

namespace tw::bench {

void UseBenchFont(QWidget& widget) {
    // The program's default face and size, as its own window picks them.
    const OptionData defaults;
    QFont f(InstalledFontFamily(defaults.FontName));
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSize(defaults.FontSize);
    f.setKerning(false);
    widget.setFont(f);
}

int WidthFor72Cells(const QWidget& widget, int margins) {
    return QFontMetrics(widget.font()).horizontalAdvance(QString(72, QLatin1Char('0'))) + margins;
}

std::string ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return std::move(out).str();
}

std::u16string DecodeSjis(std::string_view bytes) {
    return cp932::Decode(bytes);
}

namespace {

/// Counts the hits the editor reports while it lives, passing each on to the
/// window's own handler.
struct HitCounter {
    explicit HitCounter(TVellEdit& e) : editor(e), handler(e.OnFindHit) {
        e.OnFindHit = [this](TVellEdit& ed, std::string_view f, int32_t x, int32_t y, int32_t len,
                             int32_t n) {
            ++count;
            if (handler) handler(ed, f, x, y, len, n);
        };
    }
    ~HitCounter() { editor.OnFindHit = handler; }
    HitCounter(const HitCounter&) = delete;
    HitCounter& operator=(const HitCounter&) = delete;

    TVellEdit& editor;
    TVellEdit::TFindHitEvent handler;
    int count = 0;
};

void Settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// The program's document window, opened the way the user opens a file.
class OwnEditor : public PeerEditor {
  public:
    explicit OwnEditor(std::string scratch) : scratch_(std::move(scratch)) {}

    void Prepare(const std::string& file, bool utf8, bool wrapped) override {
        if (utf8) std::abort();  // the program reads Shift-JIS; nobody asks it
        file_ = file;
        setenv("TARNWICK_EDITOR_HOME", scratch_.c_str(), 1);
        setenv("TARNWICK_EDITOR_RUNTIME_DIR", scratch_.c_str(), 1);
        OptionData options;
        options.CreateBlank = false;
        if (wrapped) options.Column = 72;
        SaveOptionData(scratch_, options);
        paths_ = InstancePaths::FromEnvironment();
        RunProgramEntry(paths_, {}, marker_);
        frame_ = std::make_unique<TTarnwickEditor>(paths_, std::vector<std::string>{});
        frame_->resize(1000, 700);
        frame_->show();
        Settle();
        // A running program has made a window and loaded its fonts already.
        frame_->actNewExecute();
        Settle();
    }
    void Open() override {
        frame_->OpenFile(file_, false);
        QApplication::processEvents();
        child_ = frame_->Document(frame_->DocumentCount());
    }
    long Rows() override { return child_->Edit().Lines().Count(); }
    void CaretToMiddle() override { child_->Edit().GotoXY(0, Rows() / 2, ScrollMode::Center); }
    QWidget* KeyTarget() override { return child_->mmText; }
    void Repaint() override { child_->mmText->repaint(); }
    void Undo() override { child_->Edit().Undo(); }
    std::string MiddleLine() override {
        return std::string(child_->Edit().Lines().View(Rows() / 2));
    }
    int CountHits(std::string_view ascii, bool matchCase) override {
        TVellEdit& e = child_->Edit();
        HitCounter hits(e);
        FindOptions& options = frame_->SearchOptions();
        options.CaseSensitive = matchCase;
        options.SearchDown = true;
        options.SearchFromTop = false;
        child_->Matcher.ResetLastHit();
        child_->Matcher.NoHit = false;
        e.GotoXY(0, 0);
        e.SetFindText(ascii);
        while (!child_->Matcher.NoHit)
            e.FindNext();
        return hits.count;
    }
    int ReplaceAll(std::string_view ascii, std::string_view with) override {
        // The replace dialog, all hits without questions, from the caret down.
        TVellEdit& e = child_->Edit();
        e.GotoXY(0, 0);
        TRePlaceDialog& dialog = frame_->ReplaceDialog();
        frame_->ShowReplaceDialog(FindShow::Plain, {});
        dialog.SearchText->setText(QString::fromLatin1(ascii.data(), qsizetype(ascii.size())));
        dialog.ReplacementText->setText(QString::fromLatin1(with.data(), qsizetype(with.size())));
        dialog.MatchCaseBox->setChecked(true);
        dialog.NoConfirmBox->setChecked(true);
        HitCounter hits(e);
        dialog.ReplaceAllButton->click();
        dialog.close();
        QApplication::processEvents();
        return hits.count;
    }
    void CaretToTop() override {
        child_->Edit().GotoXY(0, 0);
        Repaint();
    }
    void JumpToMiddle() override { child_->Edit().GotoXY(0, Rows() / 2, ScrollMode::Center); }
    void Close() override {
        child_->SetChanged(false);
        frame_->MdiArea()->activeSubWindow()->close();
        Settle();
    }

  private:
    std::string scratch_, file_;
    InstancePaths paths_;
    InstanceMarker marker_;
    std::unique_ptr<TTarnwickEditor> frame_;
    TMDIChild* child_ = nullptr;
};

/// Qt's own plain text editor, the one a Qt program gets for free.
class PlainEditor : public PeerEditor {
  public:
    void Prepare(const std::string& file, bool utf8, bool wrapped) override {
        file_ = file;
        edit_ = std::make_unique<QPlainTextEdit>();
        UseBenchFont(*edit_);
        edit_->resize(1000, 700);
        // It wraps at the widget's width only: 72 cells wide when wrapping.
        if (wrapped)
            edit_->resize(WidthFor72Cells(*edit_, edit_->verticalScrollBar()->sizeHint().width() +
                                                      2 * edit_->frameWidth() + 8),
                          700);
        else
            edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit_->show();
        Settle();
        if (utf8) decoded_ = QString::fromUtf8(ReadBytes(file));
    }
    void Open() override {
        if (decoded_.isNull()) {
            const std::u16string text = DecodeSjis(ReadBytes(file_));
            edit_->setPlainText(QString::fromStdU16String(text));
        } else {
            edit_->setPlainText(decoded_);
            decoded_ = QString();
        }
        Repaint();
    }
    long Rows() override { return edit_->document()->blockCount(); }
    void CaretToMiddle() override {
        QTextCursor c(edit_->document()->findBlockByNumber(int(Rows() / 2)));
        edit_->setTextCursor(c);
        edit_->centerCursor();
    }
    QWidget* KeyTarget() override { return edit_.get(); }
    void Repaint() override { edit_->viewport()->repaint(); }
    void Undo() override { edit_->undo(); }
    std::string MiddleLine() override {
        return edit_->document()->findBlockByNumber(int(Rows() / 2)).text().toStdString();
    }
    int CountHits(std::string_view ascii, bool matchCase) override {
        const QString what = QString::fromLatin1(ascii.data(), qsizetype(ascii.size()));
        const auto flags =
            matchCase ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags();
        int hits = 0;
        QTextCursor c(edit_->document());
        while (!(c = edit_->document()->find(what, c, flags)).isNull()) {
            ++hits;
            edit_->setTextCursor(c);
        }
        return hits;
    }
    int ReplaceAll(std::string_view ascii, std::string_view with) override {
        const QString what = QString::fromLatin1(ascii.data(), qsizetype(ascii.size()));
        const QString by = QString::fromLatin1(with.data(), qsizetype(with.size()));
        QTextDocument* doc = edit_->document();
        QTextCursor edit(doc);
        edit.beginEditBlock();
        int hits = 0;
        const auto start = std::chrono::steady_clock::now();
        for (QTextCursor c(doc);
             std::chrono::steady_clock::now() - start < std::chrono::seconds(10) &&
             !(c = doc->find(what, c, QTextDocument::FindCaseSensitively)).isNull();) {
            c.insertText(by);
            ++hits;
        }
        edit.endEditBlock();
        Repaint();
        return hits;
    }
    void CaretToTop() override {
        edit_->moveCursor(QTextCursor::Start);
        Repaint();
    }
    void JumpToMiddle() override { CaretToMiddle(); }
    void Close() override {
        edit_.reset();
        Settle();
    }

  private:
    std::string file_;
    QString decoded_;
    std::unique_ptr<QPlainTextEdit> edit_;
};

}  // namespace

std::unique_ptr<PeerEditor> MakeOwnEditor(const std::string& scratch) {
    return std::make_unique<OwnEditor>(scratch);
}

std::unique_ptr<PeerEditor> MakePlainTextEditor() {
    return std::make_unique<PlainEditor>();
}

#ifndef TW_BENCH_QSCINTILLA
std::unique_ptr<PeerEditor> MakeScintillaEditor() {
    return nullptr;
}
#endif

}  // namespace tw::bench
