// QScintilla as a peer: fed UTF-8, no lexer, the bench font for every style.
#include <Qsci/qsciscintilla.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QScrollBar>
#include <chrono>

#include "PeerEditors.h"

namespace tw::bench {

namespace {

class ScintillaEditor : public PeerEditor {
  public:
    void Prepare(const std::string& file, bool utf8, bool wrapped) override {
        file_ = file;
        wrapped_ = wrapped;
        sci_ = std::make_unique<QsciScintilla>();
        sci_->setUtf8(true);
        UseBenchFont(*sci_);
        sci_->SendScintilla(QsciScintillaBase::SCI_STYLECLEARALL);
        sci_->setMarginWidth(0, 0);
        sci_->setMarginWidth(1, 0);
        sci_->resize(1000, 700);
        if (wrapped) {
            sci_->setWrapMode(QsciScintilla::WrapCharacter);
            sci_->resize(WidthFor72Cells(*sci_, sci_->verticalScrollBar()->sizeHint().width() + 8),
                         700);
        }
        sci_->show();
        QApplication::processEvents();
        if (utf8) text_ = ReadBytes(file);
    }
    void Open() override {
        if (text_.empty()) {
            const std::u16string wide = DecodeSjis(ReadBytes(file_));
            text_ = QString::fromStdU16String(wide).toStdString();
        }
        sci_->SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0ul, text_.c_str());
        std::string().swap(text_);
        sci_->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        Repaint();
        if (wrapped_) WaitForWrap();
    }
    /// -1 while the wrap is unfinished.
    long Rows() override {
        if (!wrapDone_) return -1;
        return sci_->SendScintilla(QsciScintillaBase::SCI_VISIBLEFROMDOCLINE, Lines());
    }
    void CaretToMiddle() override {
        sci_->setCursorPosition(int(Lines() / 2), 0);
        sci_->SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
    }
    QWidget* KeyTarget() override { return sci_.get(); }
    void Repaint() override { sci_->viewport()->repaint(); }
    void Undo() override { sci_->undo(); }
    std::string MiddleLine() override { return sci_->text(int(Lines() / 2)).toStdString(); }
    int CountHits(std::string_view ascii, bool matchCase) override {
        const std::string what(ascii);
        sci_->SendScintilla(QsciScintillaBase::SCI_SETSEARCHFLAGS,
                            matchCase ? QsciScintillaBase::SCFIND_MATCHCASE : 0);
        const long end = sci_->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        long from = 0;
        int hits = 0;
        for (;;) {
            sci_->SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE, from, end);
            const long at = sci_->SendScintilla(QsciScintillaBase::SCI_SEARCHINTARGET, what.size(),
                                                what.c_str());
            if (at < 0) break;
            ++hits;
            sci_->SendScintilla(QsciScintillaBase::SCI_SETSEL, at, at + long(what.size()));
            from = at + long(what.size());
        }
        return hits;
    }
    int ReplaceAll(std::string_view ascii, std::string_view with) override {
        const std::string what(ascii), by(with);
        sci_->SendScintilla(QsciScintillaBase::SCI_SETSEARCHFLAGS,
                            QsciScintillaBase::SCFIND_MATCHCASE);
        sci_->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
        long from = 0;
        int hits = 0;
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
            const long end = sci_->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
            sci_->SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE, from, end);
            const long at = sci_->SendScintilla(QsciScintillaBase::SCI_SEARCHINTARGET, what.size(),
                                                what.c_str());
            if (at < 0) break;
            ++hits;
            sci_->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, by.size(), by.c_str());
            from = at + long(by.size());
        }
        sci_->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
        Repaint();
        return hits;
    }
    void CaretToTop() override {
        sci_->SendScintilla(QsciScintillaBase::SCI_DOCUMENTSTART);
        Repaint();
    }
    void JumpToMiddle() override {
        sci_->SendScintilla(QsciScintillaBase::SCI_GOTOLINE, Lines() / 2);
    }
    void Close() override {
        sci_.reset();
        QApplication::processEvents();
    }

  private:
    long Lines() { return sci_->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT); }

    /// Scintilla wraps what is not on screen while it is idle: the text is
    /// wrapped when the event loop runs dry and the row count holds still.
    /// A wrap that takes more than a minute is given up.
    void WaitForWrap() {
        QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance();
        wrapDone_ = true;
        long rows = -1;
        int quiet = 0;
        const auto start = std::chrono::steady_clock::now();
        while (quiet < 3) {
            if (std::chrono::steady_clock::now() - start > std::chrono::seconds(60)) {
                wrapDone_ = false;
                return;
            }
            const bool busy = loop->processEvents(QEventLoop::AllEvents);
            const long now = Rows();
            quiet = (!busy && now == rows) ? quiet + 1 : 0;
            rows = now;
        }
    }

    std::string file_, text_;
    bool wrapped_ = false, wrapDone_ = true;
    std::unique_ptr<QsciScintilla> sci_;
};

}  // namespace

std::unique_ptr<PeerEditor> MakeScintillaEditor() {
    return std::make_unique<ScintillaEditor>();
}

}  // namespace tw::bench
