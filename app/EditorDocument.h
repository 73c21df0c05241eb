/** @file A document window: one editor control and the file it edits. */
#pragma once

#include <memory>
#include <string>

#include "MessageBox.h"
#include "qt/VellEditWidget.h"

namespace tw {

class EditorDocument : public VellEditWidget {
    Q_OBJECT
  public:
    /// A new text (`isNew`) has only a name until it is first saved.
    explicit EditorDocument(std::string fileName, bool isNew = false);

    const std::string& FileName() const { return fileName_; }
    /// Reads the file as the line store reads it; false when it cannot be read.
    bool Load();
    /// Writes the text back to its file; a new text first asks where. A
    /// failure is reported and leaves the document marked as changed.
    bool Save();
    bool IsNew() const { return isNew_; }
    /// Before the window goes: a changed text asks whether to save it. False
    /// keeps the window (Cancel, or a save that failed).
    bool ConfirmClose();
    /// Where failures are reported; the window's own message box by default.
    void SetMessageBox(IMessageBox* messages) {
        messages_ = messages ? messages : ownMessages_.get();
    }

  signals:
    void fileNameChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    /// Asks for a file name for a new text; false when the user cancels.
    bool ChooseFileName();

    std::string fileName_;
    bool isNew_;
    std::unique_ptr<IMessageBox> ownMessages_;
    IMessageBox* messages_;
};

}  // namespace tw
