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
    explicit EditorDocument(std::string fileName);

    const std::string& FileName() const { return fileName_; }
    /// Reads the file as the line store reads it; false when it cannot be read.
    bool Load();
    /// Writes the text back to its file. A failure is reported and leaves the
    /// document marked as changed.
    bool Save();
    /// Before the window goes: a changed text asks whether to save it. False
    /// keeps the window (Cancel, or a save that failed).
    bool ConfirmClose();
    /// Where failures are reported; the window's own message box by default.
    void SetMessageBox(IMessageBox* messages) {
        messages_ = messages ? messages : ownMessages_.get();
    }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::string fileName_;
    std::unique_ptr<IMessageBox> ownMessages_;
    IMessageBox* messages_;
};

}  // namespace tw
