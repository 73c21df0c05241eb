/** @file A read-only view of a file's decoded text, until documents get the real editor. */
#pragma once

#include <QPlainTextEdit>
#include <string>

namespace tw {

class TextPreviewWindow : public QPlainTextEdit {
    Q_OBJECT
  public:
    TextPreviewWindow();
    /// Loads the file through the line store; false when it cannot be read.
    bool Load(const std::string& fileName);
};

}  // namespace tw
